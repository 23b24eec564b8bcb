// The machine's own time at fixed moments of both seasons, as Windows
// converts it for the current zone: what a clock on the computer's zone must
// show. Under Wine the machine's zone comes from TZ, and CI runs the programs
// that use this under several zones (tests/CMakeLists.txt).
// (Header-only: the programs that include it link the zone library.)
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "common/records/clock_record.h"
#include "common/records/clock_table.h"
#include "common/zones/zone_time.h"

namespace testing_support {

// Noon UTC in the middle of January and of July 2026: one of them lies in
// daylight time wherever the zone has daylight saving.
inline const SYSTEMTIME kSeasonMoments[] = {
    {2026, 1, 4, 15, 12, 0, 0, 0},
    {2026, 7, 3, 15, 12, 0, 0, 0},
};

inline std::string TimeText(const SYSTEMTIME& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
    return text;
}

// The machine's local time at `utc`; without daylight saving its standard
// time all year.
inline SYSTEMTIME MachineTime(const SYSTEMTIME& utc, bool daylight = true) {
    SYSTEMTIME in = utc, local{};
    TIME_ZONE_INFORMATION tzi{};
    if (!GetTimeZoneInformationForYear(utc.wYear, nullptr, &tzi)) GetTimeZoneInformation(&tzi);
    if (!daylight) tzi.StandardBias = tzi.DaylightBias = 0;
    SystemTimeToTzSpecificLocalTime(&tzi, &in, &local);
    return local;
}

// The UTC moment of a local time of the machine.
inline SYSTEMTIME MachineUtc(const SYSTEMTIME& local) {
    SYSTEMTIME in = local, utc{};
    TzSpecificLocalTimeToSystemTime(nullptr, &in, &utc);
    return utc;
}

// The program's clock table is these clocks while the object lives, also
// when an assertion ends the test early.
class ClockTableAs {
public:
    ClockTableAs(ClockRecord* clocks, int count) {
        g_clocks = clocks;
        g_clockCount = count;
    }
    ~ClockTableAs() {
        g_clocks = saved_;
        g_clockCount = savedCount_;
    }
    ClockTableAs(const ClockTableAs&) = delete;
    ClockTableAs& operator=(const ClockTableAs&) = delete;

private:
    ClockRecord* saved_ = g_clocks;
    int savedCount_ = g_clockCount;
};

// Empty when the clock shows the machine's time at every season moment;
// otherwise what it showed instead.
inline std::string MachineTimeMismatches(const ClockRecord& clock) {
    std::string out;
    for (const SYSTEMTIME& utc : kSeasonMoments) {
        SYSTEMTIME shown{};
        const bool ok = UtcToClockTime(utc, &shown, clock);
        const std::string want = TimeText(MachineTime(utc));
        if (!ok || TimeText(shown) != want)
            out += "at " + TimeText(utc) + " UTC: shows " + (ok ? TimeText(shown) : "nothing") + ", machine " + want + "; ";
    }
    return out;
}

}  // namespace testing_support
