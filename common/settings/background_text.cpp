#include "common/settings/background_text.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "common/zones/zone_time.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kNameChars = 78;  // BackgroundProfile::name, terminator included
constexpr uint64_t kUnitsPerSecond = 10000000ULL;
constexpr int kLastMinuteOfDay = 1439;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The text form writes red first; a COLORREF holds red in its low byte.
uint32_t SwapRedBlue(uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

// An unsigned decimal of at most 32 bits; nullptr when there is no digit or it
// is larger.
const wchar_t* ReadSeconds(const wchar_t* p, uint64_t& value) {
    if (!IsDigit(*p)) return nullptr;
    value = 0;
    while (IsDigit(*p)) {
        value = value * 10 + static_cast<uint64_t>(*p - L'0');
        if (value > 0xFFFFFFFFULL) return nullptr;
        ++p;
    }
    return p;
}

bool ToFileTime(const ZoneRecord& zone, const SYSTEMTIME& local, uint64_t& out) {
    SYSTEMTIME utc{};
    if (!ZoneTimeToUtc(&utc, zone, local)) return false;
    FILETIME ft{};
    if (!SystemTimeToFileTime(&utc, &ft)) return false;
    out = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return true;
}

bool ParseDatedRange(const wchar_t* text, BackgroundProfile& p, const ClockRecord& clock) {
    SYSTEMTIME from{}, to{};
    unsigned long colour = 0;
    unsigned opacity = 0;
    wchar_t name[kNameChars] = {};
    // The name gets the room of its field: 77 characters and the terminator.
    int n = swscanf(text,
                    L"%4hu.%2hu.%2hu %2hu:%2hu:%2hu-%4hu.%2hu.%2hu %2hu:%2hu:%2hu, %6lx, %2x, %77l[^\n]",
                    &from.wYear, &from.wMonth, &from.wDay, &from.wHour, &from.wMinute, &from.wSecond, &to.wYear,
                    &to.wMonth, &to.wDay, &to.wHour, &to.wMinute, &to.wSecond, &colour, &opacity, name);
    if (n != 15 || opacity > 255) return false;
    p.fromDate = from;
    p.toDate = to;
    if (!ProfileRangeToFileTimes(clock, p)) return false;
    p.colour = static_cast<COLORREF>(colour);
    p.opacity = opacity;
    CopyBounded(p.name, name);
    return true;
}

bool ParseTimerRange(const wchar_t* text, BackgroundProfile& p) {
    uint64_t from = 0, to = 0;
    const wchar_t* q = ReadSeconds(text, from);
    if (!q || !IsBlank(*q)) return false;
    while (IsBlank(*q)) ++q;
    q = ReadSeconds(q, to);
    if (!q) return false;
    unsigned long colour = 0;
    unsigned opacity = 0;
    wchar_t name[kNameChars] = {};
    if (swscanf(q, L", %6lx, %2x, %77l[^\n]", &colour, &opacity, name) != 3 || opacity > 255) return false;
    p.from = from * kUnitsPerSecond;
    p.to = to * kUnitsPerSecond;
    p.colour = static_cast<COLORREF>(colour);
    p.opacity = opacity;
    CopyBounded(p.name, name);
    return true;
}

bool ParseDailyRange(const wchar_t* text, BackgroundProfile& p) {
    int fromHour = 0, fromMinute = 0, toHour = 0, toMinute = 0;
    unsigned long colour = 0;
    unsigned opacity = 0;
    wchar_t days[8] = {};
    wchar_t name[kNameChars] = {};
    int n = swscanf(text, L"%d:%2d-%d:%2d, %6lx, %2x, %7l[0123456], %77l[^\n]", &fromHour, &fromMinute, &toHour,
                    &toMinute, &colour, &opacity, days, name);
    if (n == 6) {
        // No weekday digits: the list may be empty between its two commas.
        days[0] = 0;
        name[0] = 0;
        n = swscanf(text, L"%d:%2d-%d:%2d, %6lx, %2x, , %77l[^\n]", &fromHour, &fromMinute, &toHour, &toMinute,
                    &colour, &opacity, name);
        if (n < 6) return false;
    } else if (n < 7) {
        return false;
    }
    if (fromHour < 0 || toHour < 0 || fromMinute < 0 || fromMinute > 59 || toMinute < 0 || toMinute > 59)
        return false;
    int from = fromHour * 60 + fromMinute;
    int to = toHour * 60 + toMinute;
    if (fromHour > 24 || toHour > 24 || from > kLastMinuteOfDay || to > kLastMinuteOfDay || opacity > 255)
        return false;
    uint32_t mask = 0;
    for (const wchar_t* d = days; *d >= L'0' && *d <= L'6'; ++d) mask |= 1u << (*d - L'0');
    p.fromMinute = from;
    p.toMinute = to;
    p.colour = static_cast<COLORREF>(colour);
    p.opacity = opacity;
    p.weekdayMask = mask;
    CopyBounded(p.name, name);
    return true;
}

}  // namespace

