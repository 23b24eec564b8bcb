// When the schedule asks for a synchronisation, counted from the service's
// start in GetTickCount ticks (including the counter's wrap).
#include <gtest/gtest.h>

#include <vector>

#include "velmora/sync_schedule.h"

namespace {

SyncSettings Settings(int autosync, int synctype) {
    SyncSettings s{};
    s.autosync = autosync;
    s.synctype = synctype;
    s.httpSyncWait = 1000;
    s.serverText[0] = L'x';
    return s;
}

// The offsets from the start (ms) at which checks were due.
std::vector<DWORD> DueAt(SyncSchedule& schedule, const SyncSettings& s, const std::vector<DWORD>& offsets) {
    std::vector<DWORD> due;
    for (DWORD at : offsets) {
        if (IsSyncDueAt(schedule, s, schedule.startTick + at)) due.push_back(at);
    }
    return due;
}

constexpr DWORD kMin = 60000;

}  // namespace

TEST(SyncSchedule, HourlyAtFirstWakeThenAtEachFullHourFromStart) {
    for (DWORD start : {DWORD{1000}, DWORD{0xFFFFFFFFu - 30 * kMin}}) {  // and across the counter's wrap
        SyncSchedule schedule{start, start, false};
        const auto due = DueAt(schedule, Settings(1, kSyncHourly),
                               {500, 1000, 59 * kMin, 60 * kMin + 200, 61 * kMin, 119 * kMin, 121 * kMin, 125 * kMin});
        EXPECT_EQ(due, (std::vector<DWORD>{500, 60 * kMin + 200, 121 * kMin})) << start;
    }
}

TEST(SyncSchedule, DailyAndQuarterHourlyPeriods) {
    SyncSchedule daily{0, 0, false};
    EXPECT_EQ(DueAt(daily, Settings(1, kSyncDaily), {500, 23 * 60 * kMin, 24 * 60 * kMin + 1, 25 * 60 * kMin}),
              (std::vector<DWORD>{500, 24 * 60 * kMin + 1}));
    SyncSchedule quarter{0, 0, false};
    EXPECT_EQ(DueAt(quarter, Settings(1, kSyncQuarterHourly), {500, 14 * kMin, 15 * kMin, 16 * kMin, 31 * kMin}),
              (std::vector<DWORD>{500, 15 * kMin, 31 * kMin}));
}

TEST(SyncSchedule, OnceExactlyAtFirstWakeFiveMinutesAfterStart) {
    SyncSchedule schedule{0, 0, false};
    EXPECT_EQ(DueAt(schedule, Settings(1, kSyncOnceAfterStart),
                    {500, 4 * kMin, 5 * kMin - 1, 5 * kMin + 300, 6 * kMin, 600 * kMin}),
              (std::vector<DWORD>{5 * kMin + 300}));
}

TEST(SyncSchedule, OnRequestAndUnknownTypesAndAutosyncOffAreNeverDue) {
    for (int type : {kSyncOnRequest, 5, -1, 99}) {
        SyncSchedule schedule{0, 0, false};
        EXPECT_TRUE(DueAt(schedule, Settings(1, type), {500, 60 * kMin, 24 * 60 * kMin}).empty()) << type;
        EXPECT_TRUE(schedule.seen);
    }
    SyncSchedule off{0, 0, false};
    EXPECT_TRUE(DueAt(off, Settings(0, kSyncHourly), {500, 60 * kMin, 120 * kMin}).empty());
}

TEST(SyncSchedule, AutosyncTurnedOnLaterWaitsForNextBoundary) {
    SyncSchedule schedule{0, 0, false};
    EXPECT_FALSE(IsSyncDueAt(schedule, Settings(0, kSyncHourly), 10 * kMin));
    // Turned on by a reload: no sync at once, the next full hour fires.
    EXPECT_FALSE(IsSyncDueAt(schedule, Settings(1, kSyncHourly), 20 * kMin));
    EXPECT_FALSE(IsSyncDueAt(schedule, Settings(1, kSyncHourly), 59 * kMin));
    EXPECT_TRUE(IsSyncDueAt(schedule, Settings(1, kSyncHourly), 60 * kMin + 1));

    SyncSchedule once{0, 0, false};
    EXPECT_FALSE(IsSyncDueAt(once, Settings(0, kSyncOnceAfterStart), kMin));
    EXPECT_FALSE(IsSyncDueAt(once, Settings(1, kSyncOnceAfterStart), 6 * kMin));
    EXPECT_FALSE(IsSyncDueAt(once, Settings(1, kSyncOnceAfterStart), 60 * kMin));
}
