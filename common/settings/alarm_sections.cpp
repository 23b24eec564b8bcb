#include "common/settings/alarm_sections.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "common/settings/cron_text.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "common/zones/zone_time.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kCommentChars = 78;
constexpr int kTextChars = 260;
constexpr int kLastAction = 8;
constexpr uint64_t kUnitsPerSecond = 10000000ULL;

constexpr const wchar_t* kScheduleKeys[] = {L"once", L"daily", L"weekly", L"monthly", L"yearly", L"cron"};

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

int ScanDateTime(const wchar_t* text, SYSTEMTIME& t) {
    return swscanf(text, L"%4hu.%2hu.%2hu %2hu:%2hu:%2hu", &t.wYear, &t.wMonth, &t.wDay, &t.wHour, &t.wMinute,
                   &t.wSecond);
}

// `timestamp`: the timer offset as a count of 100-ns units. Older files hold a
// negative count where an offset wrapped; such an alarm sits at the timer's
// end (or start) rather than being dropped with every alarm after it.
bool ParseTimestamp(const wchar_t* text, uint32_t& seconds) {
    const wchar_t* p = text;
    while (IsBlank(*p)) ++p;
    bool negative = *p == L'-';
    if (negative) ++p;
    if (!IsDigit(*p)) return false;
    uint64_t units = 0;
    bool huge = false;
    for (; IsDigit(*p); ++p) {
        if (units > (UINT64_MAX - 9) / 10) huge = true;
        if (!huge) units = units * 10 + static_cast<uint64_t>(*p - L'0');
    }
    if (negative) {
        seconds = 0;
    } else if (huge || units / kUnitsPerSecond > UINT32_MAX) {
        seconds = UINT32_MAX;
    } else {
        seconds = static_cast<uint32_t>(units / kUnitsPerSecond);
    }
    return true;
}

bool ReadSchedule(int type, const wchar_t* text, AlarmRecord& a) {
    switch (type) {
        case kAlarmOnce:
            return ScanDateTime(text, a.onceTime) >= 6;
        case kAlarmDaily: {
            SYSTEMTIME& t = a.dailyStart;
            return swscanf(text, L"%4hu.%2hu.%2hu %2hu:%2hu:%2hu %i", &t.wYear, &t.wMonth, &t.wDay, &t.wHour,
                           &t.wMinute, &t.wSecond, &a.dailyInterval) >= 7;
        }
        case kAlarmWeekly: {
            SYSTEMTIME& t = a.weeklyStart;
            unsigned mask = 0;
            if (swscanf(text, L"%4hu.%2hu.%2hu %2hu:%2hu:%2hu %i %2X", &t.wYear, &t.wMonth, &t.wDay, &t.wHour,
                        &t.wMinute, &t.wSecond, &a.weeklyInterval, &mask) < 8)
                return false;
            a.weekdayMask = mask;
            return true;
        }
        case kAlarmMonthly: {
            unsigned h = 0, m = 0, s = 0, byWeekday = 0;
            if (swscanf(text, L"%2u:%2u:%2u %u %u %u %u %i %2u.%4u", &h, &m, &s, &byWeekday, &a.monthlyDay,
                        &a.monthlyWhich, &a.monthlyWeekday, &a.monthlyInterval, &a.monthlyStartMonth,
                        &a.monthlyStartYear) < 10)
                return false;
            a.monthlyTime = h * 3600 + m * 60 + s;
            a.monthlyByWeekday = byWeekday ? 1 : 0;
            return true;
        }
        case kAlarmYearly: {
            unsigned h = 0, m = 0, s = 0, byWeekday = 0;
            if (swscanf(text, L"%2u:%2u:%2u %u %2u %2u %2u %1u", &h, &m, &s, &byWeekday, &a.yearlyMonth, &a.yearlyDay,
                        &a.yearlyWhich, &a.yearlyWeekday) < 8)
                return false;
            a.yearlyTime = h * 3600 + m * 60 + s;
            a.yearlyByWeekday = byWeekday ? 1 : 0;
            return true;
        }
        case kAlarmCron:
            return ParseCronText(text, a.cron);
        default:
            return false;
    }
}

