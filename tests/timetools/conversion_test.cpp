// The converter's arithmetic: one moment shown in several zones, moved by a
// picked date or time, across daylight-saving switches and dated changes.
#include <gtest/gtest.h>

#include <vector>

#include "common/zones/zone_database.h"
#include "common/zones/zone_updates.h"
#include "tempovia/timetools/zone_moment.h"
#include "tests/support/test_support.h"
#include "tests/timetools/timetools_fixtures.h"

using namespace timetools_tests;

namespace {

SYSTEMTIME Shown(const ClockRecord& clock, const SYSTEMTIME& utc) {
    SYSTEMTIME local{};
    EXPECT_TRUE(ConverterLocalTime(clock, utc, &local));
    return local;
}

SYSTEMTIME HourMinute(int h, int mi) {
    SYSTEMTIME t{};
    t.wHour = static_cast<WORD>(h);
    t.wMinute = static_cast<WORD>(mi);
    return t;
}

class Conversion : public ::testing::Test {
protected:
    TestZones zones;
    std::vector<ClockRecord> clocks;
    void SetUp() override {
        ASSERT_TRUE(zones.loaded());
        clocks = {zones.Clock(1, L"London"), zones.Clock(7, L"New York"), zones.Clock(8, L"Flat")};
    }
};

}  // namespace

TEST_F(Conversion, LondonAfternoonIsNewYorkMorningInWinterAndSummer) {
    SYSTEMTIME moment = Utc(2030, 1, 15, 11, 0);
    ASSERT_TRUE(ConvertPickedTime(clocks, 0, HourMinute(14, 0), moment));
    EXPECT_EQ(Minutes(moment), 14 * 60);
    EXPECT_EQ(Minutes(Shown(clocks[1], moment)), 9 * 60);
    EXPECT_EQ(Minutes(Shown(clocks[2], moment)), 17 * 60);

    // July: both on daylight time, 13:00 UTC.
    ASSERT_TRUE(ConvertPickedDate(clocks, 0, Utc(2030, 7, 15), moment));
    EXPECT_EQ(moment.wMonth, 7);
    EXPECT_EQ(Minutes(moment), 13 * 60);
    EXPECT_EQ(Minutes(Shown(clocks[0], moment)), 14 * 60);
    EXPECT_EQ(Minutes(Shown(clocks[1], moment)), 9 * 60);

    // Between the American and the British spring switches (17 to 31 March
    // 2030) the gap is four hours.
    ASSERT_TRUE(ConvertPickedDate(clocks, 1, Utc(2030, 3, 20), moment));
    EXPECT_EQ(Minutes(Shown(clocks[1], moment)), 9 * 60);
    EXPECT_EQ(Minutes(Shown(clocks[0], moment)), 13 * 60);
}

TEST_F(Conversion, DatedChangeShowsTheNewOffsetAndBackAgain) {
    SYSTEMTIME moment = Utc(2031, 3, 1, 12, 0);
    EXPECT_EQ(Minutes(Shown(clocks[2], moment)), 15 * 60);
    // London's date moves past the change: Flat follows with UTC+4.
    ASSERT_TRUE(ConvertPickedDate(clocks, 0, Utc(2031, 4, 1), moment));
    EXPECT_EQ(Minutes(moment), 11 * 60);  // 12:00 BST
    EXPECT_EQ(clocks[2].zone.Bias, -240);
    EXPECT_EQ(Minutes(Shown(clocks[2], moment)), 15 * 60);
    // Flat's own date goes back before it: UTC+3 returns, its 15:00 stays.
    ASSERT_TRUE(ConvertPickedDate(clocks, 2, Utc(2031, 3, 1), moment));
    EXPECT_EQ(clocks[2].zone.Bias, -180);
    EXPECT_EQ(Minutes(moment), 12 * 60);
    EXPECT_EQ(moment.wDay, 1);
    // Within the same year, forward across the change in Flat's column.
    ASSERT_TRUE(ConvertPickedDate(clocks, 2, Utc(2031, 3, 28), moment));
    EXPECT_EQ(Minutes(moment), 11 * 60);
    // On the day of the change: 13:00 local before 10:00 UTC is UTC+3.
    ASSERT_TRUE(ConvertPickedDate(clocks, 2, Utc(2031, 3, 27), moment));
    ASSERT_TRUE(ConvertPickedTime(clocks, 2, HourMinute(12, 0), moment));
    EXPECT_EQ(Minutes(moment), 9 * 60);
    EXPECT_EQ(clocks[2].zone.Bias, -180);
}

