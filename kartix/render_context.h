// The OpenGL context of the map window: pixel format, creation, making it
// current, and the driver's name strings (left empty under the GDI software
// renderer).
#pragma once

#include <windows.h>

#include <GL/gl.h>

// PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_GENERIC_ACCELERATED
inline constexpr DWORD kMapPixelFormatFlags = 0x1025;
inline constexpr int kGLStringChars = 256;

class RenderContext {
public:
    RenderContext() = default;
    ~RenderContext() { Release(); }
    RenderContext(const RenderContext&) = delete;
    RenderContext& operator=(const RenderContext&) = delete;

    // 0 or MAP_ERR_CHOOSE_PIXEL_FORMAT / MAP_ERR_SET_PIXEL_FORMAT /
    // MAP_ERR_MAKE_CURRENT with the Win32 error in win32Error(). Other pixel
    // format flags serve rendering into a bitmap.
    DWORD Create(HDC dc, DWORD pixelFormatFlags = kMapPixelFormatFlags);
    // wglMakeCurrent, then the extension probe.
    bool MakeCurrent(HDC dc);
    void Release();

    HGLRC context() const { return context_; }
    DWORD win32Error() const { return win32Error_; }
    const PIXELFORMATDESCRIPTOR& pixelFormat() const { return pfd_; }
    const char* vendor() const { return vendor_; }
    const char* renderer() const { return renderer_; }
    const char* version() const { return version_; }

private:
    PIXELFORMATDESCRIPTOR pfd_{};
    HGLRC context_ = nullptr;
    DWORD win32Error_ = 0;
    char vendor_[kGLStringChars] = {};
    char renderer_[kGLStringChars] = {};
    char version_[kGLStringChars] = {};
};

// True for the GDI software renderer's string ("GDI ...").
bool IsGdiRenderer(const char* renderer);
