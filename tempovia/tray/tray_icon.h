// The notification-area icon: shown only while no enabled clock is in the
// taskbar, since the taskbar clocks then give the menu themselves.
#pragma once

#include <windows.h>
#include <shellapi.h>

inline constexpr UINT kTrayIconId = 1;
inline constexpr wchar_t kTrayIconTip[] = L"Tempovia World Clock";
// The record as this program hands it to the shell (the fields up to the
// balloon's identity).
inline constexpr DWORD kTrayIconRecordBytes = 952;
static_assert(NOTIFYICONDATAW_V2_SIZE == kTrayIconRecordBytes);

// Adds the icon unless a clock is in the taskbar or the program icon is
// missing. False when it is not shown afterwards.
bool TrayIconAdd(HWND mainWindow, int taskbarClockCount);
void TrayIconRemove();
void TrayIconUpdate();
bool IsTrayIconShown();
// The record in force (cbSize 0 while the icon is not shown).
const NOTIFYICONDATAW& TrayIconRecord();
