// Plural forms of the time units, from texts such as
//   "min;1 minute;2-4,22-24 minutes"
// (default text; then groups of ranges of n mod 100, a blank and their text).
#pragma once

#include <cstdint>

inline constexpr int kPluralUnits = 5;  // seconds, minutes, hours, days, weeks
inline constexpr int kPluralRanges = 100;
inline constexpr int kPluralTextChars = 1024;

class PluralTables {
public:
    // Replaces one unit's table; unknown units are ignored. Parsing stops at the
    // first fault and keeps what was read before.
    void SetTable(int unit, const wchar_t* text);
    // The text for n: the last range holding n mod 100, else the default text,
    // else the built-in short unit name; nullptr for an unknown unit.
    const wchar_t* Select(int unit, int n) const;
    int rangeCount(int unit) const;

private:
    struct Unit {
        wchar_t text[kPluralTextChars] = {};  // default text, then each group's text
        uint8_t low[kPluralRanges] = {};
        uint8_t high[kPluralRanges] = {};
        uint16_t textAt[kPluralRanges] = {};  // offset of the range's text in text
        int count = 0;
    };
    Unit units_[kPluralUnits];
};
