#include "tests/util/message_box_watch.h"

namespace {

struct Seen {
    std::wstring caption;
    std::wstring text;
    int boxes = 0;
};
Seen g_seen;
HHOOK g_hook = nullptr;

BOOL CALLBACK ReadStatic(HWND child, LPARAM) {
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    wchar_t buf[512] = {};
    GetWindowTextW(child, buf, 512);
    if (lstrcmpiW(cls, L"Static") == 0 && buf[0]) g_seen.text = buf;
    return TRUE;
}

// The box has set its texts once its WM_INITDIALOG has returned.
LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->message == WM_INITDIALOG) {
        wchar_t buf[256] = {};
        GetWindowTextW(msg->hwnd, buf, 256);
        g_seen.caption = buf;
        g_seen.text.clear();
        EnumChildWindows(msg->hwnd, ReadStatic, 0);
        ++g_seen.boxes;
        PostMessageW(msg->hwnd, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

MessageBoxWatch::MessageBoxWatch() {
    g_seen = Seen{};
    g_hook = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterMessage, nullptr, GetCurrentThreadId());
}

MessageBoxWatch::~MessageBoxWatch() {
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
}

const std::wstring& MessageBoxWatch::caption() const { return g_seen.caption; }
const std::wstring& MessageBoxWatch::text() const { return g_seen.text; }
int MessageBoxWatch::boxes() const { return g_seen.boxes; }
