// Calendar helpers against dates checked on a calendar.
#include <gtest/gtest.h>

#include "common/zones/date_math.h"
#include "tests/time/zone_fixtures.h"

using zone_fixtures::Dated;
using zone_fixtures::Time;

TEST(DateMath, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(2023));
    EXPECT_EQ(DaysInMonth(2, 2000), 29);
    EXPECT_EQ(DaysInMonth(2, 1900), 28);
    EXPECT_EQ(DaysInMonth(2, 2024), 29);
    EXPECT_EQ(DaysInMonth(4, 2024), 30);
    EXPECT_EQ(DaysInMonth(12, 2024), 31);
    EXPECT_EQ(DaysInMonth(0, 2024), 0);
    EXPECT_EQ(DaysInMonth(13, 2024), 0);
    EXPECT_EQ(DaysInMonth(-1, 2024), 0);
}

TEST(DateMath, DateKeysOrderMomentsAndKeepDaysApart) {
    EXPECT_EQ(DateKey(Time(2024, 1, 1)), (2024LL * 512 + 32 + 1 - 33) * 100000);
    EXPECT_EQ(DateKey(Time(2024, 3, 10, 2, 30, 15)) - DateKey(Time(2024, 3, 10)), 2 * 3600 + 30 * 60 + 15);
    EXPECT_LT(DateKey(Time(2024, 1, 31, 23, 59, 59)), DateKey(Time(2024, 2, 1)));
    EXPECT_LT(DateKey(Time(2023, 12, 31, 23, 59, 59)), DateKey(Time(2024, 1, 1)));
    EXPECT_GT(DateKey(Time(2024, 1, 2)) - DateKey(Time(2024, 1, 1, 23, 59, 59)), 0);
}

TEST(DateMath, DayNumbersAndWeekdays) {
    EXPECT_EQ(DaysSince1601(Time(1601, 1, 1)), 0);
    EXPECT_EQ(WeekdayOfDayNumber(0), 1);  // a Monday
    EXPECT_EQ(DaysSince1601(Time(1601, 1, 8, 23, 59)), 7);
    // 1 January 2024 was a Monday, 10 March 2024 a Sunday.
    EXPECT_EQ(WeekdayOfDayNumber(DaysSince1601(Time(2024, 1, 1))), 1);
    EXPECT_EQ(WeekdayOfDayNumber(DaysSince1601(Time(2024, 3, 10))), 0);
    EXPECT_EQ(DaysSince1601(Time(2024, 3, 1)) - DaysSince1601(Time(2024, 2, 28)), 2);
    EXPECT_EQ(DaysSince1601(Time(2024, 13, 1)), 0);  // invalid

    SYSTEMTIME t{};
    ASSERT_TRUE(DaySecondsToSystemTime(DaysSince1601(Time(2024, 2, 29)), 3600 + 61, &t));
    EXPECT_EQ(t.wYear, 2024);
    EXPECT_EQ(t.wMonth, 2);
    EXPECT_EQ(t.wDay, 29);
    EXPECT_EQ(t.wHour, 1);
    EXPECT_EQ(t.wMinute, 1);
    EXPECT_EQ(t.wSecond, 1);
    EXPECT_EQ(t.wDayOfWeek, 4);
    EXPECT_FALSE(DaySecondsToSystemTime(-1, 0, &t));

    SYSTEMTIME base = Time(2024, 12, 31, 23, 59, 30);
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&base, &ft));
    ASSERT_TRUE(AddSecondsToFileTime(ft, 45, &t));
    EXPECT_EQ(t.wYear, 2025);
    EXPECT_EQ(t.wMonth, 1);
    EXPECT_EQ(t.wDay, 1);
    EXPECT_EQ(t.wSecond, 15);
    ASSERT_TRUE(AddSecondsToFileTime(ft, -86400, &t));
    EXPECT_EQ(t.wDay, 30);
}

