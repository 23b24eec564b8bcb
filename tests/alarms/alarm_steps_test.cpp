#include <gtest/gtest.h>

#include "common/zones/system_time_steps.h"
#include "tests/alarms/alarm_fixtures.h"

using zone_fixtures::Dated;

TEST(AlarmSteps, ComparesDaysThenTimesOfDay) {
    const SYSTEMTIME a = Dated(2024, 1, 31, 23, 0, 0), b = Dated(2024, 2, 1, 1, 0, 0);
    EXPECT_EQ(CompareDays(a, b), -1);
    EXPECT_EQ(CompareDays(b, a), 1);
    EXPECT_EQ(CompareTimesOfDay(a, b), 1);
    EXPECT_EQ(CompareSystemTimes(a, b), -1);
    EXPECT_EQ(CompareSystemTimes(a, a), 0);
    EXPECT_EQ(CompareDays(Dated(2024, 5, 5, 1), Dated(2024, 5, 5, 22)), 0);
}

TEST(AlarmSteps, StepsToTheEndOfThePreviousMonthAcrossLeapFebruaryAndTheYear) {
    SYSTEMTIME t = Dated(2024, 3, 1, 10, 20, 30);  // a Friday
    StepToPreviousMonthEnd(t);
    EXPECT_TRUE(alarm_fixtures::Same(t, Dated(2024, 2, 29, 23, 59, 59)));
    EXPECT_EQ(t.wDayOfWeek, 4);  // Thursday
    t = Dated(2024, 1, 15, 8);  // a Monday
    StepToPreviousMonthEnd(t);
    EXPECT_TRUE(alarm_fixtures::Same(t, Dated(2023, 12, 31, 23, 59, 59)));
    EXPECT_EQ(t.wDayOfWeek, 0);
    t = Dated(2023, 3, 31, 8);
    StepToPreviousMonthEnd(t);
    EXPECT_EQ(t.wDay, 28);
}

TEST(AlarmSteps, StepsToThePreviousDayOnlyWithinTheMonth) {
    SYSTEMTIME t = Dated(2024, 1, 7, 12);  // a Sunday
    ASSERT_TRUE(StepToPreviousDay(t));
    EXPECT_TRUE(alarm_fixtures::Same(t, Dated(2024, 1, 6, 23, 59, 59)));
    EXPECT_EQ(t.wDayOfWeek, 6);
    SYSTEMTIME first = Dated(2024, 2, 1, 12);
    const SYSTEMTIME kept = first;
    EXPECT_FALSE(StepToPreviousDay(first));
    EXPECT_TRUE(alarm_fixtures::Same(first, kept));
}
