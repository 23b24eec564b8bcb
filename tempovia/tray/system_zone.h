// Making a clock's zone the computer's time zone (menu command 401).
#pragma once

#include <windows.h>

struct ClockRecord;

inline constexpr DWORD kZoneFailBeepHz = 1500;
inline constexpr DWORD kZoneFailBeepMs = 100;
inline constexpr UINT kSettingChangeTimeoutMs = 512;

// Sets the clock's zone (and the system's automatic daylight saving to match
// the clock's choice), refreshes the computer's own zone and tells every
// window. A refused zone gives a short beep and changes nothing else. True
// when the zone was set.
bool SetSystemTimeZone(HWND mainWindow, const ClockRecord& clock);
