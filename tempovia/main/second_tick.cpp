// The once-a-second work of the main window.
#include "common/records/clock_record.h"
#include "common/records/protocol.h"
#include "common/alarms/alarm_schedule_check.h"
#include "common/records/clock_table.h"
#include "common/platform/sync_service_notify.h"
#include "tempovia/main/app_state.h"
#include "tempovia/main/data_services.h"
#include "tempovia/main/main_window.h"
#include "tempovia/main/tick_rules.h"
#include "tempovia/news/rss_download.h"

namespace {
// Bit 1 of the run flags switches the news schedule off.
constexpr uint32_t kRunFlagNoNews = 0x2;

// The tick evaluates the clocks with alarms in ascending order; after the
// last of them every clock has been checked up to the tick's moment.
bool IsLastAlarmClock(int index) {
    for (int i = index + 1; g_clocks && i < g_clockCount; ++i) {
        if (g_clocks[i].alarmsEnabled) return false;
    }
    return true;
}

// Fires the alarms of clock `index` whose moments lie in (from, to]; sets
// alarmSoon when one is due within the sync lead time.
void EvaluateClockAlarms(int index, const SYSTEMTIME& fromUtc, const SYSTEMTIME& toUtc, bool& alarmSoon) {
    // The first tick hands no "from": the check then starts where the start
    // of the alarm check put it (the stored last check, or the start time).
    if (fromUtc.wYear != 0) g_alarmCheck.previousCheck = fromUtc;
    g_alarmCheck.checkedOnce = true;
    CheckClockAlarms(g_clocks[index], toUtc);
    if (g_alarmCheck.dueSoon) {
        alarmSoon = true;
        g_alarmCheck.dueSoon = false;
    }
    if (IsLastAlarmClock(index)) g_alarmCheck.previousCheck = toUtc;
}

}  // namespace

void OnSecondTick(HWND mainWindow) {
    SYSTEMTIME now = {};
    GetSystemTime(&now);

    bool changed = false;
    if (now.wYear < g_app.lastYear) changed = RestorePristineZones() || changed;
    g_app.lastYear = now.wYear;
    if (ApplyDueZoneChanges(now)) changed = true;
    if (changed && g_app.trayClock) PostMessageW(mainWindow, MSG_PUSH_TO_TRAY, 0, 0);

    for (int i = 0; g_clocks && i < g_clockCount; ++i) {
        if ((g_clocks[i].kind & kClockTimer) && !g_clocks[i].on_desktop) AdvanceTimerClock(i, now);
    }

    // The first tick hands a zero "from" time: alarm evaluation then starts at
    // the last check stored in the settings.
    g_app.tickHasRun = true;
    for (int i = 0; g_clocks && i < g_clockCount; ++i) {
        if (g_clocks[i].alarmsEnabled) EvaluateClockAlarms(i, g_app.lastTickTime, now, g_app.alarmSoon);
    }
    g_app.lastTickTime = now;
    g_app.lastTick = GetTickCount();

    if (SyncRequestDue(g_settings.autosync, g_settings.synctype, g_app.syncRequested, g_app.alarmSoon)) {
        NotifySyncService(SYNC_CONTROL_SYNC_NOW);
    }

    if (!(g_settings.runFlags & kRunFlagNoNews) && NewsRefreshDue(now, g_app.newsDayKey, g_app.newsMinute)) {
        RssRefresh(true, OnRssDownloadProgress);
    }
}
