// The editors of the kinds that start on a date: once, every N days (or every
// working day) and every N weeks on chosen weekdays.
#include <cstdlib>

#include "settings/schedule_editor.h"

namespace {

constexpr int kMaxWeeklyInterval = 53;

void ShowMoment(HWND editor, const SYSTEMTIME& t) {
    ShowStartDate(editor, t);
    ShowTimeOfDay(editor, t.wHour * 3600u + t.wMinute * 60u + t.wSecond);
}

// Date from the picker, then the time of day; a time that does not parse
// names 1090 and leaves the time as it was.
void StoreMoment(HWND editor, SYSTEMTIME& t, LPARAM block) {
    ReadStartDate(editor, t);
    const int seconds = ReadTimeOfDay(editor);
    if (seconds < 0) {
        Fail(block, editor, kIdcTimeOfDay);
    } else {
        t.wHour = static_cast<WORD>(seconds / 3600);
        t.wMinute = static_cast<WORD>(seconds / 60 % 60);
        t.wSecond = static_cast<WORD>(seconds % 60);
    }
    t.wMilliseconds = 0;
}

// --- once --------------------------------------------------------------------

void LoadOnce(HWND editor, const AlarmRecord& a) { ShowMoment(editor, a.onceTime); }
void StoreOnce(HWND editor, AlarmRecord& a, LPARAM block) { StoreMoment(editor, a.onceTime, block); }

// --- daily -------------------------------------------------------------------

void EnableDailyInterval(HWND editor) {
    EnableWindow(GetDlgItem(editor, kIdcDailyInterval), IsDlgButtonChecked(editor, kIdcDailyEveryN) == BST_CHECKED);
}

void LoadDaily(HWND editor, const AlarmRecord& a) {
    ShowMoment(editor, a.dailyStart);
    ShowNumber(editor, kIdcDailyInterval, std::llabs(a.dailyInterval));
    const bool workdays = a.dailyInterval <= 0;
    CheckRadioButton(editor, kIdcDailyEveryN, kIdcDailyWorkdays, workdays ? kIdcDailyWorkdays : kIdcDailyEveryN);
    EnableDailyInterval(editor);
}

void StoreDaily(HWND editor, AlarmRecord& a, LPARAM block) {
    StoreMoment(editor, a.dailyStart, block);
    const bool workdays = IsDlgButtonChecked(editor, kIdcDailyWorkdays) == BST_CHECKED;
    int n = 0;
    if (!ReadNumber(editor, kIdcDailyInterval, n)) {
        n = 0;
        if (!workdays) Fail(block, editor, kIdcDailyInterval);
    }
    n = std::abs(n);
    a.dailyInterval = workdays ? -n : n;
}

bool DailyCommand(HWND editor, WPARAM wParam) {
    const int id = LOWORD(wParam);
    if ((id == kIdcDailyEveryN || id == kIdcDailyWorkdays) && HIWORD(wParam) == BN_CLICKED) {
        // The interval edit sits between the two radios; the choice is made
        // exclusive here rather than left to the group walk.
        if (IsDlgButtonChecked(editor, id) == BST_CHECKED) {
            CheckDlgButton(editor, id == kIdcDailyEveryN ? kIdcDailyWorkdays : kIdcDailyEveryN, BST_UNCHECKED);
        }
        EnableDailyInterval(editor);
        const AlarmRecord* a = EditorAlarm(editor);
        const bool storedEveryN = a && a->dailyInterval > 0;
        if (!a || storedEveryN != (IsDlgButtonChecked(editor, kIdcDailyEveryN) == BST_CHECKED)) EditorChanged(editor);
        return true;
    }
    if (id == kIdcDailyInterval && HIWORD(wParam) == EN_CHANGE) {
        EditorChanged(editor);
        return true;
    }
    return false;
}

// --- weekly ------------------------------------------------------------------

void LoadWeekly(HWND editor, const AlarmRecord& a) {
    ShowMoment(editor, a.weeklyStart);
    ShowNumber(editor, kIdcWeeklyInterval, a.weeklyInterval);
    for (int day = 0; day < 7; ++day) {
        CheckDlgButton(editor, kIdcWeekdayChecks[day], (a.weekdayMask >> day) & 1 ? BST_CHECKED : BST_UNCHECKED);
    }
}

void StoreWeekly(HWND editor, AlarmRecord& a, LPARAM block) {
    StoreMoment(editor, a.weeklyStart, block);
    uint32_t mask = 0;
    for (int day = 0; day < 7; ++day) {
        if (IsDlgButtonChecked(editor, kIdcWeekdayChecks[day]) == BST_CHECKED) mask |= 1u << day;
    }
    a.weekdayMask = mask;
    int n = 0;
    if (ReadNumber(editor, kIdcWeeklyInterval, n) && n >= 1 && n <= kMaxWeeklyInterval) {
        a.weeklyInterval = n;
    } else {
        Fail(block, editor, kIdcWeeklyInterval);
    }
}

bool WeeklyCommand(HWND editor, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const bool weekday = id >= kIdcWeekdayChecks[0] && id <= kIdcWeekdayChecks[6];
    if ((weekday && HIWORD(wParam) == BN_CLICKED) || (id == kIdcWeeklyInterval && HIWORD(wParam) == EN_CHANGE)) {
        EditorChanged(editor);
        return true;
    }
    return false;
}

constexpr int kDailyLimits[] = {kIdcDailyInterval, 3, 0};
constexpr int kWeeklyLimits[] = {kIdcWeeklyInterval, 2, 0};
const EditorOps kOnce = {kAlarmOnce, nullptr, LoadOnce, StoreOnce, nullptr, nullptr};
const EditorOps kDaily = {kAlarmDaily, nullptr, LoadDaily, StoreDaily, DailyCommand, kDailyLimits};
const EditorOps kWeekly = {kAlarmWeekly, nullptr, LoadWeekly, StoreWeekly, WeeklyCommand, kWeeklyLimits};

}  // namespace

INT_PTR CALLBACK OnceDlgProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    return EditorProc(editor, message, wParam, lParam, kOnce);
}

INT_PTR CALLBACK DailyDlgProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    return EditorProc(editor, message, wParam, lParam, kDaily);
}

INT_PTR CALLBACK WeeklyDlgProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    return EditorProc(editor, message, wParam, lParam, kWeekly);
}
