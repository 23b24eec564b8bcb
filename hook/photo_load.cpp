#include "hook/photo_load.h"

#include <windows.h>

#include <memory>
#include <new>

#include "common/graphics/bitmap.h"
#include "common/graphics/dib_header.h"
#include "common/graphics/pixel_ops.h"
#include "hook/photo_cache.h"
#include "hook/photo_jpeg.h"

static_assert(sizeof(BITMAPINFOHEADER) == 40);

namespace {

// The most a tooltip shows of a photo; larger ones are shrunk to fit.
constexpr int kPhotoBoxWidth = 256;
constexpr int kPhotoBoxHeight = 256;

// The picture as 32-bit pixels, rows bottom-up, shrunk by box filtering to
// width x height (each at most the picture's side); null without memory.
std::unique_ptr<uint32_t[]> ConvertAndShrink(const JpegImage& image, int width, int height) {
    const int sourceWidth = image.Width();
    const int sourceHeight = image.Height();
    const size_t count = static_cast<size_t>(sourceWidth) * static_cast<size_t>(sourceHeight);
    std::unique_ptr<uint32_t[]> pixels(new (std::nothrow) uint32_t[count]);
    if (!pixels) return pixels;
    const int components = image.Components();
    for (int y = 0; y < sourceHeight; ++y) {
        const uint8_t* p = image.Pixels() + static_cast<size_t>(y) * image.RowBytes();
        uint32_t* row = pixels.get() + static_cast<size_t>(y) * static_cast<size_t>(sourceWidth);
        for (int x = 0; x < sourceWidth; ++x, p += components)
            row[x] = PhotoPixelToArgb(p[0] | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16));
    }
    if (width == sourceWidth && height == sourceHeight) return pixels;
    // Rows first, packed in place to the new width, then the columns: both
    // passes write only at or before what they read.
    for (int y = 0; y < sourceHeight; ++y) {
        uint32_t* row = pixels.get() + static_cast<size_t>(y) * static_cast<size_t>(sourceWidth);
        AverageColumnPixels(row, pixels.get() + static_cast<size_t>(y) * static_cast<size_t>(width), sourceWidth,
                            width, 4, 4);
    }
    const ptrdiff_t step = static_cast<ptrdiff_t>(width) * 4;
    for (int x = 0; x < width; ++x)
        AverageColumnPixels(pixels.get() + x, pixels.get() + x, sourceHeight, height, step, step);
    return pixels;
}

}  // namespace

uint32_t PhotoPixelToArgb(uint32_t colour) {
    colour &= 0x00FFFFFF;
    if (colour == 1) return 0xFF010101;
    return 0xFF000000 | ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

bool LoadPhotoFile(const wchar_t* path, CBitmap& bitmap) {
    bitmap.Destroy();
    JpegImage image;
    if (!image.Load(path, kPhotoBoxWidth, kPhotoBoxHeight)) return false;
    // Four components are CMYK, which the tooltip cannot show as it is.
    if (image.Components() != 3) return false;
    int width = 0, height = 0;
    // Fitted from the file's sides: the decode's own are rounded up, and
    // never smaller than this fit.
    FitIntoBox(image.FileWidth(), image.FileHeight(), kPhotoBoxWidth, kPhotoBoxHeight, width, height);
    const std::unique_ptr<uint32_t[]> pixels = ConvertAndShrink(image, width, height);
    image.Free();
    if (!pixels || !bitmap.Create(width, height, 0, 0)) return false;

    BITMAPINFO info = MakeRgb32Info(width, height);
    int lines = 0;
    {
        CBitmap::Deselected out(bitmap);
        lines = SetDIBits(bitmap.Dc(), bitmap.Handle(), 0, static_cast<UINT>(height), pixels.get(), &info,
                          DIB_RGB_COLORS);
    }
    if (lines != height) {
        bitmap.Destroy();
        return false;
    }
    return true;
}

bool LoadCityPhoto(int cityIndex, int n, CBitmap& bitmap) {
    bitmap.Destroy();
    wchar_t path[MAX_PATH] = {};
    if (!GetCityPhotoPath(cityIndex, n, path, MAX_PATH)) return false;
    return LoadPhotoFile(path, bitmap);
}
