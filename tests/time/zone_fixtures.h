// Zone records shared by the tests, with rules worked out by hand.
#pragma once

#include <windows.h>

#include <cstring>

#include "common/platform/text_bounds.h"
#include "common/records/zone_record.h"

namespace zone_fixtures {

inline SYSTEMTIME Time(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int dow = 0) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(y);
    t.wMonth = static_cast<WORD>(mo);
    t.wDay = static_cast<WORD>(d);
    t.wHour = static_cast<WORD>(h);
    t.wMinute = static_cast<WORD>(mi);
    t.wSecond = static_cast<WORD>(s);
    t.wDayOfWeek = static_cast<WORD>(dow);
    return t;
}

// A SYSTEMTIME with its weekday filled in by the platform.
inline SYSTEMTIME Dated(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    SYSTEMTIME t = Time(y, mo, d, h, mi, s);
    FILETIME ft;
    SystemTimeToFileTime(&t, &ft);
    FileTimeToSystemTime(&ft, &t);
    return t;
}

inline SYSTEMTIME Rule(int month, int week, int weekday, int hour, int minute = 0) {
    SYSTEMTIME t{};
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(week);
    t.wDayOfWeek = static_cast<WORD>(weekday);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    return t;
}

inline ZoneRecord Zone(const wchar_t* key, LONG bias) {
    ZoneRecord z;
    std::memset(&z, 0, sizeof z);
    z.Bias = bias;
    CopyBounded(z.key, key);
    CopyBounded(z.displayName, key);
    return z;
}

// UTC-5, daylight from the second Sunday of March 02:00 to the first Sunday
// of November 02:00 (daylight time).
inline ZoneRecord Eastern() {
    ZoneRecord z = Zone(L"Test Eastern", 300);
    z.DaylightBias = -60;
    z.DaylightDate = Rule(3, 2, 0, 2);
    z.StandardDate = Rule(11, 1, 0, 2);
    z.daylightWeek = 2;
    z.standardWeek = 1;
    return z;
}

// UTC+10, daylight from the first Sunday of October 02:00 to the first
// Sunday of April 03:00 (daylight time).
inline ZoneRecord Sydney() {
    ZoneRecord z = Zone(L"Test Sydney", -600);
    z.DaylightBias = -60;
    z.DaylightDate = Rule(10, 1, 0, 2);
    z.StandardDate = Rule(4, 1, 0, 3);
    z.daylightWeek = 1;
    z.standardWeek = 1;
    return z;
}

// UTC+2, daylight in 2024 only, from Friday 29 March 02:00 to Friday 25
// October 03:00 (daylight time): fixed dates, converted by our own rules.
inline ZoneRecord FixedDates() {
    ZoneRecord z = Zone(L"Test Fixed", -120);
    z.DaylightBias = -60;
    z.DaylightDate = Time(2024, 3, 29, 2, 0, 0, 5);
    z.StandardDate = Time(2024, 10, 25, 3, 0, 0, 5);
    return z;
}

}  // namespace zone_fixtures
