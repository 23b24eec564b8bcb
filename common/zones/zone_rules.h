// Daylight-saving rules of a ZoneRecord: when they switch and which side of
// them a moment lies on. Recurring rules name a weekday of a week of the
// month (wYear 0, wDay 1..5, 5 = last); fixed-date rules carry their year.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/records/zone_record.h"

// DST state of a moment in a zone.
inline constexpr int kDstDaylight = 1;
inline constexpr int kDstStandard = -1;
inline constexpr int kDstNone = 0;

// Kinds of a transition date.
inline constexpr int kTransitionInvalid = 0;    // fixed date, or not a usable rule
inline constexpr int kTransitionNone = 1;       // no transition at all
inline constexpr int kTransitionRecurring = 2;  // week-of-month rule

// Day of the month, in the month of `date`, on which a recurring `rule` falls,
// found from the date's own day and weekday (no calendar call).
int TransitionDayOfMonth(const SYSTEMTIME& date, const SYSTEMTIME& rule);

int ClassifyTransitionDate(const SYSTEMTIME& date, int week);

// Both transition dates are recurring or both absent: the platform can
// convert such a zone itself.
bool HasValidDstRule(const ZoneRecord& zone);

// Date keys of the year's two transitions; false when the zone has neither.
bool GetDstTransitions(int year, const ZoneRecord& zone, int64_t* standardKey, int64_t* daylightKey);

// The DST state at `t`, a local standard time of the zone (UTC - Bias).
int GetDstState(const ZoneRecord& zone, const SYSTEMTIME& t);

// When t's day is the day daylight time starts (tested first) or ends: the
// minute of the day of the switch and the step of the clock in minutes
// (positive at the start, negative at the end).
bool GetTransitionOnDay(const SYSTEMTIME& t, const ZoneRecord& zone, int* minute, int* step);

// The minutes of t's day that a switch skips (answer 1, daylight start) or
// repeats (answer 0, daylight end), as [start, end); -1 with both 0 on other
// days.
int GetTransitionWindow(const SYSTEMTIME& t, const ZoneRecord& zone, int* start, int* end);
