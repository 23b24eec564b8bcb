#include "tempovia/window/window.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include "common/graphics/small_icon.h"
#include "tempovia/main/program_resource_ids.h"

namespace {

HINSTANCE g_classInstance = nullptr;

constexpr UINT kGenericClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
constexpr UINT kLayeredClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
static_assert(kGenericClassStyle == 43);
static_assert(kLayeredClassStyle == 11);
constexpr int kWindowExtraBytes = 8;
constexpr WORD kApplicationIconId = IDI_WINDOW_CLASS;

HINSTANCE ClassInstance() { return g_classInstance ? g_classInstance : GetModuleHandleW(nullptr); }

// A window follows the mouse while a button is held, even outside it.
void TrackCapture(HWND window, UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        SetCapture(window);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_SHOWWINDOW:
    case WM_DESTROY:
        if (GetCapture() == window) ReleaseCapture();
        break;
    default:
        break;
    }
}

void ReportHandlerFailure(UINT message, const char* what) {
    char text[200];
    std::snprintf(text, sizeof text, "window handler failed on message 0x%04X: %s\n", message, what);
    OutputDebugStringA(text);
}

}  // namespace

bool RegisterWindowClasses(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = SharedWindowProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = kWindowExtraBytes;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kApplicationIconId));
    wc.hIconSm = SharedSmallIcon(instance, kApplicationIconId);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));

    wc.style = kGenericClassStyle;
    wc.lpszClassName = kGenericWindowClass;
    ATOM generic = RegisterClassExW(&wc);
    wc.style = kLayeredClassStyle;
    wc.lpszClassName = kLayeredWindowClass;
    ATOM layered = RegisterClassExW(&wc);
    if (generic && layered) {
        g_classInstance = instance;
        return true;
    }
    if (generic) UnregisterClassW(kGenericWindowClass, instance);
    if (layered) UnregisterClassW(kLayeredWindowClass, instance);
    return false;
}

LRESULT CALLBACK SharedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindow* window = nullptr;
    if (message == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        window = create ? static_cast<CWindow*>(create->lpCreateParams) : nullptr;
        if (window) {
            window->window_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        }
    } else {
        window = reinterpret_cast<CWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);

    TrackCapture(hwnd, message);

    // No exception may cross into the system's code: it would unwind through
    // frames that know nothing of C++. A failed handler counts as unhandled,
    // and a failed WM_CREATE refuses the window.
    WindowMessage record{message, wParam, lParam, 0};
    bool handled = false;
    bool failed = false;
    ++window->dispatchDepth_;
    try {
        handled = window->OnMessage(record);
    } catch (const std::exception& e) {
        ReportHandlerFailure(message, e.what());
        failed = true;
    } catch (...) {
        ReportHandlerFailure(message, "unknown exception");
        failed = true;
    }
    --window->dispatchDepth_;
    if (failed) {
        handled = message == WM_CREATE;
        record.result = handled ? -1 : 0;
    }

    WNDPROC fallback = window->fallback_;
    if (message == WM_DESTROY && !window->destroying_) {
        // A window closed by the system (or by DestroyWindow) unbinds from its
        // object, and takes it along when the object asked for that.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        window->window_ = nullptr;
        if (window->deleteWithWindow_ && !window->creating_) window->deleteDeferred_ = true;
    } else if (message == WM_NCDESTROY) {
        // The last message: never leave a pointer behind in a dead window.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (window->window_ == hwnd) window->window_ = nullptr;
    }
    if (window->deleteDeferred_ && window->dispatchDepth_ == 0) {
        delete window;
        fallback = DefWindowProcW;
    }
    if (handled) return record.result;
    return CallWindowProcW(fallback, hwnd, message, wParam, lParam);
}

CWindow::~CWindow() {
    destroying_ = true;
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
}

bool CWindow::OnMessage(WindowMessage& /*message*/) { return false; }

bool CWindow::Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle) {
    if (window_) return false;
    const bool layered = (exStyle & WS_EX_LAYERED) != 0;
    creating_ = true;
    HWND created = CreateWindowExW(exStyle, layered ? kLayeredWindowClass : kGenericWindowClass, title ? title : L"",
                                   style, x_, y_, width_, height_, parent, nullptr, ClassInstance(), this);
    creating_ = false;
    if (!created) {
        window_ = nullptr;
        return false;
    }
    if (layered) SetAlpha(alpha_);
    return window_ != nullptr;
}

void CWindow::Destroy() {
    if (!window_) return;
    // A marked object may be deleted inside DestroyWindow: touch nothing after it.
    const bool mayBeDeleted = deleteWithWindow_ && !destroying_;
    DestroyWindow(window_);
    if (!mayBeDeleted) window_ = nullptr;
}

void CWindow::DestroyKeepingObject() {
    bool was = destroying_;
    destroying_ = true;
    CWindow::Destroy();
    destroying_ = was;
}

void CWindow::SetAlpha(int alpha) {
    alpha_ = std::clamp(alpha, 10, 255);
    if (!window_ || !(GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_LAYERED)) return;
    DWORD flags = LWA_ALPHA;
    if (colorKey_ != kNoColorKey) flags |= LWA_COLORKEY;
    SetLayeredWindowAttributes(window_, colorKey_ != kNoColorKey ? colorKey_ : 0, static_cast<BYTE>(alpha_), flags);
}
