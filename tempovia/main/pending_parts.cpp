// Bodies of the pieces that are not in the program yet: each does nothing
// visible and answers "nothing there", so the main window runs without them.
#include "tempovia/main/pending_parts.h"

void TrayIconAdd(HWND, int) {}
void TrayIconRemove() {}
void TrayIconUpdate() {}
void DestroyMainMenu() {}
void OnTrayIconMessage(HWND, WPARAM, LPARAM) {}
bool RunMenuCommand(HWND, WORD) { return false; }
void ClockDefaultAction(HWND, int) {}
void SetNewClockAllowed(bool) {}
bool CreateDesktopClocks(HWND, ClockRecord*, int) { return false; }
void DestroyDesktopClocks(bool) {}
void SaveDesktopClocks() {}
void RefreshDesktopClocks(bool) {}
void HideDesktopClocks() {}
void RestoreDesktopClocks() {}
void ApplyDesktopClockOrder(bool) {}
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
void EvaluateClockAlarms(int, const SYSTEMTIME&, const SYSTEMTIME&, bool&) {}
void WriteLastAlarmCheck() {}
void DestroyAlarmWindows() {}
void CreateAlarmLog(HWND) {}
void RetitleAlarmLog() {}
HWND AlarmLogWindow() { return nullptr; }
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
