// Week numbers of date pictures: ISO 8601 weeks, or weeks that start on the
// locale's first day of the week, counted by the same rule (a week belongs to
// the year that holds at least four of its days).
#pragma once

#include <windows.h>

// 1..53, from the date's year, month and day (the weekday field is not used);
// 0 for a date the calendar does not have.
int IsoWeekNumber(const SYSTEMTIME& date);
// The locale's first day of the week: 0 = Monday .. 6 = Sunday.
int GetFirstDayOfWeek();
// Like IsoWeekNumber with weeks starting on firstDay (0 = Monday .. 6 = Sunday).
int WeekNumberFrom(const SYSTEMTIME& date, int firstDay);
int LocaleWeekNumber(const SYSTEMTIME& date);
// IsoWeekNumber with the general option iso_weeks on, else LocaleWeekNumber.
int WeekNumber(const SYSTEMTIME& date);
