// The alarm page's own fields: comment, reminder, action and text, the timer
// variants, and the test button, whose action is recorded through the seam.
#include <windows.h>

#include <commctrl.h>

#include "common/alarms/alarm_actions.h"
#include "settings/page_alarm.h"
#include "tests/alarmpage/page_fixture.h"

namespace alarmpage_test {
namespace {

TEST(ReminderText, JoinsDaysHoursAndMinutes) {
    EXPECT_EQ(FormatReminderText(1441), L"1 day(s) 1 minute(s)");
    EXPECT_EQ(FormatReminderText(60), L"1 hour(s)");
    EXPECT_EQ(FormatReminderText(10080), L"7 day(s)");
    EXPECT_EQ(FormatReminderText(-95), L"1 hour(s) 35 minute(s)");
    EXPECT_EQ(FormatReminderText(0), L"");
}

TEST(ActionText, FitsTheNewAction) {
    wchar_t text[260] = L"C:\\sounds\\bell.wav";
    FixActionText(text, 260, 4, 1);
    EXPECT_STREQ(text, kProductHomePage);
    FixActionText(text, 260, 5, 4);
    EXPECT_STREQ(text, L"");
    wcscpy(text, L"Call the office");
    FixActionText(text, 260, 1, 0);
    EXPECT_STREQ(text, L"");
    wcscpy(text, L"https://example.org/");
    FixActionText(text, 260, 4, 0);
    EXPECT_STREQ(text, L"https://example.org/");
    wcscpy(text, L"C:\\x.exe");
    FixActionText(text, 260, 7, 5);
    EXPECT_STREQ(text, L"");
}

TEST_F(AlarmPageTest, ReminderOfAnOddLengthBecomesTheFirstItem) {
    ASSERT_NE(Create(kAlarmPageClock), nullptr);
    AlarmRecord a = MakeAlarm(kAlarmOnce);
    a.reminder = 7;
    Load(a);
    EXPECT_EQ(ComboSelection(page_, kIdcReminderList), 0);
    wchar_t item[64] = {};
    SendDlgItemMessageW(page_, kIdcReminderList, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, L"7 minute(s)");
    EXPECT_EQ(IsDlgButtonChecked(page_, kIdcReminderOn), BST_CHECKED);
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.reminder, 7);
    // A language change refills the lists and keeps the odd length chosen.
    SendMessageW(page_, MSG_LANGUAGE_CHANGED, 0, 0);
    EXPECT_EQ(SendDlgItemMessageW(page_, kIdcReminderList, CB_GETCOUNT, 0, 0), 13);
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.reminder, 7);

    // The next alarm does not inherit the odd item; an off reminder is negative.
    AlarmRecord b = MakeAlarm(kAlarmOnce);
    b.reminder = -15;
    Load(b);
    EXPECT_EQ(SendDlgItemMessageW(page_, kIdcReminderList, CB_GETCOUNT, 0, 0), 12);
    EXPECT_FALSE(IsWindowEnabled(Item(kIdcReminderList)));
    EXPECT_EQ(IsDlgButtonChecked(page_, kIdcReminderOn), BST_UNCHECKED);
    EXPECT_EQ(Store(b), nullptr);
    EXPECT_EQ(b.reminder, -15);
    Click(page_, kIdcReminderOn);
    EXPECT_TRUE(IsWindowEnabled(Item(kIdcReminderList)));
    EXPECT_EQ(Store(b), nullptr);
    EXPECT_EQ(b.reminder, 15);

    // No reminder at all: nothing to select, yet the page stores and lets the
    // user go; only a reminder switched on needs a length.
    AlarmRecord c = MakeAlarm(kAlarmOnce);
    c.reminder = 0;
    Load(c);
    EXPECT_EQ(ComboSelection(page_, kIdcReminderList), -1);
    EXPECT_EQ(Store(c), nullptr);
    EXPECT_EQ(c.reminder, 0);
    CheckDlgButton(page_, kIdcReminderOn, BST_CHECKED);
    EXPECT_EQ(Store(c), Item(kIdcReminderList));
}