void InitBackgroundProfile(BackgroundProfile& profile) {
    std::memset(&profile, 0, sizeof profile);
    if (Language().LoadUiString(IDS_NEW_BACKGROUND, profile.name, kNameChars) <= 0 || !profile.name[0])
        CopyBounded(profile.name, L"Background");
    profile.enabled = 1;
    profile.fromMinute = 540;
    profile.toMinute = 1080;
    profile.colour = 0x00FF00;
    profile.opacity = 127;
    profile.weekdayMask = 65;
}

bool ProfileRangeToFileTimes(const ClockRecord& clock, BackgroundProfile& profile) {
    if (!HasSetDate(clock)) return false;
    uint64_t from = 0, to = 0;
    if (!ToFileTime(clock.zone, profile.fromDate, from) || !ToFileTime(clock.zone, profile.toDate, to)) return false;
    profile.from = from;
    profile.to = to;
    return true;
}

bool ParseBackgroundProfile(const wchar_t* text, BackgroundProfile& profile, const ClockRecord* clock) {
    if (!text || !*text) return false;
    BackgroundProfile p = profile;
    const wchar_t* rest = text;
    if (text[1] == L',') {
        p.enabled = text[0] != L'0' ? 1 : 0;
        rest = text + 2;
        while (IsBlank(*rest)) ++rest;
    } else {
        // The older form without the flag.
        p.enabled = 1;
    }

    bool ok;
    if (clock && IsTimerClock(*clock)) {
        bool dated = HasSetDate(*clock) && IsDigit(rest[0]) && IsDigit(rest[1]) && IsDigit(rest[2]) &&
                     IsDigit(rest[3]) && rest[4] == L'.';
        ok = dated ? ParseDatedRange(rest, p, *clock) : ParseTimerRange(rest, p);
    } else {
        ok = ParseDailyRange(rest, p);
    }
    if (!ok) return false;
    p.colour = SwapRedBlue(p.colour);
    profile = p;
    return true;
}

void FormatBackgroundProfile(const BackgroundProfile& profile, wchar_t* buffer, size_t size,
                             const ClockRecord* clock) {
    if (!buffer || size == 0) return;
    wchar_t text[kProfileTextChars + 64];
    constexpr int kRoom = static_cast<int>(sizeof text / sizeof text[0]);
    int enabled = profile.enabled ? 1 : 0;
    unsigned long colour = SwapRedBlue(profile.colour) & 0xFFFFFF;
    // Two hex digits is all a reader takes.
    unsigned opacity = profile.opacity > 255 ? 255 : profile.opacity;
    // The record's name need not be terminated in a damaged record.
    int nameLength = static_cast<int>(wcsnlen(profile.name, kNameChars - 1));

    if (clock && IsTimerClock(*clock) && !HasSetDate(*clock)) {
        swprintf(text, kRoom, L"%01d, %05llu %05llu, %06lX, %02X, %.*ls", enabled,
                 static_cast<unsigned long long>(profile.from / kUnitsPerSecond),
                 static_cast<unsigned long long>(profile.to / kUnitsPerSecond), colour, opacity, nameLength,
                 profile.name);
    } else if (clock && IsTimerClock(*clock)) {
        const SYSTEMTIME& f = profile.fromDate;
        const SYSTEMTIME& t = profile.toDate;
        swprintf(text, kRoom,
                 L"%01d, %04u.%02hu.%02u %02u:%02u:%02u-%04u.%02hu.%02u %02u:%02u:%02u, %06lX, %02X, %.*ls", enabled,
                 unsigned{f.wYear}, f.wMonth, unsigned{f.wDay}, unsigned{f.wHour}, unsigned{f.wMinute},
                 unsigned{f.wSecond}, unsigned{t.wYear}, t.wMonth, unsigned{t.wDay}, unsigned{t.wHour},
                 unsigned{t.wMinute}, unsigned{t.wSecond}, colour, opacity, nameLength, profile.name);
    } else {
        wchar_t days[8] = {};
        int d = 0;
        for (int i = 0; i <= 6; ++i) {
            if (profile.weekdayMask & (1u << i)) days[d++] = static_cast<wchar_t>(L'0' + i);
        }
        swprintf(text, kRoom, L"%01d, %02d:%02d-%02d:%02d, %06lX, %02X, %ls, %.*ls", enabled,
                 profile.fromMinute / 60, profile.fromMinute % 60, profile.toMinute / 60, profile.toMinute % 60,
                 colour, opacity, days, nameLength, profile.name);
    }
    text[kRoom - 1] = 0;
    CopyBounded(buffer, size, text);
}
