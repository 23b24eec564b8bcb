// UTC to zone time and back, across the switches of a northern, a southern
// and a fixed-date zone, against times worked out by hand.
#include <gtest/gtest.h>

#include <string>

#include "common/zones/date_math.h"
#include "common/zones/zone_rules.h"
#include "common/zones/zone_time.h"
#include "tests/time/zone_fixtures.h"

using namespace zone_fixtures;

namespace {

std::string Text(const SYSTEMTIME& t) {
    char buf[32];
    snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
    return buf;
}

std::string Local(const ZoneRecord& z, const SYSTEMTIME& utc) {
    SYSTEMTIME out{};
    if (!UtcToZoneTime(utc, &out, z)) return "failed";
    return Text(out);
}

std::string Utc(const ZoneRecord& z, const SYSTEMTIME& local) {
    SYSTEMTIME out{};
    if (!ZoneTimeToUtc(&out, z, local)) return "failed";
    return Text(out);
}

}  // namespace

TEST(ZoneTime, NorthernZoneAcrossItsSwitches) {
    ZoneRecord z = Eastern();
    EXPECT_EQ(Local(z, Dated(2024, 1, 15, 17)), "2024-01-15 12:00");
    EXPECT_EQ(Local(z, Dated(2024, 3, 10, 6, 59)), "2024-03-10 01:59");
    EXPECT_EQ(Local(z, Dated(2024, 3, 10, 7, 0)), "2024-03-10 03:00");
    EXPECT_EQ(Local(z, Dated(2024, 7, 4, 16)), "2024-07-04 12:00");
    EXPECT_EQ(Local(z, Dated(2024, 11, 3, 5, 59)), "2024-11-03 01:59");
    EXPECT_EQ(Local(z, Dated(2024, 11, 3, 6, 0)), "2024-11-03 01:00");

    EXPECT_EQ(Utc(z, Dated(2024, 3, 10, 1, 59)), "2024-03-10 06:59");
    EXPECT_EQ(Utc(z, Dated(2024, 3, 10, 3, 0)), "2024-03-10 07:00");
    // Inside the skipped hour: the first minute after the gap, its very first
    // minute included.
    EXPECT_EQ(Utc(z, Dated(2024, 3, 10, 2, 30)), "2024-03-10 07:00");
    EXPECT_EQ(Utc(z, Dated(2024, 3, 10, 2, 0)), "2024-03-10 07:00");
    EXPECT_EQ(Utc(z, Dated(2024, 11, 3, 0, 59)), "2024-11-03 04:59");
    EXPECT_EQ(Utc(z, Dated(2024, 11, 3, 1, 30)), "2024-11-03 06:30");  // the repeated hour: standard time
    EXPECT_EQ(Utc(z, Dated(2024, 11, 3, 2, 0)), "2024-11-03 07:00");
    EXPECT_EQ(Utc(z, Dated(2024, 7, 4, 12)), "2024-07-04 16:00");
}

TEST(ZoneTime, SouthernZoneAcrossItsSwitches) {
    ZoneRecord z = Sydney();
    EXPECT_EQ(Local(z, Dated(2024, 1, 15, 12)), "2024-01-15 23:00");
    EXPECT_EQ(Local(z, Dated(2024, 6, 15, 12)), "2024-06-15 22:00");
    EXPECT_EQ(Local(z, Dated(2024, 4, 6, 15, 59)), "2024-04-07 02:59");
    EXPECT_EQ(Local(z, Dated(2024, 4, 6, 16, 0)), "2024-04-07 02:00");
    EXPECT_EQ(Local(z, Dated(2024, 10, 5, 15, 59)), "2024-10-06 01:59");
    EXPECT_EQ(Local(z, Dated(2024, 10, 5, 16, 0)), "2024-10-06 03:00");

    EXPECT_EQ(Utc(z, Dated(2024, 1, 15, 23)), "2024-01-15 12:00");
    EXPECT_EQ(Utc(z, Dated(2024, 6, 15, 22)), "2024-06-15 12:00");
    EXPECT_EQ(Utc(z, Dated(2024, 10, 6, 1, 59)), "2024-10-05 15:59");
    EXPECT_EQ(Utc(z, Dated(2024, 10, 6, 2, 30)), "2024-10-05 16:00");
    EXPECT_EQ(Utc(z, Dated(2024, 4, 7, 1, 59)), "2024-04-06 14:59");
    EXPECT_EQ(Utc(z, Dated(2024, 4, 7, 2, 30)), "2024-04-06 16:30");
}

