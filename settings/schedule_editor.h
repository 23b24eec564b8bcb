// The six schedule editors of a clock's alarm: small modeless dialogs, children
// of the alarm page, that load and store one schedule kind each through
// WM_PAGE_EXCHANGE (lParam a PageExchangeBlock with the AlarmRecord).
#pragma once

#include <windows.h>

#include "common/records/alarm_record.h"
#include "resources/resource_ids.h"

struct ScheduleEditorSpec {
    UINT resource;
    int radio;  // the kind's radio button on the alarm page
    const wchar_t* section;
    DLGPROC procedure;
};

INT_PTR CALLBACK OnceDlgProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DailyDlgProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK WeeklyDlgProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK MonthlyDlgProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK YearlyDlgProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CronDlgProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam);

// By schedule kind (AlarmType 0..5).
inline constexpr int kScheduleKinds = 6;
extern const ScheduleEditorSpec kScheduleEditors[kScheduleKinds];

// Controls of the editors.
inline constexpr int kIdcTimeOfDay = 1090;
inline constexpr int kIdcStartDate = 1115;
inline constexpr int kIdcDailyEveryN = 1116;
inline constexpr int kIdcDailyInterval = 1117;
inline constexpr int kIdcDailyWorkdays = 1118;
inline constexpr int kIdcWeeklyInterval = 1119;
inline constexpr int kIdcWeekdayChecks[7] = {1100, 1101, 1102, 1103, 1104, 1106, 1107};
inline constexpr int kIdcMonthlyFixed = 1125;
inline constexpr int kIdcMonthlyDay = 1126;
inline constexpr int kIdcMonthlyInterval = 1127;
inline constexpr int kIdcMonthlyByWeekday = 1128;
inline constexpr int kIdcMonthlyWhich = 1130;
inline constexpr int kIdcMonthlyWeekday = 1131;
inline constexpr int kIdcMonthlyStartMonth = 1141;
inline constexpr int kIdcMonthlyStartYear = 1142;
inline constexpr int kIdcYearlyFixed = 1131;
inline constexpr int kIdcYearlyWeekday = 1132;
inline constexpr int kIdcYearlyMonth = 1133;
inline constexpr int kIdcYearlyWeekdayMonth = 1134;
inline constexpr int kIdcYearlyDay = 1135;
inline constexpr int kIdcYearlyByWeekday = 1136;
inline constexpr int kIdcYearlyWhich = 1137;
inline constexpr int kIdcCronMinutes = 1138;
inline constexpr int kIdcCronHours = 1139;
inline constexpr int kIdcCronDays = 1140;
inline constexpr int kIdcCronMonths = 1141;
inline constexpr int kIdcCronWeekdays = 1142;

// Names of "first" .. "last" for the n-th weekday lists.
inline constexpr UINT kFirstOrdinalStringId = IDS_ORDINAL_FIRST;
inline constexpr int kOrdinalCount = 5;
// Items of the monthly start-year list: this year and the nine after it.
inline constexpr int kStartYears = 10;
// The date pickers' format.
inline constexpr wchar_t kStartDateFormat[] = L"dd MMM yyyy";
// A year's month lengths for the yearly kind: that of a leap year.
inline constexpr int kYearlyLengthYear = 2004;

// --- Shared by the editors (schedule_editor_common.cpp) ----------------------

// The time-of-day combo box: filled at 30-minute steps, written with seconds
// only when they are not 0, read back as a second of the day (-1: no time).
void FillTimeOfDay(HWND editor);
void ShowTimeOfDay(HWND editor, unsigned seconds);
int ReadTimeOfDay(HWND editor);
// Date picker 1115.
void InitStartDate(HWND editor);
void ShowStartDate(HWND editor, const SYSTEMTIME& date);
bool ReadStartDate(HWND editor, SYSTEMTIME& date);
// Reads an edit's text as a whole signed number; false when it is none.
bool ReadNumber(HWND editor, int id, int& value);
void ShowNumber(HWND editor, int id, long long value);
// Fills a drop list with texts (item data = index) and keeps the selection.
void FillNameList(HWND editor, int id, const wchar_t* const* names, int count);
void FillOrdinals(HWND editor, int id);
void FillDayNames(HWND editor, int id);
void FillMonthNames(HWND editor, int id);
int Selection(HWND editor, int id);
void Select(HWND editor, int id, int index);
void Fail(LPARAM block, HWND editor, int id);
// The alarm page's record (null before it loaded one).
AlarmRecord* EditorAlarm(HWND editor);
// WM_PAGE_CHANGED to the main dialog through the page.
void EditorChanged(HWND editor);
// Time-of-day messages every time-based editor shares; true when handled.
bool HandleTimeOfDayCommand(HWND editor, WPARAM wParam);
// The second of the day the editor's kind holds in the alarm.
unsigned StoredTimeOfDay(const AlarmRecord& alarm, int kind);

// What sets one editor apart; EditorProc does the rest.
struct EditorOps {
    int kind;
    void (*fillLists)(HWND editor);  // localised lists (may be null)
    void (*load)(HWND editor, const AlarmRecord& alarm);
    void (*store)(HWND editor, AlarmRecord& alarm, LPARAM block);
    bool (*command)(HWND editor, WPARAM wParam);  // may be null
    const int* limits;  // pairs of edit id and most characters, ending in 0
};
INT_PTR EditorProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam, const EditorOps& ops);
