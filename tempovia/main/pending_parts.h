// Pieces of the main program that its window and tick call but that live in
// their own modules (tray icon and menu, desktop clocks, timer panel, calendar
// and about box, converter, time table, alarms and their log, city photos,
// news, the map dialog). Each is declared here once, with the behaviour the
// main window relies on; until its module provides it, the body in
// pending_parts.cpp does nothing visible and reports "nothing there".
#pragma once

#include <windows.h>

struct ClockRecord;

// ---- tray icon and main menu -------------------------------------------------
// Adds the tray icon unless a clock is shown in the taskbar (count above 0).
void TrayIconAdd(HWND mainWindow, int taskbarClockCount);
void TrayIconRemove();
void TrayIconUpdate();  // rewrites the tip of a shown icon
// The loaded context menu is destroyed (main window destruction).
void DestroyMainMenu();
// MSG_TRAY_ICON: wParam icon id, lParam the mouse message.
void OnTrayIconMessage(HWND mainWindow, WPARAM wParam, LPARAM lParam);
// A WM_COMMAND menu command other than quit; true when it was carried out.
bool RunMenuCommand(HWND mainWindow, WORD id);
// What a double click on clock `index` does.
void ClockDefaultAction(HWND mainWindow, int index);
// New-clock menu entries follow the number of clocks.
void SetNewClockAllowed(bool allowed);

// ---- desktop clocks ----------------------------------------------------------
bool CreateDesktopClocks(HWND owner, ClockRecord* clocks, int count);
void DestroyDesktopClocks(bool save);
void SaveDesktopClocks();
void RefreshDesktopClocks(bool force);
void HideDesktopClocks();
void RestoreDesktopClocks();
void ApplyDesktopClockOrder(bool activate);

// ---- timer panel -------------------------------------------------------------
bool IsTimerPanelShown();
// Shows the panel over the window that shows clock number `clockNumber`.
void ShowTimerPanel(HWND clockWindow, int clockNumber);
void CreateTimerPanel();   // the one panel of the program
void DestroyTimerPanel();

// ---- calendar, about box, converter, time table ------------------------------
void ShowCalendar();
bool IsCalendarOpen();
void CloseCalendar();
// True when the about box was open and has been brought forward.
bool ShowAboutDialog();
void CloseAboutDialog();
// False when the converter could not be opened.
bool ShowTimeConverter(HWND owner);
// The time table follows a settings reload (lParam 32778) or a system time
// change (lParam 30); it is rebuilt and told so.
void RefreshTimeTable(LPARAM reason);

// ---- alarms ------------------------------------------------------------------
// Fires the alarms of clock `index` whose moments lie in (from, to]; sets
// alarmSoon when one is due within the sync lead time.
void EvaluateClockAlarms(int index, const SYSTEMTIME& fromUtc, const SYSTEMTIME& toUtc, bool& alarmSoon);
void WriteLastAlarmCheck();
void DestroyAlarmWindows();
void CreateAlarmLog(HWND owner);
void RetitleAlarmLog();
// The alarm log window, or null.
HWND AlarmLogWindow();

// ---- city photos ---------------------------------------------------------------
void EmptyPhotoQueue();
// At the end of the program, after the main window: lets a photo worker
// finish its download, so that nothing it uses goes away under it.
void WaitForPhotoWork();
// True when the request was queued.
bool QueuePhotoRequest(int cityIndex, HWND notify);

// ---- news ----------------------------------------------------------------------
// The news reader gets a cache folder and takes channels from the settings.
void EnableNewsChannels(const wchar_t* cacheFolder);
void BeginNewsChannelReload();  // clear in-use flags and empty the news windows
void EndNewsChannelReload();    // drop channels not registered again; refresh the windows
void LoadRssCache();
// At the end of the program: the news window (which saves its place) and
// the notifier go, and their browsers with them, while OLE is still up.
void CloseNewsWindows();
// Starts the refresh of due channels (flag 1 scheduled, 0 on request), with
// OnRssDownloadProgress (main_window.h) as the progress callback.
void StartNewsRefresh(HWND mainWindow, int flag);
void OnRssDownloaded(HWND mainWindow, WPARAM status, LPARAM record);
HWND NewsWindow();
HWND NewsNotifier();
void HideNewsNotifier();

// ---- the main program's map dialog ---------------------------------------------
HWND MapDialog();
void CloseMapDialog();

// ---- language of the user interface ---------------------------------------------
void ApplyUiLanguage();
