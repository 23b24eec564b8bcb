// The frame's tick: it acts once per new UTC second, restores the pristine
// zones when the year goes back, and hands applied changes to the clocks.
#include <gtest/gtest.h>

#include <vector>

#include "settings/clock_tick.h"

namespace {

std::vector<char> g_calls;
int g_dueAnswer = 0;
std::vector<SYSTEMTIME> g_dueTimes;

void Restore() { g_calls.push_back('R'); }
int Due(const SYSTEMTIME& utc) {
    g_calls.push_back('D');
    g_dueTimes.push_back(utc);
    return g_dueAnswer;
}
void Clocks() { g_calls.push_back('C'); }

const ZoneChangeOps kRecorder = {Restore, Due, Clocks};

SYSTEMTIME At(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(y);
    t.wMonth = static_cast<WORD>(mo);
    t.wDay = static_cast<WORD>(d);
    t.wHour = static_cast<WORD>(h);
    t.wMinute = static_cast<WORD>(mi);
    t.wSecond = static_cast<WORD>(s);
    t.wMilliseconds = static_cast<WORD>(ms);
    return t;
}

class ClockTick : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        g_dueTimes.clear();
        g_dueAnswer = 0;
    }
    ClockTickState state;
};

TEST_F(ClockTick, RepeatedTicksWithinOneSecondDoNothing) {
    EXPECT_TRUE(OnClockTick(At(2026, 3, 1, 12, 0, 5, 0), state, kRecorder));
    EXPECT_FALSE(OnClockTick(At(2026, 3, 1, 12, 0, 5, 300), state, kRecorder));
    EXPECT_FALSE(OnClockTick(At(2026, 3, 1, 12, 0, 5, 600), state, kRecorder));
    EXPECT_EQ(g_calls, std::vector<char>({'D'}));
    EXPECT_TRUE(OnClockTick(At(2026, 3, 1, 12, 0, 6, 0), state, kRecorder));
    EXPECT_EQ(g_calls, std::vector<char>({'D', 'D'}));
    EXPECT_EQ(state.dayKey, 2026 * 512 + 3 * 32 + 1 - 33);
    EXPECT_EQ(state.second, 12 * 3600 + 6);
    EXPECT_EQ(state.year, 2026);
}

TEST_F(ClockTick, MidnightRunsTheZoneStepOnceAndUpdatesClocksOnlyWhenAChangeApplied) {
    OnClockTick(At(2026, 12, 31, 23, 59, 59), state, kRecorder);
    g_calls.clear();
    g_dueAnswer = 1;
    EXPECT_TRUE(OnClockTick(At(2027, 1, 1, 0, 0, 0), state, kRecorder));
    EXPECT_FALSE(OnClockTick(At(2027, 1, 1, 0, 0, 0, 900), state, kRecorder));
    EXPECT_EQ(g_calls, std::vector<char>({'D', 'C'}));
    ASSERT_EQ(g_dueTimes.size(), 2u);
    EXPECT_EQ(g_dueTimes[1].wYear, 2027);
}

TEST_F(ClockTick, TheSameSecondOfAnotherDayCounts) {
    OnClockTick(At(2026, 5, 4, 10, 0, 0), state, kRecorder);
    EXPECT_TRUE(OnClockTick(At(2026, 5, 5, 10, 0, 0), state, kRecorder));
    EXPECT_EQ(g_calls.size(), 2u);
}

TEST_F(ClockTick, AYearBackRestoresThePristineZonesBeforeApplyingChanges) {
    OnClockTick(At(2026, 1, 1, 0, 0, 0), state, kRecorder);
    g_calls.clear();
    g_dueAnswer = 2;
    EXPECT_TRUE(OnClockTick(At(2024, 6, 1, 0, 0, 0), state, kRecorder));
    EXPECT_EQ(g_calls, std::vector<char>({'R', 'D', 'C'}));
    EXPECT_EQ(state.year, 2024);
    // Going forward again restores nothing; nor does a day back within the year.
    g_calls.clear();
    g_dueAnswer = 0;
    OnClockTick(At(2026, 1, 1, 0, 0, 0), state, kRecorder);
    OnClockTick(At(2025, 12, 31, 0, 0, 0), state, kRecorder);
    OnClockTick(At(2025, 12, 30, 0, 0, 0), state, kRecorder);
    EXPECT_EQ(g_calls, std::vector<char>({'D', 'R', 'D', 'D'}));
}

TEST_F(ClockTick, TheFirstTickNeverRestores) {
    EXPECT_TRUE(OnClockTick(At(1999, 1, 1, 0, 0, 0), state, kRecorder));
    EXPECT_EQ(g_calls, std::vector<char>({'D'}));
}

}  // namespace
