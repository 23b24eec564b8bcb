// The editors of the monthly and yearly kinds: a fixed day or the n-th (or
// last) weekday, with the names of the language in force in their lists.
#include <cstdlib>
#include <iterator>

#include "common/zones/date_math.h"
#include "settings/schedule_editor.h"

namespace {

constexpr int kMaxMonthlyInterval = 12;

bool Checked(HWND editor, int id) { return IsDlgButtonChecked(editor, id) == BST_CHECKED; }

// The two radios are not neighbours in id order, so each is set on its own.
void CheckOneOf(HWND editor, int first, int second, bool secondOn) {
    CheckDlgButton(editor, first, secondOn ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(editor, second, secondOn ? BST_CHECKED : BST_UNCHECKED);
}

void EnableAll(HWND editor, const int* ids, size_t count, bool on) {
    for (size_t i = 0; i < count; ++i) EnableWindow(GetDlgItem(editor, ids[i]), on);
}

// A fixed day between 1 and 31 from an edit; false when it is none.
bool ReadDay(HWND editor, int id, uint32_t& day) {
    int n = 0;
    if (!ReadNumber(editor, id, n) || n < 1 || n > 31) return false;
    day = static_cast<uint32_t>(n);
    return true;
}

// --- monthly -----------------------------------------------------------------

void FillStartYears(HWND editor) {
    HWND list = GetDlgItem(editor, kIdcMonthlyStartYear);
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kStartYears; ++i) {
        wchar_t text[16];
        swprintf(text, std::size(text), L"%d", now.wYear + i);
        const LRESULT index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        if (index >= 0) SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), now.wYear + i);
    }
}

void FillMonthlyLists(HWND editor) {
    FillOrdinals(editor, kIdcMonthlyWhich);
    FillDayNames(editor, kIdcMonthlyWeekday);
    FillMonthNames(editor, kIdcMonthlyStartMonth);
    if (SendDlgItemMessageW(editor, kIdcMonthlyStartYear, CB_GETCOUNT, 0, 0) <= 0) FillStartYears(editor);
}

void EnableMonthly(HWND editor) {
    const bool byWeekday = Checked(editor, kIdcMonthlyByWeekday);
    EnableWindow(GetDlgItem(editor, kIdcMonthlyDay), !byWeekday);
    constexpr int kWeekdayIds[] = {kIdcMonthlyWhich, kIdcMonthlyWeekday};
    EnableAll(editor, kWeekdayIds, std::size(kWeekdayIds), byWeekday);
}

