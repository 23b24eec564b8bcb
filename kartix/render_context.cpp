#include "kartix/render_context.h"

#include <cstring>

#include "common/mapdialog/map_plugin_errors.h"
#include "kartix/gl_extensions.h"

namespace {

void CopyGLString(char (&target)[kGLStringChars], GLenum name) {
    const char* s = reinterpret_cast<const char*>(glGetString(name));
    target[0] = '\0';
    if (!s) return;
    const size_t n = strnlen(s, kGLStringChars - 1);
    std::memcpy(target, s, n);
    target[n] = '\0';
}

}  // namespace

bool IsGdiRenderer(const char* renderer) { return renderer && std::strncmp(renderer, "GDI ", 4) == 0; }

DWORD RenderContext::Create(HDC dc, DWORD pixelFormatFlags) {
    Release();
    vendor_[0] = renderer_[0] = version_[0] = '\0';
    if (!dc) return 0;
    pfd_ = PIXELFORMATDESCRIPTOR{};
    pfd_.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd_.nVersion = 1;
    pfd_.dwFlags = pixelFormatFlags;
    pfd_.iPixelType = PFD_TYPE_RGBA;
    pfd_.cColorBits = 32;
    pfd_.cDepthBits = 32;
    pfd_.cAccumBits = 32;
    pfd_.cStencilBits = 0;
    pfd_.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(dc, &pfd_);
    if (format == 0) {
        win32Error_ = GetLastError();
        return MAP_ERR_CHOOSE_PIXEL_FORMAT;
    }
    if (!SetPixelFormat(dc, format, &pfd_)) {
        win32Error_ = GetLastError();
        return MAP_ERR_SET_PIXEL_FORMAT;
    }
    context_ = wglCreateContext(dc);
    if (!MakeCurrent(dc)) {
        win32Error_ = GetLastError();
        if (context_) wglDeleteContext(context_);
        context_ = nullptr;
        return MAP_ERR_MAKE_CURRENT;
    }
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!renderer || IsGdiRenderer(renderer)) return 0;
    CopyGLString(renderer_, GL_RENDERER);
    CopyGLString(version_, GL_VERSION);
    CopyGLString(vendor_, GL_VENDOR);
    ProbeGLExtensions();
    return 0;
}

bool RenderContext::MakeCurrent(HDC dc) {
    if (!context_ || !wglMakeCurrent(dc, context_)) return false;
    ProbeGLExtensions();
    return true;
}

void RenderContext::Release() {
    if (!context_) return;
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context_);
    context_ = nullptr;
}
