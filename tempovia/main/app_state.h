// Process-wide state of the main program. The GUI thread owns all of it; the
// exit-event thread and the taskbar watcher only read the main window handle
// and post to it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "tempovia/main/command_line.h"

struct MainProgramState {
    HINSTANCE instance = nullptr;
    DWORD startTick = 0;      // GetTickCount at the start; /exit and /restart time out from it
    bool windows51 = false;   // Windows 5.1 or later
    bool noHook = false;      // /nh
    wchar_t settingsSwitch[kSwitchWordMax + 1] = {};  // "/3.2", handed to settings at the greeting
    HANDLE exitEvent = nullptr;
    HWND mainWindow = nullptr;
    HICON icon = nullptr;
    HCURSOR handCursor = nullptr;
    bool oleInitialised = false;

    // Taskbar watch: Explorer's process id as InstallHook returned it (0 = no
    // taskbar clock), the watcher's stop event, Explorer's process and the thread.
    DWORD explorerProcessId = 0;
    HANDLE watchStopEvent = nullptr;
    HANDLE explorerProcess = nullptr;
    HANDLE watchThread = nullptr;

    HWND trayClock = nullptr;      // the taskbar clock once it has greeted
    int currentClock = -1;         // the clock menu commands act on
    int taskbarClockCount = 0;     // enabled clocks not on the desktop
    bool newClockAllowed = true;   // fewer than 30 clocks

    DWORD lastTick = 0;            // GetTickCount of the last one-second tick
    SYSTEMTIME lastTickTime = {};  // UTC of the last tick
    WORD lastYear = 0;             // UTC year of the previous tick
    bool tickHasRun = false;       // set by the first one-second tick
    bool syncRequested = false;
    bool alarmSoon = false;        // set by alarm evaluation
    int32_t newsDayKey = 0;        // day key and minute of the last news refresh
    int32_t newsMinute = 0;

    wchar_t appDataFolder[MAX_PATH] = {};  // %APPDATA%\Tempovia, empty when unusable
};

extern MainProgramState g_app;

// The taskbar hook is in place (InstallHook returned a process id).
inline bool HookInstalled() { return g_app.explorerProcessId != 0; }
