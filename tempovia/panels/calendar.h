// The month calendar: a small modeless dialog of the main program, owned by
// the main window, whose place on the screen is kept between runs.
#pragma once

#include <windows.h>
#include "resources/resource_ids.h"

namespace panels {

inline constexpr UINT kCalendarDialogId = IDD_CALENDAR;
inline constexpr int kMonthCalendarId = IDC_MONTH_CALENDAR;
inline constexpr UINT kCalendarCaptionId = IDS_CALENDAR_CAPTION;
inline constexpr wchar_t kCalendarKeyX[] = L"calendar_x";
inline constexpr wchar_t kCalendarKeyY[] = L"calendar_y";
inline constexpr int kCalendarNotStored = 0x7FFF;

// Brings an open calendar to the foreground, else opens it. The window, or
// null when the dialog could not be made.
HWND ShowCalendar();
bool IsCalendarOpen();
HWND CalendarWindow();
void CloseCalendar();

// Moves the window to the stored corner (when both coordinates are stored),
// then centres it when nothing was stored or it lies on no monitor.
void LoadCalendarPos(HWND window);
void SaveCalendarPos(HWND window);
// always: centres on the work area; otherwise only a window on no monitor is
// centred, on the work area of its nearest monitor. The size stays.
void CenterOnWorkArea(HWND window, bool always);

INT_PTR CALLBACK CalendarDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace panels
