// The alarm page's work on the record alone: reminder texts, values carried
// between schedule kinds, fresh values, and the text that fits an action.
#include <cwchar>
#include <cwctype>
#include <iterator>

#include "common/settings/localisation.h"
#include "common/zones/date_math.h"
#include "common/platform/text_bounds.h"
#include "settings/page_alarm.h"

namespace {

// A unit format comes from a language file, so it is used only when every
// conversion in it takes an int: anything else would read past the two
// numbers it is given.
bool IsIntFormat(const wchar_t* format) {
    for (const wchar_t* p = format; *p; ++p) {
        if (*p != L'%') continue;
        ++p;
        if (*p == L'%') continue;
        while (*p == L'-' || *p == L'+' || *p == L' ' || *p == L'0' || *p == L'#') ++p;
        while (iswdigit(*p)) ++p;
        if (*p != L'd' && *p != L'i' && *p != L'u') return false;
    }
    return true;
}

void AppendUnit(std::wstring& out, UINT id, int n) {
    if (n == 0) return;
    wchar_t format[kReminderUnitChars + 1];
    Language().LoadUiString(id, format, static_cast<int>(std::size(format)));
    wchar_t part[64];
    if (!IsIntFormat(format)) {
        swprintf(part, std::size(part), L"%d", n);
    } else {
        swprintf(part, std::size(part), format, n, n);
    }
    if (!out.empty()) out += L' ';
    out += part;
}

unsigned SecondsOfDay(const SYSTEMTIME& t) { return t.wHour * 3600u + t.wMinute * 60u + t.wSecond; }

void SetTimeOfDay(SYSTEMTIME& t, unsigned seconds) {
    seconds %= 86400;
    t.wHour = static_cast<WORD>(seconds / 3600);
    t.wMinute = static_cast<WORD>(seconds / 60 % 60);
    t.wSecond = static_cast<WORD>(seconds % 60);
}

// A day carried from the monthly or yearly kind (up to 31) may not exist in
// the month of a date; the date pickers refuse such a date, so the day is
// lowered to the month's last and the weekday follows the date.
void Normalise(SYSTEMTIME& t) {
    if (t.wMonth < 1 || t.wMonth > 12) return;
    const int days = DaysInMonth(t.wMonth, t.wYear);
    if (t.wDay > days) t.wDay = static_cast<WORD>(days);
    if (t.wDay < 1) t.wDay = 1;
    const int64_t day = DaysSince1601(t);
    if (day > 0) t.wDayOfWeek = static_cast<WORD>(WeekdayOfDayNumber(day));
}

void CarryInto(SYSTEMTIME& t, int part, unsigned value) {
    switch (part) {
        case 0: SetTimeOfDay(t, value); break;
        case 1: t.wDay = static_cast<WORD>(value); break;
        case 2: t.wMonth = static_cast<WORD>(value); break;
        default: t.wYear = static_cast<WORD>(value); break;
    }
}

// The day, month, year or time (part 3, 2, 1... as CarryInto) into all three
// dated kinds.
void CarryIntoDated(AlarmRecord& a, int part, unsigned value) {
    CarryInto(a.onceTime, part, value);
    CarryInto(a.dailyStart, part, value);
    CarryInto(a.weeklyStart, part, value);
}

void CarryFromDated(AlarmRecord& a, const SYSTEMTIME& t) {
    a.monthlyStartMonth = t.wMonth;
    a.yearlyMonth = t.wMonth;
    a.monthlyStartYear = t.wYear;
    a.monthlyTime = SecondsOfDay(t);
    a.yearlyTime = SecondsOfDay(t);
}

}  // namespace

std::wstring FormatReminderText(int minutes) {
    std::wstring out;
    if (minutes < 0) minutes = -minutes;
    AppendUnit(out, kReminderDaysStringId, minutes / 1440);
    AppendUnit(out, kReminderHoursStringId, minutes / 60 % 24);
    AppendUnit(out, kReminderMinutesStringId, minutes % 60);
    return out;
}

