// Zone rules of a clock as they are at any moment, and the conversions of the
// time converter: one common UTC moment shown in every clock's zone.
#pragma once

#include <windows.h>

#include <vector>

#include "common/records/clock_record.h"

// Rebuilds the clock's zone from the pristine table with the rules valid at
// the moment (dated changes), then as the clock shows it (ClockDisplayZone).
// A zone the tables do not know keeps the rules it holds.
void ApplyZoneRulesForDate(ClockRecord& clock, const SYSTEMTIME& utc);

// The converter's first moment: the UTC hour after `utcNow` (modulo 24, on
// the same date) with minutes, seconds and milliseconds 0.
SYSTEMTIME ConverterOpeningMoment(const SYSTEMTIME& utcNow);

// The clocks the converter shows: every enabled clock that is not a timer,
// copied whole, with default time format, no date, no seconds, no alarms
// and the given transparency.
std::vector<ClockRecord> CopyConverterClocks(const ClockRecord* clocks, int count, bool transparent);

// The local time the clock shows at the moment (weekday filled in).
bool ConverterLocalTime(const ClockRecord& clock, const SYSTEMTIME& utc, SYSTEMTIME* local);

// A date picked in column k: the clock keeps its hour and minute on that
// date, the moment follows, and every clock takes the rules valid then.
// False (moment unchanged) for a bad column or a date that does not convert.
bool ConvertPickedDate(std::vector<ClockRecord>& clocks, int k, const SYSTEMTIME& date, SYSTEMTIME& moment);

// A time picked in column k (hour and minute): the moment follows. A time
// inside the column's spring-forward gap moves the moment by the minutes the
// picker moved. False (moment unchanged) for a bad column or time.
bool ConvertPickedTime(std::vector<ClockRecord>& clocks, int k, const SYSTEMTIME& time, SYSTEMTIME& moment);

// Every clock takes the rules valid at the moment.
void ApplyRulesToClocks(std::vector<ClockRecord>& clocks, const SYSTEMTIME& utc);