TEST_F(AlarmPageTest, CommentIsMirroredAndAskedForAsNewTitle) {
    ASSERT_NE(Create(kAlarmPageClock), nullptr);
    AlarmRecord a = MakeAlarm(kAlarmOnce);
    wcscpy(a.comment, L"Morning");
    Load(a);
    EXPECT_EQ(Text(Item(kIdcAlarmTitle)), L"Morning");
    EXPECT_EQ(TakeChanges(), 0);
    SetText(Item(kIdcAlarmComment), L"Evening");
    EXPECT_EQ(Text(Item(kIdcAlarmTitle)), L"Evening");
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    ASSERT_EQ(HostChanges().size(), 1u);
    EXPECT_EQ(HostChanges()[0], 1u);
    HostChanges().clear();

    // A comment longer than the record's room is cut, never overrun.
    std::wstring longText(120, L'x');
    SendMessageW(Item(kIdcAlarmComment), EM_LIMITTEXT, 0, 0);
    SetText(Item(kIdcAlarmComment), longText.c_str());
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(wcslen(a.comment), 77u);
}

TEST_F(AlarmPageTest, ActionsSetTheirFieldsAndText) {
    ASSERT_NE(Create(kAlarmPageClock), nullptr);
    AlarmRecord a = MakeAlarm(kAlarmOnce);
    a.action = 0;
    wcscpy(a.text, L"Take the pills");
    Load(a);
    EXPECT_EQ(ComboSelection(page_, kIdcAction), 0);
    EXPECT_EQ(SendDlgItemMessageW(page_, kIdcAction, CB_GETCOUNT, 0, 0), 9);
    EXPECT_FALSE(IsWindowEnabled(Item(kIdcBrowse)));
    EXPECT_EQ(Text(Item(kIdcAlarmText)), L"Take the pills");

    // From a message to a sound: the message is no file name.
    SelectCombo(page_, kIdcAction, 1);
    EXPECT_EQ(Text(Item(kIdcAlarmText)), L"");
    EXPECT_TRUE(IsWindowEnabled(Item(kIdcBrowse)));
    EXPECT_GE(TakeChanges(), 1);
    SetText(Item(kIdcAlarmText), L"C:\\sounds\\bell.wav");
    // An address replaces a plain path by the home page.
    SelectCombo(page_, kIdcAction, 4);
    EXPECT_EQ(Text(Item(kIdcAlarmText)), kProductHomePage);
    EXPECT_FALSE(IsWindowEnabled(Item(kIdcBrowse)));
    // Shutting down takes no text.
    SelectCombo(page_, kIdcAction, 7);
    EXPECT_EQ(Text(Item(kIdcAlarmText)), L"");
    EXPECT_FALSE(IsWindowEnabled(Item(kIdcAlarmText)));
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.action, 7);
    EXPECT_STREQ(a.text, L"");

    // A stored shutdown shows no text even when the record holds one.
    wcscpy(a.text, L"left over");
    Load(a);
    EXPECT_EQ(Text(Item(kIdcAlarmText)), L"");

    // No action chosen names the list.
    SendDlgItemMessageW(page_, kIdcAction, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Store(a), Item(kIdcAction));
}

TEST_F(AlarmPageTest, CountdownPageSplitsAndChecksTheOffset) {
    ClockRecord clock = {};
    clock.kind = kClockTimer | kClockCountdown;
    HostClock() = &clock;
    ASSERT_NE(Create(kAlarmPageDown), nullptr);
    AlarmRecord a = MakeAlarm(kAlarmOnce);
    a.timerOffset = 86400 + 3600 + 60 + 1;
    Load(a);
    EXPECT_EQ(Text(Item(kIdcOffsetDays)), L"1");
    EXPECT_EQ(Text(Item(kIdcOffsetHours)), L"1");
    EXPECT_EQ(Text(Item(kIdcOffsetMinutes)), L"1");
    EXPECT_EQ(Text(Item(kIdcOffsetSeconds)), L"1");
    SetText(Item(kIdcOffsetHours), L"30");
    SetText(Item(kIdcOffsetSeconds), L"5s");
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.timerOffset, 86400u + 30 * 3600 + 60 + 5);

    SetText(Item(kIdcOffsetMinutes), L"x");
    EXPECT_EQ(Store(a), Item(kIdcOffsetMinutes));
    EXPECT_EQ(a.timerOffset, 86400u + 30 * 3600 + 60 + 5);
    SetText(Item(kIdcOffsetMinutes), L"0");
    SetText(Item(kIdcOffsetDays), L"1000");
    EXPECT_EQ(Store(a), Item(kIdcOffsetDays));
    // Fields that together pass the record's 32 bits are refused, not wrapped.
    SetText(Item(kIdcOffsetDays), L"999");
    SetText(Item(kIdcOffsetSeconds), L"4294967295");
    EXPECT_EQ(Store(a), Item(kIdcOffsetSeconds));
    EXPECT_EQ(a.timerOffset, 86400u + 30 * 3600 + 60 + 5);

    // Duration fields that parse let a reminder list with nothing chosen pass.
    SetText(Item(kIdcOffsetSeconds), L"5");
    CheckDlgButton(page_, kIdcReminderOn, BST_CHECKED);
    SendDlgItemMessageW(page_, kIdcReminderList, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Store(a), nullptr);
}

