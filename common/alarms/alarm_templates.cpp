#include "common/alarms/alarm_templates.h"

#include <cwchar>
#include <cwctype>
#include <string>

#include "common/settings/time_format.h"
#include "common/zones/clock_time.h"
#include "common/zones/city_list.h"

namespace {

MessageTokenProgram g_program;

// Room for one token's text before it is copied into the message.
constexpr size_t kTokenTextChars = kMessageTextChars;

bool IsNameChar(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_'; }

bool NameIs(std::wstring_view name, const wchar_t* token) {
    const size_t n = wcslen(token);
    return name.size() == n && _wcsnicmp(name.data(), token, n) == 0;
}

bool NameStartsWith(std::wstring_view name, const wchar_t* token) {
    const size_t n = wcslen(token);
    return name.size() >= n && _wcsnicmp(name.data(), token, n) == 0;
}

template <size_t N>
std::wstring_view Field(const wchar_t (&field)[N]) {
    return std::wstring_view(field, wcsnlen(field, N));
}

const CityRecord* ClockCity(const ClockRecord* clock) {
    if (!clock) return nullptr;
    const std::wstring location(Field(clock->location));  // the field may fill its room unterminated
    const int index = FindCity(location.c_str());
    if (index < 0 || index >= g_cities.count || !g_cities.cities) return nullptr;
    return &g_cities.cities[index];
}

// The due moment in the computer's own zone; as given without a clock or
// when a conversion fails.
SYSTEMTIME ComputerTime(const ClockRecord* clock, const SYSTEMTIME& due) {
    if (!clock || ClockShowsUtc(*clock)) return due;
    SYSTEMTIME utc, local;
    if (!ClockTimeToUtc(due, &utc, *clock) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return due;
    return local;
}

size_t FormatCompiled(wchar_t* buffer, size_t size) {
    SYSTEMTIME utc = g_program.buildUtc;
    if (utc.wYear == 0) return 0;
    SYSTEMTIME local;
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) local = utc;
    return FormatDate(buffer, size, local, L"d MMM yyyy", true);
}

void CopyField(wchar_t* buffer, size_t size, std::wstring_view text) {
    const size_t n = text.size() < size - 1 ? text.size() : size - 1;
    text.copy(buffer, n);
    buffer[n] = L'\0';
}

// Writes the text of one token into buffer (empty when it stands for nothing).
void TokenText(std::wstring_view name, wchar_t* buffer, size_t size, const ClockRecord* clock,
               const AlarmRecord* alarm, const SYSTEMTIME& due) {
    buffer[0] = L'\0';
    if (NameIs(name, L"tz")) {
        if (clock) CopyField(buffer, size, Field(clock->zone.displayName));
    } else if (NameIs(name, L"city")) {
        if (const CityRecord* city = ClockCity(clock)) CopyField(buffer, size, Field(city->city));
    } else if (NameIs(name, L"country")) {
        if (const CityRecord* city = ClockCity(clock)) CopyField(buffer, size, Field(city->region));
    } else if (NameIs(name, L"label")) {
        if (clock) CopyField(buffer, size, Field(clock->prefix));
    } else if (NameIs(name, L"alarm")) {
        if (alarm) CopyField(buffer, size, Field(alarm->comment));
    } else if (NameIs(name, L"version")) {
        swprintf(buffer, size, L"%d.%d.%d", g_program.major, g_program.minor, g_program.patch);
    } else if (NameIs(name, L"compiled")) {
        FormatCompiled(buffer, size);
    } else if (NameIs(name, L"location")) {
        if (clock) {
            std::wstring_view location = Field(clock->location);
            CopyField(buffer, size, location.empty() ? Field(clock->zone.displayName) : location);
        }
    } else if (NameStartsWith(name, L"cdate")) {
        FormatTokenDate(buffer, size, due, name.substr(5), clock);
    } else if (NameStartsWith(name, L"ctime")) {
        FormatTokenTime(buffer, size, due, name.substr(5), clock);
    } else if (NameStartsWith(name, L"date")) {
        FormatTokenDate(buffer, size, ComputerTime(clock, due), name.substr(4), clock);
    } else if (NameStartsWith(name, L"time")) {
        FormatTokenTime(buffer, size, ComputerTime(clock, due), name.substr(4), clock);
    }
}

}  // namespace

void SetMessageTokenProgram(const MessageTokenProgram& program) { g_program = program; }

const MessageTokenProgram& CurrentMessageTokenProgram() { return g_program; }

size_t CopyTokenText(const wchar_t* text, wchar_t* out, const wchar_t* end) {
    if (!text || !out || out >= end) return 0;
    size_t n = 0;
    while (text[n] && out + n < end) {
        out[n] = text[n];
        ++n;
    }
    return n;
}

size_t ExpandMessageTokens(const wchar_t* text, wchar_t* out, size_t size, const ClockRecord* clock,
                           const AlarmRecord* alarm, const SYSTEMTIME& due) {
    if (!out || size == 0) return 0;
    const size_t room = size < kMessageTextChars ? size : kMessageTextChars;
    wchar_t* const end = out + room - 1;  // the terminator's place
    wchar_t* w = out;
    const wchar_t* p = text ? text : L"";
    wchar_t value[kTokenTextChars];
    while (*p && w < end) {
        if (*p != L'$') {
            *w++ = *p++;
            continue;
        }
        ++p;
        if (*p == L'$') {
            *w++ = L'$';
            ++p;
            continue;
        }
        const wchar_t* nameStart = p;
        const wchar_t* nameEnd = p;
        if (*p == L'{') {
            nameStart = ++p;
            while (*p && *p != L'}') ++p;
            nameEnd = p;
            if (*p) ++p;
        } else {
            while (IsNameChar(*p)) ++p;
            nameEnd = p;
        }
        if (nameStart == nameEnd) continue;  // "$" alone, "${}", "$5": dropped
        TokenText(std::wstring_view(nameStart, static_cast<size_t>(nameEnd - nameStart)), value, std::size(value),
                  clock, alarm, due);
        w += CopyTokenText(value, w, end);
    }
    *w = L'\0';
    return static_cast<size_t>(w - out);
}