TEST_F(Conversion, TimeInsideTheSpringGapMovesTheMomentByThePickedMinutes) {
    // New York 01:30 EST on 10 March 2030, the night of its switch.
    SYSTEMTIME moment = Utc(2030, 3, 10, 6, 30);
    ASSERT_EQ(Minutes(Shown(clocks[1], moment)), 90);
    ASSERT_TRUE(ConvertPickedTime(clocks, 1, HourMinute(2, 30), moment));
    EXPECT_EQ(Minutes(moment), 7 * 60 + 30);
    EXPECT_EQ(Minutes(Shown(clocks[1], moment)), 3 * 60 + 30);
    // A time after the gap converts directly.
    ASSERT_TRUE(ConvertPickedTime(clocks, 1, HourMinute(5, 0), moment));
    EXPECT_EQ(Minutes(moment), 9 * 60);
    // The repeated autumn hour is taken as standard time.
    moment = Utc(2030, 11, 3, 4, 0);  // 00:00 EDT
    ASSERT_TRUE(ConvertPickedTime(clocks, 1, HourMinute(1, 30), moment));
    EXPECT_EQ(Minutes(moment), 6 * 60 + 30);
}

TEST_F(Conversion, OpeningMomentIsTheNextFullHour) {
    const SYSTEMTIME late = ConverterOpeningMoment(Utc(2030, 12, 31, 23, 40));
    EXPECT_EQ(late.wYear, 2031);
    EXPECT_EQ(late.wMonth, 1);
    EXPECT_EQ(late.wDay, 1);
    EXPECT_EQ(late.wHour, 0);
    EXPECT_EQ(late.wMinute, 0);
    EXPECT_EQ(late.wSecond, 0);
    const SYSTEMTIME noon = ConverterOpeningMoment(Utc(2030, 5, 6, 11, 59));
    EXPECT_EQ(noon.wHour, 12);
    EXPECT_EQ(noon.wMinute, 0);
}

TEST_F(Conversion, CopiesOnlyEnabledClocksWithoutSecondsDatesOrAlarms) {
    ClockRecord source[4] = {clocks[0], clocks[1], clocks[2], clocks[0]};
    source[1].enabled = 0;
    source[2].kind = kClockTimer | kClockCountdown;
    AlarmRecord alarm{};
    source[3].alarms = &alarm;
    source[3].alarmCount = 1;
    source[3].showsSeconds = 1;
    source[3].seconds_hand = 1;
    const std::vector<ClockRecord> copies = CopyConverterClocks(source, 4, true);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_STREQ(copies[1].timeformat, L"Default");
    EXPECT_STREQ(copies[1].dateformat, L"None");
    EXPECT_EQ(copies[1].alarms, nullptr);
    EXPECT_EQ(copies[1].alarmCount, 0);
    EXPECT_EQ(copies[1].showsSeconds, 0);
    EXPECT_EQ(copies[1].seconds_hand, 0);
    EXPECT_EQ(copies[1].transparent, 1);
    EXPECT_TRUE(CopyConverterClocks(nullptr, 3, false).empty());
    EXPECT_TRUE(CopyConverterClocks(source, 0, false).empty());
    EXPECT_TRUE(CopyConverterClocks(source, -4, false).empty());
}

