// The texts of the taskbar clock's tooltip: one clock (its label and date, or
// a timer's running time) or every clock with its date and time at one
// moment. Pure functions of the records and a locale, so that they can be
// checked for fixed moments.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "common/records/background_profile.h"
#include "common/records/clock_record.h"

// The tooltip text buffer.
inline constexpr size_t kTooltipTextChars = 2048;
// Limits of the one-clock text (it once lived in the 80-character buffer of
// the notification): a timer's text, label and date together, and the whole
// text with a background profile's name.
inline constexpr size_t kTimerTipChars = 78;
inline constexpr size_t kLabelAndDateChars = 75;
inline constexpr size_t kClockTipChars = 76;

// How the tooltip writes times and dates.
struct TooltipLocale {
    LCID lcid = LOCALE_USER_DEFAULT;
    wchar_t timePattern[32] = L"HH:mm";
    // Empty: the locale's long date format; otherwise this picture (tests pin it).
    wchar_t datePicture[32] = L"";
};

// A time pattern from a locale's time format and separator: "H"/"HH" when the
// format uses "H" (two when it has more than one), else "h"/"hh" and 12-hour;
// the separator and "m"/"mm"; with seconds the separator and "ss" ("s" when
// the format has exactly one "s"); 12-hour patterns end with " tt".
void MakeTimePattern(const wchar_t* localeFormat, const wchar_t* separator, bool withSeconds, wchar_t* buffer,
                     size_t size);
// The same from LOCALE_STIMEFORMAT and LOCALE_STIME of the user's language.
void BuildLocaleTimePattern(wchar_t* buffer, size_t size, bool withSeconds);
// The user's language with its time pattern without seconds.
TooltipLocale CurrentTooltipLocale();

std::wstring FormatTooltipTime(const TooltipLocale& locale, const SYSTEMTIME& time);
std::wstring FormatTooltipDate(const TooltipLocale& locale, const SYSTEMTIME& time);

// A tooltip shows "&" as the prefix character: an "&" that does not follow
// another becomes "&&&", each further "&" of a run "&&".
std::wstring EscapeTooltipAmpersands(const wchar_t* text);

// The one-clock text. A timer: its elapsed or remaining time in the label
// (as format) or its timer format. Another clock: its label, cut so that
// label and date fit kLabelAndDateChars, "\r\n", the date of `local`; then
// "\r\n" and the name of the background profile in force, if it has one.
std::wstring ClockTooltipText(const ClockRecord& clock, const SYSTEMTIME& local, const BackgroundProfile* active,
                              const TooltipLocale& locale);

// One clock of the all-clocks tooltip at a moment.
struct ClockTipRow {
    int index = -1;    // record index
    bool timer = false;
    SYSTEMTIME local = {};
    std::wstring label;
    std::wstring date;
    std::wstring time;  // without seconds
};

// Negative when a comes first: the later local time (date key year x 384 +
// month x 32 + day - 32, then the second of the day), equal times by label.
int CompareClocksForSort(const ClockTipRow& a, const ClockTipRow& b);

// The enabled clocks at the UTC moment, in record order or sorted.
std::vector<ClockTipRow> ClockTipRows(const ClockRecord* clocks, int count, const SYSTEMTIME& utc,
                                      const TooltipLocale& locale, bool sorted);

// Every enabled clock in record order, one line each ("<label>, " when there
// is a label, the date, ", ", the time), lines joined by "\r\n"; cut to the
// tooltip buffer.
std::wstring AllClocksTooltipText(const ClockRecord* clocks, int count, const SYSTEMTIME& utc,
                                  const TooltipLocale& locale);
