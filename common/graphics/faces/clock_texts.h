// The texts a digital clock shows for one zone time, and the choice of the
// background profile in force.
#pragma once

#include <windows.h>

#include <cstddef>

#include "common/records/clock_record.h"
#include "common/settings/time_format.h"

// Active background values besides a profile index.
inline constexpr int kNoBackground = -1;
inline constexpr int kGlobalBackground = -100;

// A date text holds at most this many characters.
inline constexpr size_t kClockDateChars = 80;

struct ClockTexts {
    wchar_t time[kTimeTextChars] = {};             // T
    wchar_t date[kClockDateChars + 1] = {};         // D
    wchar_t dateOneLine[kClockDateChars + 1] = {};  // D1: line feeds as blanks, a leading one dropped
    const wchar_t* dateLines = date;                // Dm: D without a leading line feed
    int lineFeeds = 0;                              // n: line feeds in D
    wchar_t prefix[33] = {};                        // P

    // Filled by the face with its skin: Pw counts a blank after a prefix
    // that is not empty, and Ph is at least the height of a blank.
    SIZE timeSize{0, 0};
    SIZE dateOneLineSize{0, 0};
    SIZE dateLinesSize{0, 0};
    SIZE prefixSize{0, 0};
    SIZE blankSize{0, 0};
};

// The record's fields copied safely: a field that fills its array without a
// terminator is cut at the array's end.
template <size_t N>
void CopyRecordText(wchar_t* out, size_t outChars, const WCHAR (&field)[N]) {
    if (!out || outChars == 0) return;
    size_t n = 0;
    while (n < N && n + 1 < outChars && field[n]) {
        out[n] = field[n];
        ++n;
    }
    out[n] = L'\0';
}

// T, D, D1, Dm, n and P of a clock at a zone time (sizes left at zero).
void FormatClockTexts(const ClockRecord& clock, const SYSTEMTIME& zoneTime, ClockTexts& texts);

// Line feeds become blanks; a leading one is dropped.
void JoinLines(const wchar_t* text, wchar_t* out, size_t outChars);

// Whether a profile is in force for the clock now: timers by their running
// value, other clocks by the zone time last drawn.
bool IsBackgroundActive(const ClockRecord& clock, const BackgroundProfile& profile);

// kGlobalBackground when the general profile (globalProfile, may be null)
// highlights a clock of the system's zone; a requested index when it exists;
// else the first profile in force; -1 when none.
int FindActiveBackground(const ClockRecord& clock, int requested, const BackgroundProfile* globalProfile,
                         bool systemZone);
