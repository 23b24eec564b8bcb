// The one-line text form of a background highlight, as the keys `profile1` ..
// `profile12` of a clock section and `localzonehighlight` hold it:
//   "1, 09:00-18:00, FF0000, 7F, 06, Work"                  (a clock: daily range, weekday digits)
//   "1, 00010 00070, 0000FF, FF, Last minute"               (a timer: seconds on its run)
//   "1, 2024.01.01 00:00:00-2024.01.02 00:00:00, ..., Name"  (a countdown to a date)
// Colours are written red, green, blue; the opacity as two hex digits.
#pragma once

#include <cstddef>

#include "common/records/background_profile.h"
#include "common/records/clock_record.h"

// Room for the longest text FormatBackgroundProfile writes, with its terminator.
inline constexpr size_t kProfileTextChars = 256;

// A new highlight: 09:00-18:00 on Sunday and Saturday, green at half opacity,
// named by the localised "Background".
void InitBackgroundProfile(BackgroundProfile& profile);

// Parses a text into profile. clock is the owning clock, or nullptr for the
// general settings' local-zone highlight (always the daily form). False, with
// profile untouched, when the text does not parse or a value is out of range.
bool ParseBackgroundProfile(const wchar_t* text, BackgroundProfile& profile, const ClockRecord* clock);

// Writes the text form that fits the clock (nullptr: the daily form).
void FormatBackgroundProfile(const BackgroundProfile& profile, wchar_t* buffer, size_t size,
                             const ClockRecord* clock);

// For a countdown to a date: the from and to dates, taken in the clock's zone,
// as UTC FILETIME values. False for other clocks or when a date does not convert.
bool ProfileRangeToFileTimes(const ClockRecord& clock, BackgroundProfile& profile);