void CarryScheduleValues(AlarmRecord& a, int from) {
    switch (from) {
        case kAlarmOnce: {
            const SYSTEMTIME t = a.onceTime;
            a.dailyStart = t;
            a.weeklyStart = t;
            a.monthlyDay = t.wDay;
            a.yearlyDay = t.wDay;
            CarryFromDated(a, t);
            break;
        }
        case kAlarmDaily: {
            const SYSTEMTIME t = a.dailyStart;
            a.onceTime = t;
            a.weeklyStart = t;
            CarryFromDated(a, t);
            break;
        }
        case kAlarmWeekly: {
            const SYSTEMTIME t = a.weeklyStart;
            a.onceTime = t;
            a.dailyStart = t;
            a.monthlyInterval = a.weeklyInterval;
            CarryFromDated(a, t);
            break;
        }
        case kAlarmMonthly:
            a.yearlyTime = a.monthlyTime;
            a.yearlyDay = a.monthlyDay;
            a.yearlyMonth = a.monthlyStartMonth;
            a.weeklyInterval = a.monthlyInterval;
            CarryIntoDated(a, 0, a.monthlyTime);
            CarryIntoDated(a, 3, a.monthlyStartYear);
            CarryIntoDated(a, 2, a.monthlyStartMonth);
            CarryIntoDated(a, 1, a.monthlyDay);
            break;
        case kAlarmYearly:
            a.monthlyTime = a.yearlyTime;
            a.monthlyDay = a.yearlyDay;
            a.monthlyStartMonth = a.yearlyMonth;
            CarryIntoDated(a, 0, a.yearlyTime);
            CarryIntoDated(a, 2, a.yearlyMonth);
            CarryIntoDated(a, 1, a.yearlyDay);
            break;
        default:
            return;
    }
    Normalise(a.onceTime);
    Normalise(a.dailyStart);
    Normalise(a.weeklyStart);
}

void SetFreshScheduleValues(AlarmRecord& a, SYSTEMTIME now) {
    now.wSecond = 0;
    now.wMilliseconds = 0;
    const uint32_t time = now.wHour * 3600u + now.wMinute * 60u;
    if (a.type != kAlarmOnce) a.onceTime = now;
    if (a.type != kAlarmDaily) {
        a.dailyStart = now;
        a.dailyInterval = 1;
    }
    if (a.type != kAlarmWeekly) {
        a.weeklyStart = now;
        a.weeklyInterval = 1;
        a.weekdayMask = 1u << (now.wDayOfWeek % 7);
    }
    if (a.type != kAlarmMonthly) {
        a.monthlyByWeekday = 0;
        a.monthlyDay = now.wDay;
        a.monthlyWhich = 1;
        a.monthlyWeekday = 0;
        a.monthlyInterval = 1;
        a.monthlyStartMonth = now.wMonth;
        a.monthlyStartYear = now.wYear;
        a.monthlyTime = time;
    }
    if (a.type != kAlarmYearly) {
        a.yearlyByWeekday = 0;
        a.yearlyMonth = now.wMonth;
        a.yearlyDay = now.wDay;
        a.yearlyWhich = 1;
        a.yearlyWeekday = 1;
        a.yearlyTime = time;
    }
    if (a.type != kAlarmCron) a.cron = CronSchedule{1, 0, 0, 0, 0};
}

void FixActionText(wchar_t* text, size_t size, int newAction, int storedAction) {
    if (!text || size == 0) return;
    if (!ActionTakesText(newAction)) {
        text[0] = L'\0';
    } else if (newAction == 4) {
        if (!wcsstr(text, L"://")) CopyBounded(text, size, kProductHomePage);
    } else if (_wcsicmp(text, kProductHomePage) == 0 || (newAction != 0 && storedAction == 0)) {
        // A message is no file name, and the home page is only a proposal.
        text[0] = L'\0';
    }
}

const wchar_t* BrowseFilter(int action) {
    switch (action) {
        case 1:
        case 2:
            return L"Sounds\0*.wav;*.wma;*.mp3;*.snd;*.mid\0All\0*.*\0";
        case 3:
            return L"Images\0*.jpg;*.png;*.gif;*.tif;*.png;*.pcx;*.bmp;*.dib;*.ico\0All\0*.*\0";
        case 5:
            return L"Executable\0*.exe;*.com;*.bat;*.cmd;*.lnk\0All\0*.*\0";
        case 6:
            return L"Documents\0*.doc;*.xls;*.ppt;*.txt;*.htm;*.html;*.rtf\0All\0*.*\0";
        default:
            return L"Any file\0*.*\0";
    }
}

const wchar_t* AlarmPageSection(const ClockRecord* clock, UINT resource) {
    if (clock) {
        if (!IsTimerClock(*clock)) return L"DLG_PageAlarm";
        if (HasSetDate(*clock)) return L"DLG_PageAlarm_At";
        return IsStopwatch(*clock) ? L"DLG_PageAlarm_Up" : L"DLG_PageAlarm_Down";
    }
    switch (resource) {
        case kAlarmPageAt: return L"DLG_PageAlarm_At";
        case kAlarmPageDown: return L"DLG_PageAlarm_Down";
        case kAlarmPageUp: return L"DLG_PageAlarm_Up";
        default: return L"DLG_PageAlarm";
    }
}
