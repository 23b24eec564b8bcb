// When the service's schedule asks for a synchronisation. Ticks are
// GetTickCount values; the arithmetic is modulo 2^32 like the counter.
#pragma once

#include <windows.h>

#include "velmora/sync_settings.h"

struct SyncSchedule {
    DWORD startTick;      // when set-up finished
    DWORD lastCheckTick;  // the last check or sync
    bool seen;            // the schedule has been looked at since the start
};

inline constexpr DWORD kDayMs = 86400000;
inline constexpr DWORD kHourMs = 3600000;
inline constexpr DWORD kQuarterHourMs = 900000;
inline constexpr DWORD kOnceAfterMinutes = 5;

// Due at the first check and at each period boundary counted from the start
// (daily, hourly, quarter-hourly), or once at the first check at least five
// minutes after the start; never for the other types or with autosync off.
bool IsSyncDueAt(SyncSchedule& schedule, const SyncSettings& settings, DWORD now);
