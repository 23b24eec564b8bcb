// A 32-bit DIB section with a memory DC, the surface OpenGL renders into in
// the tests (no display is needed for it).
#pragma once

#include <windows.h>

#include <cstdint>

#include "kartix/render_context.h"

inline constexpr DWORD kBitmapPixelFormatFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI;

class GLTestSurface {
public:
    GLTestSurface(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;  // bottom-up, as glReadPixels counts rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        if (dc_ && bitmap_) old_ = SelectObject(dc_, bitmap_);
    }
    ~GLTestSurface() {
        if (old_) SelectObject(dc_, old_);
        if (bitmap_) DeleteObject(bitmap_);
        if (dc_) DeleteDC(dc_);
    }
    GLTestSurface(const GLTestSurface&) = delete;
    GLTestSurface& operator=(const GLTestSurface&) = delete;

    HDC dc() const { return dc_; }
    bool ok() const { return dc_ && bitmap_ && bits_; }
    // 0x00RRGGBB of the DIB at (x, y from the bottom).
    uint32_t Pixel(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};
