// The header of the library's 32-bit pictures: 0xAARRGGBB pixels, rows stored
// bottom-up, described with BI_BITFIELDS so that GDI keeps the alpha byte.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

inline constexpr DWORD kDibRedMask = 0x00FF0000;
inline constexpr DWORD kDibGreenMask = 0x0000FF00;
inline constexpr DWORD kDibBlueMask = 0x000000FF;
inline constexpr DWORD kDibAlphaMask = 0xFF000000;

// GDI refuses pictures whose pixel block does not fit a signed 32-bit size;
// checking first gives a clear failure instead of a huge allocation attempt.
inline constexpr uint64_t kMaxDibBytes = 0x7FFFFFFF;

// A 108-byte header followed by the four colour masks again, so that the pair
// reads as a BITMAPINFO with BI_BITFIELDS whichever header size GDI looks at.
struct DibInfoV4 {
    BITMAPV4HEADER header;
    DWORD masks[4];

    BITMAPINFO* AsBitmapInfo() { return reinterpret_cast<BITMAPINFO*>(this); }
    const BITMAPINFO* AsBitmapInfo() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};
static_assert(sizeof(BITMAPV4HEADER) == 108);
static_assert(sizeof(DibInfoV4) == 124);
static_assert(offsetof(DibInfoV4, masks) == 108);

// Sets the four masks, in the header and behind it.
void SetArgbMasks(DibInfoV4& info);

// A 32-bit bottom-up header of width x height with the masks set; the image
// size is width x height x 4. The caller checks the size first.
DibInfoV4 MakeArgbDibInfo(int width, int height);

// A plain 32-bit BI_RGB header (blue, green, red, then alpha or padding) of
// width x height; a negative height stores the rows top-down.
BITMAPINFO MakeRgb32Info(int width, int height);

// Bytes of a 32-bit picture, or false when a side is not positive or the
// picture is too large for GDI.
bool ArgbImageBytes(int width, int height, uint32_t& bytes);
