#include "common/settings/time_format.h"

#include <atomic>
#include <cwchar>
#include <mutex>

#include "common/settings/ini_store.h"
#include "common/settings/time_format_weeks.h"
#include "common/records/clock_table.h"

namespace {

LocaleTimeFormat g_locale = {L":", true, L"", L""};
// Set once the state holds the user's locale (or one a caller put in force).
std::atomic<bool> g_localeKnown{false};
std::mutex g_firstRead;

constexpr wchar_t kErrorText[] = L"Error!";

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads a locale item into a small field; empty when the item does not fit or
// the call fails.
bool ReadLocaleItem(LCTYPE type, wchar_t* buffer, int size) {
    buffer[0] = 0;
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, size) == 0) {
        buffer[0] = 0;
        return false;
    }
    buffer[size - 1] = 0;
    return true;
}

// Reads decimal digits into value (kept at a ceiling), counting them.
const wchar_t* ReadDigits(const wchar_t* p, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (IsDigit(*p)) {
        if (value < 100000) value = value * 10 + (*p - L'0');
        ++digits;
        ++p;
    }
    return p;
}

// True when text begins with symbol (ignoring case); an empty symbol never matches.
bool BeginsWith(const wchar_t* text, const wchar_t* symbol) {
    size_t n = wcslen(symbol);
    return n > 0 && _wcsnicmp(text, symbol, n) == 0;
}

size_t ErrorText(wchar_t* buffer, size_t size) { return CopyBounded(buffer, size, kErrorText); }

// Every program (each links its own copy of this state) reads the user's
// locale before its first time is written or parsed, not only when the
// locale changes later.
const LocaleTimeFormat& Locale() {
    if (!g_localeKnown.load(std::memory_order_acquire)) {
        std::lock_guard<std::mutex> lock(g_firstRead);
        if (!g_localeKnown.load(std::memory_order_relaxed)) ReadLocaleTimeFormat();
    }
    return g_locale;
}

}  // namespace

const LocaleTimeFormat& CurrentLocaleTimeFormat() { return Locale(); }

void SetLocaleTimeFormat(const LocaleTimeFormat& format) {
    g_locale = format;
    g_locale.separator[6] = 0;
    g_locale.am[8] = 0;
    g_locale.pm[8] = 0;
    g_localeKnown.store(true, std::memory_order_release);
}

bool ReadLocaleTimeFormat() {
    LocaleTimeFormat next{};
    if (!ReadLocaleItem(LOCALE_STIME, next.separator, 7)) CopyBounded(next.separator, L":");
    wchar_t itime[4];
    next.is24Hour = !ReadLocaleItem(LOCALE_ITIME, itime, 4) || wcscmp(itime, L"0") != 0;
    ReadLocaleItem(LOCALE_S1159, next.am, 9);
    ReadLocaleItem(LOCALE_S2359, next.pm, 9);

    bool changed = wcscmp(next.separator, g_locale.separator) != 0 || next.is24Hour != g_locale.is24Hour;
    if (!next.is24Hour && (wcscmp(next.am, g_locale.am) != 0 || wcscmp(next.pm, g_locale.pm) != 0)) changed = true;
    g_locale = next;
    g_localeKnown.store(true, std::memory_order_release);
    return changed;
}

size_t FormatSeconds(wchar_t* buffer, size_t size, unsigned secondsOfDay, bool withSeconds) {
    if (!buffer || size == 0) return 0;
    unsigned hours = (secondsOfDay / 3600) % 24;
    unsigned minutes = (secondsOfDay / 60) % 60;
    unsigned seconds = secondsOfDay % 60;
    const LocaleTimeFormat& locale = Locale();
    bool twelve = !locale.is24Hour;
    unsigned shown = hours;
    if (twelve) {
        shown = hours % 12;
        if (shown == 0) shown = 12;
    }
    wchar_t text[64];
    int n = swprintf(text, 64, L"%02u%ls%02u", shown, locale.separator, minutes);
    if (n > 0 && withSeconds) n += swprintf(text + n, 64 - n, L"%ls%02u", locale.separator, seconds);
    if (n > 0 && twelve) swprintf(text + n, 64 - n, L" %ls", hours < 12 ? locale.am : locale.pm);
    return CopyBounded(buffer, size, text);
}

