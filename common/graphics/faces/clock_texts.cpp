#include "common/graphics/faces/clock_texts.h"

#include <cwchar>

#include "common/settings/time_format.h"

void JoinLines(const wchar_t* text, wchar_t* out, size_t outChars) {
    if (!out || outChars == 0) return;
    size_t n = 0;
    if (text && *text == L'\n') ++text;
    for (; text && *text && n + 1 < outChars; ++text) out[n++] = (*text == L'\n') ? L' ' : *text;
    out[n] = L'\0';
}

void FormatClockTexts(const ClockRecord& clock, const SYSTEMTIME& zoneTime, ClockTexts& texts) {
    wchar_t format[33];
    CopyRecordText(format, 33, clock.timeformat);
    FormatTimeByName(texts.time, kTimeTextChars, zoneTime, format);
    CopyRecordText(format, 33, clock.dateformat);
    FormatDate(texts.date, kClockDateChars + 1, zoneTime, format, false);
    texts.lineFeeds = 0;
    for (const wchar_t* p = texts.date; *p; ++p) {
        if (*p == L'\n') ++texts.lineFeeds;
    }
    texts.dateLines = texts.date[0] == L'\n' ? texts.date + 1 : texts.date;
    JoinLines(texts.date, texts.dateOneLine, kClockDateChars + 1);
    CopyRecordText(texts.prefix, 33, clock.prefix);
}

bool IsBackgroundActive(const ClockRecord& clock, const BackgroundProfile& profile) {
    if (!profile.enabled) return false;
    if (IsTimerClock(clock)) {
        uint64_t now = 0;
        switch (clock.kind & 7) {
            case 7:  // countdown to a date: the moment now is the target less what remains
                now = clock.start - clock.elapsed;
                break;
            case 5:  // stopwatch from a set start
                now = clock.start + clock.elapsed;
                break;
            case 1:  // stopwatch
                now = clock.elapsed;
                break;
            case 3: {  // countdown of a duration: remaining seconds
                uint64_t remaining = clock.elapsed;
                return remaining <= profile.from && (profile.to < remaining || (remaining == 0 && profile.to == 0));
            }
            default:
                return false;
        }
        return profile.from <= now && now < profile.to;
    }
    const SYSTEMTIME& z = clock.currentTime;
    int minute = z.wHour * 60 + z.wMinute;
    int day = z.wDayOfWeek % 7;
    auto dayOn = [&](int d) { return (profile.weekdayMask >> d) & 1u; };
    if (profile.fromMinute < profile.toMinute) {
        return dayOn(day) && profile.fromMinute <= minute && minute < profile.toMinute;
    }
    // A window over midnight: the evening of a chosen day, or the morning after it.
    return (dayOn(day) && minute >= profile.fromMinute) || (dayOn((day + 6) % 7) && minute < profile.toMinute);
}

int FindActiveBackground(const ClockRecord& clock, int requested, const BackgroundProfile* globalProfile,
                         bool systemZone) {
    if (!IsTimerClock(clock) && systemZone && globalProfile && IsBackgroundActive(clock, *globalProfile)) {
        return kGlobalBackground;
    }
    int count = clock.profileCount;
    if (count < 0) count = 0;
    if (count > kMaxBackgroundProfiles) count = kMaxBackgroundProfiles;
    if (requested >= 0) return requested < count ? requested : kNoBackground;
    if (!clock.profilesEnabled || count == 0) return kNoBackground;
    for (int i = 0; i < count; ++i) {
        if (IsBackgroundActive(clock, clock.profiles[i])) return i;
    }
    return kNoBackground;
}
