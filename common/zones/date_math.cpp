#include "common/zones/date_math.h"

namespace {

constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kTicksPerDay = 864000000000;

constexpr int kMonthDays[2][13] = {
    {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

bool TicksToSystemTime(int64_t ticks, SYSTEMTIME* out) {
    if (!out || ticks < 0) return false;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks));
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32);
    return FileTimeToSystemTime(&ft, out) != FALSE;
}

}  // namespace

int64_t DateKey(int year, int month, int day, int hour, int minute, int second) {
    return (static_cast<int64_t>(year) * 512 + month * 32 + day - 33) * 100000 + hour * 3600 + minute * 60 + second;
}

int64_t DateKey(const SYSTEMTIME& t) { return DateKey(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond); }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int month, int year) {
    if (month < 0) return 0;
    return kMonthDays[IsLeapYear(year) ? 1 : 0][month % 13];
}

int64_t DaysSince1601(const SYSTEMTIME& t) {
    FILETIME ft;
    if (!SystemTimeToFileTime(&t, &ft)) return 0;
    uint64_t ticks = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<int64_t>(ticks / kTicksPerDay);
}

int WeekdayOfDayNumber(int64_t day) { return static_cast<int>(((day % 7 + 7) % 7 + 1) % 7); }

bool DaySecondsToSystemTime(int64_t day, int64_t seconds, SYSTEMTIME* out) {
    return TicksToSystemTime((day * 86400 + seconds) * kTicksPerSecond, out);
}

bool AddSecondsToFileTime(const FILETIME& time, int64_t seconds, SYSTEMTIME* out) {
    int64_t ticks = static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    return TicksToSystemTime(ticks + seconds * kTicksPerSecond, out);
}

int NthWeekdayOfMonth(int month, int year, int n, int weekday) {
    if (n < 1 || weekday < 0 || weekday > 6) return 0;
    int days = DaysInMonth(month, year);
    if (days == 0) return 0;
    SYSTEMTIME firstOfMonth{};
    firstOfMonth.wYear = static_cast<WORD>(year);
    firstOfMonth.wMonth = static_cast<WORD>(month);
    firstOfMonth.wDay = 1;
    FILETIME probe;
    if (year < 1601 || year > 30827 || !SystemTimeToFileTime(&firstOfMonth, &probe)) return 0;
    int w1 = WeekdayOfDayNumber(DaysSince1601(firstOfMonth));
    int first = 1 + (weekday - w1 + 7) % 7;
    if (n < 5) {
        int day = first + (n - 1) * 7;
        return day > days ? 0 : day;
    }
    int day = first + 42;
    while (day > days) day -= 7;
    return day;
}

namespace {

void PreviousDay(SYSTEMTIME& t) {
    t.wDayOfWeek = static_cast<WORD>(t.wDayOfWeek == 0 ? 6 : (t.wDayOfWeek - 1) % 7);
    if (t.wDay > 1) {
        --t.wDay;
        return;
    }
    if (t.wMonth <= 1) {
        t.wMonth = 12;
        --t.wYear;
    } else {
        --t.wMonth;
    }
    t.wDay = static_cast<WORD>(DaysInMonth(t.wMonth, t.wYear));
}

void NextDay(SYSTEMTIME& t) {
    t.wDayOfWeek = static_cast<WORD>((t.wDayOfWeek + 1) % 7);
    ++t.wDay;
    if (t.wDay > DaysInMonth(t.wMonth, t.wYear)) {
        t.wDay = 1;
        if (t.wMonth >= 12) {
            t.wMonth = 1;
            ++t.wYear;
        } else {
            ++t.wMonth;
        }
    }
}

}  // namespace

void AddMinutes(SYSTEMTIME& t, int minutes) {
    // Callers move by at most a day, but a longer step must not leave the
    // hour out of range, so whole days are walked one at a time.
    int64_t total = static_cast<int64_t>(t.wHour) * 60 + t.wMinute + minutes;
    while (total < 0) {
        total += 1440;
        PreviousDay(t);
    }
    while (total >= 1440) {
        total -= 1440;
        NextDay(t);
    }
    t.wHour = static_cast<WORD>(total / 60);
    t.wMinute = static_cast<WORD>(total % 60);
}
