// Daylight-saving rules of a northern, a southern and a fixed-date zone
// around their switches, against times worked out by hand.
#include <gtest/gtest.h>

#include "common/zones/date_math.h"
#include "common/zones/zone_rules.h"
#include "tests/time/zone_fixtures.h"

using namespace zone_fixtures;

TEST(ZoneRules, ClassifiesTransitionDates) {
    EXPECT_EQ(ClassifyTransitionDate(Time(2024, 3, 29, 2), 0), kTransitionInvalid);
    EXPECT_EQ(ClassifyTransitionDate(Time(2024, 3, 5, 2), 2), kTransitionInvalid);
    EXPECT_EQ(ClassifyTransitionDate(Rule(3, 2, 0, 2), 2), kTransitionRecurring);
    EXPECT_EQ(ClassifyTransitionDate(Rule(3, 5, 0, 2), -1), kTransitionRecurring);
    EXPECT_EQ(ClassifyTransitionDate(Rule(3, 2, 0, 2), 6), kTransitionInvalid);
    EXPECT_EQ(ClassifyTransitionDate(Rule(3, 0, 0, 2), 2), kTransitionInvalid);
    EXPECT_EQ(ClassifyTransitionDate(Rule(3, 6, 0, 2), 2), kTransitionInvalid);
    EXPECT_EQ(ClassifyTransitionDate(SYSTEMTIME{}, 0), kTransitionNone);
    EXPECT_EQ(ClassifyTransitionDate(Rule(3, 14, 0, 2), 0), kTransitionInvalid);

    EXPECT_TRUE(HasValidDstRule(Eastern()));
    EXPECT_TRUE(HasValidDstRule(Sydney()));
    EXPECT_TRUE(HasValidDstRule(Zone(L"No rule", -540)));
    EXPECT_FALSE(HasValidDstRule(FixedDates()));
    ZoneRecord mixed = Eastern();
    mixed.DaylightDate = SYSTEMTIME{};
    mixed.daylightWeek = 0;
    EXPECT_FALSE(HasValidDstRule(mixed));
}

TEST(ZoneRules, TransitionDayFromTheDatesOwnWeekday) {
    // Friday 15 March 2024: the second Sunday is the 10th, the last the 31st.
    SYSTEMTIME d = Time(2024, 3, 15, 0, 0, 0, 5);
    EXPECT_EQ(TransitionDayOfMonth(d, Rule(3, 1, 0, 2)), 3);
    EXPECT_EQ(TransitionDayOfMonth(d, Rule(3, 2, 0, 2)), 10);
    EXPECT_EQ(TransitionDayOfMonth(d, Rule(3, 5, 0, 2)), 31);
    EXPECT_EQ(TransitionDayOfMonth(d, Rule(3, 1, 5, 2)), 1);
    // Saturday 10 February 2024: the last Thursday is the leap day.
    EXPECT_EQ(TransitionDayOfMonth(Time(2024, 2, 10, 0, 0, 0, 6), Rule(2, 5, 4, 0)), 29);
    EXPECT_EQ(TransitionDayOfMonth(Time(2023, 2, 10, 0, 0, 0, 5), Rule(2, 5, 4, 0)), 23);
    // Saturday 7 October 2023: the first Sunday was the 1st.
    EXPECT_EQ(TransitionDayOfMonth(Time(2023, 10, 7, 0, 0, 0, 6), Rule(10, 1, 0, 2)), 1);
}

TEST(ZoneRules, TransitionKeysOfAYear) {
    int64_t s = 0, d = 0;
    ASSERT_TRUE(GetDstTransitions(2024, Eastern(), &s, &d));
    EXPECT_EQ(d, DateKey(Time(2024, 3, 10, 2)));
    EXPECT_EQ(s, DateKey(Time(2024, 11, 3, 2)));
    ASSERT_TRUE(GetDstTransitions(2025, Sydney(), &s, &d));
    EXPECT_EQ(d, DateKey(Time(2025, 10, 5, 2)));
    EXPECT_EQ(s, DateKey(Time(2025, 4, 6, 3)));
    // Fixed dates keep their own year.
    ASSERT_TRUE(GetDstTransitions(2030, FixedDates(), &s, &d));
    EXPECT_EQ(d, DateKey(Time(2024, 3, 29, 2)));
    EXPECT_EQ(s, DateKey(Time(2024, 10, 25, 3)));
    EXPECT_FALSE(GetDstTransitions(2024, Zone(L"No rule", 0), &s, &d));
}

TEST(ZoneRules, NorthernStateAroundBothSwitches) {
    ZoneRecord z = Eastern();  // times below are local standard time
    EXPECT_EQ(GetDstState(z, Time(2024, 1, 15, 12)), kDstStandard);
    EXPECT_EQ(GetDstState(z, Time(2024, 3, 10, 1, 59, 59)), kDstStandard);
    EXPECT_EQ(GetDstState(z, Time(2024, 3, 10, 2)), kDstDaylight);
    EXPECT_EQ(GetDstState(z, Time(2024, 7, 4, 12)), kDstDaylight);
    // Daylight time ends at 02:00 daylight time, 01:00 standard time.
    EXPECT_EQ(GetDstState(z, Time(2024, 11, 3, 0, 59, 59)), kDstDaylight);
    EXPECT_EQ(GetDstState(z, Time(2024, 11, 3, 1)), kDstStandard);
    EXPECT_EQ(GetDstState(z, Time(2024, 12, 31, 23, 59)), kDstStandard);
    EXPECT_EQ(GetDstState(Zone(L"No rule", 0), Time(2024, 7, 1)), kDstNone);
}

