// The program's command line: installation switches, a single synchronisation,
// or service mode.
#pragma once

#include <windows.h>

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitInstallFailed = 2;
inline constexpr int kExitRemoveFailed = 3;
inline constexpr int kExitStartFailed = 4;
inline constexpr int kExitSyncFailed = 10;
// /sync could not read its settings or write its result: another program kept
// the settings file busy for the whole of the lock's wait.
inline constexpr int kExitSyncFileBusy = 11;

enum class ServiceAction { None, Install, AutoInstall, Uninstall };

struct ServiceSwitches {
    ServiceAction action;  // the last install or remove switch wins
    bool start;
    bool sync;
    bool quiet;
    bool unknown;
    int count;  // every switch, known or not
};

// Scans everything after the first blank for "/" switches, each compared
// case-insensitively by prefix with /install, /auto, /uninstall, /start,
// /sync and /q in that order. hasBlank tells whether there was a blank.
ServiceSwitches ParseServiceSwitches(const wchar_t* commandLine, bool* hasBlank);

// The program's entry: acts on the switches or runs the service dispatcher;
// returns the exit code.
int RunCommandLine(const wchar_t* commandLine);
