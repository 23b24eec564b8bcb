// The time-server settings the service acts on, from [common] of tempovia.ini,
// or [default:common] of default.ini while the defaults are in force.
#pragma once

#include <windows.h>

#include "common/settings/named_mutex.h"

inline constexpr int kSyncDaily = 0;
inline constexpr int kSyncHourly = 1;
inline constexpr int kSyncQuarterHourly = 2;
inline constexpr int kSyncOnRequest = 3;
inline constexpr int kSyncOnceAfterStart = 4;

inline constexpr size_t kSyncServerChars = 128;

struct SyncSettings {
    int autosync;       // nonzero: synchronise on the schedule
    int synctype;       // kSyncDaily .. kSyncOnceAfterStart
    int httpSyncWait;   // longest accepted HTTP request, ms
    int server;         // n of "server<n>"
    wchar_t serverText[kSyncServerChars];  // empty: no server
};

// Where the policy value `no_preferences` is looked up; tests point it at a
// key of their own. nullptr restores HKLM "Software\Qelvar\Tempovia".
struct PolicyLocation {
    HKEY root;
    const wchar_t* key;
};
void SetSyncPolicyLocation(const PolicyLocation* location);

// True when `no_preferences` is a 4-byte value equal to 0: the shipped
// defaults rule and nothing is written back.
bool SyncDefaultsInForce();

// Reads the settings from the file and section in force; true when a server
// is named. tempovia.ini is read under the settings-file lock, waiting for it
// up to lockWaitMs, so that a program rewriting the file is never caught
// half-way; when the lock was not had, busy (may be null) is set and the
// settings are left as they were.
bool ReadSyncSettingsInto(SyncSettings& settings, DWORD lockWaitMs = kIniLockWaitMs, bool* busy = nullptr);

// A copy of the settings the engine uses, filled by ReadSyncSettings: each
// synchronisation works on its own, so a reload never changes one running.
SyncSettings CurrentSyncSettings();
bool ReadSyncSettings(DWORD lockWaitMs = kIniLockWaitMs, bool* busy = nullptr);
