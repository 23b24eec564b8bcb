// The one-line text form of a cron-like schedule, as the `cron` key of an alarm
// section holds it: five fields separated by ";" (minutes; hours; days; months;
// weekdays), each "*", a list of numbers and ranges ("0,30", "8-17"), or empty.
// A day field may instead be one negative number, -1..-31, counting days from
// the end of the month. Weekdays are written 1 (Sunday) .. 7.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/records/alarm_record.h"

// Room for the longest text FormatCronText can produce, with its terminator.
inline constexpr size_t kCronTextChars = 512;

// Parses one field into a mask (bit n for value n, 0 = any value) with values
// low..high (high at most 63). Returns the position of the first character
// after the field, or nullptr on an error; mask is 0 after an error.
const wchar_t* ParseCronField(const wchar_t* text, uint64_t& mask, int low, int high);

// Parses the whole text. On failure cron is left as it was.
bool ParseCronText(const wchar_t* text, CronSchedule& cron);

// Writes one mask ("*" for 0) and returns the position of the terminating zero.
// At most size - 1 characters are written; a text that would not fit is cut.
wchar_t* FormatCronField(uint64_t mask, wchar_t* buffer, size_t size);

// Writes the whole text (kCronTextChars always suffice).
void FormatCronText(const CronSchedule& cron, wchar_t* buffer, size_t size);
