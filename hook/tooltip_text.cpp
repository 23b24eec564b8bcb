#include "hook/tooltip_text.h"

#include <algorithm>
#include <cwchar>

#include "common/settings/localisation.h"
#include "common/settings/time_format_timer.h"
#include "common/platform/text_bounds.h"
#include "common/zones/zone_time.h"

namespace {

template <size_t N>
std::wstring FieldText(const WCHAR (&field)[N]) {
    return std::wstring(field, wcsnlen(field, N));
}

size_t CountOf(const wchar_t* text, wchar_t c) {
    size_t n = 0;
    for (; text && *text; ++text) n += *text == c;
    return n;
}

void AppendBounded(wchar_t* buffer, size_t size, const wchar_t* text) {
    const size_t used = wcsnlen(buffer, size);
    if (used + 1 < size) CopyBounded(buffer + used, size - used, text);
}

long long SortDay(const SYSTEMTIME& t) { return t.wYear * 384LL + t.wMonth * 32LL + t.wDay - 32; }
long SortSecond(const SYSTEMTIME& t) { return t.wHour * 3600L + t.wMinute * 60L + t.wSecond; }

}  // namespace

void MakeTimePattern(const wchar_t* localeFormat, const wchar_t* separator, bool withSeconds, wchar_t* buffer,
                     size_t size) {
    if (!buffer || size == 0) return;
    buffer[0] = L'\0';
    const wchar_t* sep = separator && *separator ? separator : L":";
    const size_t hours24 = CountOf(localeFormat, L'H');
    const bool is24 = hours24 > 0;
    const size_t hours = is24 ? hours24 : CountOf(localeFormat, L'h');
    const wchar_t* hour = is24 ? (hours > 1 ? L"HH" : L"H") : (hours > 1 ? L"hh" : L"h");
    AppendBounded(buffer, size, hour);
    AppendBounded(buffer, size, sep);
    AppendBounded(buffer, size, CountOf(localeFormat, L'm') > 1 ? L"mm" : L"m");
    if (withSeconds) {
        AppendBounded(buffer, size, sep);
        AppendBounded(buffer, size, CountOf(localeFormat, L's') == 1 ? L"s" : L"ss");
    }
    if (!is24) AppendBounded(buffer, size, L" tt");
}

void BuildLocaleTimePattern(wchar_t* buffer, size_t size, bool withSeconds) {
    const LCID lcid = MAKELCID(Language().languageId(), SORT_DEFAULT);
    wchar_t format[80] = {};
    wchar_t separator[8] = {};
    if (!GetLocaleInfoW(lcid, LOCALE_STIMEFORMAT, format, 80)) format[0] = L'\0';
    if (!GetLocaleInfoW(lcid, LOCALE_STIME, separator, 8)) separator[0] = L'\0';
    MakeTimePattern(format, separator, withSeconds, buffer, size);
}

TooltipLocale CurrentTooltipLocale() {
    TooltipLocale locale;
    locale.lcid = MAKELCID(Language().languageId(), SORT_DEFAULT);
    BuildLocaleTimePattern(locale.timePattern, 32, false);
    return locale;
}

std::wstring FormatTooltipTime(const TooltipLocale& locale, const SYSTEMTIME& time) {
    wchar_t text[80] = {};
    if (!GetTimeFormatW(locale.lcid, 0, &time, locale.timePattern, text, 80)) text[0] = L'\0';
    return text;
}

std::wstring FormatTooltipDate(const TooltipLocale& locale, const SYSTEMTIME& time) {
    wchar_t text[80] = {};
    const bool picture = locale.datePicture[0] != L'\0';
    if (!GetDateFormatW(locale.lcid, picture ? 0 : DATE_LONGDATE, &time, picture ? locale.datePicture : nullptr, text,
                        80)) {
        text[0] = L'\0';
    }
    return text;
}

