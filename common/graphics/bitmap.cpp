#include "common/graphics/bitmap.h"

#include <cstdlib>
#include <cstring>

#include "common/graphics/dib_header.h"
#include "common/graphics/gdi_handles.h"
#include "common/graphics/image_limits.h"

bool QueryBitmapFormat(HDC dc, HBITMAP bitmap, int& width, int& height, int& bitCount) {
    // Room for a full colour table: some drivers write one even for a header query.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info;
    std::memset(&info, 0, sizeof info);
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    if (!dc || !bitmap) return false;
    if (!GetDIBits(dc, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS)) return false;
    width = info.header.biWidth;
    height = std::abs(info.header.biHeight);
    bitCount = info.header.biBitCount;
    return width > 0 && height > 0 && bitCount > 0;
}

CBitmap::~CBitmap() { CBitmap::Destroy(); }

bool CBitmap::SelectIntoDc() {
    previous_ = SelectObject(dc_, bitmap_);
    return previous_ != nullptr && previous_ != HGDI_ERROR;
}

bool CBitmap::Create(int width, int height, int planes, int bitCount) {
    Destroy();
    if (width <= 0 || height <= 0 || planes < 0 || bitCount < 0 || planes > 1 || bitCount > 32) return false;
    int bitsPerPixel = bitCount == 0 ? 32 : bitCount;
    uint64_t rowBytes = (static_cast<uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
    if (rowBytes * static_cast<uint64_t>(height) > kMaxDibBytes) return false;

    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) {
        Destroy();
        return false;
    }
    if (planes == 0 && bitCount == 0) {
        gdi::ScreenDc screen;
        bitmap_ = screen ? CreateCompatibleBitmap(screen.get(), width, height) : nullptr;
    } else {
        bitmap_ = CreateBitmap(width, height, static_cast<UINT>(planes), static_cast<UINT>(bitCount), nullptr);
    }
    int realWidth = 0, realHeight = 0, realBits = 0;
    if (!bitmap_ || !QueryBitmapFormat(dc_, bitmap_, realWidth, realHeight, realBits) || !SelectIntoDc()) {
        Destroy();
        return false;
    }
    width_ = width;
    height_ = height;
    bitCount_ = static_cast<uint16_t>(realBits);
    return true;
}

bool CBitmap::Attach(HBITMAP bitmap) {
    Destroy();
    if (!bitmap) return false;
    bitmap_ = bitmap;
    dc_ = CreateCompatibleDC(nullptr);
    int width = 0, height = 0, bits = 0;
    if (!dc_ || !QueryBitmapFormat(dc_, bitmap_, width, height, bits) || !SelectIntoDc()) {
        Destroy();
        return false;
    }
    width_ = width;
    height_ = height;
    bitCount_ = static_cast<uint16_t>(bits);
    return true;
}

bool CBitmap::LoadFile(const wchar_t* path, UINT loadFlags, bool wallpaper) {
    Destroy();
    // LoadImageW would build the whole picture before its size could be seen.
    if (!BitmapFileSidesAllowed(path, wallpaper ? WallpaperSidesAllowed : ImageSidesAllowed)) return false;
    HANDLE image = LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, loadFlags | LR_LOADFROMFILE);
    if (!image) return false;
    return Attach(static_cast<HBITMAP>(image));
}

void CBitmap::Free() {
    if (dc_ && previous_) SelectObject(dc_, previous_);
    previous_ = nullptr;
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    bits_ = nullptr;
}

void CBitmap::Destroy() {
    Free();
    width_ = 0;
    height_ = 0;
    bitCount_ = 0;
}

bool CBitmap::Blit(HDC target, int x, int y, int width, int height, int sourceX, int sourceY, DWORD rop) const {
    if (!IsValid() || !target) return false;
    return StretchBlt(target, x, y, width, height, dc_, sourceX, sourceY, width, height, rop) != FALSE;
}

bool CBitmap::SetPixel(int x, int y, uint32_t colour) {
    if (!IsValid() || x < 0 || x >= width_ || y < 0 || y >= height_) return false;
    if (bits_ && bitCount_ == 32) {
        // GDI output still queued must land first, or it could overwrite this pixel later.
        GdiFlush();
        static_cast<uint32_t*>(bits_)[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] =
            colour;
        return true;
    }
    if (colour >= 0x01000000) return false;
    COLORREF rgb = RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
    return ::SetPixel(dc_, x, height_ - y - 1, rgb) != CLR_INVALID;
}

uint32_t CBitmap::GetPixel(int x, int y) const {
    if (!IsValid()) return 0xFFFFFFFF;
    if (bits_ && bitCount_ == 32 && x >= 0 && x < width_ && y >= 0 && y < height_) {
        GdiFlush();
        return static_cast<const uint32_t*>(
            bits_)[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    }
    COLORREF rgb = ::GetPixel(dc_, x, height_ - y - 1);
    return 0xFF000000u | (static_cast<uint32_t>(GetRValue(rgb)) << 16) | (static_cast<uint32_t>(GetGValue(rgb)) << 8) |
           GetBValue(rgb);
}

void CBitmap::FillAlpha(int x, int y, int width, int height, uint8_t alpha) {
    if (!IsValid() || bitCount_ != 32 || !bits_ || x >= width_ || y >= height_) return;
    // Clip in 64 bits: a caller's huge width must not wrap around.
    int64_t left = x < 0 ? 0 : x;
    int64_t top = y < 0 ? 0 : y;
    int64_t right = static_cast<int64_t>(x) + width;
    int64_t bottom = static_cast<int64_t>(y) + height;
    if (right > width_) right = width_;
    if (bottom > height_) bottom = height_;
    if (right <= left || bottom <= top) return;
    GdiFlush();
    auto* base = static_cast<uint8_t*>(bits_);
    for (int64_t row = top; row < bottom; ++row) {
        uint8_t* p = base + (row * width_ + left) * 4 + 3;
        for (int64_t col = left; col < right; ++col, p += 4) *p = alpha;
    }
}

CBitmap::Deselected::Deselected(const CBitmap& bitmap) : bitmap_(bitmap) {
    if (bitmap_.dc_ && bitmap_.previous_) SelectObject(bitmap_.dc_, bitmap_.previous_);
}

CBitmap::Deselected::~Deselected() {
    if (bitmap_.dc_ && bitmap_.previous_) SelectObject(bitmap_.dc_, bitmap_.bitmap_);
}
