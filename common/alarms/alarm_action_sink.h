// Where the alarm check sends what falls due in the programs: alarms perform
// their actions, reminders add their rows to the alarm log.
#pragma once

#include "common/alarms/alarm_schedule_check.h"

class AlarmActionSink final : public AlarmSink {
public:
    void OnAlarmDue(const AlarmRecord& alarm, const SYSTEMTIME& due, ClockRecord* clock) override;
    void OnReminderDue(ClockRecord* clock, const AlarmRecord& alarm, const SYSTEMTIME& due) override;
};

// The one sink of the program, for SetAlarmSink.
AlarmActionSink& AlarmActions();
