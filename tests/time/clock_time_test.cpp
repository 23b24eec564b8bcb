// The time a clock shows, and whether its zone is the computer's own.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/records/clock_record.h"
#include "common/zones/local_zone.h"
#include "common/platform/text_bounds.h"
#include "common/zones/zone_time.h"
#include "tests/time/zone_fixtures.h"

using namespace zone_fixtures;

namespace {

ClockRecord Clock(const ZoneRecord& zone, int usedaylight, uint32_t kind = 0) {
    ClockRecord c;
    std::memset(&c, 0, sizeof c);
    c.zone = zone;
    c.usedaylight = usedaylight;
    c.kind = kind;
    return c;
}

std::string Shown(const ClockRecord& c, const SYSTEMTIME& utc) {
    SYSTEMTIME out{};
    if (!UtcToClockTime(utc, &out, c)) return "failed";
    char buf[32];
    snprintf(buf, sizeof buf, "%02u-%02u %02u:%02u", out.wMonth, out.wDay, out.wHour, out.wMinute);
    return buf;
}

}  // namespace

TEST(ClockTime, TimersWithoutASetDateShowUtc) {
    SYSTEMTIME july = Dated(2024, 7, 4, 16);
    EXPECT_EQ(Shown(Clock(Eastern(), 1, kClockTimer), july), "07-04 16:00");                     // stopwatch
    EXPECT_EQ(Shown(Clock(Eastern(), 1, kClockTimer | kClockCountdown), july), "07-04 16:00");  // countdown
    EXPECT_EQ(Shown(Clock(Eastern(), 1, kClockTimer | kClockSetDate), july), "07-04 12:00");
    EXPECT_EQ(Shown(Clock(Eastern(), 1, kClockTimer | kClockCountdown | kClockSetDate), july), "07-04 12:00");
    EXPECT_EQ(Shown(Clock(Eastern(), 1), july), "07-04 12:00");
}

TEST(ClockTime, DaylightSavingOffLeavesTheBiasAlone) {
    // All year long, on either kind of rule.
    EXPECT_EQ(Shown(Clock(Eastern(), 0), Dated(2024, 7, 4, 16)), "07-04 11:00");
    EXPECT_EQ(Shown(Clock(Eastern(), 0), Dated(2024, 1, 15, 16)), "01-15 11:00");
    EXPECT_EQ(Shown(Clock(Sydney(), 0), Dated(2024, 1, 15, 12)), "01-15 22:00");
    EXPECT_EQ(Shown(Clock(FixedDates(), 0), Dated(2024, 7, 1, 12)), "07-01 14:00");
    EXPECT_EQ(Shown(Clock(FixedDates(), 1), Dated(2024, 7, 1, 12)), "07-01 15:00");
    // The clock's own record keeps its biases.
    ClockRecord c = Clock(Eastern(), 0);
    SYSTEMTIME out{};
    UtcToClockTime(Dated(2024, 7, 4, 16), &out, c);
    EXPECT_EQ(c.zone.DaylightBias, -60);

    // The "Local System Time" clock keeps its biases whatever its flag says.
    ZoneRecord local = Eastern();
    std::memset(local.key, 0, sizeof local.key);
    CopyBounded(local.key, kLocalSystemTimeKey);
    EXPECT_EQ(Shown(Clock(local, 0), Dated(2024, 7, 4, 16)), "07-04 12:00");
}

TEST(ClockTime, SystemZoneOfTheHost) {
    // Built from whatever zone this process has, so it holds on any host.
    ZoneRecord local = LocalZone();
    EXPECT_TRUE(IsSystemZone(Clock(Zone(kLocalSystemTimeKey, 12345), 0)));
    ZoneRecord copy = local;
    std::memset(copy.key, 0, sizeof copy.key);
    CopyBounded(copy.key, L"A Copy");
    int flag = AutoDaylightActive() ? 1 : 0;
    EXPECT_TRUE(IsSystemZone(Clock(copy, flag)));
    copy.Bias += 30;
    EXPECT_FALSE(IsSystemZone(Clock(copy, flag)));
    copy.Bias -= 30;
    // Daylight saving chosen where the system has none, or the other way.
    if (local.DaylightDate.wMonth != 0) {
        EXPECT_EQ(IsSystemZone(Clock(copy, 1 - flag)), false);
    } else {
        ZoneRecord withRule = Eastern();
        withRule.Bias = local.Bias;
        EXPECT_FALSE(IsSystemZone(Clock(withRule, 1)));
        EXPECT_TRUE(IsSystemZone(Clock(withRule, 0)));
    }
}
