#include <gtest/gtest.h>

#include <vector>

#include "common/alarms/alarm_schedule_check.h"
#include "common/settings/timer_state.h"
#include "common/zones/zone_time.h"
#include "tests/alarms/alarm_fixtures.h"

using namespace alarm_fixtures;

namespace {

// A zone without daylight saving, UTC+1.
ZoneRecord PlusOne() { return zone_fixtures::Zone(L"Test Plus One", -60); }

AlarmCheckState StateAt(const SYSTEMTIME& previousUtc) { return AlarmCheckState{previousUtc, false, false}; }

SYSTEMTIME Check(TestClock& clock, const SYSTEMTIME& prevUtc, const SYSTEMTIME& nowUtc, RecordingSink& sink,
                 bool* soon = nullptr) {
    AlarmCheckState state = StateAt(prevUtc);
    CheckClockAlarms(clock.record, nowUtc, state, &sink);
    if (soon) *soon = state.dueSoon;
    return nowUtc;
}

}  // namespace

TEST(AlarmCheck, OnceFiresWhenNowReachesItButNotWhenThePreviousCheckDid) {
    TestClock clock(PlusOne());
    clock.Add(Once(Dated(2024, 5, 6, 8, 0, 0)));  // 07:00 UTC
    RecordingSink sink;
    Check(clock, Dated(2024, 5, 6, 6, 59, 59), Dated(2024, 5, 6, 7, 0, 0), sink);
    ASSERT_EQ(sink.calls.size(), 1u);
    EXPECT_FALSE(sink.calls[0].reminder);
    EXPECT_TRUE(Same(sink.calls[0].due, Dated(2024, 5, 6, 8, 0, 0)));
    sink.calls.clear();
    Check(clock, Dated(2024, 5, 6, 7, 0, 0), Dated(2024, 5, 6, 7, 0, 1), sink);
    EXPECT_TRUE(sink.calls.empty());
}

TEST(AlarmCheck, NothingWhenSwitchedOffDisabledOrWithoutAPreviousCheck) {
    TestClock clock(PlusOne());
    AlarmRecord off = Once(Dated(2024, 5, 6, 8, 0, 0));
    off.enabled = 0;
    clock.Add(off);
    clock.Add(Once(Dated(2024, 5, 6, 8, 0, 0)));
    RecordingSink sink;
    clock.record.alarmsEnabled = 0;
    Check(clock, Dated(2024, 5, 6, 6), Dated(2024, 5, 6, 8), sink);
    EXPECT_TRUE(sink.calls.empty());
    clock.record.alarmsEnabled = 1;
    Check(clock, SYSTEMTIME{}, Dated(2024, 5, 6, 8), sink);
    EXPECT_TRUE(sink.calls.empty());
    Check(clock, Dated(2024, 5, 6, 6), Dated(2024, 5, 6, 8), sink);
    EXPECT_EQ(sink.calls.size(), 1u);
}

TEST(AlarmCheck, ReminderRowsInTheTickTheReminderTimeIsReached) {
    TestClock clock(PlusOne());
    AlarmRecord a = Daily(Dated(2024, 5, 1, 9, 0, 0), 1);
    a.reminder = 15;
    clock.Add(a);
    RecordingSink sink;
    AlarmCheckState state{};
    std::vector<SYSTEMTIME> ticks;
    RunTicks(clock.record, Dated(2024, 5, 6, 7, 40, 0), Dated(2024, 5, 6, 8, 5, 0), 1, state, sink, &ticks);
    ASSERT_EQ(sink.calls.size(), 2u);
    EXPECT_TRUE(sink.calls[0].reminder);
    EXPECT_TRUE(Same(sink.calls[0].due, Dated(2024, 5, 6, 9, 0, 0)));  // the row shows the alarm's time
    EXPECT_TRUE(Same(ticks[0], Dated(2024, 5, 6, 7, 45, 0)));          // 08:45 local
    EXPECT_FALSE(sink.calls[1].reminder);
    EXPECT_TRUE(Same(ticks[1], Dated(2024, 5, 6, 8, 0, 0)));
    // Zero and negative reminders stay silent.
    clock.alarms[0].reminder = -15;
    sink.calls.clear();
    RunTicks(clock.record, Dated(2024, 5, 7, 7, 40, 0), Dated(2024, 5, 7, 8, 5, 0), 1, state, sink);
    EXPECT_EQ(sink.calls.size(), 1u);
}

