#include "tempovia/window/alpha_window.h"

#include <algorithm>

#include "common/graphics/gdi_handles.h"

CAlphaWindow::~CAlphaWindow() { surface_.Destroy(); }

bool CAlphaWindow::OnMessage(WindowMessage& message) {
    switch (message.message) {
    case WM_CREATE: {
        HWND window = Handle();
        SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
        if (!surface_.Create(Width(), Height())) {
            message.result = -1;
            return true;
        }
        return false;
    }
    case WM_WINDOWPOSCHANGED: {
        RECT r{};
        if (GetWindowRect(Handle(), &r)) {
            int width = r.right - r.left;
            int height = r.bottom - r.top;
            // A size the surface cannot take leaves no surface; nothing is
            // shown until a later size fits.
            if (width != surface_.Width() || height != surface_.Height()) surface_.Create(width, height);
        }
        gdi::ScreenDc screen;
        UpdateLayered(screen.get());
        message.result = 0;
        return true;
    }
    default:
        return CWindow::OnMessage(message);
    }
}

void CAlphaWindow::SetAlpha(int alpha) {
    alpha_ = std::clamp(alpha, 10, 255);
    HWND window = Handle();
    if (!window || !(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED)) return;
    gdi::ScreenDc screen;
    UpdateLayered(screen.get());
}

bool CAlphaWindow::UpdateLayered(HDC dc) {
    HWND window = Handle();
    RECT r{};
    if (!window || !surface_.IsValid() || !GetWindowRect(window, &r)) return false;
    POINT position{r.left, r.top};
    SIZE size{r.right - r.left, r.bottom - r.top};
    // UpdateLayeredWindow would read past a surface smaller than the window.
    if (size.cx <= 0 || size.cy <= 0 || size.cx > surface_.Width() || size.cy > surface_.Height()) return false;
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha_),
                        static_cast<BYTE>(perPixelAlpha_ ? AC_SRC_ALPHA : 0)};
    DWORD flags = ULW_ALPHA;
    if (colorKey_ != kNoColorKey) flags |= ULW_COLORKEY;
    return UpdateLayeredWindow(window, dc, &position, &size, surface_.Dc(), &source,
                               colorKey_ != kNoColorKey ? colorKey_ : 0, &blend, flags) != FALSE;
}
