// One line of timezones.txt: 20 TAB-separated fields describing a zone.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/platform/split_fields.h"
#include "common/records/zone_record.h"

inline constexpr int kZoneLineFields = 20;
inline constexpr int kZoneLineMaxChars = 2047;

// Parses one line (single-byte text, each byte one character) into a
// zero-filled record. False when the line is a comment, empty, does not
// split into 20 fields, or fails the checks of id (a number above 0), key,
// display name or Bias; bad later fields only leave their values at 0 or
// switch daylight saving off for the zone. The registry's names are not
// applied here.
bool ParseZoneLine(const char* line, ZoneRecord* out);

// True, with the id, for a line of 20 fields whose id is 0 or below, which
// ParseZoneLine refuses: 0 is the computer's own entry and -1 marks a clock
// whose zone the table lacks, so no line of the file may take them.
bool ZoneLineHasReservedId(const char* line, long* id);

// The two sides of a rule are seven fields each: bias, year, month, day,
// weekday, week, time of day (fields 5-11 standard, 13-19 daylight; the
// changes file uses the same places).

// The month field of a side: 1..12, or no rule on that side.
bool ParseRuleMonth(DataField f, WORD* month);

// The date of one side (`side` points at its bias field; the bias is left to
// the caller): the month given, then each of year, day, weekday, week and
// time of day replaces its value only when its field reads. A valid week
// (-1 or 1..5) of a rule without a year also becomes its day (-1 as 5).
void ParseRuleDate(const DataField* side, WORD month, SYSTEMTIME* date, int32_t* week);