TEST(ZoneRules, SouthernStateAroundBothSwitches) {
    ZoneRecord z = Sydney();
    EXPECT_EQ(GetDstState(z, Time(2024, 1, 15, 12)), kDstDaylight);
    EXPECT_EQ(GetDstState(z, Time(2024, 6, 15, 12)), kDstStandard);
    // Ends at 03:00 daylight time = 02:00 standard time on 7 April 2024.
    EXPECT_EQ(GetDstState(z, Time(2024, 4, 7, 1, 59, 59)), kDstDaylight);
    EXPECT_EQ(GetDstState(z, Time(2024, 4, 7, 2)), kDstStandard);
    // Starts at 02:00 standard time on 6 October 2024.
    EXPECT_EQ(GetDstState(z, Time(2024, 10, 6, 1, 59, 59)), kDstStandard);
    EXPECT_EQ(GetDstState(z, Time(2024, 10, 6, 2)), kDstDaylight);
    EXPECT_EQ(GetDstState(z, Time(2024, 12, 25, 12)), kDstDaylight);
}

TEST(ZoneRules, FixedDatesOutsideTheirYearsGiveNoState) {
    ZoneRecord z = FixedDates();
    EXPECT_EQ(GetDstState(z, Time(2023, 7, 1, 12)), kDstNone);
    EXPECT_EQ(GetDstState(z, Time(2024, 3, 29, 1, 59, 59)), kDstNone);
    EXPECT_EQ(GetDstState(z, Time(2024, 3, 29, 2)), kDstDaylight);
    EXPECT_EQ(GetDstState(z, Time(2024, 10, 25, 1, 59, 59)), kDstDaylight);
    EXPECT_EQ(GetDstState(z, Time(2024, 10, 25, 2)), kDstStandard);
    EXPECT_EQ(GetDstState(z, Time(2025, 7, 1, 12)), kDstStandard);

    // The southern order: standard time first, then daylight time.
    ZoneRecord south = Zone(L"South fixed", -600);
    south.DaylightBias = -60;
    south.StandardDate = Time(2024, 4, 7, 3);
    south.DaylightDate = Time(2024, 10, 6, 2);
    EXPECT_EQ(GetDstState(south, Time(2024, 1, 15)), kDstNone);
    EXPECT_EQ(GetDstState(south, Time(2024, 6, 15)), kDstStandard);
    EXPECT_EQ(GetDstState(south, Time(2024, 12, 15)), kDstDaylight);
    south.DaylightDate = Time(2024, 4, 7, 2);  // both at the same moment
    EXPECT_EQ(GetDstState(south, Time(2024, 6, 15)), kDstNone);
}

TEST(ZoneRules, TransitionWindowsOnSwitchDays) {
    int start = -1, end = -1;
    EXPECT_EQ(GetTransitionWindow(Dated(2024, 3, 10, 5), Eastern(), &start, &end), 1);
    EXPECT_EQ(start, 120);
    EXPECT_EQ(end, 180);
    EXPECT_EQ(GetTransitionWindow(Dated(2024, 11, 3), Eastern(), &start, &end), 0);
    EXPECT_EQ(start, 60);
    EXPECT_EQ(end, 120);
    EXPECT_EQ(GetTransitionWindow(Dated(2024, 3, 9), Eastern(), &start, &end), -1);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 0);
    EXPECT_EQ(GetTransitionWindow(Dated(2024, 3, 17), Eastern(), &start, &end), -1);

    EXPECT_EQ(GetTransitionWindow(Dated(2024, 10, 6), Sydney(), &start, &end), 1);
    EXPECT_EQ(start, 120);
    EXPECT_EQ(end, 180);
    EXPECT_EQ(GetTransitionWindow(Dated(2024, 4, 7), Sydney(), &start, &end), 0);
    EXPECT_EQ(start, 120);
    EXPECT_EQ(end, 180);

    EXPECT_EQ(GetTransitionWindow(Dated(2024, 3, 29), FixedDates(), &start, &end), 1);
    EXPECT_EQ(start, 120);
    EXPECT_EQ(end, 180);
    EXPECT_EQ(GetTransitionWindow(Dated(2024, 10, 25), FixedDates(), &start, &end), 0);
    EXPECT_EQ(GetTransitionWindow(Dated(2023, 3, 29), FixedDates(), &start, &end), -1);

    int minute = 0, step = 0;
    EXPECT_TRUE(GetTransitionOnDay(Dated(2024, 11, 3), Eastern(), &minute, &step));
    EXPECT_EQ(minute, 120);
    EXPECT_EQ(step, -60);
    EXPECT_FALSE(GetTransitionOnDay(Dated(2024, 11, 3), Zone(L"No rule", 0), &minute, &step));

    // Without a year on either side, a rule of week 0 is a day of the month.
    ZoneRecord yearly = Zone(L"Yearly", 0);
    yearly.DaylightBias = -30;
    yearly.DaylightDate = Rule(3, 21, 0, 1);
    yearly.StandardDate = Rule(9, 22, 0, 1);
    EXPECT_EQ(GetTransitionWindow(Dated(2031, 3, 21), yearly, &start, &end), 1);
    EXPECT_EQ(start, 60);
    EXPECT_EQ(end, 90);
    EXPECT_EQ(GetDstState(yearly, Time(2031, 6, 1)), kDstDaylight);
    EXPECT_EQ(GetDstState(yearly, Time(2031, 12, 1)), kDstStandard);
}
