// Calendar arithmetic on SYSTEMTIME values, without allocation.
#pragma once

#include <windows.h>

#include <cstdint>

// Orders moments: (year*512 + month*32 + day - 33)*100000 + hour*3600 +
// minute*60 + second. A day spans 100000 units, so days never overlap.
int64_t DateKey(const SYSTEMTIME& t);
int64_t DateKey(int year, int month, int day, int hour, int minute, int second);

bool IsLeapYear(int year);
// Days of the month (February by the year); 0 for month 0 or 13.
int DaysInMonth(int month, int year);

// Whole days from 1601-01-01 (the FILETIME epoch); 0 when the time is invalid.
int64_t DaysSince1601(const SYSTEMTIME& t);
// Weekday (0 = Sunday) of a day number; 1601-01-01 was a Monday.
int WeekdayOfDayNumber(int64_t day);

// FILETIME (day * 86400 + seconds) as SYSTEMTIME; true on success.
bool DaySecondsToSystemTime(int64_t day, int64_t seconds, SYSTEMTIME* out);
// The FILETIME plus a number of seconds, as SYSTEMTIME; true on success.
bool AddSecondsToFileTime(const FILETIME& time, int64_t seconds, SYSTEMTIME* out);

// Day of the month of the n-th weekday (0 = Sunday .. 6) of the month; n of 5
// or more means the last one. 0 when n is below 1, the weekday above 6, the
// month invalid, or the n-th (n < 5) does not exist.
int NthWeekdayOfMonth(int month, int year, int n, int weekday);

// Adds a signed number of minutes to the time, moving day, weekday, month and
// year as needed. Seconds and milliseconds stay.
void AddMinutes(SYSTEMTIME& t, int minutes);
