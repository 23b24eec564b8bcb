// Tokens in an alarm's message text ("$city", "${time(HH:mm)}"), replaced
// when the alarm's row is added to the alarm log.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>

#include "common/records/alarm_record.h"
#include "common/records/clock_record.h"

// Room of an expanded message with its terminator: at most 548 characters.
inline constexpr size_t kMessageTextChars = 549;

// What the "version" and "compiled" tokens show; the program fills in its own.
struct MessageTokenProgram {
    int major = 5;
    int minor = 0;
    int patch = 0;
    SYSTEMTIME buildUtc = {};  // shown in the computer's zone; nothing when not set
};

void SetMessageTokenProgram(const MessageTokenProgram& program);
const MessageTokenProgram& CurrentMessageTokenProgram();

// Expands the tokens of `text` into out, writing at most
// min(size, kMessageTextChars) - 1 characters and the terminator; returns the
// length. The clock and the alarm may be missing; due is the alarm's moment
// in the clock's time. A missing text gives an empty result.
size_t ExpandMessageTokens(const wchar_t* text, wchar_t* out, size_t size, const ClockRecord* clock,
                           const AlarmRecord* alarm, const SYSTEMTIME& due);

// The date or time of a date/time token. `suffix` is what follows the token's
// name: nothing (the locale's short date or time), "()" (the clock's own
// format; an empty format without a clock) or "(<picture or format name>)";
// anything else gives an empty text. Returns the length written.
size_t FormatTokenDate(wchar_t* buffer, size_t size, const SYSTEMTIME& time, std::wstring_view suffix,
                       const ClockRecord* clock);
size_t FormatTokenTime(wchar_t* buffer, size_t size, const SYSTEMTIME& time, std::wstring_view suffix,
                       const ClockRecord* clock);

// Copies a token's text to out, stopping before `end`; returns the number of
// characters copied (0 for a missing or empty text). No terminator is written.
size_t CopyTokenText(const wchar_t* text, wchar_t* out, const wchar_t* end);