std::wstring EscapeTooltipAmpersands(const wchar_t* text) {
    std::wstring out;
    for (const wchar_t* p = text; p && *p; ++p) {
        if (*p != L'&') {
            out.push_back(*p);
        } else if (p != text && p[-1] == L'&') {
            out += L"&&";
        } else {
            out += L"&&&";
        }
    }
    return out;
}

std::wstring ClockTooltipText(const ClockRecord& clock, const SYSTEMTIME& local, const BackgroundProfile* active,
                              const TooltipLocale& locale) {
    wchar_t text[kTooltipTextChars] = {};
    if (IsTimerClock(clock)) {
        std::wstring format = FieldText(clock.label);
        if (format.empty()) format = FieldText(clock.timerformat);
        if (format.empty()) format = kDefaultTimerFormat;
        FormatDuration(text, kTimerTipChars + 1, format.c_str(), clock.elapsed);
        return text;
    }
    const std::wstring date = FormatTooltipDate(locale, local);
    // Cut between the label's characters, never inside an escaped "&" run:
    // half a run would turn the next character into a mnemonic.
    const size_t room = date.size() < kLabelAndDateChars ? kLabelAndDateChars - date.size() : 0;
    const std::wstring whole = FieldText(clock.label);
    std::wstring label;
    for (size_t n = 1; n <= whole.size(); ++n) {
        std::wstring longer = EscapeTooltipAmpersands(whole.substr(0, n).c_str());
        if (longer.size() > room) break;
        label = std::move(longer);
    }
    std::wstring tip = label + L"\r\n" + date.substr(0, kLabelAndDateChars);
    if (active) {
        const std::wstring name = FieldText(active->name);
        if (!name.empty() && tip.size() + 2 < kClockTipChars) {
            tip += L"\r\n";
            tip += name.substr(0, kClockTipChars - tip.size());
        }
    }
    return tip;
}

int CompareClocksForSort(const ClockTipRow& a, const ClockTipRow& b) {
    const long long dayA = SortDay(a.local), dayB = SortDay(b.local);
    if (dayA != dayB) return dayA > dayB ? -1 : 1;
    const long secondA = SortSecond(a.local), secondB = SortSecond(b.local);
    if (secondA != secondB) return secondA > secondB ? -1 : 1;
    return _wcsicmp(a.label.c_str(), b.label.c_str());
}

std::vector<ClockTipRow> ClockTipRows(const ClockRecord* clocks, int count, const SYSTEMTIME& utc,
                                      const TooltipLocale& locale, bool sorted) {
    std::vector<ClockTipRow> rows;
    for (int i = 0; clocks && i < count; ++i) {
        const ClockRecord& c = clocks[i];
        if (!c.enabled) continue;
        ClockTipRow row;
        row.index = i;
        row.timer = IsTimerClock(c);
        if (!UtcToClockTime(utc, &row.local, c)) row.local = utc;
        row.label = FieldText(c.label);
        row.date = FormatTooltipDate(locale, row.local);
        row.time = FormatTooltipTime(locale, row.local);
        rows.push_back(std::move(row));
    }
    if (sorted) {
        std::stable_sort(rows.begin(), rows.end(),
                         [](const ClockTipRow& a, const ClockTipRow& b) { return CompareClocksForSort(a, b) < 0; });
    }
    return rows;
}

std::wstring AllClocksTooltipText(const ClockRecord* clocks, int count, const SYSTEMTIME& utc,
                                  const TooltipLocale& locale) {
    // Whole lines only: a clock that does not fit is left out, not cut.
    std::wstring text;
    for (const ClockTipRow& row : ClockTipRows(clocks, count, utc, locale, false)) {
        std::wstring line = text.empty() ? L"" : L"\r\n";
        if (!row.label.empty()) line += row.label + L", ";
        line += row.date + L", " + row.time;
        if (text.size() + line.size() >= kTooltipTextChars) break;
        text += line;
    }
    return text;
}
