// The main program's side of the alarms: the one-second tick checks each
// clock through the alarm check, which fires the alarm actions and fills the
// alarm log. DestroyAlarmWindows and RetitleAlarmLog are the log's own.
#include "common/settings/clock_record.h"
#include "common/time/alarm_action_sink.h"
#include "common/time/alarm_log.h"
#include "common/time/alarm_schedule_check.h"
#include "common/time/alarm_templates.h"
#include "common/time/clock_table.h"
#include "tempovia/main/app_state.h"
#include "tempovia/main/build_date.h"
#include "tempovia/main/pending_parts.h"

namespace {

// The tick evaluates the clocks with alarms in ascending order; after the
// last of them every clock has been checked up to the tick's moment.
bool IsLastAlarmClock(int index) {
    for (int i = index + 1; g_clocks && i < g_clockCount; ++i) {
        if (g_clocks[i].alarmsEnabled) return false;
    }
    return true;
}

}  // namespace

void EvaluateClockAlarms(int index, const SYSTEMTIME& fromUtc, const SYSTEMTIME& toUtc, bool& alarmSoon) {
    if (!g_clocks || index < 0 || index >= g_clockCount) return;
    // The first tick hands no "from": the check then starts where the log
    // window's creation put it (the stored last check, or the start time).
    if (fromUtc.wYear != 0) g_alarmCheck.previousCheck = fromUtc;
    g_alarmCheck.checkedOnce = true;
    CheckClockAlarms(g_clocks[index], toUtc);
    if (g_alarmCheck.dueSoon) {
        alarmSoon = true;
        g_alarmCheck.dueSoon = false;
    }
    if (IsLastAlarmClock(index)) g_alarmCheck.previousCheck = toUtc;
}

void WriteLastAlarmCheck() {
    // Ticks without a clock with alarms still move the check on.
    if (g_app.tickHasRun && g_app.lastTickTime.wYear != 0) {
        g_alarmCheck.previousCheck = g_app.lastTickTime;
        g_alarmCheck.checkedOnce = true;
    }
    if (g_alarmCheck.checkedOnce) SaveLastAlarmCheck();
}

void CreateAlarmLog(HWND) {
    MessageTokenProgram program = CurrentMessageTokenProgram();
    GetBuildDate(program.buildUtc);
    SetMessageTokenProgram(program);
    SetAlarmSink(&AlarmActions());
    CreateAlarmLogWindow();
}

HWND AlarmLogWindow() { return AlarmLogHandle(); }
