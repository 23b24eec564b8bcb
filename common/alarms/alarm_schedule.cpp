#include "common/alarms/alarm_schedule.h"

#include <cstdint>

#include "common/zones/system_time_steps.h"
#include "common/alarms/cron_match.h"
#include "common/zones/date_math.h"

namespace {

// Searches walk back no further than the first year FILETIME can hold.
constexpr int kFirstYear = 1601;

bool IsWorkingDay(int weekday) { return weekday >= 1 && weekday <= 5; }

int64_t DayNumberOrZero(const SYSTEMTIME& t) { return IsValidMoment(t) ? DaysSince1601(t) : 0; }

int64_t MonthIndex(int64_t year, int64_t month) { return year * 12 + month - 1; }

void SetTimeOfDay(SYSTEMTIME& t, uint32_t seconds) {
    t.wHour = static_cast<WORD>(seconds / 3600 % 24);
    t.wMinute = static_cast<WORD>(seconds / 60 % 60);
    t.wSecond = static_cast<WORD>(seconds % 60);
    t.wMilliseconds = 0;
}

// Day of a fixed or n-th-weekday rule in the month; 0 when the month has no such day.
int RuleDay(bool byWeekday, uint32_t day, uint32_t which, uint32_t weekday, int month, int year) {
    if (byWeekday) {
        if (which > 5) which = 5;  // any n past the fifth means the last, as for week 5
        return NthWeekdayOfMonth(month, year, static_cast<int>(which), static_cast<int>(weekday));
    }
    return day >= 1 && static_cast<int>(day) <= DaysInMonth(month, year) ? static_cast<int>(day) : 0;
}

bool ReachedRuleTime(const SYSTEMTIME& t, int day, uint32_t seconds) {
    return static_cast<int64_t>(t.wDay) * 86400 + SecondsOfDay(t) >= static_cast<int64_t>(day) * 86400 + seconds;
}

bool LastOnce(const AlarmRecord& alarm, const SYSTEMTIME& t, SYSTEMTIME& out) {
    SYSTEMTIME once = alarm.onceTime;
    if (!FixWeekday(once) || CompareSystemTimes(once, t) > 0) return false;
    once.wMilliseconds = 0;
    out = once;
    return true;
}

bool LastDaily(const AlarmRecord& alarm, const SYSTEMTIME& lower, const SYSTEMTIME& t, SYSTEMTIME& out) {
    const SYSTEMTIME& start = alarm.dailyStart;
    if (!IsValidMoment(start) || CompareDays(start, t) > 0) return false;
    const int l = SecondsOfDay(start);
    const int64_t f = DaysSince1601(start);
    const int64_t g = DaysSince1601(t);
    const bool reachedToday = SecondsOfDay(t) >= l;
    int64_t n = 0;
    if (alarm.dailyInterval < 1) {
        const int64_t lowest = DayNumberOrZero(lower);
        bool found = false;
        for (int64_t i = g; i >= lowest && i >= f; --i) {
            if (IsWorkingDay(WeekdayOfDayNumber(i)) && (i < g || reachedToday)) {
                n = i;
                found = true;
                break;
            }
        }
        if (!found) return false;
    } else {
        const int64_t every = alarm.dailyInterval;
        n = f + every * ((g - f) / every);
        if (n == g && !reachedToday) n -= every;
        if (n < f) return false;
    }
    return DaySecondsToSystemTime(n, l, &out);
}

bool LastWeekly(const AlarmRecord& alarm, const SYSTEMTIME& lower, const SYSTEMTIME& t, SYSTEMTIME& out) {
    const uint32_t mask = alarm.weekdayMask & 0x7F;
    const SYSTEMTIME& start = alarm.weeklyStart;
    if (!mask || !IsValidMoment(start)) return false;
    const int startDay = CompareDays(start, t);
    if (startDay > 0 || (startDay == 0 && CompareTimesOfDay(t, start) < 0)) return false;
    const int h = SecondsOfDay(start);
    const int64_t every = alarm.weeklyInterval < 1 ? 1 : alarm.weeklyInterval;
    const int64_t f = DaysSince1601(start);
    const int64_t r = f - WeekdayOfDayNumber(f);
    const int64_t g = DaysSince1601(t);
    const int64_t lowest = DayNumberOrZero(lower);
    const bool reachedToday = SecondsOfDay(t) >= h;
    for (int64_t i = g; i >= lowest && i >= f;) {
        const int64_t w = (i - r) / 7;
        if (w % every != 0) {
            // The Saturday of the last active week; always before i.
            i = r + 7 * every * (w / every) + 6;
            continue;
        }
        if ((mask & (1u << WeekdayOfDayNumber(i))) && (i < g || reachedToday)) return DaySecondsToSystemTime(i, h, &out);
        --i;
    }
    return false;
}

bool LastMonthly(const AlarmRecord& alarm, const SYSTEMTIME& lower, const SYSTEMTIME& t, SYSTEMTIME& out) {
    const int64_t every = alarm.monthlyInterval < 1 ? 1 : alarm.monthlyInterval;
    const int64_t first = MonthIndex(alarm.monthlyStartYear, alarm.monthlyStartMonth);
    int64_t month = MonthIndex(t.wYear, t.wMonth);
    if (month < first) return false;
    const int64_t lowest = MonthIndex(lower.wYear, lower.wMonth);
    SYSTEMTIME c = t;
    int day = 0;
    for (; month >= lowest && month >= first && c.wYear >= kFirstYear; --month, StepToPreviousMonthEnd(c)) {
        if ((month - first) % every != 0) continue;
        day = RuleDay(alarm.monthlyByWeekday != 0, alarm.monthlyDay, alarm.monthlyWhich, alarm.monthlyWeekday, c.wMonth,
                      c.wYear);
        if (day != 0 && ReachedRuleTime(c, day, alarm.monthlyTime)) break;
        day = 0;
    }
    if (day == 0) return false;
    c.wDayOfWeek = static_cast<WORD>(((c.wDayOfWeek + day - c.wDay) % 7 + 7) % 7);
    c.wDay = static_cast<WORD>(day);
    SetTimeOfDay(c, alarm.monthlyTime);
    out = c;
    return true;
}

bool LastYearly(const AlarmRecord& alarm, const SYSTEMTIME& lower, const SYSTEMTIME& t, SYSTEMTIME& out) {
    if (alarm.yearlyMonth < 1 || alarm.yearlyMonth > 12) return false;
    SYSTEMTIME c = t;
    while (c.wMonth != alarm.yearlyMonth) {
        if (c.wYear < lower.wYear || c.wYear <= kFirstYear) return false;
        StepToPreviousMonthEnd(c);
    }
    const int month = static_cast<int>(alarm.yearlyMonth);
    for (;;) {
        int day = RuleDay(alarm.yearlyByWeekday != 0, alarm.yearlyDay, alarm.yearlyWhich, alarm.yearlyWeekday, month,
                          c.wYear);
        if (day != 0 && ReachedRuleTime(c, day, alarm.yearlyTime)) {
            c.wDay = static_cast<WORD>(day);
            SetTimeOfDay(c, alarm.yearlyTime);
            if (!FixWeekday(c)) return false;
            out = c;
            return true;
        }
        if (c.wYear <= kFirstYear) return false;
        --c.wYear;
        c.wDay = static_cast<WORD>(DaysInMonth(month, c.wYear));
        c.wHour = 23;
        c.wMinute = 59;
        c.wSecond = 59;
        c.wMilliseconds = 0;
        if (CompareSystemTimes(c, lower) <= 0) return false;
    }
}

bool LastCron(const AlarmRecord& alarm, const SYSTEMTIME& lower, const SYSTEMTIME& t, SYSTEMTIME& out) {
    SYSTEMTIME c = t;
    if (!MatchCronSchedule(alarm.cron, lower, c)) return false;
    c.wSecond = 0;
    c.wMilliseconds = 0;
    out = c;
    return true;
}

}  // namespace

bool GetLastDueTime(const AlarmRecord& alarm, const SYSTEMTIME& lower, const SYSTEMTIME& t, SYSTEMTIME& out) {
    if (!alarm.enabled) return false;
    // Weekdays of the moment are trusted by the month walks; take them from the date.
    SYSTEMTIME now = t;
    if (!FixWeekday(now)) return false;
    switch (alarm.type) {
        case kAlarmOnce: return LastOnce(alarm, now, out);
        case kAlarmDaily: return LastDaily(alarm, lower, now, out);
        case kAlarmWeekly: return LastWeekly(alarm, lower, now, out);
        case kAlarmMonthly: return LastMonthly(alarm, lower, now, out);
        case kAlarmYearly: return LastYearly(alarm, lower, now, out);
        case kAlarmCron: return LastCron(alarm, lower, now, out);
        default: return false;
    }
}
