// The moment a freshly added alarm starts with: now on the clock's face, or
// for a timer clock a point of its run.
#pragma once

#include <windows.h>

#include "common/records/alarm_record.h"
#include "common/records/clock_record.h"

// A plain clock: `utc` as the clock shows it, milliseconds cleared. A
// stopwatch: 300 seconds into the run; a countdown: its end; a countdown to
// a date or a stopwatch from a set start: the clock's own moment (as an
// offset from a countdown's date).
void SetNewAlarmTime(AlarmRecord& alarm, const ClockRecord& clock, const SYSTEMTIME& utc);

// Seconds into a stopwatch's run at which a new alarm starts.
inline constexpr uint32_t kNewStopwatchAlarmSeconds = 300;