TEST(AlarmCheck, DueSoonFlagFiveMinutesAhead) {
    TestClock clock(PlusOne());
    clock.Add(Once(Dated(2024, 5, 6, 8, 0, 0)));
    RecordingSink sink;
    bool soon = true;
    Check(clock, Dated(2024, 5, 6, 6, 54, 58), Dated(2024, 5, 6, 6, 54, 59), sink, &soon);
    EXPECT_FALSE(soon);
    Check(clock, Dated(2024, 5, 6, 6, 54, 59), Dated(2024, 5, 6, 6, 55, 0), sink, &soon);
    EXPECT_TRUE(soon);
    Check(clock, Dated(2024, 5, 6, 6, 55, 0), Dated(2024, 5, 6, 6, 55, 1), sink, &soon);
    EXPECT_FALSE(soon);
    EXPECT_TRUE(sink.calls.empty());
}

TEST(AlarmCheck, MissedAlarmsFireOnceForTheirLatestDueTime) {
    TestClock clock(PlusOne());
    clock.Add(Daily(Dated(2024, 5, 1, 9, 0, 0), 1));
    CronSchedule cron{};
    cron.hours = 1u << 8;
    cron.minutes = 1ull << 30;
    clock.Add(Cron(cron));
    RecordingSink sink;
    Check(clock, Dated(2024, 5, 3, 12), Dated(2024, 5, 6, 9, 15, 0), sink);  // 10:15 local
    ASSERT_EQ(sink.calls.size(), 2u);
    EXPECT_TRUE(Same(sink.calls[0].due, Dated(2024, 5, 6, 9, 0, 0)));
    EXPECT_TRUE(Same(sink.calls[1].due, Dated(2024, 5, 6, 8, 30, 0)));
}

TEST(AlarmCheck, SpringForwardFiresAnAlarmInTheSkippedHourOnce) {
    TestClock clock(zone_fixtures::Eastern());  // 2024-03-10 02:00 EST becomes 03:00 EDT (07:00 UTC)
    clock.Add(Daily(Dated(2024, 3, 1, 2, 30, 0), 1));
    RecordingSink sink;
    AlarmCheckState state{};
    std::vector<SYSTEMTIME> ticks;
    RunTicks(clock.record, Dated(2024, 3, 10, 6, 0, 0), Dated(2024, 3, 10, 8, 0, 0), 1, state, sink, &ticks);
    ASSERT_EQ(sink.calls.size(), 1u);
    EXPECT_TRUE(Same(ticks[0], Dated(2024, 3, 10, 7, 0, 0)));
}

TEST(AlarmCheck, FallBackFiresAnAlarmInTheRepeatedHourOnce) {
    TestClock clock(zone_fixtures::Eastern());  // 2024-11-03 02:00 EDT becomes 01:00 EST (06:00 UTC)
    AlarmRecord a = Daily(Dated(2024, 10, 1, 1, 30, 0), 1);
    a.reminder = 10;
    clock.Add(a);
    RecordingSink sink;
    AlarmCheckState state{};
    std::vector<SYSTEMTIME> ticks;
    RunTicks(clock.record, Dated(2024, 11, 3, 4, 30, 0), Dated(2024, 11, 3, 8, 0, 0), 1, state, sink, &ticks);
    ASSERT_EQ(sink.calls.size(), 2u);
    EXPECT_TRUE(sink.calls[0].reminder);
    EXPECT_TRUE(Same(ticks[0], Dated(2024, 11, 3, 5, 20, 0)));  // 01:20 EDT
    EXPECT_FALSE(sink.calls[1].reminder);
    EXPECT_TRUE(Same(ticks[1], Dated(2024, 11, 3, 5, 30, 0)));  // 01:30 EDT, the first pass

    // Missed while not running across the switch: alarm and reminder once
    // each on the next check.
    sink.calls.clear();
    Check(clock, Dated(2024, 11, 3, 4, 0, 0), Dated(2024, 11, 3, 9, 0, 0), sink);
    ASSERT_EQ(sink.calls.size(), 2u);
    EXPECT_FALSE(sink.calls[0].reminder);
    EXPECT_TRUE(Same(sink.calls[0].due, Dated(2024, 11, 3, 1, 30, 0)));
    EXPECT_TRUE(sink.calls[1].reminder);
}

