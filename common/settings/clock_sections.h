// Clock sections of the INI files: reading a section into a ClockRecord (with
// its background profiles and alarms), writing a record back, and the title a
// clock goes by in the settings tree.
#pragma once

#include <cstddef>
#include <string>

#include "common/records/clock_record.h"

// "<prefix>:clock<n>"
std::wstring ClockSectionName(const wchar_t* prefix, int n);

// Fills the record from one section of the file. Values the section lacks fall
// back to the reader's defaults and, outside default.ini, to [default:newclock].
// With withAlarms the alarm sections "<section>:alarm1", ... are read into the
// record's alarm array (grown as needed) until one is missing or invalid;
// without it the alarm count is 0. The record's number, colours and run-time
// fields are left to the caller. Returns the section's `expanded` value.
int ReadClockRecord(const wchar_t* section, const wchar_t* file, ClockRecord& record, bool withAlarms);

// ReadClockRecord of "<prefix>:clock<n>" with alarms; the record's number becomes n.
int ReadClockByIndex(const wchar_t* prefix, const wchar_t* file, int n, ClockRecord& record);

// Writes "<user prefix>:clock<number>" of tempovia.ini with the record's
// profiles and alarms. False when a key or section could not be written.
bool WriteClockRecord(const ClockRecord& record);
// The same into any file and section.
bool WriteClockSection(const wchar_t* file, const wchar_t* section, const ClockRecord& record);

// The running state of a timer clock as the main program saves it between runs:
// `running`, and `elapsed` with `start_time` (`term` for a stopwatch from a set
// start), or `remaining` with `term_tsc` (countdown), or `term` (countdown to a
// date). Nothing for other clocks; true then.
bool WriteTimerState(const wchar_t* file, const wchar_t* section, const ClockRecord& record);

// The title of a clock in the settings tree; at most size - 1 characters.
void GetClockTitle(const ClockRecord& record, wchar_t* buffer, size_t size);
