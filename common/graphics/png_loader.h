// PNG files into bottom-up Windows pictures. Every program reads its PNG
// images (skin faces, buttons, map images) through hook.dll's image export,
// which wraps LoadPngFile; only hook.dll calls this directly.
#pragma once

class PixelBuffer;

// Decodes the file into the buffer, bottom row first. The picture comes out
// with 8-bit samples as one of three layouts, told apart by the bit count:
//   32: 0xAARRGGBB pixels, BI_BITFIELDS; every image with an alpha channel,
//       a transparency chunk, or grey with alpha;
//   24: blue, green, red bytes, BI_RGB; rows padded to 4 bytes as GDI reads them;
//    8: one grey byte a pixel, BI_RGB, rows padded to 4 bytes (no colour
//       table comes with it: whoever hands it to GDI supplies a grey one).
// The block behind the pixels holds 8 bytes a row of scratch. On any failure
// (missing file, not a PNG, damaged data, a picture too large for one block)
// the buffer is left empty with its header zeroed, and false is returned.
bool LoadPngFile(PixelBuffer& buffer, const wchar_t* path);