TEST(DateMath, NthWeekdayOfMonth) {
    EXPECT_EQ(NthWeekdayOfMonth(2, 2009, 5, 0), 22);  // last Sunday of February 2009
    EXPECT_EQ(NthWeekdayOfMonth(2, 2009, 4, 0), 22);
    EXPECT_EQ(NthWeekdayOfMonth(2, 2009, 1, 0), 1);
    EXPECT_EQ(NthWeekdayOfMonth(5, 2009, 5, 6), 30);  // last Saturday of May 2009
    EXPECT_EQ(NthWeekdayOfMonth(3, 2024, 2, 0), 10);
    EXPECT_EQ(NthWeekdayOfMonth(11, 2024, 1, 0), 3);
    EXPECT_EQ(NthWeekdayOfMonth(2, 2024, 5, 4), 29);  // leap day was the last Thursday
    EXPECT_EQ(NthWeekdayOfMonth(2, 2024, 6, 4), 29);  // n above 5 also means the last
    EXPECT_EQ(NthWeekdayOfMonth(2, 2009, 0, 0), 0);
    EXPECT_EQ(NthWeekdayOfMonth(2, 2009, -1, 0), 0);
    EXPECT_EQ(NthWeekdayOfMonth(2, 2009, 1, 7), 0);
    EXPECT_EQ(NthWeekdayOfMonth(0, 2009, 1, 0), 0);
    EXPECT_EQ(NthWeekdayOfMonth(13, 2009, 1, 0), 0);
    // February 2015 had four Sundays only.
    EXPECT_EQ(NthWeekdayOfMonth(2, 2015, 4, 0), 22);
    EXPECT_EQ(NthWeekdayOfMonth(3, 2024, 5, 0), 31);
    EXPECT_EQ(NthWeekdayOfMonth(4, 2024, 5, 2), 30);
    EXPECT_EQ(NthWeekdayOfMonth(9, 2024, 5, 1), 30);
    EXPECT_EQ(NthWeekdayOfMonth(9, 2024, 4, 1), 23);
}

TEST(DateMath, AddMinutesAcrossDaysMonthsAndYears) {
    SYSTEMTIME t = Dated(2008, 3, 1, 0, 30, 45);
    AddMinutes(t, -60);
    EXPECT_EQ(t.wYear, 2008);
    EXPECT_EQ(t.wMonth, 2);
    EXPECT_EQ(t.wDay, 29);
    EXPECT_EQ(t.wHour, 23);
    EXPECT_EQ(t.wMinute, 30);
    EXPECT_EQ(t.wSecond, 45);
    EXPECT_EQ(t.wDayOfWeek, 5);  // Friday 29 February 2008

    t = Dated(2024, 12, 31, 23, 0);
    AddMinutes(t, 90);
    EXPECT_EQ(t.wYear, 2025);
    EXPECT_EQ(t.wMonth, 1);
    EXPECT_EQ(t.wDay, 1);
    EXPECT_EQ(t.wHour, 0);
    EXPECT_EQ(t.wMinute, 30);
    EXPECT_EQ(t.wDayOfWeek, 3);

    t = Dated(2025, 1, 1, 0, 10);
    AddMinutes(t, -20);
    EXPECT_EQ(t.wYear, 2024);
    EXPECT_EQ(t.wMonth, 12);
    EXPECT_EQ(t.wDay, 31);
    EXPECT_EQ(t.wHour, 23);
    EXPECT_EQ(t.wMinute, 50);
    EXPECT_EQ(t.wDayOfWeek, 2);

    t = Dated(2023, 2, 28, 23, 59);
    AddMinutes(t, 1);
    EXPECT_EQ(t.wMonth, 3);
    EXPECT_EQ(t.wDay, 1);
    EXPECT_EQ(t.wDayOfWeek, 3);

    t = Dated(2024, 6, 15, 12, 0);
    AddMinutes(t, 1440);
    EXPECT_EQ(t.wDay, 16);
    EXPECT_EQ(t.wHour, 12);
    AddMinutes(t, -1440);
    EXPECT_EQ(t.wDay, 15);
    AddMinutes(t, 0);
    EXPECT_EQ(t.wHour, 12);

    // More than a day keeps every field in range.
    AddMinutes(t, 3 * 1440 + 61);
    EXPECT_EQ(t.wDay, 18);
    EXPECT_EQ(t.wHour, 13);
    EXPECT_EQ(t.wMinute, 1);
    EXPECT_EQ(t.wDayOfWeek, 2);
}
