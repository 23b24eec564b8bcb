// One time zone as the programs exchange it. The layout is a binary contract:
// clock records embed it whole and travel to the taskbar clock by WM_COPYDATA.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct ZoneRecord {
    // The first 172 bytes are a TIME_ZONE_INFORMATION, handed to the platform as such.
    LONG Bias;                 // minutes; UTC = local standard time + Bias
    WCHAR StandardName[32];
    SYSTEMTIME StandardDate;   // end of daylight time; wMonth 0 = no rule
    LONG StandardBias;
    WCHAR DaylightName[32];
    SYSTEMTIME DaylightDate;   // start of daylight time; wMonth 0 = no rule
    LONG DaylightBias;
    int32_t id;                // numeric id from timezones.txt; 0 for the local zone
    int32_t standardWeek;      // 1..5, -1 = last, 0 = none
    int32_t daylightWeek;
    WCHAR displayName[128];
    WCHAR key[40];             // registry key name where one exists
    int32_t cityCount;         // cities of cities.txt that name this zone
};

static_assert(sizeof(TIME_ZONE_INFORMATION) == 172);
static_assert(sizeof(ZoneRecord) == 524);
static_assert(offsetof(ZoneRecord, Bias) == 0);
static_assert(offsetof(ZoneRecord, StandardName) == 4);
static_assert(offsetof(ZoneRecord, StandardDate) == 68);
static_assert(offsetof(ZoneRecord, StandardBias) == 84);
static_assert(offsetof(ZoneRecord, DaylightName) == 88);
static_assert(offsetof(ZoneRecord, DaylightDate) == 152);
static_assert(offsetof(ZoneRecord, DaylightBias) == 168);
static_assert(offsetof(ZoneRecord, id) == 172);
static_assert(offsetof(ZoneRecord, standardWeek) == 176);
static_assert(offsetof(ZoneRecord, daylightWeek) == 180);
static_assert(offsetof(ZoneRecord, displayName) == 184);
static_assert(offsetof(ZoneRecord, key) == 440);
static_assert(offsetof(ZoneRecord, cityCount) == 520);
static_assert(offsetof(ZoneRecord, Bias) == offsetof(TIME_ZONE_INFORMATION, Bias));
static_assert(offsetof(ZoneRecord, StandardDate) == offsetof(TIME_ZONE_INFORMATION, StandardDate));
static_assert(offsetof(ZoneRecord, DaylightBias) == offsetof(TIME_ZONE_INFORMATION, DaylightBias));

// The id of a clock's zone that the zone table lacks: the clock runs on the
// computer's zone but keeps the key and name it was saved with.
inline constexpr int32_t kMissingZoneId = -1;

// The key and display name of table entry 0.
inline constexpr wchar_t kLocalSystemTimeKey[] = L"Local System Time";
