// Fixed tables and small rules of the clock, desktop and formats pages: the
// format lists offered in the combo boxes, the click actions, and the
// conversions between record fields and control texts.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include "resources/resource_ids.h"

// Control ids of the clock pages.
inline constexpr int IDC_CLOCK_LOCATION = 1160;
inline constexpr int IDC_CLOCK_PICK_LOCATION = 1161;
inline constexpr int IDC_CLOCK_DAYLIGHT = 1018;
inline constexpr int IDC_CLOCK_PREFIX = 1010;
inline constexpr int IDC_CLOCK_PREFIX_MIRROR = 1241;
inline constexpr int IDC_CLOCK_ACTION = 1111;
inline constexpr int IDC_CLOCK_URL = 1009;
inline constexpr int IDC_CLOCK_BROWSE = 1071;
inline constexpr int IDC_CLOCK_ON_DESKTOP = 1164;
inline constexpr int IDC_CLOCK_IN_TASKBAR = 1165;
inline constexpr int IDC_TIMER_TO_DATE = 1284;
inline constexpr int IDC_TIMER_FOR_DURATION = 1287;
inline constexpr int IDC_TIMER_FROM_START = 1306;
inline constexpr int IDC_TIMER_DATE = 1285;
inline constexpr int IDC_TIMER_TIME = 1286;
inline constexpr int IDC_TIMER_DAYS = 1288;
inline constexpr int IDC_TIMER_HOURS = 1289;
inline constexpr int IDC_TIMER_MINUTES = 1290;
inline constexpr int IDC_TIMER_SECONDS = 1291;
// Desktop page.
inline constexpr int IDC_DESKTOP_OPACITY = 1151;
inline constexpr int IDC_DESKTOP_SKIN = 1166;
inline constexpr int IDC_DESKTOP_OPAQUE = 1167;
// Formats page.
inline constexpr int IDC_FORMAT_TIME = 1079;
inline constexpr int IDC_FORMAT_DATE = 1080;
inline constexpr int IDC_FORMAT_SECONDS_HAND = 1254;
inline constexpr int IDC_FORMAT_SUFFIX = 1255;
// The owner-drawn preview of the desktop and formats pages.
inline constexpr int IDC_PAGE_PREVIEW = 1086;

// Dialog resources of the page variants.
inline constexpr UINT kClockPageResource = IDD_PAGE_CLOCK;
inline constexpr UINT kCountdownPageResource = IDD_PAGE_COUNTDOWN;
inline constexpr UINT kStopwatchPageResource = IDD_PAGE_STOPWATCH;
inline constexpr UINT kDesktopPageResource = IDD_PAGE_DESKTOP;
inline constexpr UINT kFormatsPageResource = IDD_PAGE_FORMATS;
inline constexpr UINT kTimerFormatsPageResource = IDD_PAGE_TIMER_FORMATS;
// Their indexes in the main dialog's page table.
inline constexpr int kClockPageIndex = 5;
inline constexpr int kFormatsPageIndex = 6;
inline constexpr int kDesktopPageIndex = 7;
inline constexpr int kCountdownPageIndex = 12;
inline constexpr int kStopwatchPageIndex = 13;
inline constexpr int kTimerFormatsPageIndex = 14;

// One entry of a format list: the text stored in the record, and the string
// id of its localised display text (0: shown as stored).
struct FormatEntry {
    const wchar_t* canonical;
    UINT textId;
};
inline constexpr int kTimeFormatCount = 13;
inline constexpr int kDateFormatCount = 14;
inline constexpr int kTimerFormatCount = 6;
// The date entry whose localised text is itself the stored picture.
inline constexpr int kWeekDateEntry = 13;
extern const FormatEntry kTimeFormats[kTimeFormatCount];
extern const FormatEntry kDateFormats[kDateFormatCount];
extern const FormatEntry kTimerFormats[kTimerFormatCount];

// The text a combo box shows for an entry: the language's text for its id
// when there is one, else the stored text.
std::wstring FormatDisplayText(const FormatEntry& entry);
// What a combo box shows for a stored format: the display text of the last
// table entry whose stored text equals it, else the stored text itself.
std::wstring DisplayTextForFormat(const FormatEntry* table, int count, const wchar_t* stored);
// What is stored for a combo text: the stored text of the entry whose display
// text equals it (the week entry excepted), else the text as typed.
std::wstring StoredTextForFormat(const FormatEntry* table, int count, const wchar_t* shown, int keepEntry = -1);

// Click actions: string ids of the items, item data 0..7; the last item is
// offered only for timers.
inline constexpr int kClockActionCount = 8;
extern const UINT kClockActionTextIds[kClockActionCount];
// The item a stored action selects (values outside 0..7 select item 0).
int ActionItemForRecord(int32_t action);
// The action the url belongs to.
inline constexpr int32_t kActionOpenUrl = 1;

// A countdown's duration split into the four fields.
struct DurationFields {
    uint32_t days, hours, minutes, seconds;
};
DurationFields SplitDuration(uint32_t seconds);
// Reads the four texts (days, hours, minutes, seconds); false when one does
// not begin with a decimal number, is negative, days exceed 999 or the sum
// does not fit the record's 32-bit duration.
bool ParseDuration(const wchar_t* days, const wchar_t* hours, const wchar_t* minutes, const wchar_t* seconds,
                   uint32_t* total);

// A city name up to its first comma, at most 30 characters: a clock's prefix.
std::wstring CityPrefix(const wchar_t* cityName);
// True when the text is empty or only blanks.
bool IsBlankText(const wchar_t* text);
