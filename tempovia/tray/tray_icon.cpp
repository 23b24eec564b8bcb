#include "tempovia/tray/tray_icon.h"

#include "common/records/protocol.h"
#include "common/platform/text_bounds.h"
#include "tempovia/main/app_state.h"

namespace {

NOTIFYICONDATAW g_icon = {};

void FillTip() { CopyBounded(g_icon.szTip, kTrayIconTip); }

}  // namespace

bool TrayIconAdd(HWND mainWindow, int taskbarClockCount) {
    if (taskbarClockCount > 0 || !g_app.icon) return IsTrayIconShown();
    if (IsTrayIconShown()) return true;
    g_icon = NOTIFYICONDATAW{};
    g_icon.cbSize = kTrayIconRecordBytes;
    g_icon.hWnd = mainWindow;
    g_icon.uID = kTrayIconId;
    g_icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    g_icon.uCallbackMessage = MSG_TRAY_ICON;
    g_icon.hIcon = g_app.icon;
    FillTip();
    if (!Shell_NotifyIconW(NIM_ADD, &g_icon)) g_icon.cbSize = 0;
    return IsTrayIconShown();
}

void TrayIconRemove() {
    if (IsTrayIconShown()) Shell_NotifyIconW(NIM_DELETE, &g_icon);
    g_icon.cbSize = 0;
}

void TrayIconUpdate() {
    if (!IsTrayIconShown()) return;
    FillTip();
    Shell_NotifyIconW(NIM_MODIFY, &g_icon);
}

bool IsTrayIconShown() { return g_icon.cbSize != 0; }

const NOTIFYICONDATAW& TrayIconRecord() { return g_icon; }
