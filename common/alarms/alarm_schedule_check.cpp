#include "common/alarms/alarm_schedule_check.h"

#include <cstdint>

#include "common/zones/clock_time.h"
#include "common/alarms/alarm_schedule.h"
#include "common/zones/system_time_steps.h"
#include "common/settings/timer_state.h"
#include "common/zones/zone_time.h"

AlarmCheckState g_alarmCheck = {};

namespace {

AlarmSink* g_sink = nullptr;

constexpr int64_t kSecondsPerMinute = 60;

// The due moment of a timer alarm as the clock shows it; for a plain timer,
// or when the conversion fails, the computer's local time now.
SYSTEMTIME TimerDueInClockTime(const ClockRecord& clock, uint64_t due, const SYSTEMTIME& nowUtc) {
    SYSTEMTIME shown;
    if (!ClockShowsUtc(clock)) {
        FILETIME ft;
        ft.dwLowDateTime = static_cast<DWORD>(due);
        ft.dwHighDateTime = static_cast<DWORD>(due >> 32);
        SYSTEMTIME utc;
        if (FileTimeToSystemTime(&ft, &utc) && UtcToClockTime(utc, &shown, clock)) return shown;
    }
    SYSTEMTIME in = nowUtc;
    if (SystemTimeToTzSpecificLocalTime(nullptr, &in, &shown)) return shown;
    return nowUtc;
}

// prev < moment <= now, on timer moments.
bool InSpan(uint64_t prev, uint64_t moment, uint64_t now) { return prev < moment && moment <= now; }

void CheckTimerAlarms(ClockRecord& clock, const SYSTEMTIME& nowUtc, AlarmCheckState& state, AlarmSink* sink) {
    TimerJustFinished(clock) = 0;
    const uint64_t now = TimerMomentFromSystemTime(nowUtc);
    const uint64_t prev = TimerMomentFromSystemTime(state.previousCheck);
    if (now == 0 || prev == 0) return;
    const bool countdown = IsCountdown(clock);
    for (int i = 0; clock.alarms && i < clock.alarmCount; ++i) {
        // A copy: an action may reload the settings and with them the list.
        const AlarmRecord alarm = clock.alarms[i];
        if (!alarm.enabled) continue;
        const uint64_t offset = static_cast<uint64_t>(alarm.timerOffset) * kTimerUnitsPerSecond;
        uint64_t due = 0;
        if (countdown) {
            if (clock.start < offset) continue;
            due = clock.start - offset;
        } else {
            due = clock.start + offset;
        }
        if (InSpan(prev, due, now) && sink) sink->OnAlarmDue(alarm, TimerDueInClockTime(clock, due, nowUtc), &clock);
        const uint64_t soon = kTimerAlarmSoonSeconds * kTimerUnitsPerSecond;
        if (due >= soon && InSpan(prev, due - soon, now)) state.dueSoon = true;
        if (alarm.reminder > 0) {
            const uint64_t early = static_cast<uint64_t>(alarm.reminder) * kSecondsPerMinute * kTimerUnitsPerSecond;
            if (due >= early && InSpan(prev, due - early, now) && sink) {
                sink->OnReminderDue(&clock, alarm, TimerDueInClockTime(clock, due, nowUtc));
            }
        }
    }
}

// The last due time of the alarm in (prev + shift, now + shift], local times
// of the clock moved by `shift` seconds.
bool DueInShiftedSpan(const AlarmRecord& alarm, const SYSTEMTIME& prev, const SYSTEMTIME& now, int64_t shift,
                      SYSTEMTIME& due) {
    SYSTEMTIME prevShifted, nowShifted;
    if (!AddSecondsToSystemTime(prev, shift, prevShifted) || !AddSecondsToSystemTime(now, shift, nowShifted)) return false;
    return GetLastDueTime(alarm, prevShifted, nowShifted, due) && CompareSystemTimes(due, prevShifted) > 0;
}

void CheckClockTimeAlarms(ClockRecord& clock, const SYSTEMTIME& nowUtc, AlarmCheckState& state, AlarmSink* sink) {
    SYSTEMTIME now, prev;
    if (!UtcToClockTime(nowUtc, &now, clock) || !UtcToClockTime(state.previousCheck, &prev, clock)) return;
    const SYSTEMTIME prevUtc = state.previousCheck;
    const SYSTEMTIME reached = LatestClockTimeShown(prevUtc, nowUtc, now, clock);
    for (int i = 0; clock.alarms && i < clock.alarmCount; ++i) {
        const AlarmRecord alarm = clock.alarms[i];
        if (!alarm.enabled) continue;

        SYSTEMTIME due;
        bool fired = false;
        if (GetLastDueTime(alarm, prev, reached, due) && CompareSystemTimes(due, prev) > 0 &&
            !PassedInFirstPass(due, prevUtc, clock)) {
            fired = true;
            if (sink) sink->OnAlarmDue(alarm, due, &clock);
        }

        SYSTEMTIME ahead;
        if (!state.dueSoon && DueInShiftedSpan(alarm, prev, now, kAlarmSoonSeconds, ahead) &&
            (!fired || CompareSystemTimes(ahead, due) > 0)) {
            state.dueSoon = true;
        }

        if (alarm.reminder > 0) {
            const int64_t early = static_cast<int64_t>(alarm.reminder) * kSecondsPerMinute;
            SYSTEMTIME remindedDue, remindAt;
            if (DueInShiftedSpan(alarm, prev, reached, early, remindedDue) &&
                AddSecondsToSystemTime(remindedDue, -early, remindAt) && !PassedInFirstPass(remindAt, prevUtc, clock) &&
                sink) {
                sink->OnReminderDue(&clock, alarm, remindedDue);
            }
        }
    }
}

}  // namespace

void SetAlarmSink(AlarmSink* sink) { g_sink = sink; }

AlarmSink* CurrentAlarmSink() { return g_sink; }

void CheckClockAlarms(ClockRecord& clock, const SYSTEMTIME& nowUtc) {
    CheckClockAlarms(clock, nowUtc, g_alarmCheck, g_sink);
}

void CheckClockAlarms(ClockRecord& clock, const SYSTEMTIME& nowUtc, AlarmCheckState& state, AlarmSink* sink) {
    if (!clock.alarms || clock.alarmCount <= 0 || !clock.alarmsEnabled) return;
    if (IsTimerClock(clock)) {
        if (!clock.running && !TimerJustFinished(clock)) return;
        CheckTimerAlarms(clock, nowUtc, state, sink);
        return;
    }
    if (!IsValidMoment(state.previousCheck)) return;
    CheckClockTimeAlarms(clock, nowUtc, state, sink);
}