TEST_F(AlarmPageTest, TestButtonRunsTheActionThroughTheSeam) {
    ASSERT_NE(Create(kAlarmPageClock), nullptr);
    AlarmRecord a = MakeAlarm(kAlarmOnce);
    a.action = 1;
    wcscpy(a.text, L"beep!");
    const AlarmRecord before = a;
    Load(a);
    Click(page_, kIdcTestAlarm);
    std::vector<std::wstring> calls = seam_.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], L"beep 1000 300");
    // The test works on a scratch copy: the alarm itself is untouched.
    EXPECT_EQ(a.action, before.action);
    EXPECT_STREQ(a.text, before.text);

    // A program to run: the shell is asked for the file the text names.
    const std::wstring program = dir_.file(L"res_en.dll");
    SelectCombo(page_, kIdcAction, 5);
    SetText(Item(kIdcAlarmText), program.c_str());
    Click(page_, kIdcTestAlarm);
    calls = seam_.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_NE(calls[1].find(L"shell open"), std::wstring::npos);
    EXPECT_NE(calls[1].find(L"res_en.dll"), std::wstring::npos);
}

TEST_F(AlarmPageTest, TheLastFailingControlIsNamedAndTheRestStored) {
    ASSERT_NE(Create(kAlarmPageClock), nullptr);
    AlarmRecord a = MakeAlarm(kAlarmOnce);
    a.reminder = 0;
    Load(a);
    CheckDlgButton(page_, kIdcReminderOn, BST_CHECKED);
    SetText(Item(kIdcAlarmComment), L"Kept");
    SetText(EditorItem(kAlarmOnce, 1090), L"nonsense");
    // Reminder, then the editor: the editor's control is found last.
    EXPECT_EQ(Store(a), EditorItem(kAlarmOnce, 1090));
    SendDlgItemMessageW(page_, kIdcAction, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Store(a), Item(kIdcAction));
    EXPECT_STREQ(a.comment, L"Kept");
}

TEST_F(AlarmPageTest, TimerWithASetDateUsesThePickers) {
    ClockRecord clock = {};
    clock.kind = kClockTimer | kClockCountdown | kClockSetDate;
    HostClock() = &clock;
    ASSERT_NE(Create(kAlarmPageAt), nullptr);
    EXPECT_EQ(ScheduleEditorWindow(page_, kAlarmOnce), nullptr);
    AlarmRecord a = MakeAlarm(kAlarmOnce);
    a.onceTime = SYSTEMTIME{2032, 5, 0, 20, 21, 45, 10, 0};
    Load(a);
    SYSTEMTIME shown = {};
    SendDlgItemMessageW(page_, kIdcTimerDate, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(shown.wDay, 20);
    a.onceTime = SYSTEMTIME{};
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.type, kAlarmOnce);
    EXPECT_EQ(a.onceTime.wYear, 2032);
    EXPECT_EQ(a.onceTime.wMonth, 5);
    EXPECT_EQ(a.onceTime.wDay, 20);
    EXPECT_EQ(a.onceTime.wHour, 21);
    EXPECT_EQ(a.onceTime.wMinute, 45);
    EXPECT_EQ(a.onceTime.wSecond, 10);
}

bool g_sawCountdown = false;

void CALLBACK CancelCountdown(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND countdown = AlarmWindows().countdownWindow;
    if (!countdown || !IsWindow(countdown)) return;
    g_sawCountdown = true;
    KillTimer(nullptr, timer);
    PostMessageW(countdown, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(AlarmPageTest, TestButtonWaitsForTheCountdownItOpens) {
    ASSERT_NE(Create(kAlarmPageClock), nullptr);
    AlarmRecord a = MakeAlarm(kAlarmOnce);
    a.action = 8;
    Load(a);
    g_sawCountdown = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, CancelCountdown);
    Click(page_, kIdcTestAlarm);
    KillTimer(nullptr, timer);
    // The countdown was open while the button ran and is gone when it returns;
    // cancelled, it never asked the system to hibernate.
    EXPECT_TRUE(g_sawCountdown);
    EXPECT_EQ(AlarmWindows().countdownWindow, nullptr);
    for (const std::wstring& call : seam_.Calls()) EXPECT_NE(call, L"hibernate");
}

}  // namespace
}  // namespace alarmpage_test
