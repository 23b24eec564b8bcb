#include "common/settings/timer_state.h"

#include <cwchar>

#include "common/settings/time_format_timer.h"

namespace {

constexpr size_t kTimerTextChars = 256;
constexpr size_t kTimerFormatChars = 100;

uint64_t WholeSeconds(uint64_t t) { return t - t % kTimerUnitsPerSecond; }

SYSTEMTIME MomentToSystemTime(uint64_t t) {
    FILETIME ft{static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
    SYSTEMTIME st{};
    if (!FileTimeToSystemTime(&ft, &st)) st = SYSTEMTIME{};
    return st;
}

bool HasFixedMoment(const ClockRecord& clock) { return (clock.kind & kClockSetDate) != 0; }

// The timer's text for a value, by its own timer format.
size_t TimerText(const ClockRecord& clock, uint64_t value, wchar_t* text) {
    wchar_t format[kTimerFormatChars];
    wmemcpy(format, clock.timerformat, kTimerFormatChars);
    format[kTimerFormatChars - 1] = 0;
    return FormatDuration(text, kTimerTextChars, format, value);
}

}  // namespace

uint64_t CurrentTimerMoment() {
    FILETIME ft{};
    GetSystemTimeAsFileTime(&ft);
    return WholeSeconds((static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
}

uint64_t TimerMomentFromSystemTime(const SYSTEMTIME& utc) {
    FILETIME ft{};
    if (!SystemTimeToFileTime(&utc, &ft)) return 0;
    return WholeSeconds((static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
}

void ToggleTimerRunning(ClockRecord& clock) { ToggleTimerRunningAt(clock, CurrentTimerMoment()); }

void ToggleTimerRunningAt(ClockRecord& clock, uint64_t now) {
    if (!IsTimerClock(clock)) return;
    if (IsStopwatch(clock) && clock.running) return;
    const uint64_t old = clock.elapsed;
    TimerJustFinished(clock) = 0;

    if (IsCountdown(clock)) {
        if (!HasFixedMoment(clock)) {
            uint64_t end = clock.start;
            if (!clock.running && old > 0) {
                // A paused countdown resumes with what it had left, even when
                // its old end has passed meanwhile.
                end = now + old;
            } else if (!clock.running || now >= end) {
                end = now + uint64_t{clock.duration} * kTimerUnitsPerSecond;
            }
            clock.start = end;
            clock.running = 1;
            clock.elapsed = end > now ? end - now : 0;
        } else if (now < clock.start) {
            clock.running = 1;
            clock.elapsed = clock.start - now;
        } else {
            clock.running = 0;
            clock.elapsed = 0;
        }
        return;
    }

    clock.running = 1;
    if (!HasFixedMoment(clock)) {
        bool recorded = clock.start != 0 || clock.targetTime.wYear != 0;
        if (recorded && now >= clock.start && now >= old) {
            clock.start = now - old;
            clock.targetTime = MomentToSystemTime(clock.start);
        } else {
            clock.start = now;
            clock.targetTime = MomentToSystemTime(now);
            clock.elapsed = 0;
        }
    } else if (now < clock.start) {
        clock.elapsed = 0;
        clock.running = 0;
    } else {
        clock.elapsed = now - clock.start;
    }
}

void StopTimer(ClockRecord& clock) {
    clock.running = 0;
    TimerJustFinished(clock) = 0;
}

void ResetTimer(ClockRecord& clock) { ResetTimerAt(clock, CurrentTimerMoment()); }

void ResetTimerAt(ClockRecord& clock, uint64_t now) {
    if (!IsTimerClock(clock)) return;
    clock.running = 0;
    TimerJustFinished(clock) = 0;
    if (IsCountdown(clock)) {
        if (!HasFixedMoment(clock)) {
            uint64_t duration = uint64_t{clock.duration} * kTimerUnitsPerSecond;
            clock.start = now + duration;
            clock.elapsed = duration;
        } else {
            clock.elapsed = clock.start > now ? clock.start - now : 0;
        }
    } else if (!HasFixedMoment(clock)) {
        clock.start = now;
        clock.targetTime = MomentToSystemTime(now);
        clock.elapsed = 0;
    } else {
        clock.elapsed = now >= clock.start ? now - clock.start : 0;
    }
}

int UpdateTimerState(ClockRecord& clock, const SYSTEMTIME& nowUtc) {
    return UpdateTimerState(clock, TimerMomentFromSystemTime(nowUtc));
}

int UpdateTimerState(ClockRecord& clock, uint64_t now) {
    if (!IsTimerClock(clock) || !clock.running) return 0;
    wchar_t before[kTimerTextChars];
    size_t beforeLength = TimerText(clock, clock.elapsed, before);
    const uint64_t old = clock.elapsed;

    bool finished;
    if (IsCountdown(clock)) {
        finished = now >= clock.start;
        if (!finished) clock.elapsed = clock.start - now;
    } else {
        // A clock set back before the start ends the run too.
        finished = now < clock.start;
        if (!finished) clock.elapsed = now - clock.start;
    }
    if (finished) {
        clock.elapsed = 0;
        clock.running = 0;
        TimerJustFinished(clock) = 1;
    }

    if (clock.elapsed == old) return 0;
    wchar_t after[kTimerTextChars];
    size_t afterLength = TimerText(clock, clock.elapsed, after);
    if (afterLength != beforeLength) return 2;
    MaskDigitsForWidth(before);
    MaskDigitsForWidth(after);
    return wcscmp(before, after) != 0 ? 2 : 1;
}

void MaskDigitsForWidth(wchar_t* text) {
    if (!text) return;
    for (; *text; ++text) {
        if (*text >= L'1' && *text <= L'9') *text = L'0';
    }
}