TEST_F(Conversion, BadColumnsAndDatesLeaveTheMomentAlone) {
    const SYSTEMTIME start = Utc(2030, 1, 15, 11, 0);
    SYSTEMTIME moment = start;
    EXPECT_FALSE(ConvertPickedTime(clocks, -1, HourMinute(1, 0), moment));
    EXPECT_FALSE(ConvertPickedTime(clocks, 3, HourMinute(1, 0), moment));
    EXPECT_FALSE(ConvertPickedTime(clocks, 0, HourMinute(24, 0), moment));
    SYSTEMTIME bad{};
    bad.wYear = 2030;
    bad.wMonth = 2;
    bad.wDay = 30;
    EXPECT_FALSE(ConvertPickedDate(clocks, 0, bad, moment));
    bad.wMonth = 13;
    bad.wDay = 1;
    EXPECT_FALSE(ConvertPickedDate(clocks, 0, bad, moment));
    bad = SYSTEMTIME{};
    EXPECT_FALSE(ConvertPickedDate(clocks, 0, bad, moment));
    std::vector<ClockRecord> none;
    EXPECT_FALSE(ConvertPickedDate(none, 0, Utc(2030, 1, 1), moment));
    EXPECT_EQ(Minutes(moment), Minutes(start));
    EXPECT_EQ(moment.wDay, start.wDay);
}

TEST_F(Conversion, UserWithoutDaylightSavingStaysOnStandardTime) {
    clocks[1].usedaylight = 0;
    SYSTEMTIME moment = Utc(2030, 7, 15, 13, 0);
    ApplyRulesToClocks(clocks, moment);
    EXPECT_EQ(clocks[1].zone.DaylightBias, 0);
    EXPECT_EQ(Minutes(Shown(clocks[1], moment)), 8 * 60);
    ASSERT_TRUE(ConvertPickedTime(clocks, 1, HourMinute(9, 0), moment));
    EXPECT_EQ(Minutes(moment), 14 * 60);
}

// The shipped database: London and New York, and Caracas, whose offset went
// from -04:30 back to -04:00 at 07:00 UTC on 1 May 2016.
TEST(ConversionShipped, ShippedZonesAndChangesConvertAsTheLawSays) {
    FreeZoneUpdates();
    FreeZoneTables();
    ASSERT_TRUE(LoadZoneDatabase(testing_support::SourcePath(L"data/timezones.txt").c_str()));
    ASSERT_TRUE(LoadZoneUpdates(testing_support::SourcePath(L"data/tz_changes.txt").c_str()));
    auto clockOf = [](const wchar_t* key) {
        ClockRecord clock{};
        const int index = FindZoneByName(key);
        EXPECT_GT(index, 0) << key;
        if (index > 0) clock.zone = g_zones.live[index];
        clock.enabled = 1;
        clock.usedaylight = 1;
        clock.zoneHasDaylight = clock.zone.DaylightDate.wMonth != 0;
        return clock;
    };
    std::vector<ClockRecord> clocks = {clockOf(L"GMT Standard Time"), clockOf(L"Eastern Standard Time"),
                                       clockOf(L"Venezuela Standard Time")};
    SYSTEMTIME moment = Utc(2030, 1, 15, 10, 0);
    ASSERT_TRUE(ConvertPickedTime(clocks, 0, HourMinute(14, 0), moment));
    EXPECT_EQ(Minutes(Shown(clocks[1], moment)), 9 * 60);
    ASSERT_TRUE(ConvertPickedDate(clocks, 0, Utc(2030, 7, 15), moment));
    EXPECT_EQ(Minutes(Shown(clocks[1], moment)), 9 * 60);

    // 07:00 BST on 1 May 2016 is 06:00 UTC: 01:30 in Caracas.
    ASSERT_TRUE(ConvertPickedDate(clocks, 0, Utc(2016, 5, 1), moment));
    ASSERT_TRUE(ConvertPickedTime(clocks, 0, HourMinute(7, 0), moment));
    EXPECT_EQ(Minutes(Shown(clocks[2], moment)), 90);
    ASSERT_TRUE(ConvertPickedTime(clocks, 0, HourMinute(8, 0), moment));
    EXPECT_EQ(Minutes(Shown(clocks[2], moment)), 3 * 60);
    // Back in 2010 it is -04:30 again.
    ASSERT_TRUE(ConvertPickedDate(clocks, 2, Utc(2010, 6, 1), moment));
    ASSERT_TRUE(ConvertPickedTime(clocks, 2, HourMinute(12, 0), moment));
    EXPECT_EQ(Minutes(moment), 16 * 60 + 30);
    FreeZoneUpdates();
    FreeZoneTables();
}
