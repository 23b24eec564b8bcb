// Converting between UTC and the local time of a zone.
#pragma once

#include <windows.h>

#include "common/records/zone_record.h"

struct ClockRecord;

// The local time of the zone at `utc`. Recurring rules (and zones without a
// rule) are converted by the platform, fixed-date rules by our own rules.
bool UtcToZoneTime(const SYSTEMTIME& utc, SYSTEMTIME* out, const ZoneRecord& zone);

// The UTC moment of a local time of the zone. A local time that the spring
// switch skips is taken as the first valid minute after the gap; one that the
// autumn switch repeats is taken as standard time.
bool ZoneTimeToUtc(SYSTEMTIME* out, const ZoneRecord& zone, const SYSTEMTIME& local);

// The time a clock shows at `utc`: UTC itself for a timer or stopwatch that
// has no set date, else the clock's zone time, with the daylight and
// standard biases dropped when the user turned daylight saving off (the
// "Local System Time" clock and a clock whose zone the table lacks always
// keep them).
bool UtcToClockTime(const SYSTEMTIME& utc, SYSTEMTIME* out, const ClockRecord& clock);

// True when the clock shows the computer's own time: its zone is "Local
// System Time" or one the table lacks (it runs on the computer's rules), or
// its zone and daylight choice match the computer's; a system rule stated as
// one year's dates matches a recurring rule that falls on them that year.
bool IsSystemZone(const ClockRecord& clock);
