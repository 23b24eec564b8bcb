// The alarm log window driven by its messages: rows of alarms and reminders,
// deleting them, hiding on close, and its keys in [<user>:main] (placement,
// column widths, the last alarm check) through a private tempovia.ini.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/settings/ini_store.h"
#include "common/records/protocol.h"
#include "common/alarms/alarm_action_sink.h"
#include "common/alarms/alarm_actions.h"
#include "common/alarms/alarm_log.h"
#include "common/alarms/alarm_schedule_check.h"
#include "tests/actions/actions_fixture.h"

using actions_test::ActionsTest;
using actions_test::MakeAlarm;
using actions_test::Moment;
using actions_test::PumpMessages;

namespace {

class AlarmLog : public ActionsTest {
protected:
    HWND Create() {
        HWND window = CreateAlarmLogWindow();
        PumpMessages();
        return window;
    }
    static int Rows() { return static_cast<int>(SendMessageW(AlarmLogList(), LVM_GETITEMCOUNT, 0, 0)); }
    static std::wstring Cell(int row, int column) {
        wchar_t text[600] = {};
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 600;
        SendMessageW(AlarmLogList(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return text;
    }
    static int Image(int row) {
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageW(AlarmLogList(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    }
    static int Selected() {
        return static_cast<int>(SendMessageW(AlarmLogList(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    static HWND Button() { return GetDlgItem(AlarmLogHandle(), kAlarmLogDeleteButtonId); }
    static RECT Placement() {
        RECT r = {};
        GetWindowRect(AlarmLogHandle(), &r);
        return r;
    }
    static void PressDelete() {
        SendMessageW(AlarmLogHandle(), WM_COMMAND, MAKEWPARAM(kAlarmLogDeleteButtonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Button()));
    }
    static std::wstring Label(int reminder, bool isReminder, SYSTEMTIME due = Moment(2024, 1, 1, 8, 0)) {
        AlarmRecord alarm = MakeAlarm(kActionMessage, L"x");
        alarm.reminder = reminder;
        return AlarmLogRowLabel(alarm, due, isReminder);
    }
    ClockRecord clock = {};
};

TEST_F(AlarmLog, IsCreatedHiddenInTheLowerRightCornerWithAnEmptyList) {
    HWND window = Create();
    ASSERT_NE(window, nullptr);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    EXPECT_STREQ(name, L"Tempovia_Log_Window");
    EXPECT_FALSE(IsWindowVisible(window));
    wchar_t title[128] = {};
    GetWindowTextW(window, title, 128);
    EXPECT_STREQ(title, L"Tempovia Reminders and Alarms");
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);

    RECT area;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    const RECT placed = Placement();
    EXPECT_EQ(placed.right, area.right);
    EXPECT_EQ(placed.bottom, area.bottom);
    EXPECT_EQ(placed.right - placed.left, (area.right - area.left) / 3);
    EXPECT_EQ(placed.bottom - placed.top, (area.bottom - area.top) / 6);

    ASSERT_NE(AlarmLogList(), nullptr);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(SendMessageW(AlarmLogList(), LVM_GETCOLUMNWIDTH, 0, 0), 90);
    ASSERT_NE(Button(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(Button()));
    wchar_t button[32] = {};
    GetWindowTextW(Button(), button, 32);
    EXPECT_STREQ(button, L"&Delete");
    EXPECT_EQ(Create(), window) << "one log window";
}

TEST_F(AlarmLog, RowsComeNewestFirstWithExpandedTextsAndShowTheWindowTopmost) {
    ASSERT_NE(Create(), nullptr);
    EXPECT_TRUE(AddAlarmLogRow(&clock, MakeAlarm(kActionMessage, L"Pay $$5 to $alarm", L"Bob"),
                               Moment(2024, 3, 5, 7, 30), false));
    EXPECT_TRUE(IsWindowVisible(AlarmLogHandle()));
    EXPECT_TRUE(GetWindowLongW(AlarmLogHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowEnabled(Button()));

    AlarmRecord reminder = MakeAlarm(kActionMessage, L"Standup", L"Daily");
    reminder.reminder = 15;
    EXPECT_TRUE(AddAlarmLogRow(&clock, reminder, Moment(2024, 3, 5, 9, 0), true));
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 0), L"In 15 minutes");
    EXPECT_EQ(Cell(0, 1), L"Standup");
    EXPECT_EQ(Image(0), 1) << "reminder icon";
    EXPECT_EQ(Cell(1, 0), L"Alarm");
    EXPECT_EQ(Cell(1, 1), L"Pay $5 to Bob");
    EXPECT_EQ(Image(1), 0) << "alarm icon";
    EXPECT_EQ(Selected(), 0) << "the new row is selected";
}

TEST_F(AlarmLog, ReminderLabelsCountDaysHoursOrMinutesWithThePluralEnding) {
    ASSERT_NE(Create(), nullptr);
    EXPECT_EQ(Label(90, true), L"In 1 hour");
    EXPECT_EQ(Label(2880, true), L"In 2 days");
    EXPECT_EQ(Label(1440, true), L"In 1 day");
    EXPECT_EQ(Label(1, true), L"In 1 minute");
    EXPECT_EQ(Label(59, true), L"In 59 minutes");
    EXPECT_EQ(Label(0, true), L"") << "no reminder time, no label";
    EXPECT_EQ(Label(-30, true), L"");
    EXPECT_EQ(Label(30, false), L"Alarm");
    EXPECT_EQ(Label(30, false, SYSTEMTIME{}), L"") << "a due moment without a year";
}

TEST_F(AlarmLog, OverLongMessagesAreCutAtTheRowsRoom) {
    ASSERT_NE(Create(), nullptr);
    AlarmRecord alarm = MakeAlarm(kActionMessage, L"");
    for (wchar_t& c : alarm.text) c = L'$';  // unterminated; "$$" gives "$"
    for (wchar_t& c : alarm.comment) c = L'N';
    CopyBounded(alarm.text, L"${alarm}${alarm}${alarm}${alarm}${alarm}${alarm}${alarm}${alarm}");
    EXPECT_TRUE(AddAlarmLogRow(&clock, alarm, Moment(2024, 3, 5, 7, 30), false));
    const std::wstring text = Cell(0, 1);
    EXPECT_EQ(text.size(), kLogTextChars - 1);
    EXPECT_EQ(text, std::wstring(kLogTextChars - 1, L'N'));
}

TEST_F(AlarmLog, DeletingRowsSelectsTheNextAndTheLastDeletionHidesTheWindow) {
    ASSERT_NE(Create(), nullptr);
    for (const wchar_t* text : {L"one", L"two", L"three"}) {
        AddAlarmLogRow(&clock, MakeAlarm(kActionMessage, text), Moment(2024, 3, 5, 7, 30), false);
    }
    // Rows: three, two, one. Delete the middle one through the Delete key.
    SelectAlarmLogRow(1);
    EXPECT_EQ(Selected(), 1);
    NMLVKEYDOWN key = {};
    key.hdr.hwndFrom = AlarmLogList();
    key.hdr.idFrom = 0;
    key.hdr.code = LVN_KEYDOWN;
    key.wVKey = VK_DELETE;
    SendMessageW(AlarmLogHandle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&key));
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 1), L"three");
    EXPECT_EQ(Cell(1, 1), L"one");
    EXPECT_EQ(Selected(), 1) << "the row at the same place";

    PressDelete();  // the last row: the one before it is selected
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Selected(), 0);
    EXPECT_TRUE(IsWindowVisible(AlarmLogHandle()));
    EXPECT_TRUE(IsWindowEnabled(Button()));

    PressDelete();
    EXPECT_EQ(Rows(), 0);
    EXPECT_FALSE(IsWindowVisible(AlarmLogHandle())) << "deleting the only row hides the window";
    EXPECT_FALSE(IsWindowEnabled(Button()));
    PressDelete();  // nothing left to delete
    EXPECT_EQ(Rows(), 0);

    AddAlarmLogRow(&clock, MakeAlarm(kActionMessage, L"again"), Moment(2024, 3, 5, 7, 30), false);
    EXPECT_TRUE(IsWindowVisible(AlarmLogHandle())) << "the next row shows it again";
}

TEST_F(AlarmLog, ClosingHidesAndTheLanguageChangeRetitles) {
    HWND window = Create();
    AddAlarmLogRow(&clock, MakeAlarm(kActionMessage, L"x"), Moment(2024, 3, 5, 7, 30), false);
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(Rows(), 1) << "closing keeps the rows";

    SetWindowTextW(window, L"stale");
    SetWindowTextW(Button(), L"stale");
    SendMessageW(window, MSG_LANGUAGE_CHANGED, 0, 0);
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    EXPECT_STREQ(text, L"Tempovia Reminders and Alarms");
    GetWindowTextW(Button(), text, 64);
    EXPECT_STREQ(text, L"&Delete");
}

TEST_F(AlarmLog, PlacementAndColumnWidthsAreSavedAndRestored) {
    HWND window = Create();
    ASSERT_NE(window, nullptr);
    SetWindowPos(window, nullptr, 100, 120, 500, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(AlarmLogList(), LVM_SETCOLUMNWIDTH, 0, 140);
    DestroyAlarmWindows();
    EXPECT_EQ(AlarmLogHandle(), nullptr);
    EXPECT_EQ(ReadMain(L"logwindowpos"), L"100, 120, 600, 420");
    const std::wstring columns = ReadMain(L"logwindowcolumns");
    EXPECT_EQ(columns.substr(0, 4), L"140 ");
    EXPECT_EQ(ReadMain(L"lastalarmcheck"), std::wstring(kMissingKey)) << "no check has run";

    window = Create();
    ASSERT_NE(window, nullptr);
    const RECT placed = Placement();
    EXPECT_EQ(placed.left, 100);
    EXPECT_EQ(placed.top, 120);
    EXPECT_EQ(placed.right, 600);
    EXPECT_EQ(placed.bottom, 420);
    EXPECT_EQ(SendMessageW(AlarmLogList(), LVM_GETCOLUMNWIDTH, 0, 0), 140);

    // The second column takes the rest of the client width.
    RECT client;
    GetClientRect(window, &client);
    const int rest = client.right - 140 - 2 * GetSystemMetrics(SM_CXEDGE) - GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(SendMessageW(AlarmLogList(), LVM_GETCOLUMNWIDTH, 1, 0), rest);
    DestroyAlarmWindows();

    // Partly on a monitor to the left: coordinates of five characters.
    WriteMain(L"logwindowpos", L"-1000, 120, 10, 420");
    ASSERT_NE(Create(), nullptr);
    EXPECT_EQ(Placement().left, -1000);
    EXPECT_EQ(Placement().top, 120);
}

TEST_F(AlarmLog, UnusablePlacementsAndWidthsFallBackToTheDefaults) {
    RECT area;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    const struct {
        const wchar_t* pos;
        const wchar_t* columns;
    } cases[] = {
        {L"10, 10, 40, 100", L"-5 20"},       // 30 wide; a negative width
        {L"10, 10, 300, 32", L"abc"},         // 22 high; not numbers
        {L"left, top", L"120"},               // not four numbers; one width
        {L"", L""},                           // present but empty
        {L"12345678, 1, 2, 3", L"-1 -1"},     // negative width; wrapped widths
        {L"5000, 5000, 5500, 5300", L"-1"},   // on no monitor attached now
    };
    for (const auto& c : cases) {
        WriteMain(L"logwindowpos", c.pos);
        WriteMain(L"logwindowcolumns", c.columns);
        ASSERT_NE(Create(), nullptr) << c.pos;
        const RECT placed = Placement();
        EXPECT_EQ(placed.right, area.right) << c.pos;
        EXPECT_EQ(placed.bottom, area.bottom) << c.pos;
        EXPECT_EQ(placed.right - placed.left, (area.right - area.left) / 3) << c.pos;
        EXPECT_EQ(SendMessageW(AlarmLogList(), LVM_GETCOLUMNWIDTH, 0, 0), 90) << c.columns;
        DestroyAlarmWindows();
    }
}

TEST_F(AlarmLog, TheLastCheckIsReadAtCreationAndWrittenOnceTheTickHasChecked) {
    WriteMain(L"lastalarmcheck", L"2009.01.31 23:59:58");
    ASSERT_NE(Create(), nullptr);
    const SYSTEMTIME read = g_alarmCheck.previousCheck;
    EXPECT_EQ(read.wYear, 2009);
    EXPECT_EQ(read.wMonth, 1);
    EXPECT_EQ(read.wDay, 31);
    EXPECT_EQ(read.wHour, 23);
    EXPECT_EQ(read.wMinute, 59);
    EXPECT_EQ(read.wSecond, 58);
    g_alarmCheck.checkedOnce = true;
    DestroyAlarmWindows();
    EXPECT_EQ(ReadMain(L"lastalarmcheck"), L"2009.01.31 23:59:58");
}

TEST_F(AlarmLog, AnInvalidLastCheckIsIgnoredAndTheCheckStartsNow) {
    for (const wchar_t* bad : {L"2009.02.30 10:00:00", L"2009.01.31 24:00:00", L"yesterday", L"2009.01.31"}) {
        WriteMain(L"lastalarmcheck", bad);
        SYSTEMTIME before;
        GetSystemTime(&before);
        ASSERT_NE(Create(), nullptr);
        EXPECT_GE(g_alarmCheck.previousCheck.wYear, before.wYear) << bad;
        EXPECT_GE(g_alarmCheck.previousCheck.wYear, 2024) << bad;
        DestroyAlarmWindows();
        EXPECT_EQ(ReadMain(L"lastalarmcheck"), bad) << "nothing written before the tick checked";
    }
}

TEST_F(AlarmLog, TheSinkLogsRemindersAndPerformsDueAlarms) {
    ASSERT_NE(Create(), nullptr);
    AlarmRecord alarm = MakeAlarm(kActionMessage, L"Lunch", L"Noon");
    alarm.reminder = 120;
    AlarmActions().OnReminderDue(&clock, alarm, Moment(2024, 3, 5, 12, 0));
    AlarmActions().OnAlarmDue(alarm, Moment(2024, 3, 5, 12, 0), &clock);
    AlarmActions().OnAlarmDue(MakeAlarm(kActionSound, L"beep!"), Moment(2024, 3, 5, 12, 0), &clock);
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 0), L"Alarm");
    EXPECT_EQ(Cell(1, 0), L"In 2 hours");
    EXPECT_EQ(Image(1), 1);
    EXPECT_EQ(system->beeps.size(), 1u);
}

}  // namespace
