// The month calendar opened without a display: its control, week options,
// closing and the kept position.
#include <windows.h>
#include <commctrl.h>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/records/clock_table.h"
#include "tempovia/panels/calendar.h"
#include "tempovia/panels/main_window_source.h"
#include "tests/panels/panels_fixture.h"

namespace panels_test {
namespace {

using Calendar = PanelsTest;

RECT Rect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

TEST_F(Calendar, OpensOnceOwnedByTheMainWindowWithItsControlFitted) {
    g_settings.iso_weeks = 0;
    panels::ShowCalendar();
    ASSERT_TRUE(panels::IsCalendarOpen());
    HWND cal = panels::CalendarWindow();
    EXPECT_EQ(GetWindow(cal, GW_OWNER), main_);
    EXPECT_TRUE(IsWindowVisible(cal));
    EXPECT_EQ(WindowText(cal), L"Calendar");
    HWND month = GetDlgItem(cal, panels::kMonthCalendarId);
    ASSERT_NE(month, nullptr);
    EXPECT_TRUE(GetWindowLongPtrW(month, GWL_STYLE) & MCS_WEEKNUMBERS);
    // The control fills the client area from 0,0 and is no smaller than it needs.
    RECT client{}, control{}, need{};
    GetClientRect(cal, &client);
    GetWindowRect(month, &control);
    MapWindowPoints(nullptr, cal, reinterpret_cast<POINT*>(&control), 2);
    EXPECT_EQ(control.left, 0);
    EXPECT_EQ(control.top, 0);
    EXPECT_EQ(control.right, client.right);
    EXPECT_EQ(control.bottom, client.bottom);
    SendMessageW(month, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
    EXPECT_GE(client.right, need.right - need.left);
    EXPECT_GE(client.bottom, need.bottom - need.top);
    // Nothing stored: centred on the work area.
    const RECT r = Rect(cal), work = WorkArea();
    EXPECT_NEAR(r.left - work.left, work.right - r.right, 1);
    EXPECT_NEAR(r.top - work.top, work.bottom - r.bottom, 1);

    // Asked again: the same window.
    panels::ShowCalendar();
    EXPECT_EQ(panels::CalendarWindow(), cal);
    EXPECT_EQ(panels::ShowCalendar(), cal);
}

TEST_F(Calendar, IsoWeeksStartOnMondayWithoutTheControlsWeekNumbers) {
    g_settings.iso_weeks = 1;
    panels::ShowCalendar();
    HWND month = GetDlgItem(panels::CalendarWindow(), panels::kMonthCalendarId);
    ASSERT_NE(month, nullptr);
    EXPECT_FALSE(GetWindowLongPtrW(month, GWL_STYLE) & MCS_WEEKNUMBERS);
    EXPECT_EQ(LOWORD(SendMessageW(month, MCM_GETFIRSTDAYOFWEEK, 0, 0)), 0);
    // A new calendar follows a changed option.
    g_settings.iso_weeks = 0;
    panels::CloseCalendar();
    panels::ShowCalendar();
    month = GetDlgItem(panels::CalendarWindow(), panels::kMonthCalendarId);
    EXPECT_TRUE(GetWindowLongPtrW(month, GWL_STYLE) & MCS_WEEKNUMBERS);
}

TEST_F(Calendar, EscapeClosesAndThePositionIsKept) {
    panels::ShowCalendar();
    HWND cal = panels::CalendarWindow();
    SetWindowPos(cal, nullptr, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(cal, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(cal));
    EXPECT_FALSE(panels::IsCalendarOpen());
    const std::wstring section = UserPrefix() + L":main";
    EXPECT_EQ(ReadIniInt(IniPath().c_str(), section.c_str(), L"calendar_x", 0), 40);
    EXPECT_EQ(ReadIniInt(IniPath().c_str(), section.c_str(), L"calendar_y", 0), 60);

    panels::ShowCalendar();
    RECT r = Rect(panels::CalendarWindow());
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 60);
    panels::CloseCalendar();
    EXPECT_FALSE(panels::IsCalendarOpen());
    panels::CloseCalendar();  // twice is harmless
}

TEST_F(Calendar, APlaceOnNoMonitorIsCentredOnTheNearestOne) {
    const std::wstring section = UserPrefix() + L":main";
    WriteIniInt(IniPath().c_str(), section.c_str(), L"calendar_x", 30000);
    WriteIniInt(IniPath().c_str(), section.c_str(), L"calendar_y", 30000);
    panels::ShowCalendar();
    HWND cal = panels::CalendarWindow();
    ASSERT_NE(cal, nullptr);
    EXPECT_NE(MonitorFromWindow(cal, MONITOR_DEFAULTTONULL), nullptr);
    const RECT r = Rect(cal);
    EXPECT_LT(r.left, 30000);
    EXPECT_LT(r.top, 30000);

    // Only one coordinate stored counts as nothing stored.
    panels::CloseCalendar();
    WriteIniString(IniPath().c_str(), section.c_str(), L"calendar_y", nullptr);
    panels::ShowCalendar();
    const RECT c = Rect(panels::CalendarWindow()), work = WorkArea();
    EXPECT_NEAR(c.left - work.left, work.right - c.right, 1);
}

TEST_F(Calendar, WithoutAMainWindowItHasNoOwner) {
    panels::SetMainWindowSource(nullptr);
    panels::ShowCalendar();
    ASSERT_TRUE(panels::IsCalendarOpen());
    // Without an owner it is a top-level window of its own.
    EXPECT_EQ(GetWindow(panels::CalendarWindow(), GW_OWNER), nullptr);
}

}  // namespace
}  // namespace panels_test
