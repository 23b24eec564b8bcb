#include "tempovia/browser/browser_window.h"

#include <string>

#include "common/platform/lent_pointer.h"
#include "tempovia/browser/webf.h"

namespace {

TWebf* HostOf(HWND window) { return reinterpret_cast<TWebf*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

// The control's own windows take the user's clicks and keys; a hook on the
// thread's queue tells their host, so that it can tell a followed link from
// a page that navigates on its own. Installed while a host lives.
HHOOK g_inputHook = nullptr;
int g_hookedHosts = 0;

bool IsBrowserWindow(HWND window) {
    wchar_t name[64] = {};
    return GetClassNameW(window, name, 64) && lstrcmpW(name, kBrowserClassName) == 0;
}

bool IsUserInput(const MSG& m) {
    return m.message == WM_LBUTTONUP || m.message == WM_MBUTTONUP ||
           (m.message == WM_KEYDOWN && (m.wParam == VK_RETURN || m.wParam == VK_SPACE));
}

LRESULT CALLBACK InputHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && lParam) {
        const MSG& m = *reinterpret_cast<const MSG*>(lParam);
        if (IsUserInput(m)) {
            for (HWND w = m.hwnd; w; w = GetAncestor(w, GA_PARENT)) {
                if (!IsBrowserWindow(w)) continue;
                if (TWebf* host = HostOf(w)) host->NoteUserInput();
                break;
            }
        }
    }
    return CallNextHookEx(g_inputHook, code, wParam, lParam);
}

void WatchInput() {
    if (g_hookedHosts++ == 0)
        g_inputHook = SetWindowsHookExW(WH_GETMESSAGE, InputHookProc, nullptr, GetCurrentThreadId());
}

void UnwatchInput() {
    if (--g_hookedHosts == 0 && g_inputHook) {
        UnhookWindowsHookEx(g_inputHook);
        g_inputHook = nullptr;
    }
}

void CreateHost(HWND window) {
    TWebf* host = TWebf::Create(window);
    if (host && !host->Browser()) {
        host->Release();
        host = nullptr;
    }
    // The host has read the style; the control draws its own scroll bars.
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if (style & (WS_VSCROLL | WS_HSCROLL)) {
        SetWindowLongPtrW(window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL));
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!host) return;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host));
    WatchInput();
    const int length = GetWindowTextLengthW(window);
    if (length > 0) {
        std::wstring url(static_cast<size_t>(length) + 1, L'\0');
        url.resize(static_cast<size_t>(GetWindowTextW(window, url.data(), length + 1)));
        if (!url.empty()) host->Go(url.c_str());
    }
}

void DestroyHost(HWND window) {
    TWebf* host = HostOf(window);
    if (!host) return;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    UnwatchInput();
    host->Close();
    host->Release();
}

LRESULT HostMessage(TWebf* host, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            host->Resize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
            host->Go(reinterpret_cast<const wchar_t*>(lParam));
            return result;
        }
        case WBM_READY:
            return reinterpret_cast<LRESULT>(host->Ready());
        // The texts these read through lParam must be lent by the program
        // itself: another process may send the messages with any number.
        case WBM_SET:
            if (!IsLentPointer(lParam)) return 0;
            return static_cast<LRESULT>(host->Set(reinterpret_cast<const wchar_t*>(lParam)));
        case WBM_GET_QUERY_LIST:
            return reinterpret_cast<LRESULT>(host->QueryList());
        case WBM_GET_QUERY_VALUE:
            if (!IsLentPointer(lParam)) return 0;
            return reinterpret_cast<LRESULT>(host->GetQueryValue(reinterpret_cast<const wchar_t*>(lParam)));
        case WBM_GET_DOCUMENT:
            return reinterpret_cast<LRESULT>(host->GetDocument());
        case WBM_GET_BROWSER: {
            IWebBrowser2* browser = host->Browser();
            if (browser) browser->AddRef();
            return reinterpret_cast<LRESULT>(browser);
        }
        case WBM_FIND_ELEMENT:
            if (!IsLentPointer(lParam)) return 0;
            return reinterpret_cast<LRESULT>(host->FindElement(reinterpret_cast<const wchar_t*>(lParam)));
        case WBM_GET_QUERY_TEXT:
            return reinterpret_cast<LRESULT>(host->QueryText());
        case WBM_GET_LAST_ERROR:
            return static_cast<LRESULT>(host->LastError());
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK BrowserWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_CREATE) {
            CreateHost(window);
            return 0;
        }
        if (message == WM_DESTROY) {
            DestroyHost(window);
            return 0;
        }
        TWebf* host = HostOf(window);
        if (!host) return DefWindowProcW(window, message, wParam, lParam);
        return HostMessage(host, window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

}  // namespace

bool RegisterBrowserClass(HINSTANCE module) {
    WNDCLASSEXW wc = {};
    if (GetClassInfoExW(module, kBrowserClassName, &wc)) return true;
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = BrowserWindowProc;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kBrowserClassName;
    return RegisterClassExW(&wc) != 0;
}