TEST(AlarmCheck, SleepOverTheStartOfTheRepeatedHourStillFiresOnce) {
    TestClock clock(zone_fixtures::Eastern());
    clock.Add(Daily(Dated(2024, 10, 1, 1, 30, 0), 1));
    AlarmRecord reminded = Daily(Dated(2024, 10, 1, 1, 50, 0), 1);
    reminded.reminder = 10;
    clock.Add(reminded);
    RecordingSink sink;
    AlarmCheckState state{};
    std::vector<SYSTEMTIME> ticks;
    // Asleep from 00:50 EDT to 01:20 EST, over the first passes of 01:30,
    // 01:40 (the reminder) and 01:50: all are raised on waking, none again.
    RunTicks(clock.record, Dated(2024, 11, 3, 4, 50, 0), Dated(2024, 11, 3, 6, 20, 0), 5400, state, sink, &ticks);
    RunTicks(clock.record, Dated(2024, 11, 3, 6, 20, 0), Dated(2024, 11, 3, 8, 0, 0), 1, state, sink, &ticks);
    ASSERT_EQ(sink.calls.size(), 3u);
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_TRUE(Same(ticks[0], Dated(2024, 11, 3, 6, 20, 0)));
    EXPECT_TRUE(Same(sink.calls[0].due, Dated(2024, 11, 3, 1, 30, 0)));
    EXPECT_TRUE(Same(sink.calls[1].due, Dated(2024, 11, 3, 1, 50, 0)));
    EXPECT_TRUE(sink.calls[2].reminder);
}

TEST(AlarmCheck, DaylightSavingSwitchedOffKeepsStandardTime) {
    TestClock clock(zone_fixtures::Eastern());
    clock.record.usedaylight = 0;
    clock.Add(Daily(Dated(2024, 10, 1, 1, 30, 0), 1));
    RecordingSink sink;
    AlarmCheckState state{};
    std::vector<SYSTEMTIME> ticks;
    RunTicks(clock.record, Dated(2024, 11, 3, 4, 30, 0), Dated(2024, 11, 3, 8, 0, 0), 5, state, sink, &ticks);
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_TRUE(Same(ticks[0], Dated(2024, 11, 3, 6, 30, 0)));
}

TEST(AlarmCheck, CountdownAlarmsAtTheEndAndBefore) {
    TestClock clock(PlusOne());
    clock.record.kind = kClockTimer | kClockCountdown;
    clock.record.running = 1;
    clock.record.start = TimerMomentFromSystemTime(Dated(2024, 5, 6, 12, 0, 0));  // the end
    AlarmRecord atEnd = Alarm(kAlarmOnce);
    AlarmRecord before = Alarm(kAlarmOnce);
    before.timerOffset = 60;
    before.reminder = 1;
    clock.Add(atEnd);
    clock.Add(before);
    RecordingSink sink;
    AlarmCheckState state{};
    std::vector<SYSTEMTIME> ticks;
    RunTicks(clock.record, Dated(2024, 5, 6, 11, 57, 0), Dated(2024, 5, 6, 11, 59, 54), 1, state, sink, &ticks);
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_TRUE(Same(ticks[0], Dated(2024, 5, 6, 11, 58, 0)));  // reminder of the 11:59 alarm
    EXPECT_TRUE(sink.calls[0].reminder);
    EXPECT_TRUE(Same(ticks[1], Dated(2024, 5, 6, 11, 59, 0)));
    EXPECT_TRUE(state.dueSoon);  // five seconds before 11:59
    state.dueSoon = false;
    RunTicks(clock.record, Dated(2024, 5, 6, 11, 59, 53), Dated(2024, 5, 6, 11, 59, 54), 1, state, sink);
    EXPECT_FALSE(state.dueSoon);
    RunTicks(clock.record, Dated(2024, 5, 6, 11, 59, 54), Dated(2024, 5, 6, 11, 59, 55), 1, state, sink);
    EXPECT_TRUE(state.dueSoon);

    // The countdown ended: the alarm at zero fires once and the flag is cleared.
    clock.record.running = 0;
    TimerJustFinished(clock.record) = 1;
    sink.calls.clear();
    state = StateAt(Dated(2024, 5, 6, 11, 59, 59));
    CheckClockAlarms(clock.record, Dated(2024, 5, 6, 12, 0, 0), state, &sink);
    ASSERT_EQ(sink.calls.size(), 1u);
    EXPECT_EQ(TimerJustFinished(clock.record), 0u);
    // A stopped timer checks nothing.
    sink.calls.clear();
    state = StateAt(Dated(2024, 5, 6, 11, 59, 59));
    CheckClockAlarms(clock.record, Dated(2024, 5, 6, 12, 0, 0), state, &sink);
    EXPECT_TRUE(sink.calls.empty());
}

