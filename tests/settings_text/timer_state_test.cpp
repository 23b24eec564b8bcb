#include <gtest/gtest.h>

#include "common/settings/timer_state.h"
#include "tests/settings_text/text_fixtures.h"

namespace {

using namespace settings_text_test;

const uint64_t kT0 = Moment(2024, 5, 1, 10, 0, 0);

uint64_t At(int seconds) { return kT0 + static_cast<uint64_t>(seconds) * kSecond; }

TEST(TimerState, PausedCountdownResumesWithWhatWasLeft) {
    ClockRecord c = MakeClock(kClockTimer | kClockCountdown);
    c.duration = 300;
    ResetTimerAt(c, At(0));
    EXPECT_EQ(c.elapsed, 300 * kSecond);
    ToggleTimerRunningAt(c, At(0));
    EXPECT_EQ(c.start, At(300));
    UpdateTimerState(c, At(100));
    StopTimer(c);
    EXPECT_EQ(UpdateTimerState(c, At(150)), 0);  // paused: nothing moves
    EXPECT_EQ(c.elapsed, 200 * kSecond);
    // Resumed long after its first end would have come.
    ToggleTimerRunningAt(c, At(1000));
    EXPECT_EQ(c.start, At(1200));
    EXPECT_EQ(c.elapsed, 200 * kSecond);
}

TEST(TimerState, CountdownReachingZeroFinishesOnceAndRestartsInFull) {
    ClockRecord c = MakeClock(kClockTimer | kClockCountdown);
    c.duration = 10;
    ResetTimerAt(c, At(0));
    ToggleTimerRunningAt(c, At(0));
    EXPECT_NE(UpdateTimerState(c, At(12)), 0);
    EXPECT_EQ(c.elapsed, 0u);
    EXPECT_EQ(c.running, 0);
    EXPECT_EQ(TimerJustFinished(c), 1u);
    EXPECT_EQ(UpdateTimerState(c, At(13)), 0);
    ToggleTimerRunningAt(c, At(20));
    EXPECT_EQ(TimerJustFinished(c), 0u);
    EXPECT_EQ(c.start, At(30));

    // A countdown to a target stops at it.
    ClockRecord t = MakeClock(kClockTimer | kClockCountdown | kClockSetDate);
    t.start = At(60);
    ToggleTimerRunningAt(t, At(30));
    EXPECT_EQ(t.elapsed, 30 * kSecond);
    ToggleTimerRunningAt(t, At(90));
    EXPECT_EQ(t.running, 0);
    EXPECT_EQ(t.elapsed, 0u);
}

TEST(TimerState, StopwatchStartsPausesResumesAndResets) {
    ClockRecord c = MakeClock(kClockTimer);
    ToggleTimerRunningAt(c, At(0));
    EXPECT_EQ(c.start, At(0));
    UpdateTimerState(c, At(45));
    StopTimer(c);
    ToggleTimerRunningAt(c, At(100));
    EXPECT_EQ(c.elapsed, 45 * kSecond);
    EXPECT_EQ(c.start, At(55));
    EXPECT_EQ(c.targetTime.wSecond, 55);
    ResetTimerAt(c, At(300));
    EXPECT_EQ(c.elapsed, 0u);
    EXPECT_EQ(c.start, At(300));

    ClockRecord fixed = MakeClock(kClockTimer | kClockSetDate);
    fixed.start = At(100);
    ToggleTimerRunningAt(fixed, At(50));  // before its start: stays idle
    EXPECT_EQ(fixed.running, 0);
    ToggleTimerRunningAt(fixed, At(160));
    EXPECT_EQ(fixed.elapsed, 60 * kSecond);
}

TEST(TimerState, ReportsHowTheTextChanged) {
    ClockRecord c = MakeClock(kClockTimer);
    wcscpy(c.timerformat, L"%M:%02s");
    ToggleTimerRunningAt(c, At(0));
    UpdateTimerState(c, At(599));
    EXPECT_EQ(UpdateTimerState(c, At(600)), 2);  // 9:59 -> 10:00 grew
    EXPECT_EQ(UpdateTimerState(c, At(601)), 1);  // 10:00 -> 10:01 digits only
    EXPECT_EQ(UpdateTimerState(c, At(601)), 0);

    // An unterminated format in a damaged record stays inside its field.
    wmemset(c.timerformat, L'%', 100);
    EXPECT_EQ(UpdateTimerState(c, At(603)), 1);

    wchar_t text[] = L"12:09 x0";
    MaskDigitsForWidth(text);
    EXPECT_STREQ(text, L"00:00 x0");
}

}  // namespace
