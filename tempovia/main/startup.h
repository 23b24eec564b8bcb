// The life of the main program from its entry point to its exit code.
#pragma once

#include <windows.h>

#include "common/mapdialog/map_plugin_errors.h"
#include "common/settings/named_mutex.h"
#include "tempovia/main/tray_protocol.h"

// Exit codes of the program.
inline constexpr int kExitNormal = 0;
inline constexpr int kExitNoResources = 1;
inline constexpr int kExitAlreadyRunning = 3;

inline constexpr DWORD kCloseOtherPollMs = 500;
inline constexpr DWORD kCloseOtherTimeoutMs = 5000;
// After its window is gone an instance waits this long at most for its news
// and photo workers, and holds the instance rule no more than kExitTailMs.
inline constexpr DWORD kExitWorkersWaitMs = 5000;
inline constexpr DWORD kExitTailMs = kExitWorkersWaitMs + 1000;
// What the end of an instance may spend before its window goes: one wait for
// the settings-file lock (its saves), two sends to a taskbar that does not
// answer (the release of the quit, then that of the hook's removal), and the
// map plug-in's wait for its texture workers when the map is open.
inline constexpr DWORD kExitSaveWaitMs = kIniLockWaitMs;
inline constexpr DWORD kExitTaskbarWaitMs = 2 * kTrayClockSendTimeoutMs;
// How long `/exit` and `/restart` wait, from their start, for the closed
// instance to end: all it may spend, then its exit tail.
inline constexpr DWORD kInstanceEndWaitMs =
    kExitSaveWaitMs + kExitTaskbarWaitMs + kMapFreeWaitMs + kExitTailMs + kCloseOtherPollMs;

// WinMain's body: commandLine is the 8-bit command line without the program.
int RunMainProgram(HINSTANCE instance, const char* commandLine);

// Asks a running instance to close (WM_CLOSE and the exit event) and waits in
// 500 ms steps until its window is gone or 5000 ms have passed since startTick.
void CloseRunningInstance(HANDLE exitEvent, DWORD startTick);
