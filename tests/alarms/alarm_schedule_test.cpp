#include <gtest/gtest.h>

#include "common/alarms/alarm_schedule.h"
#include "tests/alarms/alarm_fixtures.h"

using namespace alarm_fixtures;

namespace {

const SYSTEMTIME kFarBack = Dated(2000, 1, 1);

// The last due time at t; year 0 when there is none.
SYSTEMTIME Last(const AlarmRecord& alarm, const SYSTEMTIME& t, const SYSTEMTIME& lower = kFarBack) {
    SYSTEMTIME out{};
    if (!GetLastDueTime(alarm, lower, t, out)) return SYSTEMTIME{};
    return out;
}

::testing::AssertionResult IsDue(const SYSTEMTIME& got, const SYSTEMTIME& want) {
    if (Same(got, want) && got.wDayOfWeek == want.wDayOfWeek) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << got.wYear << "-" << got.wMonth << "-" << got.wDay << " "
                                         << got.wHour << ":" << got.wMinute << ":" << got.wSecond << " dow "
                                         << got.wDayOfWeek;
}

}  // namespace

TEST(AlarmSchedule, OnceIsDueFromItsMoment) {
    const AlarmRecord a = Once(zone_fixtures::Time(2024, 5, 6, 7, 30, 0));  // weekday as the INI leaves it: 0
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 5, 6, 7, 30, 0)), Dated(2024, 5, 6, 7, 30, 0)));
    EXPECT_EQ(Last(a, Dated(2024, 5, 6, 7, 29, 59)).wYear, 0);
    AlarmRecord off = a;
    off.enabled = 0;
    EXPECT_EQ(Last(off, Dated(2025, 1, 1)).wYear, 0);
}

TEST(AlarmSchedule, EveryThirdDay) {
    const AlarmRecord a = Daily(Dated(2024, 1, 1, 8, 0, 0), 3);  // Monday 08:00
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 1, 4, 7, 59, 0)), Dated(2024, 1, 1, 8)));
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 1, 4, 8, 0, 0)), Dated(2024, 1, 4, 8)));
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 1, 7, 9, 0, 0)), Dated(2024, 1, 7, 8)));  // Sunday
    EXPECT_EQ(Last(a, Dated(2024, 1, 1, 7, 0, 0)).wYear, 0);
    EXPECT_EQ(Last(a, Dated(2023, 12, 31, 9, 0, 0)).wYear, 0);
    // Across the leap day: 2024-02-27 + 3 = 2024-03-01.
    const AlarmRecord leap = Daily(Dated(2024, 2, 27, 6, 0, 0), 3);
    EXPECT_TRUE(IsDue(Last(leap, Dated(2024, 3, 1, 6, 0, 0)), Dated(2024, 3, 1, 6)));
}

TEST(AlarmSchedule, WorkingDays) {
    const AlarmRecord a = Daily(Dated(2024, 1, 1, 8, 0, 0), 0);
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 1, 6, 12, 0, 0)), Dated(2024, 1, 5, 8)));  // Saturday: Friday
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 1, 8, 7, 0, 0)), Dated(2024, 1, 5, 8)));   // Monday early: Friday
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 1, 8, 8, 0, 0)), Dated(2024, 1, 8, 8)));
    // The walk stops at the lower bound.
    EXPECT_EQ(Last(a, Dated(2024, 1, 7, 12, 0, 0), Dated(2024, 1, 6, 0, 0, 0)).wYear, 0);
    AlarmRecord negative = a;
    negative.dailyInterval = -4;
    EXPECT_TRUE(IsDue(Last(negative, Dated(2024, 1, 6, 12, 0, 0)), Dated(2024, 1, 5, 8)));
}

TEST(AlarmSchedule, EverySecondWeekOnMondayAndWednesday) {
    const AlarmRecord a = Weekly(Dated(2024, 1, 1, 9, 0, 0), 2, (1u << 1) | (1u << 3));
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 1, 3, 9, 0, 0)), Dated(2024, 1, 3, 9)));
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 1, 13, 23, 0, 0)), Dated(2024, 1, 3, 9)));  // week 1: none
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 1, 15, 9, 0, 0)), Dated(2024, 1, 15, 9)));  // week 2
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 1, 27, 9, 0, 0)), Dated(2024, 1, 17, 9)));  // week 3: none
    EXPECT_EQ(Last(a, Dated(2024, 1, 1, 8, 59, 0)).wYear, 0);  // the start day, before its time
    AlarmRecord noDays = a;
    noDays.weekdayMask = 0x80;  // only a bit beyond Saturday
    EXPECT_EQ(Last(noDays, Dated(2024, 2, 1)).wYear, 0);
}

TEST(AlarmSchedule, MonthlyOnAFixedDaySkipsShortMonths) {
    const AlarmRecord a = MonthlyDay(31, 7 * 3600 + 15 * 60);
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 4, 30, 23, 59, 0)), Dated(2024, 3, 31, 7, 15, 0)));
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 7, 1, 0, 0, 0)), Dated(2024, 5, 31, 7, 15, 0)));
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 3, 30, 0, 0, 0)), Dated(2024, 1, 31, 7, 15, 0)));
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 12, 31, 7, 15, 0)), Dated(2024, 12, 31, 7, 15, 0)));
    // The 29th: February only in leap years.
    const AlarmRecord leap = MonthlyDay(29, 0);
    EXPECT_TRUE(IsDue(Last(leap, Dated(2024, 3, 10)), Dated(2024, 2, 29)));
    EXPECT_TRUE(IsDue(Last(leap, Dated(2023, 3, 10)), Dated(2023, 1, 29)));
}

