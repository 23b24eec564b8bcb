// Zones and clocks shared by the converter and time table tests, with rules
// worked out by hand.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

#include "common/records/clock_record.h"
#include "common/platform/text_bounds.h"
#include "common/zones/zone_database.h"
#include "tests/zonedata/zone_test_tables.h"

namespace timetools_tests {

// Keys no registry holds, so that the file's names stay.
//  1 London: UTC, daylight from the last Sunday of March 01:00 to the last
//    Sunday of October 02:00 (daylight time).
//  7 North (New York): UTC-5, daylight from the second Sunday of March 02:00
//    to the first Sunday of November 02:00.
//  8 Flat: UTC+3 without daylight; tz_changes below moves it to UTC+4.
inline constexpr char kZones[] =
    "# id\tkey\tdisplay ...\n"
    "1\tTest London\t(UTC+00:00) London\t0\tLondon Standard\t0\t0\t10\t5\t0\t5\t2:00:00\tLondon Daylight\t-60\t0\t3\t5\t0\t5\t1:00:00\n"
    "7\tTest North\t(UTC-05:00) North\t300\tNorth Standard\t0\t0\t11\t1\t0\t1\t2:00:00\tNorth Daylight\t-60\t0\t3\t2\t0\t2\t2:00:00\n"
    "8\tTest Flat\t(UTC+03:00) Flat\t-180\tFlat Standard\t0\t0\t0\t0\t0\t0\t0:00:00\tFlat Daylight\t0\t0\t0\t0\t0\t0\t0:00:00\n";

// Flat moves to UTC+4 at 10:00 UTC on 27 March 2031.
inline constexpr char kChanges[] = "8\t2031.03.27 10:00:00\t\t-240\r\n";

inline SYSTEMTIME Utc(int y, int mo, int d, int h = 0, int mi = 0) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(y);
    t.wMonth = static_cast<WORD>(mo);
    t.wDay = static_cast<WORD>(d);
    t.wHour = static_cast<WORD>(h);
    t.wMinute = static_cast<WORD>(mi);
    FILETIME ft;
    if (SystemTimeToFileTime(&t, &ft)) FileTimeToSystemTime(&ft, &t);
    return t;
}

inline int Minutes(const SYSTEMTIME& t) { return t.wHour * 60 + t.wMinute; }

// The zone tables and changes above, loaded for one test.
class TestZones {
public:
    TestZones() : zones_(kZones) { LoadZoneUpdates(zones_.Write(L"tz_changes.txt", kChanges).c_str()); }
    bool loaded() const { return zones_.loaded() && g_zoneUpdates.count == 1; }

    // An enabled clock of the zone with that id, labelled by its prefix.
    ClockRecord Clock(int id, const wchar_t* prefix) {
        ClockRecord clock;
        std::memset(&clock, 0, sizeof clock);
        clock.number = ++made_;
        clock.enabled = 1;
        clock.zone = zones_.Pristine(id);
        clock.usedaylight = 1;
        clock.zoneHasDaylight = clock.zone.DaylightDate.wMonth != 0;
        CopyBounded(clock.prefix, prefix);
        CopyBounded(clock.label, prefix);
        CopyBounded(clock.timeformat, L"24 hours");
        CopyBounded(clock.dateformat, L"None");
        return clock;
    }

private:
    zonedata_tests::ZoneTablesFixture zones_;
    int made_ = 0;
};

}  // namespace timetools_tests
