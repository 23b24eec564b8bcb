#include "settings/new_alarm_time.h"

#include "common/settings/alarm_sections.h"
#include "common/zones/zone_time.h"

void SetNewAlarmTime(AlarmRecord& alarm, const ClockRecord& clock, const SYSTEMTIME& utc) {
    if (!IsTimerClock(clock)) {
        SYSTEMTIME local = {};
        if (UtcToClockTime(utc, &local, clock)) {
            local.wMilliseconds = 0;
            alarm.onceTime = local;
        }
        return;
    }
    switch (clock.kind & (kClockTimer | kClockCountdown | kClockSetDate)) {
        case kClockTimer:
            alarm.timerOffset = kNewStopwatchAlarmSeconds;
            return;
        case kClockTimer | kClockCountdown:
            alarm.timerOffset = 0;
            return;
        case kClockTimer | kClockSetDate:
            alarm.onceTime = clock.targetTime;
            return;
        default:
            alarm.onceTime = clock.targetTime;
            SetAlarmTimerOffset(clock.targetTime, clock, alarm);
            return;
    }
}
