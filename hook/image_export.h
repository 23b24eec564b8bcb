// Ordinal 10 of hook.dll: the one PNG reader of the suite. The programs and
// the map plug-in import it by ordinal only (hook.def).
#pragma once

#include <windows.h>

extern "C" {
// Loads a PNG file as a bottom-up picture. header: the caller's header, whose
// own size field on entry says how much it takes (108 bytes when it says 108,
// otherwise 40). bits: receives a GMEM_FIXED block that the caller owns and
// frees with GlobalFree; it holds the image-size bytes of pixel rows, bottom
// row first, followed by 8 bytes a row of scratch, so that a PixelBuffer can
// be rebuilt around it. FALSE (nothing handed over, header and bits left as
// they were) when bits is null or the file cannot be loaded.
BOOL WINAPI LoadPngDib(const wchar_t* path, BITMAPV4HEADER* header, void** bits);
}
