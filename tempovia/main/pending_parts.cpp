// Bodies of the pieces that are not in the program yet: each does nothing
// visible and answers "nothing there", so the main window runs without them.
#include "tempovia/main/pending_parts.h"
#include "tempovia/tray/clock_actions.h"
#include "tempovia/tray/context_menu.h"
#include "tempovia/tray/menu_commands.h"
#include "tempovia/tray/tray_icon.h"

#include "tempovia/desktop/desktop_clocks.h"
#include "tempovia/main/app_state.h"

void TrayIconAdd(HWND mainWindow, int taskbarClockCount) { AddTrayIcon(mainWindow, taskbarClockCount); }
void TrayIconRemove() { RemoveTrayIcon(); }
void TrayIconUpdate() { UpdateTrayIcon(); }
void DestroyMainMenu() { DestroyContextMenu(); }
void OnTrayIconMessage(HWND mainWindow, WPARAM wParam, LPARAM lParam) { OnTrayIcon(mainWindow, wParam, lParam); }
bool RunMenuCommand(HWND mainWindow, WORD id) { return RunTrayCommand(mainWindow, id); }
void ClockDefaultAction(HWND mainWindow, int index) { RunClockDefaultAction(mainWindow, index); }
void SetNewClockAllowed(bool allowed) { SetNewClockFlag(allowed); }
bool CreateDesktopClocks(HWND owner, ClockRecord* clocks, int count) {
    desktop::DesktopClockHost host = desktop::Host();
    host.hookInstalled = [] { return HookInstalled(); };
    desktop::SetDesktopClockHost(host);
    return desktop::CreateDesktopClocks(owner, clocks, count);
}
void DestroyDesktopClocks(bool save) { desktop::DestroyDesktopClocks(save); }
void SaveDesktopClocks() { desktop::SaveDesktopClocks(); }
void RefreshDesktopClocks(bool force) { desktop::RefreshDesktopClocks(force); }
void HideDesktopClocks() { desktop::HideDesktopClocks(); }
void RestoreDesktopClocks() { desktop::RestoreDesktopClocks(); }
void ApplyDesktopClockOrder(bool activate) { desktop::ApplyDesktopClockOrder(activate); }
bool IsTimerPanelShown() { return false; }
void ShowTimerPanel(HWND, int) {}
void CreateTimerPanel() {}
void DestroyTimerPanel() {}
void ShowCalendar() {}
bool IsCalendarOpen() { return false; }
void CloseCalendar() {}
bool ShowAboutDialog() { return false; }
void CloseAboutDialog() {}
// No converter to open is no failure to report.
bool ShowTimeConverter(HWND) { return true; }
void RefreshTimeTable(LPARAM) {}
void EmptyPhotoQueue() {}
bool QueuePhotoRequest(int, HWND) { return false; }
void EnableNewsChannels(const wchar_t*) {}
void BeginNewsChannelReload() {}
void EndNewsChannelReload() {}
void LoadRssCache() {}
void StartNewsRefresh(HWND, int) {}
void OnRssDownloaded(HWND, WPARAM, LPARAM) {}
HWND NewsWindow() { return nullptr; }
HWND NewsNotifier() { return nullptr; }
void HideNewsNotifier() {}
HWND MapDialog() { return nullptr; }
void CloseMapDialog() {}
void ApplyUiLanguage() {}
