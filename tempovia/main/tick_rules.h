// The decisions of the one-second tick that depend only on times and flags.
#pragma once

#include <windows.h>

#include <cstdint>

// year x 512 + month x 32 + day - 33 of a time.
int32_t DayKey(const SYSTEMTIME& t);

// News schedule: due on the first tick, on the first tick of each later UTC
// day, and otherwise when at least 3 minutes have passed; a day earlier than
// the stored one suppresses it. Updates the stored day and minute when due.
bool NewsRefreshDue(const SYSTEMTIME& utc, int32_t& lastDayKey, int32_t& lastMinute);

// Sync request: with autosync on and sync type 3, once after start and each
// time the alarm-soon flag is found set; otherwise it only marks the start as
// done. Clears alarmSoon when it is looked at. True when a sync is to be asked.
bool SyncRequestDue(int32_t autosync, int32_t synctype, bool& syncRequested, bool& alarmSoon);
