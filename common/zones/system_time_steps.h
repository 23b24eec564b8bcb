// Ordering and backward steps on SYSTEMTIME values for the alarm searches.
// The searches walk a moment back towards a lower bound; these steps keep the
// weekday in step with the date so that no calendar call is needed per step.
#pragma once

#include <windows.h>

#include <cstdint>

// 1 when a's day is later than b's, -1 when earlier, 0 on the same day.
int CompareDays(const SYSTEMTIME& a, const SYSTEMTIME& b);
// The same for the time of day (milliseconds are not compared).
int CompareTimesOfDay(const SYSTEMTIME& a, const SYSTEMTIME& b);
// Days, and on the same day the time of day.
int CompareSystemTimes(const SYSTEMTIME& a, const SYSTEMTIME& b);

// Seconds of the day of a moment.
int SecondsOfDay(const SYSTEMTIME& t);

// The last second of the previous month (January goes to December of the
// year before); the weekday moves back by the days stepped.
void StepToPreviousMonthEnd(SYSTEMTIME& t);
// The last second of the previous day within the month; false (t unchanged)
// on the 1st.
bool StepToPreviousDay(SYSTEMTIME& t);

// True when the date and time form a moment the platform can convert
// (the weekday is not looked at).
bool IsValidMoment(const SYSTEMTIME& t);
// Sets the weekday from the date; false when the date is not valid.
bool FixWeekday(SYSTEMTIME& t);
// t moved by a signed number of seconds, weekday included; false when the
// result falls outside the range of FILETIME.
bool AddSecondsToSystemTime(const SYSTEMTIME& t, int64_t seconds, SYSTEMTIME& out);
