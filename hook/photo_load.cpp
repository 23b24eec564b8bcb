#include "hook/photo_load.h"

#include <windows.h>

#include "common/graphics/bitmap.h"
#include "hook/photo_cache.h"
#include "hook/photo_jpeg.h"

static_assert(sizeof(BITMAPINFOHEADER) == 40);

namespace {

// Converts every pixel in place: each pixel's bytes read as a little-endian
// colour and written back from the converted value (3 bytes keep B, G, R).
void ConvertPixels(JpegImage& image) {
    const int components = image.Components();
    for (int y = 0; y < image.Height(); ++y) {
        uint8_t* p = image.Pixels() + static_cast<size_t>(y) * image.RowBytes();
        for (int x = 0; x < image.Width(); ++x, p += components) {
            uint32_t colour = 0;
            for (int b = 0; b < components; ++b) colour |= static_cast<uint32_t>(p[b]) << (8 * b);
            const uint32_t argb = PhotoPixelToArgb(colour);
            for (int b = 0; b < components; ++b) p[b] = static_cast<uint8_t>(argb >> (8 * b));
        }
    }
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
    if (!image.Load(path)) return false;
    const int components = image.Components();
    if (components != 3 && components != 4) return false;
    ConvertPixels(image);
    if (!bitmap.Create(image.Width(), image.Height(), 0, 0)) return false;

    // The header describes the stored rows; the bitmap keeps the picture's
    // own width and GDI drops the padding columns.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.StoredWidth();
    info.bmiHeader.biHeight = image.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(8 * components);
    info.bmiHeader.biCompression = BI_RGB;
    int lines = 0;
    {
        CBitmap::Deselected out(bitmap);
        lines = SetDIBits(bitmap.Dc(), bitmap.Handle(), 0, static_cast<UINT>(image.Height()), image.Pixels(), &info,
                          DIB_RGB_COLORS);
    }
    if (lines != image.Height()) {
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
