// The alarm page: one alarm of a clock or timer, with its comment, action,
// reminder and schedule. A clock's schedule is edited in one of the six
// schedule editors (settings/schedule_editor.h) that the page lays over its
// placeholder and shows one at a time.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "common/records/alarm_record.h"
#include "common/records/clock_record.h"
#include "resources/resource_ids.h"

// The page variants, all served by AlarmPageDlgProc.
inline constexpr UINT kAlarmPageClock = IDD_PAGE_ALARM;
inline constexpr UINT kAlarmPageAt = IDD_PAGE_ALARM_AT;    // a timer with a set date
inline constexpr UINT kAlarmPageDown = IDD_PAGE_ALARM_DOWN;  // a countdown without a set date
inline constexpr UINT kAlarmPageUp = IDD_PAGE_ALARM_UP;    // a stopwatch without a set start
inline constexpr int kAlarmPageIndexClock = 9;
inline constexpr int kAlarmPageIndexAt = 15;
inline constexpr int kAlarmPageIndexDown = 16;
inline constexpr int kAlarmPageIndexUp = 17;

// Controls of the page.
inline constexpr int kIdcAlarmComment = 1089;
inline constexpr int kIdcAlarmTitle = 1242;
inline constexpr int kIdcAlarmText = 1112;
inline constexpr int kIdcReminderOn = 1078;
inline constexpr int kIdcReminderList = 1110;
inline constexpr int kIdcFirstKindRadio = 1091;  // 1091..1096 by schedule kind
inline constexpr int kIdcAction = 1111;
inline constexpr int kIdcBrowse = 1113;
inline constexpr int kIdcEditorArea = 1114;
inline constexpr int kIdcTestAlarm = 1139;
inline constexpr int kIdcTimerDate = 1285;
inline constexpr int kIdcTimerTime = 1286;
inline constexpr int kIdcOffsetDays = 1288;
inline constexpr int kIdcOffsetHours = 1289;
inline constexpr int kIdcOffsetMinutes = 1290;
inline constexpr int kIdcOffsetSeconds = 1291;

inline constexpr int kCommentMaxChars = 77;
inline constexpr int kTextMaxChars = 259;
inline constexpr int kOffsetFieldChars[4] = {3, 6, 8, 10};
inline constexpr int kMaxOffsetDays = 999;

// Reminder choices in minutes, the list's item data in this order.
inline constexpr int kReminderChoices[] = {1, 5, 15, 30, 60, 240, 480, 720, 1440, 2880, 5760, 10080};
// Unit formats of a reminder's text (the number is given twice).
inline constexpr UINT kReminderDaysStringId = IDS_REMINDER_DAYS;
inline constexpr UINT kReminderHoursStringId = IDS_REMINDER_HOURS;
inline constexpr UINT kReminderMinutesStringId = IDS_REMINDER_MINUTES;
inline constexpr int kReminderUnitChars = 15;

// Names of actions 0..8.
inline constexpr UINT kFirstActionStringId = IDS_ALARM_ACTION_FIRST;
inline constexpr int kAlarmActionCount = 9;

// Proposed for an action that opens an address when the text holds none.
inline constexpr wchar_t kProductHomePage[] = L"http://www.tempovia.example/";

// "Can not create dialog %d. Error code %d", caption "Error".
inline constexpr wchar_t kEditorCreateFailedFormat[] = L"Can not create dialog %d. Error code %d";

// Days, hours and minutes of a reminder, each with its unit format, joined by
// blanks; parts that are 0 are left out.
std::wstring FormatReminderText(int minutes);

// Carries the values of schedule kind `from` into the other kinds, so that a
// switch of kinds keeps what the user entered.
void CarryScheduleValues(AlarmRecord& alarm, int from);

// Gives every kind other than the alarm's own the values of `now` (a clock's
// local time; its seconds are cleared here).
void SetFreshScheduleValues(AlarmRecord& alarm, SYSTEMTIME now);

// The text after a change of action: cleared for shutdown and hibernate, the
// home page for an address without "://", cleared when it is the home page
// or when a message alarm (stored action 0) gets another action.
void FixActionText(wchar_t* text, size_t size, int newAction, int storedAction);

// Filter of the open-file dialog for an action (pairs of texts, ending in an
// empty one).
const wchar_t* BrowseFilter(int action);

// Whether the page enables the browse button for an action, and the text.
inline bool ActionTakesFile(int action) {
    return action == 1 || action == 2 || action == 3 || action == 5 || action == 6;
}
inline bool ActionTakesText(int action) { return action != 7 && action != 8; }

// The section of the language file that a clock's alarm page is translated from.
const wchar_t* AlarmPageSection(const ClockRecord* clock, UINT resource);

INT_PTR CALLBACK AlarmPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The alarm the page loaded last (its editors read it), null before a load.
AlarmRecord* PageAlarm(HWND page);
// The page's clock, asked of the main dialog; null when it has none.
ClockRecord* PageClock(HWND page);
// The schedule editor of a kind (null on the timer variants or when it
// could not be created).
HWND ScheduleEditorWindow(HWND page, int kind);
// Posts WM_PAGE_CHANGED to the main dialog unless some page is loading.
void NotifyPageChanged(HWND page, WPARAM flags);

// Runs the test of the page: stores it into a scratch alarm and performs that
// alarm's action now, its dialogs modal. Exposed so that tests reach it.
void TestAlarmNow(HWND page);

// Puts the page procedure into the main dialog's hooks for its four variants.
void RegisterAlarmPages();
