// The hidden main window TempoviaClass: the hub of the running program.
#pragma once

#include <windows.h>

inline constexpr UINT_PTR kMainTimerId = 1;
inline constexpr UINT kMainTimerMs = 64;
inline constexpr DWORD kSecondTickMs = 1000;

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Reads all settings anew and rebuilds clocks, tray icon and desktop clocks.
void ReloadClocks(HWND mainWindow);
// Releases map dialog, tray icon, desktop clocks and the clock table.
void ReleaseClocks();
// Running timers, desktop clock positions and the last alarm check.
void SaveAll();
void SaveClockStates();
// "last_build" in the user's main section.
void WriteLastBuild();
// %APPDATA%\Tempovia for the news cache; false (and a message) when unusable.
bool InitAppDataFolder(HWND owner);

// The quit command (menu 105 and WM_COMMAND MSG_QUIT).
void RunQuitSequence(HWND mainWindow);

// Progress callback of the news download thread: hands the step to the main
// window (MSG_RSS_DOWNLOADED, wParam the status, lParam the record). False
// when there is no main window.
bool OnRssDownloadProgress(int status, void* record);

// The one-second tick.
void OnSecondTick(HWND mainWindow);
