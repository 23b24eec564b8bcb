// Running state of timer clocks (stopwatches and countdowns): starting,
// pausing, resetting and the once-a-second advance. All moments are UTC
// FILETIME values in 100-ns units with the milliseconds dropped.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/records/clock_record.h"

inline constexpr uint64_t kTimerUnitsPerSecond = 10000000ULL;

// The clock record keeps "just finished" (a countdown reached zero; cleared by
// the next alarm check) in its run-time word.
inline uint32_t& TimerJustFinished(ClockRecord& clock) { return clock.runtimeArea; }
inline uint32_t TimerJustFinished(const ClockRecord& clock) { return clock.runtimeArea; }

// The current UTC moment, whole seconds.
uint64_t CurrentTimerMoment();
// A UTC SYSTEMTIME as such a moment (milliseconds dropped); 0 when invalid.
uint64_t TimerMomentFromSystemTime(const SYSTEMTIME& utc);

// Starts or resumes a timer; a running stopwatch is left as it is.
void ToggleTimerRunning(ClockRecord& clock);
void ToggleTimerRunningAt(ClockRecord& clock, uint64_t now);
// Pauses: the value keeps the last elapsed or remaining time.
void StopTimer(ClockRecord& clock);
// Stops the timer and sets its value back to its idle state.
void ResetTimer(ClockRecord& clock);
void ResetTimerAt(ClockRecord& clock, uint64_t now);

// Advances a running timer to now. Returns 0 when its text did not change, 1
// when only digits changed, 2 when the text's length or another character
// changed (the face must be laid out again).
int UpdateTimerState(ClockRecord& clock, uint64_t now);
int UpdateTimerState(ClockRecord& clock, const SYSTEMTIME& nowUtc);

// Replaces every digit 1..9 by 0, so that texts that differ only in digits
// compare equal.
void MaskDigitsForWidth(wchar_t* text);
