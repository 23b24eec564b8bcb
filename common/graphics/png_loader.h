// PNG files into bottom-up Windows pictures. Every program reads its PNG
// images (skin strips, buttons, map images) through hook.dll's image export,
// which wraps LoadPngFile; only hook.dll and the clock faces call these
// directly.
#pragma once

#include <cstdint>

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

// A picture drawn no wider than maxWidth (0: any width): one wider is divided
// on both sides by the smallest whole factor that brings it within, as its
// rows are read, so that it never takes the memory of its full size. Both
// the file's sides and its top-left pixel (0xAARRGGBB as in the file) come
// back.
struct PngShrinkRequest {
    int maxWidth = 0;
    int fileWidth = 0;
    int fileHeight = 0;
    uint32_t topLeft = 0;
};

// As LoadPngFile with shrink null. With a request, only a picture with alpha
// (the 32-bit layout) loads, refused otherwise before its pixels take memory;
// its colours come premultiplied by alpha, before any averaging, and a picture
// shrunk is box-filtered as PixelBuffer::Resize does.
bool LoadShrunkPng(PixelBuffer& buffer, const wchar_t* path, PngShrinkRequest* shrink);