int ParseTimeText(const wchar_t* text) {
    if (!text) return kTimeTextBadHour;
    const wchar_t* p = text;
    while (IsBlank(*p)) ++p;
    int hours = 0, minutes = 0, seconds = 0, digits = 0;
    p = ReadDigits(p, hours, digits);
    if (digits == 0 || hours > 24) return kTimeTextBadHour;
    const LocaleTimeFormat& locale = Locale();
    const wchar_t* sep = locale.separator[0] ? locale.separator : L":";
    size_t sepLength = wcslen(sep);
    if (wcsncmp(p, sep, sepLength) != 0) return kTimeTextNoSeparator;
    p += sepLength;
    p = ReadDigits(p, minutes, digits);
    if (digits < 2 || minutes > 59) return kTimeTextBadMinute;
    if (wcsncmp(p, sep, sepLength) == 0) {
        p += sepLength;
        p = ReadDigits(p, seconds, digits);
        if (digits < 2 || seconds > 59) return kTimeTextBadSecond;
    }
    while (IsBlank(*p)) ++p;
    hours %= 24;
    if (*p) {
        bool am = BeginsWith(p, locale.am);
        bool pm = !am && BeginsWith(p, locale.pm);
        if (!am && !pm) return kTimeTextBadSuffix;
        if (hours > 12) return kTimeTextBadHour;
        hours = hours % 12 + (pm ? 12 : 0);
    }
    return hours * 3600 + minutes * 60 + seconds;
}

size_t FormatTimeByName(wchar_t* buffer, size_t size, const SYSTEMTIME& time, const wchar_t* name) {
    if (!buffer || size == 0) return 0;
    DWORD flags = 0;
    const wchar_t* picture = nullptr;
    wchar_t own[33];
    if (!name || !*name || _wcsicmp(name, L"Default") == 0) {
        flags = TIME_NOSECONDS;
    } else if (_wcsicmp(name, L"24 hours") == 0) {
        picture = L"H:mm";
    } else if (_wcsicmp(name, L"12 hours") == 0) {
        picture = L"h:mm tt";
    } else {
        CopyBounded(own, name);
        picture = own;
    }
    int room = static_cast<int>(size < kTimeTextChars ? size : kTimeTextChars);
    int n = GetTimeFormatW(LOCALE_USER_DEFAULT, flags, &time, picture, buffer, room);
    if (n <= 0) return ErrorText(buffer, size);
    return wcsnlen(buffer, size);
}

bool IsCustomTimeFormat(const wchar_t* name) {
    if (!name || !*name) return false;
    if (_wcsicmp(name, L"Default") == 0 || _wcsicmp(name, L"24 hours") == 0 || _wcsicmp(name, L"12 hours") == 0)
        return false;
    return wcschr(name, L's') != nullptr;
}

size_t FormatDate(wchar_t* buffer, size_t size, const SYSTEMTIME& time, const wchar_t* picture, bool oneLine) {
    if (!buffer || size == 0) return 0;
    buffer[0] = 0;
    if (!picture || !*picture || _wcsicmp(picture, L"None") == 0) return 0;

    // The week extensions are not known to the locale: they are replaced by
    // their digits before the picture is handed on.
    constexpr size_t kPictureChars = 32;
    wchar_t rewritten[kPictureChars];
    size_t o = 0;
    auto put = [&](wchar_t c) {
        if (o + 1 < kPictureChars) rewritten[o++] = c;
    };
    bool iso = g_settings.iso_weeks != 0;
    for (const wchar_t* p = picture; *p && o + 1 < kPictureChars;) {
        if (p[0] == L'\\' && p[1] == L'n') {
            put(oneLine ? L' ' : L'\n');
            p += 2;
        } else if (p[0] == L'w' && (p[1] == L'd' || p[1] == L'D')) {
            int day;
            if (iso) {
                day = time.wDayOfWeek % 7;
            } else {
                int mondayBased = (time.wDayOfWeek % 7 + 6) % 7;
                day = (mondayBased - GetFirstDayOfWeek() + 7) % 7;
            }
            if (p[1] == L'D') ++day;
            put(static_cast<wchar_t>(L'0' + day));
            p += 2;
        } else if (p[0] == L'w') {
            int week = WeekNumber(time);
            bool two = p[1] == L'w';
            if (two || week >= 10) put(static_cast<wchar_t>(L'0' + week / 10 % 10));
            put(static_cast<wchar_t>(L'0' + week % 10));
            p += two ? 2 : 1;
        } else {
            put(*p++);
        }
    }
    rewritten[o] = 0;

    int room = static_cast<int>(size < kDateTextChars ? size : kDateTextChars);
    int n = GetDateFormatW(LOCALE_USER_DEFAULT, 0, &time, rewritten, buffer, room);
    if (n <= 0) return ErrorText(buffer, size);
    return wcsnlen(buffer, size);
}
