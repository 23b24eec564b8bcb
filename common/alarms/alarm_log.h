// The alarm log: a resizable top-level window listing fired message alarms
// and reminders, newest first, that pops up topmost whenever a row is added.
// Closing only hides it. It also carries the persistence of the alarm check:
// the last check moment is read when the check begins and written at exit, so
// that alarms due while the program was not running fire at the next start.
#pragma once

#include <windows.h>

#include <string>

#include "common/records/alarm_record.h"
#include "common/records/clock_record.h"
#include "resources/resource_ids.h"

inline constexpr wchar_t kAlarmLogClass[] = L"Tempovia_Log_Window";
inline constexpr wchar_t kAlarmLogDefaultTitle[] = L"Tempovia Reminders and Alarms";
inline constexpr int kAlarmLogDeleteButtonId = 1;

// Resource ids of the log's texts and icons in the language resource library.
inline constexpr UINT kLogColumnWhenStringId = IDS_LOG_COLUMN_WHEN;
inline constexpr UINT kLogColumnMessageStringId = IDS_LOG_COLUMN_MESSAGE;
inline constexpr UINT kLogTitleStringId = IDS_LOG_TITLE;
inline constexpr UINT kLogDaysStringId = IDS_LOG_IN_DAYS;
inline constexpr UINT kLogHoursStringId = IDS_LOG_IN_HOURS;
inline constexpr UINT kLogMinutesStringId = IDS_LOG_IN_MINUTES;
inline constexpr UINT kLogAlarmStringId = IDS_LOG_ALARM;
inline constexpr UINT kLogPluralEndingStringId = IDS_LOG_PLURAL_ENDING;
inline constexpr UINT kLogDeleteStringId = IDS_LOG_DELETE;
inline constexpr int kAlarmIconId = IDI_ALARM;
inline constexpr int kReminderIconId = IDI_REMINDER;
inline constexpr int kAlarmLogIconId = IDI_ALARM_LOG;

// Room of each column's text with its terminator: at most 548 characters.
inline constexpr size_t kLogTextChars = 549;
inline constexpr int kDefaultLogColumnWidths[2] = {90, 360};

// Called once when the main window is created: the previous alarm check
// becomes now, then `lastalarmcheck` when that holds a valid moment.
void BeginAlarmCheck();
// The log window, created hidden when first needed (a row to add, the tray's
// "show log"), so that a start without alarms does not build it. Leaves the
// alarm check alone. Null when its class cannot be registered.
HWND AlarmLogWindow();
// The settings program's own copy: BeginAlarmCheck, then AlarmLogWindow.
HWND CreateAlarmLogWindow();
// The window and its list view; null when there is none.
HWND AlarmLogHandle();
HWND AlarmLogList();

// Adds a row at the top for a fired message alarm or a reminder and shows the
// window topmost, creating it first when needed. due is the alarm's moment in
// the clock's time. False when there is no window.
bool AddAlarmLogRow(ClockRecord* clock, const AlarmRecord& alarm, const SYSTEMTIME& due, bool isReminder);
// Selects and focuses the row and scrolls it to the middle; nothing for a
// negative index.
void SelectAlarmLogRow(int index);
// Column widths from `logwindowcolumns`, the row icons and the two columns.
void SetupAlarmLogColumns();
// Re-reads the title, the column titles and the button's text (language change).
void RetitleAlarmLog();
// Deletes the selected row (the first when none is); hides the window when
// that was the last one.
void DeleteAlarmLogRow();

// The first column of a row: how long before the alarm a reminder comes
// ("In 2 days"), or the alarm's own label when it has a due moment.
std::wstring AlarmLogRowLabel(const AlarmRecord& alarm, const SYSTEMTIME& due, bool isReminder);

// Writes the previous alarm check moment to `lastalarmcheck`.
bool SaveLastAlarmCheck();
// Reads `lastalarmcheck` into the previous alarm check moment; false (moment
// unchanged) when the key is missing or not a valid moment.
bool LoadLastAlarmCheck();

// At exit: destroys the stop-playing and countdown windows and the log
// window (which saves the check moment, its place and widths; after
// BeginAlarmCheck a log not yet made is made for that), stops any sound,
// unregisters the class and frees its icon.
void DestroyAlarmWindows();
