// When an alarm's schedule was last due: the schedules of ordinary clocks,
// answered backwards from a moment in the clock's local time.
#pragma once

#include <windows.h>

#include "common/records/alarm_record.h"

// The last due time of the alarm's schedule not later than t, into out.
// lower bounds the backward searches: a due time at or before it may be
// missed, since the caller has handled everything up to lower already.
// t and lower are in the clock's local time. False when the alarm is
// disabled, its schedule yields nothing, or the record holds values that
// name no moment (a damaged start date, an unknown type).
bool GetLastDueTime(const AlarmRecord& alarm, const SYSTEMTIME& lower, const SYSTEMTIME& t, SYSTEMTIME& out);
