#include "tempovia/main/tick_rules.h"

int32_t DayKey(const SYSTEMTIME& t) { return t.wYear * 512 + t.wMonth * 32 + t.wDay - 33; }

bool NewsRefreshDue(const SYSTEMTIME& utc, int32_t& lastDayKey, int32_t& lastMinute) {
    const int32_t day = DayKey(utc);
    const int32_t minute = (utc.wHour * 3600 + utc.wMinute * 60 + utc.wSecond) / 60;
    if (day > lastDayKey) {
        lastDayKey = day;
    } else if (day != lastDayKey || minute - lastMinute < 3) {
        return false;
    }
    lastMinute = minute;
    return true;
}

bool SyncRequestDue(int32_t autosync, int32_t synctype, bool& syncRequested, bool& alarmSoon) {
    if (autosync == 0 || synctype != 3) {
        syncRequested = true;
        return false;
    }
    const bool due = !syncRequested || alarmSoon;
    alarmSoon = false;
    if (due) syncRequested = true;
    return due;
}
