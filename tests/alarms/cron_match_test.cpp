#include <gtest/gtest.h>

#include "common/settings/cron_text.h"
#include "common/alarms/cron_match.h"
#include "tests/alarms/alarm_fixtures.h"

using alarm_fixtures::Same;
using zone_fixtures::Dated;

namespace {

CronSchedule Parse(const wchar_t* text) {
    CronSchedule cron{};
    EXPECT_TRUE(ParseCronText(text, cron)) << text;
    return cron;
}

// The match for t with the search allowed back to `lower`; year 0 when none.
SYSTEMTIME Match(const wchar_t* text, const SYSTEMTIME& lower, SYSTEMTIME t) {
    if (!MatchCronSchedule(Parse(text), lower, t)) return SYSTEMTIME{};
    return t;
}

}  // namespace

TEST(CronMatch, HourAndMinuteAreFoundInTheTickTheirMinuteBegins) {
    EXPECT_TRUE(Same(Match(L"30;8;*;*;*", Dated(2024, 5, 6, 8, 29, 59), Dated(2024, 5, 6, 8, 30, 0)),
                     Dated(2024, 5, 6, 8, 30, 0)));
    // At 10:15 the day's 08:30 lies before the previous check: nothing.
    EXPECT_EQ(Match(L"30;8;*;*;*", Dated(2024, 5, 6, 10, 14, 59), Dated(2024, 5, 6, 10, 15, 0)).wYear, 0);
}

TEST(CronMatch, FindsTheLastMatchingMinuteOfTheDayWhenTheHourWasLowered) {
    // Missed while the program was not running: today's 08:30, although its
    // minute is later than the current minute.
    EXPECT_TRUE(Same(Match(L"30;8;*;*;*", Dated(2024, 5, 1), Dated(2024, 5, 6, 10, 15, 0)),
                     Dated(2024, 5, 6, 8, 30, 0)));
    // Before today's hour: yesterday's.
    EXPECT_TRUE(Same(Match(L"30;8;*;*;*", Dated(2024, 5, 1), Dated(2024, 5, 6, 7, 0, 0)),
                     Dated(2024, 5, 5, 8, 30, 0)));
    EXPECT_TRUE(Same(Match(L"45;8,9;*;*;*", Dated(2024, 5, 1), Dated(2024, 5, 6, 9, 10, 0)),
                     Dated(2024, 5, 6, 8, 45, 0)));
}

TEST(CronMatch, ListsRangesAndWeekdays) {
    // Weekdays 2-6 are Monday to Friday; Saturday noon gives Friday 17:30.
    EXPECT_TRUE(Same(Match(L"0,30;8-17;*;*;2-6", Dated(2024, 1, 1), Dated(2024, 1, 6, 12, 0, 0)),
                     Dated(2024, 1, 5, 17, 30, 0)));
    // A quarter-hour list, the usual form of a step.
    EXPECT_TRUE(Same(Match(L"0,15,30,45;*;*;*;*", Dated(2024, 1, 1), Dated(2024, 1, 6, 12, 44, 10)),
                     Dated(2024, 1, 6, 12, 30, 0)));
    // Christmas noon, looked for in June.
    EXPECT_TRUE(Same(Match(L"0;12;25;12;*", Dated(2020, 1, 1), Dated(2024, 6, 1, 9, 0, 0)),
                     Dated(2023, 12, 25, 12, 0, 0)));
    // The 13th when it is a Friday (weekday 6 in the text form).
    EXPECT_TRUE(Same(Match(L"0;9;13;*;6", Dated(2023, 1, 1), Dated(2024, 12, 1, 0, 0, 0)),
                     Dated(2024, 9, 13, 9, 0, 0)));
}

TEST(CronMatch, DaysCountedFromTheMonthsEnd) {
    EXPECT_TRUE(Same(Match(L"0;20;-1;*;*", Dated(2024, 1, 1), Dated(2024, 3, 15, 9, 0, 0)),
                     Dated(2024, 2, 29, 20, 0, 0)));
    EXPECT_TRUE(Same(Match(L"0;20;-1;*;*", Dated(2023, 1, 1), Dated(2023, 3, 15, 9, 0, 0)),
                     Dated(2023, 2, 28, 20, 0, 0)));
    // On the last day, before the day before's evening has been reached: that evening.
    EXPECT_TRUE(Same(Match(L"0;20;-2;*;*", Dated(2024, 1, 1), Dated(2024, 4, 30, 10, 0, 0)),
                     Dated(2024, 4, 29, 20, 0, 0)));
    // -31 has no day in April; the search goes on to the 1st of March.
    EXPECT_TRUE(Same(Match(L"*;*;-31;*;*", Dated(2024, 1, 1), Dated(2024, 4, 30, 12, 0, 0)),
                     Dated(2024, 3, 1, 23, 59, 0)));
}

TEST(CronMatch, NeverBefore1980) {
    EXPECT_EQ(Match(L"*;*;*;*;*", Dated(1970, 1, 1), Dated(1979, 12, 31, 23, 59, 0)).wYear, 0);
    EXPECT_TRUE(Same(Match(L"*;*;*;*;*", Dated(1970, 1, 1), Dated(1980, 1, 1, 0, 0, 30)), Dated(1980, 1, 1)));
    EXPECT_EQ(Match(L"0;0;25;12;*", Dated(1970, 1, 1), Dated(1980, 6, 1)).wYear, 0);
}

TEST(CronMatch, DamagedMasksMatchNothingAndEnd) {
    const SYSTEMTIME lower = Dated(1970, 1, 1), t = Dated(2024, 6, 1, 12);
    CronSchedule cron{};
    cron.weekdays = 1u << 7;  // no such weekday
    SYSTEMTIME probe = t;
    EXPECT_FALSE(MatchCronSchedule(cron, lower, probe));
    EXPECT_TRUE(Same(probe, t));
    cron = CronSchedule{};
    cron.months = 1u | (1u << 13);
    EXPECT_FALSE(MatchCronSchedule(cron, lower, probe));
    cron = CronSchedule{};
    cron.days = INT32_MIN;
    EXPECT_FALSE(MatchCronSchedule(cron, lower, probe));
    cron = CronSchedule{};
    cron.hours = 0xFF000000u;
    EXPECT_FALSE(MatchCronSchedule(cron, lower, probe));
    cron = CronSchedule{};
    cron.minutes = 0xF000000000000000ull;
    EXPECT_FALSE(MatchCronSchedule(cron, lower, probe));
    // Day 31 in February only, in every year back to 1980.
    EXPECT_FALSE(MatchCronSchedule(Parse(L"*;*;31;2;*"), lower, probe));
}
