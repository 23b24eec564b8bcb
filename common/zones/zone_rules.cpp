#include "common/zones/zone_rules.h"

#include "common/zones/date_math.h"

int TransitionDayOfMonth(const SYSTEMTIME& date, const SYSTEMTIME& rule) {
    int k = ((date.wDay - date.wDayOfWeek) % 7 + 7) % 7;
    int e = rule.wDayOfWeek % 7 + k;
    if (e > 7) e -= 7;
    int day = e == 0 ? 7 : e;
    int days = DaysInMonth(date.wMonth, date.wYear);
    for (int i = 1; i < rule.wDay && day + 7 <= days; ++i) day += 7;
    return day;
}

int ClassifyTransitionDate(const SYSTEMTIME& date, int week) {
    if (date.wYear != 0) return kTransitionInvalid;
    if (week != 0) {
        bool weekOk = week >= -1 && week <= 5;
        bool dayOk = date.wDay >= 1 && date.wDay <= 5;
        return weekOk && dayOk ? kTransitionRecurring : kTransitionInvalid;
    }
    return date.wMonth == 0 ? kTransitionNone : kTransitionInvalid;
}

bool HasValidDstRule(const ZoneRecord& zone) {
    int s = ClassifyTransitionDate(zone.StandardDate, zone.standardWeek);
    int d = ClassifyTransitionDate(zone.DaylightDate, zone.daylightWeek);
    return s == d && s != kTransitionInvalid;
}

namespace {

int64_t TransitionKey(int year, SYSTEMTIME date, int week) {
    if (ClassifyTransitionDate(date, week) != kTransitionInvalid) {
        date.wYear = static_cast<WORD>(year);
        date.wDay = static_cast<WORD>(NthWeekdayOfMonth(date.wMonth, year, date.wDay, date.wDayOfWeek));
    } else if (date.wYear == 0) {
        date.wYear = static_cast<WORD>(year);
    }
    return DateKey(date);
}

bool HasYear(const ZoneRecord& zone) { return zone.StandardDate.wYear != 0 || zone.DaylightDate.wYear != 0; }

// Moves a date key by a number of minutes through the calendar. Adding the
// seconds to the key itself would leave a switch near midnight on the wrong
// day: 00:30 less an hour is not 23:30 of the day before but a key that sorts
// after every moment of that day.
int64_t ShiftKey(int64_t key, int minutes) {
    if (minutes == 0 || key < 0) return key + static_cast<int64_t>(minutes) * 60;
    const int64_t day = key / 100000 + 33;
    const int64_t seconds = key % 100000;
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(day / 512);
    t.wMonth = static_cast<WORD>(day % 512 / 32);
    t.wDay = static_cast<WORD>(day % 32);
    t.wHour = static_cast<WORD>(seconds / 3600);
    t.wMinute = static_cast<WORD>(seconds / 60 % 60);
    t.wSecond = static_cast<WORD>(seconds % 60);
    if (t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 || t.wHour > 23) {
        return key + static_cast<int64_t>(minutes) * 60;
    }
    AddMinutes(t, minutes);
    return DateKey(t);
}

}  // namespace

bool GetDstTransitions(int year, const ZoneRecord& zone, int64_t* standardKey, int64_t* daylightKey) {
    if (zone.StandardDate.wMonth == 0 && zone.DaylightDate.wMonth == 0) return false;
    int64_t s = TransitionKey(year, zone.StandardDate, zone.standardWeek);
    int64_t d = TransitionKey(year, zone.DaylightDate, zone.daylightWeek);
    if (standardKey) *standardKey = s;
    if (daylightKey) *daylightKey = d;
    return true;
}

int GetDstState(const ZoneRecord& zone, const SYSTEMTIME& t) {
    int64_t standardKey = 0, daylightKey = 0;
    if (!GetDstTransitions(t.wYear, zone, &standardKey, &daylightKey)) return kDstNone;
    // The end of daylight time is given in daylight time and its start in
    // standard time; both are moved to standard time.
    uint64_t s = static_cast<uint64_t>(ShiftKey(standardKey, zone.DaylightBias));
    uint64_t d = static_cast<uint64_t>(ShiftKey(daylightKey, zone.StandardBias));
    uint64_t a = static_cast<uint64_t>(DateKey(t));

    if (!HasYear(zone)) {
        if (s > d) return d <= a && a < s ? kDstDaylight : kDstStandard;
        return a < s || a >= d ? kDstDaylight : kDstStandard;
    }
    if (s > d) {
        if (a < d) return kDstNone;
        return a < s ? kDstDaylight : kDstStandard;
    }
    if (s < d) {
        if (a < s) return kDstNone;
        return a < d ? kDstStandard : kDstDaylight;
    }
    return kDstNone;
}

bool GetTransitionOnDay(const SYSTEMTIME& t, const ZoneRecord& zone, int* minute, int* step) {
    const SYSTEMTIME& sd = zone.StandardDate;
    const SYSTEMTIME& dd = zone.DaylightDate;
    if (sd.wMonth == 0 || dd.wMonth == 0) return false;

    bool startDay = false, endDay = false;
    if (HasValidDstRule(zone)) {
        startDay = t.wMonth == dd.wMonth && t.wDay == TransitionDayOfMonth(t, dd);
        endDay = t.wMonth == sd.wMonth && t.wDay == TransitionDayOfMonth(t, sd);
    } else if (HasYear(zone)) {
        startDay = dd.wYear == t.wYear && dd.wMonth == t.wMonth && dd.wDay == t.wDay;
        endDay = sd.wYear == t.wYear && sd.wMonth == t.wMonth && sd.wDay == t.wDay;
    } else {
        startDay = dd.wMonth == t.wMonth && dd.wDay == t.wDay;
        endDay = sd.wMonth == t.wMonth && sd.wDay == t.wDay;
    }

    int m = 0, s = 0;
    if (startDay) {
        m = dd.wHour * 60 + dd.wMinute;
        s = -zone.DaylightBias;
    } else if (endDay) {
        m = sd.wHour * 60 + sd.wMinute;
        s = zone.DaylightBias;
    } else {
        return false;
    }
    if (minute) *minute = m;
    if (step) *step = s;
    return true;
}

int GetTransitionWindow(const SYSTEMTIME& t, const ZoneRecord& zone, int* start, int* end) {
    int minute = 0, step = 0;
    if (!GetTransitionOnDay(t, zone, &minute, &step)) {
        if (start) *start = 0;
        if (end) *end = 0;
        return -1;
    }
    if (step <= 0) {
        if (start) *start = minute + step;
        if (end) *end = minute;
        return 0;
    }
    if (start) *start = minute;
    if (end) *end = minute + step;
    return 1;
}
