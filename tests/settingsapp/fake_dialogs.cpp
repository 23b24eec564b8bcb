#include "tests/settingsapp/fake_dialogs.h"

#include <map>

#include "common/records/protocol.h"

namespace settingsapp_test {

namespace {

std::map<HWND, std::vector<Received>> g_logs;

struct Template {
    alignas(4) BYTE bytes[64] = {};
};

Template MakeTemplate(DWORD style) {
    Template t;
    auto* d = reinterpret_cast<DLGTEMPLATE*>(t.bytes);
    d->style = style;
    d->cdit = 0;
    d->cx = 120;
    d->cy = 60;
    // Menu, class and title follow as three empty WORDs (already zero).
    return t;
}

}  // namespace

HWND CreateTemplateDialog(HWND owner, DWORD style, DLGPROC proc) {
    Template t = MakeTemplate(style);
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE*>(t.bytes), owner, proc,
                                      0);
}

INT_PTR RunTemplateDialog(HWND owner, DLGPROC proc) {
    Template t = MakeTemplate(WS_POPUP | WS_CAPTION);
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE*>(t.bytes), owner, proc, 0);
}

INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER || message == WM_WININICHANGE) {
        g_logs[dialog].push_back({message, wParam, lParam});
        if (message == SETTINGS_MSG_ON_DESKTOP) {
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, kOnDesktopReply);
            return TRUE;
        }
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::vector<Received>& Log(HWND dialog) { return g_logs[dialog]; }
void ClearLogs() { g_logs.clear(); }

}  // namespace settingsapp_test
