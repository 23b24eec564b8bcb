// When the service's schedule asks for a synchronisation. Ticks are
// GetTickCount64 values: the 32-bit counter wraps after 49.7 days, which
// would shift every period boundary after it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "velmora/sync_settings.h"

struct SyncSchedule {
    uint64_t startTick;      // when set-up finished
    uint64_t lastCheckTick;  // the last check or sync
    bool seen;            // the schedule has been looked at since the start
};

inline constexpr uint64_t kDayMs = 86400000;
inline constexpr uint64_t kHourMs = 3600000;
inline constexpr uint64_t kQuarterHourMs = 900000;
inline constexpr uint64_t kOnceAfterMinutes = 5;

// Due at the first check and at each period boundary counted from the start
// (daily, hourly, quarter-hourly), or once at the first check at least five
// minutes after the start; never for the other types or with autosync off.
bool IsSyncDueAt(SyncSchedule& schedule, const SyncSettings& settings, uint64_t now);