TEST(ZoneTime, FixedDateZoneByOurOwnRules) {
    ZoneRecord z = FixedDates();
    // Before the first switch only the Bias applies.
    EXPECT_EQ(Local(z, Dated(2023, 7, 1, 12)), "2023-07-01 14:00");
    EXPECT_EQ(Local(z, Dated(2024, 3, 28, 23, 59)), "2024-03-29 01:59");
    EXPECT_EQ(Local(z, Dated(2024, 3, 29, 0, 0)), "2024-03-29 03:00");
    EXPECT_EQ(Local(z, Dated(2024, 7, 1, 12)), "2024-07-01 15:00");
    EXPECT_EQ(Local(z, Dated(2024, 10, 24, 23, 59)), "2024-10-25 02:59");
    EXPECT_EQ(Local(z, Dated(2024, 10, 25, 0, 0)), "2024-10-25 02:00");
    EXPECT_EQ(Local(z, Dated(2025, 7, 1, 12)), "2025-07-01 14:00");

    EXPECT_EQ(Utc(z, Dated(2024, 3, 29, 1, 59)), "2024-03-28 23:59");
    EXPECT_EQ(Utc(z, Dated(2024, 3, 29, 2, 30)), "2024-03-29 00:00");
    EXPECT_EQ(Utc(z, Dated(2024, 3, 29, 3, 0)), "2024-03-29 00:00");
    EXPECT_EQ(Utc(z, Dated(2024, 7, 1, 15)), "2024-07-01 12:00");
    EXPECT_EQ(Utc(z, Dated(2024, 10, 25, 1, 59)), "2024-10-24 22:59");
    EXPECT_EQ(Utc(z, Dated(2024, 10, 25, 2, 30)), "2024-10-25 00:30");

    // A StandardBias of its own applies in standard time only.
    z.StandardBias = -15;
    EXPECT_EQ(Local(z, Dated(2025, 7, 1, 12)), "2025-07-01 14:15");
    EXPECT_EQ(Local(z, Dated(2023, 7, 1, 12)), "2023-07-01 14:00");
}

TEST(ZoneTime, FixedDateSwitchAtMidnightEndsOnTheDayBefore) {
    // UTC+03:30, daylight time in 2010 from 22 March 00:00 to 22 September
    // 00:00 daylight time, which is 23:00 standard time on 21 September.
    ZoneRecord z = Zone(L"Test Midnight", -210);
    z.DaylightBias = -60;
    z.DaylightDate = Time(2010, 3, 22, 0, 0, 0, 1);
    z.StandardDate = Time(2010, 9, 22, 0, 0, 0, 3);
    EXPECT_EQ(Local(z, Dated(2010, 9, 21, 19, 15)), "2010-09-21 23:45");
    EXPECT_EQ(Local(z, Dated(2010, 9, 21, 19, 30)), "2010-09-21 23:00");
    EXPECT_EQ(Local(z, Dated(2010, 9, 21, 19, 45)), "2010-09-21 23:15");
    EXPECT_EQ(Local(z, Dated(2010, 9, 21, 20, 45)), "2010-09-22 00:15");
}

TEST(ZoneTime, PlatformAndOwnRulesAgreeAllYear) {
    // UTC -> local goes through the platform for recurring rules, local ->
    // UTC through our own rules: every half hour of a year must come back,
    // except the repeated hour in autumn, which reads as standard time.
    for (const ZoneRecord& z : {Eastern(), Sydney()}) {
        SYSTEMTIME start = Dated(2024, 1, 1);
        FILETIME ft;
        ASSERT_TRUE(SystemTimeToFileTime(&start, &ft));
        for (int step = 0; step < 366 * 48; ++step) {
            SYSTEMTIME utc{}, local{}, back{};
            ASSERT_TRUE(AddSecondsToFileTime(ft, step * 1800LL, &utc));
            ASSERT_TRUE(UtcToZoneTime(utc, &local, z));
            ASSERT_TRUE(ZoneTimeToUtc(&back, z, local));
            int64_t diff = DateKey(back) - DateKey(utc);
            int begin = 0, end = 0;
            bool repeated = GetTransitionWindow(local, z, &begin, &end) == 0 &&
                            local.wHour * 60 + local.wMinute >= begin && local.wHour * 60 + local.wMinute < end;
            if (repeated) {
                // Its daylight instance comes back one hour later.
                EXPECT_TRUE(diff == 0 || diff == 3600) << Text(utc);
            } else {
                ASSERT_EQ(diff, 0) << "utc " << Text(utc) << " local " << Text(local) << " back " << Text(back);
            }
        }
    }
}