unsigned U(WORD w) { return w; }

void FormatDateTime(wchar_t* out, size_t size, const SYSTEMTIME& t) {
    swprintf(out, size, L"%04u.%02u.%02u %02u:%02u:%02u", U(t.wYear), U(t.wMonth), U(t.wDay), U(t.wHour),
             U(t.wMinute), U(t.wSecond));
}

// Hours, minutes and seconds of a stored second of the day.
void SplitSeconds(uint32_t seconds, unsigned& h, unsigned& m, unsigned& s) {
    h = seconds / 3600 % 24;
    m = seconds / 60 % 60;
    s = seconds % 60;
}

// The schedule key's text; false for an unknown type.
bool FormatSchedule(const AlarmRecord& a, wchar_t* out, size_t size) {
    wchar_t when[64];
    unsigned h, m, s;
    switch (a.type) {
        case kAlarmOnce:
            FormatDateTime(out, size, a.onceTime);
            return true;
        case kAlarmDaily:
            FormatDateTime(when, 64, a.dailyStart);
            swprintf(out, size, L"%ls %i", when, a.dailyInterval);
            return true;
        case kAlarmWeekly:
            FormatDateTime(when, 64, a.weeklyStart);
            swprintf(out, size, L"%ls %i %02X", when, a.weeklyInterval, a.weekdayMask);
            return true;
        case kAlarmMonthly:
            SplitSeconds(a.monthlyTime, h, m, s);
            swprintf(out, size, L"%02u:%02u:%02u %u %u %u %u %i %u.%04u", h, m, s, a.monthlyByWeekday ? 1u : 0u,
                     a.monthlyDay, a.monthlyWhich, a.monthlyWeekday, a.monthlyInterval, a.monthlyStartMonth,
                     a.monthlyStartYear);
            return true;
        case kAlarmYearly:
            SplitSeconds(a.yearlyTime, h, m, s);
            swprintf(out, size, L"%02u:%02u:%02u %u %u %u %u %u", h, m, s, a.yearlyByWeekday ? 1u : 0u,
                     a.yearlyMonth, a.yearlyDay, a.yearlyWhich, a.yearlyWeekday);
            return true;
        case kAlarmCron:
            FormatCronText(a.cron, out, size);
            return true;
        default:
            return false;
    }
}

}  // namespace

std::wstring AlarmSectionName(const wchar_t* clockSection, int m) {
    std::wstring name = clockSection ? clockSection : L"";
    name += L":alarm";
    name += std::to_wstring(m);
    return name;
}

void InitAlarmRecord(AlarmRecord& alarm) {
    std::memset(&alarm, 0, sizeof alarm);
    if (Language().LoadUiString(IDS_NEW_ALARM, alarm.comment, kCommentChars) <= 0 || !alarm.comment[0])
        CopyBounded(alarm.comment, L"Alarm");
    alarm.enabled = 1;
    alarm.onceTime.wHour = 8;
    alarm.reminder = -15;
}

