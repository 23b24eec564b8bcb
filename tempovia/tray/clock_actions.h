// What a double click on a clock does (its action option), and the pieces of
// it that other commands share.
#pragma once

#include <windows.h>

#include <string>

struct ClockRecord;

// Clock action values.
inline constexpr int kActionCalendar = 0;
inline constexpr int kActionOpenUrl = 1;
inline constexpr int kActionSettings = 2;
inline constexpr int kActionConverter = 3;
inline constexpr int kActionDateTimePanel = 4;
inline constexpr int kActionCopyTime = 5;
inline constexpr int kActionTimeTable = 6;
inline constexpr int kActionTimerStartStop = 7;

// Carries out the action of clock `index` of the clock table; a bad index,
// no clocks or an unknown action opens the settings.
void ClockDefaultAction(HWND mainWindow, int index);

// Opens a clock's URL: an address ("letters://...") through the shell, any
// other text as a command line. False when nothing was started.
bool OpenClockUrl(const wchar_t* url);

// The text the copy action puts on the clipboard for a clock at `utc`: the
// prefix and the formatted time of a timer, or the prefix, time and date of
// a clock (a desktop clock's last shown time when `useShownTime`).
std::wstring ClockClipboardText(const ClockRecord& clock, const SYSTEMTIME& utc, bool useShownTime);

// Puts the text on the clipboard as CF_UNICODETEXT; nothing for a null text
// or when the clipboard cannot be opened. True when it was set.
bool CopyTextToClipboard(const wchar_t* text);
