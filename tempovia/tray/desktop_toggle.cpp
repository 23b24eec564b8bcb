#include "tempovia/tray/desktop_toggle.h"

#include <string>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/records/protocol.h"
#include "common/records/clock_table.h"
#include "tempovia/desktop/clock_wnd.h"
#include "tempovia/desktop/desktop_clocks.h"
#include "tempovia/main/app_state.h"
#include "tempovia/main/tray_protocol.h"
#include "tempovia/tray/tray_icon.h"

bool ToggleOnDesktop(HWND mainWindow, int index) {
    if (!HookInstalled() || !g_clocks || index < 0 || index >= g_clockCount) return false;
    ClockRecord& clock = g_clocks[index];
    if (desktop::CClockWnd* window = desktop::FindDesktopClock(clock.number)) window->Save();
    clock.on_desktop = clock.on_desktop ? 0 : 1;

    const std::wstring section = UserPrefix() + L":clock" + std::to_wstring(clock.number);
    WriteIniFlag(UserIniPath().c_str(), section.c_str(), L"on_desktop", clock.on_desktop != 0);
    if (HWND settings = FindWindowW(kSettingsWindowClass, nullptr)) {
        PostMessageW(settings, SETTINGS_MSG_ON_DESKTOP, static_cast<WPARAM>(clock.number), clock.on_desktop);
    }
    if (g_app.trayClock) SendDataToHook(mainWindow);

    if (!clock.enabled) return true;
    if (clock.on_desktop) {
        if (g_app.taskbarClockCount > 0) --g_app.taskbarClockCount;
        if (g_app.taskbarClockCount == 0) TrayIconAdd(mainWindow, 0);
        if (desktop::CreateDesktopClock(mainWindow, g_clocks, index)) desktop::ApplyDesktopClockOrder(false);
    } else {
        if (g_app.taskbarClockCount == 0) TrayIconRemove();
        ++g_app.taskbarClockCount;
        desktop::DestroyDesktopClock(clock.number);
    }
    return true;
}
