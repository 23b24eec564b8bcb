#include "common/zones/system_time_steps.h"

#include "common/zones/date_math.h"

namespace {

int Sign(int64_t v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }

int64_t DayOrder(const SYSTEMTIME& t) { return static_cast<int64_t>(t.wYear) * 384 + t.wMonth * 32 + t.wDay; }

int NormalWeekday(int w) { return ((w % 7) + 7) % 7; }

}  // namespace

int CompareDays(const SYSTEMTIME& a, const SYSTEMTIME& b) { return Sign(DayOrder(a) - DayOrder(b)); }

int SecondsOfDay(const SYSTEMTIME& t) { return t.wHour * 3600 + t.wMinute * 60 + t.wSecond; }

int CompareTimesOfDay(const SYSTEMTIME& a, const SYSTEMTIME& b) { return Sign(SecondsOfDay(a) - SecondsOfDay(b)); }

int CompareSystemTimes(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    int days = CompareDays(a, b);
    return days != 0 ? days : CompareTimesOfDay(a, b);
}

void StepToPreviousMonthEnd(SYSTEMTIME& t) {
    t.wDayOfWeek = static_cast<WORD>(NormalWeekday(static_cast<int>(t.wDayOfWeek) - static_cast<int>(t.wDay)));
    if (t.wMonth <= 1) {
        t.wMonth = 12;
        --t.wYear;
    } else {
        --t.wMonth;
    }
    t.wDay = static_cast<WORD>(DaysInMonth(t.wMonth, t.wYear));
    t.wHour = 23;
    t.wMinute = 59;
    t.wSecond = 59;
    t.wMilliseconds = 0;
}

bool StepToPreviousDay(SYSTEMTIME& t) {
    if (t.wDay <= 1) return false;
    --t.wDay;
    t.wDayOfWeek = static_cast<WORD>(NormalWeekday(static_cast<int>(t.wDayOfWeek) - 1));
    t.wHour = 23;
    t.wMinute = 59;
    t.wSecond = 59;
    t.wMilliseconds = 0;
    return true;
}

bool IsValidMoment(const SYSTEMTIME& t) {
    FILETIME ft;
    return SystemTimeToFileTime(&t, &ft) != FALSE;
}

bool FixWeekday(SYSTEMTIME& t) {
    if (!IsValidMoment(t)) return false;
    t.wDayOfWeek = static_cast<WORD>(WeekdayOfDayNumber(DaysSince1601(t)));
    return true;
}

bool AddSecondsToSystemTime(const SYSTEMTIME& t, int64_t seconds, SYSTEMTIME& out) {
    FILETIME ft;
    if (!SystemTimeToFileTime(&t, &ft)) return false;
    SYSTEMTIME moved;
    if (!AddSecondsToFileTime(ft, seconds, &moved)) return false;
    out = moved;
    return true;
}
