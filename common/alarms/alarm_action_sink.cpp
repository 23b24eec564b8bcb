#include "common/alarms/alarm_action_sink.h"

#include "common/alarms/alarm_actions.h"
#include "common/alarms/alarm_log.h"

void AlarmActionSink::OnAlarmDue(const AlarmRecord& alarm, const SYSTEMTIME& due, ClockRecord* clock) {
    PerformAlarmAction(alarm, due, clock);
}

void AlarmActionSink::OnReminderDue(ClockRecord* clock, const AlarmRecord& alarm, const SYSTEMTIME& due) {
    AddAlarmLogRow(clock, alarm, due, true);
}

AlarmActionSink& AlarmActions() {
    static AlarmActionSink sink;
    return sink;
}
