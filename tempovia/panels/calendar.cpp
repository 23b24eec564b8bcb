#include "tempovia/panels/calendar.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "common/settings/resource_module.h"
#include "common/settings/time_format_weeks.h"
#include "common/records/clock_table.h"
#include "tempovia/panels/main_window_source.h"

namespace panels {
namespace {

HWND g_calendar = nullptr;

std::wstring MainSection() { return UserPrefix() + L":main"; }

RECT WorkAreaOrDesktop() {
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) GetWindowRect(GetDesktopWindow(), &work);
    return work;
}

void CentreOn(HWND window, const RECT& work) {
    RECT r{};
    if (!GetWindowRect(window, &r)) return;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const int x = work.left + ((work.right - work.left) - width) / 2;
    const int y = work.top + ((work.bottom - work.top) - height) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetUpMonthCalendar(HWND dialog) {
    HWND control = GetDlgItem(dialog, kMonthCalendarId);
    if (!control) return;
    const bool iso = g_settings.iso_weeks != 0;
    LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    // The control counts its weeks from the locale's first day, never by ISO.
    style = iso ? (style & ~static_cast<LONG_PTR>(MCS_WEEKNUMBERS)) : (style | MCS_WEEKNUMBERS);
    SetWindowLongPtrW(control, GWL_STYLE, style);
    SendMessageW(control, MCM_SETFIRSTDAYOFWEEK, 0, iso ? 0 : GetFirstDayOfWeek());

    RECT need{};
    if (!SendMessageW(control, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need))) return;
    const int today = static_cast<int>(SendMessageW(control, MCM_GETMAXTODAYWIDTH, 0, 0));
    need.right = std::max<LONG>(need.right, need.left + today);
    RECT client{};
    GetClientRect(dialog, &client);
    const int width = need.right - need.left;
    const int height = need.bottom - need.top;
    if (client.right == width && client.bottom == height) return;
    RECT outer{};
    GetWindowRect(dialog, &outer);
    SetWindowPos(dialog, nullptr, 0, 0, (outer.right - outer.left) + width - client.right,
                 (outer.bottom - outer.top) + height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(control, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void CenterOnWorkArea(HWND window, bool always) {
    if (!window) return;
    if (always) {
        CentreOn(window, WorkAreaOrDesktop());
        return;
    }
    if (MonitorFromWindow(window, MONITOR_DEFAULTTONULL)) return;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) {
        CentreOn(window, info.rcWork);
    } else {
        CentreOn(window, WorkAreaOrDesktop());
    }
}

void LoadCalendarPos(HWND window) {
    const std::wstring section = MainSection();
    const int x = ReadIniInt(UserIniPath().c_str(), section.c_str(), kCalendarKeyX, kCalendarNotStored);
    const int y = ReadIniInt(UserIniPath().c_str(), section.c_str(), kCalendarKeyY, kCalendarNotStored);
    const bool stored = x != kCalendarNotStored && y != kCalendarNotStored;
    if (stored) SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterOnWorkArea(window, !stored);
}

void SaveCalendarPos(HWND window) {
    RECT r{};
    if (!GetWindowRect(window, &r)) return;
    const std::wstring section = MainSection();
    WriteIniInt(UserIniPath().c_str(), section.c_str(), kCalendarKeyX, r.left);
    WriteIniInt(UserIniPath().c_str(), section.c_str(), kCalendarKeyY, r.top);
}

INT_PTR CALLBACK CalendarDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    try {
        switch (message) {
        case WM_INITDIALOG: {
            g_calendar = dialog;
            const std::wstring caption = Language().LoadUiString(kCalendarCaptionId);
            if (!caption.empty()) SetWindowTextW(dialog, caption.c_str());
            SetUpMonthCalendar(dialog);
            LoadCalendarPos(dialog);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                DestroyWindow(dialog);
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            SaveCalendarPos(dialog);
            if (g_calendar == dialog) g_calendar = nullptr;
            return TRUE;
        default:
            return FALSE;
        }
    } catch (...) {
        // Nothing may unwind into the dialog manager.
        return FALSE;
    }
}

HWND ShowCalendar() {
    if (IsCalendarOpen()) {
        SetForegroundWindow(g_calendar);
        return g_calendar;
    }
    g_calendar = nullptr;
    HMODULE module = ResourceModule();
    if (!module) return nullptr;
    HWND window = CreateDialogParamW(module, MAKEINTRESOURCEW(kCalendarDialogId), MainWindow(), CalendarDlgProc, 0);
    if (!window) return nullptr;
    g_calendar = window;
    ShowWindow(window, SW_SHOW);
    BringWindowToTop(window);
    return window;
}

bool IsCalendarOpen() { return g_calendar && IsWindow(g_calendar); }

HWND CalendarWindow() { return IsCalendarOpen() ? g_calendar : nullptr; }

void CloseCalendar() {
    if (IsCalendarOpen()) DestroyWindow(g_calendar);
    g_calendar = nullptr;
}

}  // namespace panels
