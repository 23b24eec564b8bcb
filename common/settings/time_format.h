// Times of day and dates as the user sees and types them: the locale's time
// separator and AM/PM symbols, the named time formats of a clock ("Default",
// "24 hours", "12 hours" or a picture) and date pictures with week numbers.
#pragma once

#include <windows.h>

#include <cstddef>

// The locale's way of writing a time of day, read from the user's default locale.
struct LocaleTimeFormat {
    wchar_t separator[7];  // at most 6 characters; ":" when the locale gives none
    bool is24Hour;         // also when the locale cannot say
    wchar_t am[9];         // at most 8 characters each; empty when none
    wchar_t pm[9];
};

// Re-reads the locale. True when the separator or the 24-hour flag changed,
// or, for 12-hour time, the AM or PM symbol changed.
bool ReadLocaleTimeFormat();
// The state in force; the user's locale is read at the first use.
const LocaleTimeFormat& CurrentLocaleTimeFormat();
// Puts a given state in force instead of the locale's (tests pin it this way).
void SetLocaleTimeFormat(const LocaleTimeFormat& format);

// Errors of ParseTimeText.
inline constexpr int kTimeTextBadHour = -1;
inline constexpr int kTimeTextNoSeparator = -2;
inline constexpr int kTimeTextBadMinute = -3;
inline constexpr int kTimeTextBadSecond = -4;
inline constexpr int kTimeTextBadSuffix = -5;

// Writes a second of the day as "hh<sep>mm[<sep>ss]" in 24-hour time, or on the
// 12-hour dial followed by a blank and the AM or PM symbol. Returns the length.
size_t FormatSeconds(wchar_t* buffer, size_t size, unsigned secondsOfDay, bool withSeconds);
// Reads a time of day typed as FormatSeconds writes it (seconds and the AM/PM
// symbol optional). Returns the second of the day, or one of the errors above.
int ParseTimeText(const wchar_t* text);

// The room GetTimeFormatW is given for a named time format.
inline constexpr size_t kTimeTextChars = 289;
// The room GetDateFormatW is given for a date picture.
inline constexpr size_t kDateTextChars = 80;

// Formats a time of day by a clock's time format name or picture. Returns the
// length; "Error!" when the locale cannot format it.
size_t FormatTimeByName(wchar_t* buffer, size_t size, const SYSTEMTIME& time, const wchar_t* name);
// Formats a date by a picture with the week extensions ("w", "ww", "wd", "wD")
// and "\n" for a line break (a blank with oneLine). "None" or an empty picture
// gives an empty text. Returns the length.
size_t FormatDate(wchar_t* buffer, size_t size, const SYSTEMTIME& time, const wchar_t* picture, bool oneLine);

// True for a time picture of the user's own (not one of the named formats)
// that shows seconds.
bool IsCustomTimeFormat(const wchar_t* name);
