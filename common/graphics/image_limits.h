// The largest picture any program of the suite decodes. Files only name their
// sides; a small file may claim a picture of gigabytes, and the taskbar clock
// decodes inside Explorer. Every loader (PNG, JPEG, BMP) asks here before it
// takes memory for the pixels.
#pragma once

#include <cstdint>

// Far beyond every face, skin strip, photo and map texture the suite ships
// or downloads.
inline constexpr int64_t kMaxImageSide = 8192;

// True when both sides are positive and neither passes the limit.
inline bool ImageSidesAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

// Reads the header of a .bmp file: true when it is a bitmap file whose sides
// (a negative height is a top-down picture) are allowed.
bool BitmapFileSidesAllowed(const wchar_t* path);
