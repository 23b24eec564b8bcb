// Matching a cron-like schedule backwards: the last minute that the schedule
// names, not later than a given moment.
#pragma once

#include <windows.h>

#include "common/records/alarm_record.h"

// No cron schedule matches a moment before this year.
inline constexpr int kCronFirstYear = 1980;

// Moves t back to the last minute not later than t whose month, day,
// weekday, hour and minute the schedule names (seconds and milliseconds
// become 0). Month, day and weekday must all match. The search stops at
// `lower`: false, with t unchanged, when no such minute lies after lower,
// or when t lies before lower's year or before 1980.
bool MatchCronSchedule(const CronSchedule& cron, const SYSTEMTIME& lower, SYSTEMTIME& t);
