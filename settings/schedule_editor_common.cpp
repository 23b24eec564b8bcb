// What the schedule editors share: the time-of-day combo box, the start date
// picker, numbers in edits and the lists of localised names.
#include <windows.h>

#include <commctrl.h>

#include <cwchar>
#include <cwctype>
#include <iterator>

#include "common/platform/lent_pointer.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/time_combo.h"
#include "common/settings/time_format.h"
#include "settings/page_alarm.h"
#include "settings/schedule_editor.h"
#include "resources/resource_ids.h"

const ScheduleEditorSpec kScheduleEditors[kScheduleKinds] = {
    {IDD_SCHEDULE_ONCE, 1091, L"DLG_Once", OnceDlgProc},       {IDD_SCHEDULE_DAILY, 1092, L"DLG_Daily", DailyDlgProc},
    {IDD_SCHEDULE_WEEKLY, 1093, L"DLG_Weekly", WeeklyDlgProc},   {IDD_SCHEDULE_MONTHLY, 1094, L"DLG_Monthly", MonthlyDlgProc},
    {IDD_SCHEDULE_YEARLY, 1095, L"DLG_Yearly", YearlyDlgProc},   {IDD_SCHEDULE_CRON, 1096, L"DLG_Cron", CronDlgProc},
};

namespace {

constexpr int kTimeStepMinutes = 30;

}  // namespace

void FillTimeOfDay(HWND editor) { FillTimeCombo(GetDlgItem(editor, kIdcTimeOfDay), kTimeStepMinutes, true); }

void ShowTimeOfDay(HWND editor, unsigned seconds) {
    wchar_t text[64];
    seconds %= 86400;
    FormatSeconds(text, std::size(text), seconds, seconds % 60 != 0);
    SetDlgItemTextW(editor, kIdcTimeOfDay, text);
}

int ReadTimeOfDay(HWND editor) {
    wchar_t text[64] = {};
    GetDlgItemTextW(editor, kIdcTimeOfDay, text, static_cast<int>(std::size(text)));
    const int seconds = ParseTimeText(text);
    return seconds >= 0 && seconds < 86400 ? seconds : -1;
}

void InitStartDate(HWND editor) {
    SendDlgItemMessageW(editor, kIdcStartDate, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(kStartDateFormat));
}

void ShowStartDate(HWND editor, const SYSTEMTIME& date) {
    SYSTEMTIME t = date;
    SendDlgItemMessageW(editor, kIdcStartDate, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
}

bool ReadStartDate(HWND editor, SYSTEMTIME& date) {
    SYSTEMTIME t = {};
    if (SendDlgItemMessageW(editor, kIdcStartDate, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t)) != GDT_VALID) {
        return false;
    }
    date.wYear = t.wYear;
    date.wMonth = t.wMonth;
    date.wDay = t.wDay;
    date.wDayOfWeek = t.wDayOfWeek;
    return true;
}

bool ReadNumber(HWND editor, int id, int& value) {
    wchar_t text[32] = {};
    GetDlgItemTextW(editor, id, text, static_cast<int>(std::size(text)));
    const wchar_t* p = text;
    while (*p == L' ') ++p;
    wchar_t* end = nullptr;
    const long n = wcstol(p, &end, 10);
    if (end == p) return false;
    while (*end == L' ') ++end;
    if (*end != L'\0' || n < -1000000 || n > 1000000) return false;
    value = static_cast<int>(n);
    return true;
}

void ShowNumber(HWND editor, int id, long long value) {
    wchar_t text[32];
    swprintf(text, std::size(text), L"%lld", value);
    SetDlgItemTextW(editor, id, text);
}

void FillNameList(HWND editor, int id, const wchar_t* const* names, int count) {
    HWND list = GetDlgItem(editor, id);
    const LRESULT selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i) {
        const LRESULT index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i]));
        if (index >= 0) SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), i);
    }
    if (selected >= 0) SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void FillOrdinals(HWND editor, int id) {
    std::wstring texts[kOrdinalCount];
    const wchar_t* names[kOrdinalCount];
    for (int i = 0; i < kOrdinalCount; ++i) {
        texts[i] = Language().LoadUiString(kFirstOrdinalStringId + i);
        names[i] = texts[i].c_str();
    }
    FillNameList(editor, id, names, kOrdinalCount);
}

