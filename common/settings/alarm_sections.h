// Alarm sections of the INI files, "<clock section>:alarm<M>" (M = 1, 2, ...
// without gaps): one AlarmRecord each, with one key per schedule kind
// (`once`, `daily`, `weekly`, `monthly`, `yearly`, `cron`) or, on a timer
// clock, its place on the timer (`time` or `timestamp`).
#pragma once

#include <string>

#include "common/records/alarm_record.h"
#include "common/records/clock_record.h"

// Schedule keys are read up to this many characters.
inline constexpr DWORD kAlarmValueChars = 512;

// "<clockSection>:alarm<m>"
std::wstring AlarmSectionName(const wchar_t* clockSection, int m);

// A new alarm: enabled, once at 08:00, a reminder 15 minutes before (shown only
// for positive values), named by the localised "Alarm".
void InitAlarmRecord(AlarmRecord& alarm);

// Reads alarm m of the clock section. False, with alarm untouched, when the
// section is missing or does not hold a valid alarm; the clock reader stops there.
bool ReadAlarmRecord(const wchar_t* file, const wchar_t* clockSection, const ClockRecord& clock, int m,
                     AlarmRecord& alarm);

// Writes alarm m of the clock section. False when a key could not be written or
// the alarm's type is unknown (nothing is written after `enabled` then).
bool WriteAlarm(const wchar_t* file, const wchar_t* clockSection, const ClockRecord& clock, int m,
                const AlarmRecord& alarm);

// For a countdown to a date or a stopwatch from a set start: stores time (in
// the clock's zone) as the alarm's moment and its distance from the clock's end
// or start, in whole seconds, as the timer offset. A moment past a countdown's
// end or before a stopwatch's start gets offset 0. False for other clocks or
// when the time does not convert.
bool SetAlarmTimerOffset(const SYSTEMTIME& time, const ClockRecord& clock, AlarmRecord& alarm);
