// A clock's local time taken back to UTC, the inverse of UtcToClockTime: the
// alarm check and the message templates need the true moment of a due time.
#pragma once

#include <windows.h>

#include "common/records/zone_record.h"

struct ClockRecord;

// True for a timer or stopwatch whose times are plain UTC (no set date).
bool ClockShowsUtc(const ClockRecord& clock);

// The zone a clock's times are shown in: its zone, without the daylight and
// standard biases when the user turned daylight saving off (the "Local
// System Time" clock and a clock whose zone the table lacks, which runs on
// the computer's rules, always keep them).
ZoneRecord ClockDisplayZone(const ClockRecord& clock);

// The UTC moment of a time the clock shows. A time inside the hour the
// spring switch skips becomes the first minute after it; one in the hour the
// autumn switch repeats is read as standard time.
bool ClockTimeToUtc(const SYSTEMTIME& local, SYSTEMTIME* out, const ClockRecord& clock);

// True when `local` lies in the hour the autumn switch repeats and its first
// (daylight-time) pass is not later than `checkedUtc`: whatever is due at
// that time was handled by a check up to then, and the second pass must not
// handle it again.
bool PassedInFirstPass(const SYSTEMTIME& local, const SYSTEMTIME& checkedUtc, const ClockRecord& clock);

// The latest time the clock showed between the checks at prevUtc and nowUtc
// (nowLocal being its time at nowUtc): when the autumn switch fell between
// them, the last second before it, unless the clock has passed that again.
// A check after a sleep over the switch must see what fell due before it.
SYSTEMTIME LatestClockTimeShown(const SYSTEMTIME& prevUtc, const SYSTEMTIME& nowUtc, const SYSTEMTIME& nowLocal,
                                const ClockRecord& clock);
