// The running service: its entry, its control handler and its loop.
#pragma once

#include <windows.h>

// Status fields reported to the Service Control Manager.
inline constexpr DWORD kServiceType = SERVICE_WIN32_OWN_PROCESS;  // 16
inline constexpr DWORD kServiceControls = 7;                      // stop, pause and continue, shutdown
inline constexpr DWORD kStartWaitHintMs = 2000;
inline constexpr DWORD kHeartbeatMs = 1000;
inline constexpr DWORD kServiceWakeMs = 500;
// Reported with STOP_PENDING: longer than a stopped synchronisation may take.
inline constexpr DWORD kStopWaitHintMs = 10000;
// How long a sync cut short by a stop may wait for the settings-file lock to
// write that it was stopped; STOPPED follows once it has ended.
inline constexpr DWORD kStopSyncWaitMs = kStopWaitHintMs - 1500;

// The entry the dispatcher calls: registers the handler, starts, and runs
// the loop until stopped.
void WINAPI ServiceMain(DWORD argc, LPWSTR* argv);
// Runs on the dispatcher's thread; only sets flags and the wake event.
void WINAPI ServiceCtrlHandler(DWORD code);

// The state last reported (SERVICE_STOPPED before the first start).
DWORD CurrentServiceState();
