// The once-a-second alarm check of the main program: for one clock, the
// alarms and reminders that fell due since the previous check.
#pragma once

#include <windows.h>

#include "common/records/alarm_record.h"
#include "common/records/clock_record.h"

// What a due alarm or reminder does. The main program installs its alarm
// actions and log window here; tests install a recorder.
class AlarmSink {
public:
    virtual ~AlarmSink() = default;
    // The alarm fell due at `due` (the clock's time): perform its action.
    virtual void OnAlarmDue(const AlarmRecord& alarm, const SYSTEMTIME& due, ClockRecord* clock) = 0;
    // The reminder of an alarm due at `due` (the clock's time) has come: add
    // its row to the alarm log.
    virtual void OnReminderDue(ClockRecord* clock, const AlarmRecord& alarm, const SYSTEMTIME& due) = 0;
};

// State of the alarm check, owned by the GUI thread.
struct AlarmCheckState {
    // UTC moment up to which alarms have been handled. BeginAlarmCheck sets
    // it to the current time, then to `lastalarmcheck` when that holds a
    // valid moment; the tick sets it to its own time after checking
    // every clock. While it is not a valid moment nothing fires.
    SYSTEMTIME previousCheck;
    // An alarm falls due within the next 300 seconds; read and cleared by the tick.
    bool dueSoon;
    // The tick has checked at least once; `lastalarmcheck` is saved only then.
    bool checkedOnce;
};

extern AlarmCheckState g_alarmCheck;

// Seconds of look-ahead for the due-soon flag, and of the early warning
// before a timer's alarm.
inline constexpr int kAlarmSoonSeconds = 300;
inline constexpr int kTimerAlarmSoonSeconds = 5;

// The sink CheckClockAlarms reports to; null (the default) drops every call.
void SetAlarmSink(AlarmSink* sink);
AlarmSink* CurrentAlarmSink();

// Fires the alarms and reminders of one clock that fell due after
// g_alarmCheck.previousCheck and not later than nowUtc, and sets
// g_alarmCheck.dueSoon when one is near. The caller moves previousCheck to
// nowUtc once every clock has been checked.
void CheckClockAlarms(ClockRecord& clock, const SYSTEMTIME& nowUtc);
// The same on a given state and sink.
void CheckClockAlarms(ClockRecord& clock, const SYSTEMTIME& nowUtc, AlarmCheckState& state, AlarmSink* sink);
