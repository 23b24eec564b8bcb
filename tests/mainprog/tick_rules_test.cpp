// The news schedule and the sync request of the one-second tick.
#include <gtest/gtest.h>

#include "tempovia/main/tick_rules.h"

namespace {

SYSTEMTIME Utc(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s) {
    SYSTEMTIME t = {};
    t.wYear = y;
    t.wMonth = mo;
    t.wDay = d;
    t.wHour = h;
    t.wMinute = mi;
    t.wSecond = s;
    return t;
}

TEST(TickRules, DayKey) { EXPECT_EQ(DayKey(Utc(2024, 3, 1, 0, 0, 0)), 2024 * 512 + 3 * 32 + 1 - 33); }

TEST(TickRules, NewsRunsFirstThenEveryThreeMinutesAndOnANewDay) {
    int32_t day = 0, minute = 0;
    EXPECT_TRUE(NewsRefreshDue(Utc(2024, 3, 1, 10, 0, 5), day, minute));
    EXPECT_EQ(minute, 600);
    EXPECT_FALSE(NewsRefreshDue(Utc(2024, 3, 1, 10, 1, 0), day, minute));
    EXPECT_FALSE(NewsRefreshDue(Utc(2024, 3, 1, 10, 2, 59), day, minute));
    EXPECT_TRUE(NewsRefreshDue(Utc(2024, 3, 1, 10, 3, 0), day, minute));
    // The first tick of a new day runs it, whatever the minute.
    EXPECT_TRUE(NewsRefreshDue(Utc(2024, 3, 2, 0, 0, 1), day, minute));
    EXPECT_EQ(minute, 0);
}

TEST(TickRules, ClockSetBackToAnEarlierDaySuppressesNews) {
    int32_t day = 0, minute = 0;
    ASSERT_TRUE(NewsRefreshDue(Utc(2024, 3, 5, 12, 0, 0), day, minute));
    EXPECT_FALSE(NewsRefreshDue(Utc(2024, 3, 4, 12, 30, 0), day, minute));
    EXPECT_FALSE(NewsRefreshDue(Utc(2024, 3, 4, 23, 59, 0), day, minute));
    EXPECT_TRUE(NewsRefreshDue(Utc(2024, 3, 5, 12, 3, 0), day, minute));
}

TEST(TickRules, SyncOnceAfterStartAndOnEachAlarmSoon) {
    bool requested = false, soon = false;
    EXPECT_TRUE(SyncRequestDue(1, 3, requested, soon));
    EXPECT_TRUE(requested);
    EXPECT_FALSE(SyncRequestDue(1, 3, requested, soon));
    soon = true;
    EXPECT_TRUE(SyncRequestDue(1, 3, requested, soon));
    EXPECT_FALSE(soon);
    EXPECT_FALSE(SyncRequestDue(1, 3, requested, soon));
}

TEST(TickRules, NoSyncWithoutAutosyncOrOtherType) {
    bool requested = false, soon = true;
    EXPECT_FALSE(SyncRequestDue(0, 3, requested, soon));
    EXPECT_TRUE(requested);
    requested = false;
    EXPECT_FALSE(SyncRequestDue(1, 1, requested, soon));
    EXPECT_TRUE(requested);
    // Switching it on later does not count as the first tick again, but a
    // pending alarm-soon flag still asks once.
    EXPECT_TRUE(SyncRequestDue(1, 3, requested, soon));
    EXPECT_FALSE(SyncRequestDue(1, 3, requested, soon));
}

}  // namespace