void FillDayNames(HWND editor, int id) {
    const wchar_t* names[7];
    for (int i = 0; i < 7; ++i) names[i] = g_dayNames[i];
    FillNameList(editor, id, names, 7);
}

void FillMonthNames(HWND editor, int id) {
    const wchar_t* names[12];
    for (int i = 0; i < 12; ++i) names[i] = g_monthNames[i];
    FillNameList(editor, id, names, 12);
}

int Selection(HWND editor, int id) {
    const LRESULT index = SendDlgItemMessageW(editor, id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void Select(HWND editor, int id, int index) { SendDlgItemMessageW(editor, id, CB_SETCURSEL, index, 0); }

void Fail(LPARAM block, HWND editor, int id) {
    if (auto* b = reinterpret_cast<PageExchangeBlock*>(block)) b->failedControl = GetDlgItem(editor, id);
}

AlarmRecord* EditorAlarm(HWND editor) { return PageAlarm(GetParent(editor)); }

void EditorChanged(HWND editor) { NotifyPageChanged(GetParent(editor), 0); }

bool HandleTimeOfDayCommand(HWND editor, WPARAM wParam) {
    if (LOWORD(wParam) != kIdcTimeOfDay) return false;
    switch (HIWORD(wParam)) {
        case CBN_KILLFOCUS:
            if (ReadTimeOfDay(editor) < 0) SetDlgItemTextW(editor, kIdcTimeOfDay, L"");
            break;
        case CBN_SELCHANGE:
        case CBN_EDITCHANGE:
            EditorChanged(editor);
            break;
        default:
            break;
    }
    return true;
}

unsigned StoredTimeOfDay(const AlarmRecord& a, int kind) {
    const auto of = [](const SYSTEMTIME& t) { return t.wHour * 3600u + t.wMinute * 60u + t.wSecond; };
    switch (kind) {
        case kAlarmOnce: return of(a.onceTime);
        case kAlarmDaily: return of(a.dailyStart);
        case kAlarmWeekly: return of(a.weeklyStart);
        case kAlarmMonthly: return a.monthlyTime;
        default: return a.yearlyTime;
    }
}

namespace {

INT_PTR HandleEditor(HWND editor, UINT message, WPARAM wParam, LPARAM lParam, const EditorOps& ops) {
    const bool timed = ops.kind != kAlarmCron;
    switch (message) {
        case WM_INITDIALOG:
            if (timed) FillTimeOfDay(editor);
            if (GetDlgItem(editor, kIdcStartDate)) InitStartDate(editor);
            for (const int* l = ops.limits; l && l[0]; l += 2) SendDlgItemMessageW(editor, l[0], EM_LIMITTEXT, l[1], 0);
            if (ops.fillLists) ops.fillLists(editor);
            Language().TranslateDialog(editor, kScheduleEditors[ops.kind].section);
            return FALSE;
        case WM_PAGE_EXCHANGE: {
            auto* block = LentPointer<PageExchangeBlock>(lParam);
            if (!block || !block->record) return TRUE;
            auto* alarm = static_cast<AlarmRecord*>(block->record);
            if (wParam == 0) {
                ops.load(editor, *alarm);
            } else {
                ops.store(editor, *alarm, lParam);
            }
            return TRUE;
        }
        case WM_WININICHANGE:
            if (timed) {
                FillTimeOfDay(editor);
                if (const AlarmRecord* alarm = EditorAlarm(editor)) ShowTimeOfDay(editor, StoredTimeOfDay(*alarm, ops.kind));
            }
            return TRUE;
        case MSG_LANGUAGE_CHANGED:
            if (ops.fillLists) ops.fillLists(editor);
            Language().TranslateDialog(editor, kScheduleEditors[ops.kind].section);
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header && header->idFrom == kIdcStartDate && header->code == DTN_DATETIMECHANGE) EditorChanged(editor);
            return FALSE;
        }
        case WM_COMMAND:
            if (timed && HandleTimeOfDayCommand(editor, wParam)) return TRUE;
            if (ops.command && ops.command(editor, wParam)) return TRUE;
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR EditorProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam, const EditorOps& ops) {
    // Nothing may unwind into the dialog manager.
    try {
        return HandleEditor(editor, message, wParam, lParam, ops);
    } catch (...) {
        return FALSE;
    }
}
