// Pictures for the drawing tests: DIB sections with known pixels, and pixels
// read back through GDI rather than through the classes under test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "common/graphics/bitmap.h"
#include "common/graphics/dib_section.h"
#include "common/graphics/pixel_buffer.h"

namespace graphics_test {

// A width x height DIB section whose memory rows (bottom row first) hold px.
inline bool MakeDib(CDibSection& dib, int width, int height, const std::vector<uint32_t>& px) {
    if (!dib.Create(width, height)) return false;
    GdiFlush();
    std::memcpy(dib.Bits(), px.data(), px.size() * sizeof(uint32_t));
    return true;
}

// Every pixel of a bitmap as 32-bit 0xAARRGGBB, bottom row first, by GetDIBits.
inline std::vector<uint32_t> ReadPixels(const CBitmap& bitmap) {
    std::vector<uint32_t> px(static_cast<size_t>(bitmap.Width()) * bitmap.Height(), 0xDEADBEEF);
    CBitmap::Deselected out(bitmap);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bitmap.Width();
    info.bmiHeader.biHeight = bitmap.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    int rows = GetDIBits(bitmap.Dc(), bitmap.Handle(), 0, static_cast<UINT>(bitmap.Height()), px.data(), &info,
                         DIB_RGB_COLORS);
    if (rows != bitmap.Height()) px.clear();
    return px;
}

// A buffer holding px (bottom row first), loaded through a DIB section.
inline PixelBuffer MakeBuffer(int width, int height, const std::vector<uint32_t>& px) {
    CDibSection dib;
    PixelBuffer buffer;
    if (MakeDib(dib, width, height, px)) buffer.LoadFromBitmap(dib, 0, 0);
    return buffer;
}

// Every pixel of a buffer, row by row.
inline std::vector<uint32_t> BufferPixels(const PixelBuffer& buffer) {
    std::vector<uint32_t> px;
    for (int r = 0; r < buffer.Rows(); ++r)
        for (int c = 0; c < buffer.GetWidth(); ++c) px.push_back(buffer.GetPixel(c, r));
    return px;
}

}  // namespace graphics_test
