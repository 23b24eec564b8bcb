// One line of timezones.txt: 20 TAB-separated fields describing a zone.
#pragma once

#include "common/time/zone_record.h"

inline constexpr int kZoneLineFields = 20;
inline constexpr int kZoneLineMaxChars = 2047;

// Parses one line (single-byte text, each byte one character) into a
// zero-filled record. False when the line is a comment, empty, does not
// split into 20 fields, or fails the checks of id, key, display name or
// Bias; bad later fields only leave their values at 0 or switch daylight
// saving off for the zone. The registry's names are not applied here.
bool ParseZoneLine(const char* line, ZoneRecord* out);