bool SetAlarmTimerOffset(const SYSTEMTIME& time, const ClockRecord& clock, AlarmRecord& alarm) {
    if (!HasSetDate(clock)) return false;
    SYSTEMTIME utc{};
    FILETIME ft{};
    if (!ZoneTimeToUtc(&utc, clock.zone, time) || !SystemTimeToFileTime(&utc, &ft)) return false;
    alarm.onceTime = time;
    int64_t moment = static_cast<int64_t>((static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    int64_t start = static_cast<int64_t>(clock.start);
    int64_t seconds = (IsCountdown(clock) ? start - moment : moment - start) / static_cast<int64_t>(kUnitsPerSecond);
    // The offset field is unsigned: a moment the timer never reaches would wrap
    // into an offset that cannot be written back and read again.
    if (seconds < 0) seconds = 0;
    if (seconds > static_cast<int64_t>(UINT32_MAX)) seconds = UINT32_MAX;
    alarm.timerOffset = static_cast<uint32_t>(seconds);
    return true;
}

bool ReadAlarmRecord(const wchar_t* file, const wchar_t* clockSection, const ClockRecord& clock, int m,
                     AlarmRecord& alarm) {
    std::wstring name = AlarmSectionName(clockSection, m);
    const wchar_t* section = name.c_str();
    AlarmRecord a{};
    a.enabled = ReadIniInt(file, section, L"enabled", 1) != 0 ? 1 : 0;

    if (IsTimerClock(clock)) {
        a.type = kAlarmOnce;
        if (HasSetDate(clock)) {
            std::wstring text = ReadIniText(file, section, L"time", L"", kAlarmValueChars);
            SYSTEMTIME t{};
            if (ScanDateTime(text.c_str(), t) < 6) return false;
            if (!SetAlarmTimerOffset(t, clock, a)) return false;
        } else {
            std::wstring text = ReadIniText(file, section, L"timestamp", L"", kAlarmValueChars);
            if (!ParseTimestamp(text.c_str(), a.timerOffset)) return false;
        }
    } else {
        a.type = ReadIniInt(file, section, L"type", -1);
        if (a.type < kAlarmOnce || a.type > kAlarmCron) return false;
        std::wstring text = ReadIniText(file, section, kScheduleKeys[a.type], kMissingKey, kAlarmValueChars);
        if (IsMissingKey(text.c_str()) || !ReadSchedule(a.type, text.c_str(), a)) return false;
    }

    ReadIniString(file, section, L"comment", L"", a.comment, kCommentChars);
    a.reminder = ReadIniInt(file, section, L"reminder", 0);
    a.action = ReadIniInt(file, section, L"action", 0);
    if (a.action < 0 || a.action > kLastAction) return false;
    ReadIniString(file, section, L"text", L"", a.text, kTextChars);
    alarm = a;
    return true;
}

bool WriteAlarm(const wchar_t* file, const wchar_t* clockSection, const ClockRecord& clock, int m,
                const AlarmRecord& alarm) {
    std::wstring name = AlarmSectionName(clockSection, m);
    const wchar_t* section = name.c_str();
    if (!WriteIniUnsigned(file, section, L"type", static_cast<uint32_t>(alarm.type))) return false;
    if (!WriteIniUnsigned(file, section, L"enabled", static_cast<uint32_t>(alarm.enabled))) return false;

    bool ok = true;
    if (IsTimerClock(clock)) {
        if (HasSetDate(clock)) {
            ok = WriteIniSystemTime(alarm.onceTime, file, section, L"time");
        } else {
            wchar_t units[32];
            swprintf(units, 32, L"%lu0000000", static_cast<unsigned long>(alarm.timerOffset));
            ok = WriteIniString(file, section, L"timestamp", units);
        }
    } else {
        if (alarm.type < kAlarmOnce || alarm.type > kAlarmCron) return false;
        wchar_t text[kCronTextChars];
        FormatSchedule(alarm, text, kCronTextChars);
        ok = WriteIniString(file, section, kScheduleKeys[alarm.type], text);
    }

    // Records from elsewhere need not be terminated inside their fields.
    wchar_t comment[kCommentChars];
    wchar_t message[kTextChars];
    wmemcpy(comment, alarm.comment, kCommentChars);
    comment[kCommentChars - 1] = 0;
    wmemcpy(message, alarm.text, kTextChars);
    message[kTextChars - 1] = 0;
    ok = WriteIniText(file, section, L"comment", comment) && ok;
    ok = WriteIniInt(file, section, L"reminder", alarm.reminder) && ok;
    ok = WriteIniUnsigned(file, section, L"action", static_cast<uint32_t>(alarm.action)) && ok;
    ok = WriteIniText(file, section, L"text", message) && ok;
    return ok;
}
