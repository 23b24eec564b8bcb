#include "common/settings/time_format_weeks.h"

#include "common/records/clock_table.h"
#include "common/zones/date_math.h"

int WeekNumberFrom(const SYSTEMTIME& date, int firstDay) {
    firstDay = ((firstDay % 7) + 7) % 7;
    SYSTEMTIME day{};
    day.wYear = date.wYear;
    day.wMonth = date.wMonth;
    day.wDay = date.wDay;
    int64_t n = DaysSince1601(day);
    if (n <= 0) return 0;
    int mondayBased = (WeekdayOfDayNumber(n) + 6) % 7;
    int64_t weekStart = n - (mondayBased - firstDay + 7) % 7;
    // The fourth day of the week decides the year the week belongs to.
    int64_t fourth = weekStart + 3;
    SYSTEMTIME t{};
    if (!DaySecondsToSystemTime(fourth, 0, &t)) return 0;
    SYSTEMTIME jan1{};
    jan1.wYear = t.wYear;
    jan1.wMonth = 1;
    jan1.wDay = 1;
    return static_cast<int>((fourth - DaysSince1601(jan1)) / 7 + 1);
}

int IsoWeekNumber(const SYSTEMTIME& date) { return WeekNumberFrom(date, 0); }

int GetFirstDayOfWeek() {
    wchar_t text[4] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, text, 4) == 0) return 0;
    int day = text[0] - L'0';
    return day >= 0 && day <= 6 ? day : 0;
}

int LocaleWeekNumber(const SYSTEMTIME& date) { return WeekNumberFrom(date, GetFirstDayOfWeek()); }

int WeekNumber(const SYSTEMTIME& date) {
    return g_settings.iso_weeks ? IsoWeekNumber(date) : LocaleWeekNumber(date);
}