TEST(AlarmSchedule, MonthlyEveryNMonthsFromItsStart) {
    const AlarmRecord a = MonthlyDay(15, 10 * 3600, 2, 1, 2024);
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 4, 20)), Dated(2024, 3, 15, 10)));
    EXPECT_TRUE(IsDue(Last(a, Dated(2024, 3, 15, 9, 0, 0)), Dated(2024, 1, 15, 10)));
    EXPECT_EQ(Last(a, Dated(2024, 1, 15, 9, 0, 0)).wYear, 0);
    EXPECT_EQ(Last(a, Dated(2023, 12, 31)).wYear, 0);
}

TEST(AlarmSchedule, MonthlyOnTheNthOrLastWeekday) {
    // February 2024 has four Fridays; the last is the fourth, the 23rd.
    const AlarmRecord lastFriday = MonthlyWeekday(5, 5, 16 * 3600);
    EXPECT_TRUE(IsDue(Last(lastFriday, Dated(2024, 2, 29)), Dated(2024, 2, 23, 16)));
    EXPECT_TRUE(IsDue(Last(lastFriday, Dated(2024, 2, 23, 15, 0, 0)), Dated(2024, 1, 26, 16)));
    const AlarmRecord secondTuesday = MonthlyWeekday(2, 2, 9 * 3600);
    EXPECT_TRUE(IsDue(Last(secondTuesday, Dated(2024, 5, 20)), Dated(2024, 5, 14, 9)));
    // Week 5 is the last one: in April 2024 the fifth Monday.
    const AlarmRecord fifthMonday = MonthlyWeekday(5, 1, 0);
    EXPECT_TRUE(IsDue(Last(fifthMonday, Dated(2024, 4, 30)), Dated(2024, 4, 29)));
}

TEST(AlarmSchedule, Yearly) {
    const AlarmRecord birthday = Yearly(2, 29, 12 * 3600);
    EXPECT_TRUE(IsDue(Last(birthday, Dated(2027, 6, 1)), Dated(2024, 2, 29, 12)));
    EXPECT_TRUE(IsDue(Last(birthday, Dated(2024, 2, 29, 12, 0, 0)), Dated(2024, 2, 29, 12)));
    EXPECT_EQ(Last(birthday, Dated(2027, 6, 1), Dated(2025, 1, 1)).wYear, 0);
    AlarmRecord thanksgiving = Yearly(11, 0, 18 * 3600);
    thanksgiving.yearlyByWeekday = 1;
    thanksgiving.yearlyWhich = 4;
    thanksgiving.yearlyWeekday = 4;
    EXPECT_TRUE(IsDue(Last(thanksgiving, Dated(2024, 12, 25)), Dated(2024, 11, 28, 18)));
    EXPECT_TRUE(IsDue(Last(thanksgiving, Dated(2024, 11, 27)), Dated(2023, 11, 23, 18)));
}

TEST(AlarmSchedule, CronDropsSecondsAndMilliseconds) {
    CronSchedule cron{};
    cron.hours = 1u << 8;
    cron.minutes = 1ull << 30;
    SYSTEMTIME t = Dated(2024, 5, 6, 8, 30, 42);
    t.wMilliseconds = 500;
    EXPECT_TRUE(IsDue(Last(Cron(cron), t), Dated(2024, 5, 6, 8, 30, 0)));
}

TEST(AlarmSchedule, DamagedRecordsYieldNothingQuickly) {
    const SYSTEMTIME t = Dated(2024, 6, 1, 12);
    const SYSTEMTIME anyTime = Dated(1601, 1, 1);
    AlarmRecord a = Daily(zone_fixtures::Time(2024, 13, 40, 25, 61, 61), 1);
    EXPECT_EQ(Last(a, t, anyTime).wYear, 0);
    a = Weekly(zone_fixtures::Time(2024, 0, 0), 1, 0x7F);
    EXPECT_EQ(Last(a, t, anyTime).wYear, 0);
    a = Weekly(Dated(2024, 1, 1), INT32_MAX, 0x7F);
    EXPECT_TRUE(IsDue(Last(a, t, anyTime), Dated(2024, 1, 6)));  // only the first week is active
    a = Daily(Dated(2024, 1, 1), INT32_MAX);
    EXPECT_TRUE(IsDue(Last(a, t, anyTime), Dated(2024, 1, 1)));
    a = MonthlyWeekday(9, 9, 0);
    EXPECT_EQ(Last(a, t, anyTime).wYear, 0);
    a = MonthlyDay(99, 0, INT32_MIN, 13, 0);
    EXPECT_EQ(Last(a, t, anyTime).wYear, 0);
    a = Yearly(0, 1, 0);
    EXPECT_EQ(Last(a, t, SYSTEMTIME{}).wYear, 0);
    a = Yearly(13, 1, 0);
    EXPECT_EQ(Last(a, t, SYSTEMTIME{}).wYear, 0);
    a = Yearly(6, 31, 0);  // June has no 31st
    EXPECT_EQ(Last(a, t, SYSTEMTIME{}).wYear, 0);
    a = Once(zone_fixtures::Time(2024, 2, 30, 8));
    EXPECT_EQ(Last(a, t).wYear, 0);
    a = Alarm(9);
    EXPECT_EQ(Last(a, t).wYear, 0);
    // A time of day beyond 24 hours keeps its hour within the day.
    a = MonthlyDay(5, 99 * 3600 + 99 * 60 + 99);
    SYSTEMTIME due = Last(a, t);
    EXPECT_LT(due.wHour, 24);
    EXPECT_LT(due.wMinute, 60);
    EXPECT_LT(due.wSecond, 60);
}