void LoadMonthly(HWND editor, const AlarmRecord& a) {
    ShowTimeOfDay(editor, a.monthlyTime);
    ShowNumber(editor, kIdcMonthlyDay, a.monthlyDay);
    ShowNumber(editor, kIdcMonthlyInterval, std::llabs(a.monthlyInterval));
    Select(editor, kIdcMonthlyWhich, a.monthlyWhich != 0 ? static_cast<int>(a.monthlyWhich) - 1 : -1);
    Select(editor, kIdcMonthlyWeekday, static_cast<int>(a.monthlyWeekday));
    Select(editor, kIdcMonthlyStartMonth, a.monthlyStartMonth != 0 ? static_cast<int>(a.monthlyStartMonth) - 1 : -1);
    HWND years = GetDlgItem(editor, kIdcMonthlyStartYear);
    FillStartYears(editor);
    if (a.monthlyStartYear > 2000) {
        const LRESULT count = SendMessageW(years, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            if (static_cast<uint32_t>(SendMessageW(years, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) == a.monthlyStartYear) {
                SendMessageW(years, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            }
        }
        // A start year outside the offered ones (the shipped alarm starts in
        // 2024) gets an item of its own, first or last, so that the box shows
        // the year the alarm keeps.
        if (SendMessageW(years, CB_GETCURSEL, 0, 0) < 0) {
            const uint32_t first = static_cast<uint32_t>(SendMessageW(years, CB_GETITEMDATA, 0, 0));
            const WPARAM at = a.monthlyStartYear < first ? 0 : static_cast<WPARAM>(-1);
            wchar_t text[16];
            swprintf(text, std::size(text), L"%u", a.monthlyStartYear);
            const LRESULT index = SendMessageW(years, CB_INSERTSTRING, at, reinterpret_cast<LPARAM>(text));
            if (index >= 0) {
                SendMessageW(years, CB_SETITEMDATA, static_cast<WPARAM>(index), a.monthlyStartYear);
                SendMessageW(years, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            }
        }
    }
    CheckOneOf(editor, kIdcMonthlyFixed, kIdcMonthlyByWeekday, a.monthlyByWeekday != 0);
    EnableMonthly(editor);
}

void StoreMonthly(HWND editor, AlarmRecord& a, LPARAM block) {
    const bool byWeekday = Checked(editor, kIdcMonthlyByWeekday);
    a.monthlyByWeekday = byWeekday ? 1 : 0;
    const int seconds = ReadTimeOfDay(editor);
    if (seconds < 0) {
        Fail(block, editor, kIdcTimeOfDay);
    } else {
        a.monthlyTime = static_cast<uint32_t>(seconds);
    }
    if (!byWeekday && !ReadDay(editor, kIdcMonthlyDay, a.monthlyDay)) Fail(block, editor, kIdcMonthlyDay);
    int n = 0;
    if (ReadNumber(editor, kIdcMonthlyInterval, n) && n >= 1 && n <= kMaxMonthlyInterval) {
        a.monthlyInterval = n;
    } else {
        Fail(block, editor, kIdcMonthlyInterval);
    }
    // The weekday lists only count when the weekday is chosen: a fixed-day
    // alarm read without them must still be storable.
    const int which = Selection(editor, kIdcMonthlyWhich);
    if (which >= 0) {
        a.monthlyWhich = static_cast<uint32_t>(which + 1);
    } else if (byWeekday) {
        Fail(block, editor, kIdcMonthlyWhich);
    }
    const int weekday = Selection(editor, kIdcMonthlyWeekday);
    if (weekday >= 0) {
        a.monthlyWeekday = static_cast<uint32_t>(weekday);
    } else if (byWeekday) {
        Fail(block, editor, kIdcMonthlyWeekday);
    }
    const int month = Selection(editor, kIdcMonthlyStartMonth);
    if (month >= 0) {
        a.monthlyStartMonth = static_cast<uint32_t>(month + 1);
    } else {
        Fail(block, editor, kIdcMonthlyStartMonth);
    }
    const int yearIndex = Selection(editor, kIdcMonthlyStartYear);
    if (yearIndex >= 0) {
        const auto year = static_cast<uint32_t>(SendDlgItemMessageW(editor, kIdcMonthlyStartYear, CB_GETITEMDATA, yearIndex, 0));
        if (year > 2000) {
            a.monthlyStartYear = year;
        } else {
            Fail(block, editor, kIdcMonthlyStartYear);
        }
    }
}

bool MonthlyCommand(HWND editor, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if ((id == kIdcMonthlyFixed || id == kIdcMonthlyByWeekday) && code == BN_CLICKED) {
        if (Checked(editor, id)) CheckOneOf(editor, kIdcMonthlyFixed, kIdcMonthlyByWeekday, id == kIdcMonthlyByWeekday);
        EnableMonthly(editor);
        const AlarmRecord* a = EditorAlarm(editor);
        if (!a || (a->monthlyByWeekday != 0) != Checked(editor, kIdcMonthlyByWeekday)) EditorChanged(editor);
        return true;
    }
    if ((id == kIdcMonthlyDay || id == kIdcMonthlyInterval) && code == EN_CHANGE) {
        EditorChanged(editor);
        return true;
    }
    if ((id == kIdcMonthlyWhich || id == kIdcMonthlyWeekday || id == kIdcMonthlyStartMonth ||
         id == kIdcMonthlyStartYear) && code == CBN_SELCHANGE) {
        EditorChanged(editor);
        return true;
    }
    return false;
}

// --- yearly ------------------------------------------------------------------

void FillYearlyLists(HWND editor) {
    FillOrdinals(editor, kIdcYearlyWhich);
    FillDayNames(editor, kIdcYearlyWeekday);
    FillMonthNames(editor, kIdcYearlyMonth);
    FillMonthNames(editor, kIdcYearlyWeekdayMonth);
}

void EnableYearly(HWND editor) {
    const bool byWeekday = Checked(editor, kIdcYearlyByWeekday);
    constexpr int kFixedIds[] = {kIdcYearlyDay, kIdcYearlyMonth};
    constexpr int kWeekdayIds[] = {kIdcYearlyWhich, kIdcYearlyWeekday, kIdcYearlyWeekdayMonth};
    EnableAll(editor, kFixedIds, std::size(kFixedIds), !byWeekday);
    EnableAll(editor, kWeekdayIds, std::size(kWeekdayIds), byWeekday);
}

void LoadYearly(HWND editor, const AlarmRecord& a) {
    ShowTimeOfDay(editor, a.yearlyTime);
    ShowNumber(editor, kIdcYearlyDay, a.yearlyDay);
    const int month = a.yearlyMonth != 0 ? static_cast<int>(a.yearlyMonth) - 1 : -1;
    Select(editor, kIdcYearlyMonth, month);
    Select(editor, kIdcYearlyWeekdayMonth, month);
    Select(editor, kIdcYearlyWhich, a.yearlyWhich != 0 ? static_cast<int>(a.yearlyWhich) - 1 : -1);
    Select(editor, kIdcYearlyWeekday, static_cast<int>(a.yearlyWeekday));
    CheckOneOf(editor, kIdcYearlyFixed, kIdcYearlyByWeekday, a.yearlyByWeekday != 0);
    EnableYearly(editor);
}

void StoreYearly(HWND editor, AlarmRecord& a, LPARAM block) {
    const bool byWeekday = Checked(editor, kIdcYearlyByWeekday);
    a.yearlyByWeekday = byWeekday ? 1 : 0;
    bool failed = false;
    auto fail = [&](int id) {
        Fail(block, editor, id);
        failed = true;
    };
    const int seconds = ReadTimeOfDay(editor);
    if (seconds < 0) {
        fail(kIdcTimeOfDay);
    } else {
        a.yearlyTime = static_cast<uint32_t>(seconds);
    }
    if (!byWeekday && !ReadDay(editor, kIdcYearlyDay, a.yearlyDay)) fail(kIdcYearlyDay);
    const int monthList = byWeekday ? kIdcYearlyWeekdayMonth : kIdcYearlyMonth;
    const int month = Selection(editor, monthList);
    if (month >= 0) {
        a.yearlyMonth = static_cast<uint32_t>(month + 1);
    } else {
        fail(monthList);
    }
    const int which = Selection(editor, kIdcYearlyWhich);
    if (which >= 0) {
        a.yearlyWhich = static_cast<uint32_t>(which + 1);
    } else if (byWeekday) {
        fail(kIdcYearlyWhich);
    }
    const int weekday = Selection(editor, kIdcYearlyWeekday);
    if (weekday >= 0) {
        a.yearlyWeekday = static_cast<uint32_t>(weekday);
    } else if (byWeekday) {
        fail(kIdcYearlyWeekday);
    }
    if (!failed && !byWeekday) {
        // 29 February is a valid yearly date; 30 February is not.
        const auto length = static_cast<uint32_t>(DaysInMonth(static_cast<int>(a.yearlyMonth), kYearlyLengthYear));
        if (a.yearlyDay > length) {
            a.yearlyDay = length;
            ShowNumber(editor, kIdcYearlyDay, length);
            Fail(block, editor, kIdcYearlyDay);
        }
    }
}

bool YearlyCommand(HWND editor, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if ((id == kIdcYearlyFixed || id == kIdcYearlyByWeekday) && code == BN_CLICKED) {
        if (Checked(editor, id)) CheckOneOf(editor, kIdcYearlyFixed, kIdcYearlyByWeekday, id == kIdcYearlyByWeekday);
        EnableYearly(editor);
        const AlarmRecord* a = EditorAlarm(editor);
        if (!a || (a->yearlyByWeekday != 0) != Checked(editor, kIdcYearlyByWeekday)) EditorChanged(editor);
        return true;
    }
    if (id == kIdcYearlyDay && code == EN_CHANGE) {
        EditorChanged(editor);
        return true;
    }
    if ((id == kIdcYearlyWhich || id == kIdcYearlyWeekday || id == kIdcYearlyMonth || id == kIdcYearlyWeekdayMonth) &&
        code == CBN_SELCHANGE) {
        EditorChanged(editor);
        return true;
    }
    return false;
}

constexpr int kMonthlyLimits[] = {kIdcMonthlyDay, 2, kIdcMonthlyInterval, 2, 0};
constexpr int kYearlyLimits[] = {kIdcYearlyDay, 2, 0};
const EditorOps kMonthly = {kAlarmMonthly, FillMonthlyLists, LoadMonthly, StoreMonthly, MonthlyCommand, kMonthlyLimits};
const EditorOps kYearly = {kAlarmYearly, FillYearlyLists, LoadYearly, StoreYearly, YearlyCommand, kYearlyLimits};

}  // namespace

INT_PTR CALLBACK MonthlyDlgProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    return EditorProc(editor, message, wParam, lParam, kMonthly);
}

INT_PTR CALLBACK YearlyDlgProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    return EditorProc(editor, message, wParam, lParam, kYearly);
}