TEST(AlarmCheck, StopwatchAlarmShowsTheComputersTimeForAPlainTimer) {
    TestClock clock(PlusOne());
    clock.record.kind = kClockTimer;
    clock.record.running = 1;
    clock.record.start = TimerMomentFromSystemTime(Dated(2024, 5, 6, 12, 0, 0));
    AlarmRecord a = Alarm(kAlarmOnce);
    a.timerOffset = 90;
    clock.Add(a);
    RecordingSink sink;
    const SYSTEMTIME now = Dated(2024, 5, 6, 12, 1, 30);
    Check(clock, Dated(2024, 5, 6, 12, 1, 29), now, sink);
    ASSERT_EQ(sink.calls.size(), 1u);
    SYSTEMTIME in = now, local;
    ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &in, &local));
    EXPECT_TRUE(Same(sink.calls[0].due, local));
}

TEST(AlarmCheck, CountdownToADateShowsTheDueTimeInTheClocksZone) {
    TestClock clock(PlusOne());
    clock.record.kind = kClockTimer | kClockCountdown | kClockSetDate;
    clock.record.running = 1;
    clock.record.start = TimerMomentFromSystemTime(Dated(2024, 5, 6, 12, 0, 0));
    AlarmRecord a = Alarm(kAlarmOnce);
    a.timerOffset = 3600;
    clock.Add(a);
    RecordingSink sink;
    Check(clock, Dated(2024, 5, 6, 10, 59, 59), Dated(2024, 5, 6, 11, 0, 0), sink);
    ASSERT_EQ(sink.calls.size(), 1u);
    EXPECT_TRUE(Same(sink.calls[0].due, Dated(2024, 5, 6, 12, 0, 0)));  // 11:00 UTC in UTC+1
    // An offset beyond the whole run is never due.
    clock.alarms[0].timerOffset = UINT32_MAX;
    sink.calls.clear();
    Check(clock, Dated(2000, 1, 1), Dated(2024, 5, 6, 11, 0, 0), sink);
    EXPECT_TRUE(sink.calls.empty());
}

TEST(AlarmCheck, GlobalEntryUsesTheInstalledSinkAndState) {
    TestClock clock(PlusOne());
    clock.Add(Once(Dated(2024, 5, 6, 8, 0, 0)));  // 07:00 UTC
    RecordingSink sink;
    SetAlarmSink(&sink);
    EXPECT_EQ(CurrentAlarmSink(), &sink);
    g_alarmCheck = StateAt(Dated(2024, 5, 6, 6, 59, 59));
    CheckClockAlarms(clock.record, Dated(2024, 5, 6, 7, 0, 0));
    EXPECT_EQ(sink.calls.size(), 1u);

    // Without a sink nothing is called, yet the check still runs on the
    // program's state: five minutes ahead it raises the due-soon flag there.
    SetAlarmSink(nullptr);
    EXPECT_EQ(CurrentAlarmSink(), nullptr);
    g_alarmCheck = StateAt(Dated(2024, 5, 6, 6, 54, 59));
    CheckClockAlarms(clock.record, Dated(2024, 5, 6, 6, 55, 0));
    EXPECT_TRUE(g_alarmCheck.dueSoon);
    g_alarmCheck = StateAt(Dated(2024, 5, 6, 6, 59, 59));
    CheckClockAlarms(clock.record, Dated(2024, 5, 6, 7, 0, 0));
    EXPECT_EQ(sink.calls.size(), 1u);
    g_alarmCheck = AlarmCheckState{};
}
