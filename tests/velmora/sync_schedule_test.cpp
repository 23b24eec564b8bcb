// When the schedule asks for a synchronisation, counted from the service's
// start in 64-bit ticks (long past the 32-bit counter's wrap).
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
std::vector<uint64_t> DueAt(SyncSchedule& schedule, const SyncSettings& s, const std::vector<uint64_t>& offsets) {
    std::vector<uint64_t> due;
    for (uint64_t at : offsets) {
        if (IsSyncDueAt(schedule, s, schedule.startTick + at)) due.push_back(at);
    }
    return due;
}

constexpr uint64_t kMin = 60000;
constexpr uint64_t kHour = 60 * kMin;

}  // namespace

TEST(SyncSchedule, HourlyAtFirstWakeThenAtEachFullHourFromStart) {
    for (uint64_t start : {uint64_t{1000}, uint64_t{0xFFFFFFFFu - 30 * kMin}}) {
        SyncSchedule schedule{start, start, false};
        const auto due = DueAt(schedule, Settings(1, kSyncHourly),
                               {500, 1000, 59 * kMin, 60 * kMin + 200, 61 * kMin, 119 * kMin, 121 * kMin, 125 * kMin});
        EXPECT_EQ(due, (std::vector<uint64_t>{500, 60 * kMin + 200, 121 * kMin})) << start;
    }
}

TEST(SyncSchedule, DailyAndQuarterHourlyPeriods) {
    SyncSchedule daily{0, 0, false};
    EXPECT_EQ(DueAt(daily, Settings(1, kSyncDaily), {500, 23 * 60 * kMin, 24 * 60 * kMin + 1, 25 * 60 * kMin}),
              (std::vector<uint64_t>{500, 24 * 60 * kMin + 1}));
    SyncSchedule quarter{0, 0, false};
    EXPECT_EQ(DueAt(quarter, Settings(1, kSyncQuarterHourly), {500, 14 * kMin, 15 * kMin, 16 * kMin, 31 * kMin}),
              (std::vector<uint64_t>{500, 15 * kMin, 31 * kMin}));
}

TEST(SyncSchedule, OnceExactlyAtFirstWakeFiveMinutesAfterStart) {
    SyncSchedule schedule{0, 0, false};
    EXPECT_EQ(DueAt(schedule, Settings(1, kSyncOnceAfterStart),
                    {500, 4 * kMin, 5 * kMin - 1, 5 * kMin + 300, 6 * kMin, 600 * kMin}),
              (std::vector<uint64_t>{5 * kMin + 300}));
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

TEST(SyncSchedule, HoursKeepTheirBoundariesAfterFortyNineDays) {
    // 2^32 ms (49.7 days) after the start is 1193 h 2 min 47 s.
    SyncSchedule schedule{1000, 1000, false};
    const auto due = DueAt(schedule, Settings(1, kSyncHourly),
                           {500, 1193 * kHour + kMin, 1193 * kHour + 3 * kMin, 1193 * kHour + 30 * kMin,
                            1194 * kHour + 1, 1194 * kHour + kMin});
    EXPECT_EQ(due, (std::vector<uint64_t>{500, 1193 * kHour + kMin, 1194 * kHour + 1}));
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
