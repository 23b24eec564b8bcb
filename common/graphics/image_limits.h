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

// A desktop wallpaper may span several screens: one side may pass the limit
// as long as the picture holds no more pixels than the largest square one.
inline constexpr int64_t kMaxWallpaperSide = 8 * kMaxImageSide;

inline bool WallpaperSidesAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxWallpaperSide && height <= kMaxWallpaperSide &&
           width * height <= kMaxImageSide * kMaxImageSide;
}

// The smallest whole factor that divides width down to maxWidth or less;
// 1 when maxWidth is 0 or less (no limit) or the width fits already.
inline int64_t WholeShrinkFactor(int64_t width, int64_t maxWidth) {
    return maxWidth > 0 && width > maxWidth ? (width - 1) / maxWidth + 1 : 1;
}

using ImageSidesRule = bool (*)(int64_t width, int64_t height);

// Reads the header of a .bmp file: true when it is a bitmap file whose sides
// (a negative height is a top-down picture) the rule allows.
bool BitmapFileSidesAllowed(const wchar_t* path, ImageSidesRule allowed = ImageSidesAllowed);
