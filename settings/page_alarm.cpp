// The alarm page's window: creating its schedule editors, loading and storing
// the alarm, and the user's edits.
#include "settings/page_alarm.h"

#include <commctrl.h>

#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <iterator>

#include "common/platform/lent_pointer.h"
#include "common/settings/alarm_sections.h"
#include "common/platform/dialog_utils.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "common/settings/time_format.h"
#include "common/alarms/alarm_actions.h"
#include "common/alarms/alarm_log.h"
#include "common/platform/text_bounds.h"
#include "common/zones/zone_time.h"
#include "settings/main_dialog.h"
#include "settings/page_alarm_state.h"
#include "settings/page_loading.h"
#include "settings/schedule_editor.h"

namespace {

constexpr int kOffsetIds[4] = {kIdcOffsetDays, kIdcOffsetHours, kIdcOffsetMinutes, kIdcOffsetSeconds};
constexpr int64_t kOffsetUnits[4] = {86400, 3600, 60, 1};

AlarmPageState* State(HWND page) { return reinterpret_cast<AlarmPageState*>(GetWindowLongPtrW(page, GWLP_USERDATA)); }

UINT Variant(HWND page) {
    const AlarmPageState* s = State(page);
    return s ? s->resource : kAlarmPageClock;
}

void Fail(PageExchangeBlock* block, HWND page, int id) {
    if (block) block->failedControl = GetDlgItem(page, id);
}

// Selects the item of a reminder length; a length that is not one of the
// choices gets an item of its own at the top.
void ShowReminderMinutes(HWND page, int minutes) {
    if (SelectReminder(page, minutes)) return;
    const std::wstring label = FormatReminderText(minutes);
    HWND list = GetDlgItem(page, kIdcReminderList);
    const LRESULT index = SendMessageW(list, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
    if (index >= 0) {
        SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), minutes);
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void FillReminderList(HWND page) {
    HWND list = GetDlgItem(page, kIdcReminderList);
    const LRESULT selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
    const LRESULT selectedMinutes = selected >= 0 ? SendMessageW(list, CB_GETITEMDATA, selected, 0) : 0;
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (int minutes : kReminderChoices) {
        const std::wstring text = FormatReminderText(minutes);
        const LRESULT index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index >= 0) SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), minutes);
    }
    if (selected >= 0) ShowReminderMinutes(page, static_cast<int>(selectedMinutes));
}

void FillActionList(HWND page) {
    HWND list = GetDlgItem(page, kIdcAction);
    const LRESULT selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kAlarmActionCount; ++i) {
        const std::wstring text = Language().LoadUiString(kFirstActionStringId + i);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SetComboDropHeight(list, kAlarmActionCount);
    if (selected >= 0) SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void EnableForAction(HWND page, int action) {
    EnableWindow(GetDlgItem(page, kIdcBrowse), ActionTakesFile(action));
    EnableWindow(GetDlgItem(page, kIdcAlarmText), ActionTakesText(action));
}

void CreateEditors(HWND page, AlarmPageState& s) {
    HWND area = GetDlgItem(page, kIdcEditorArea);
    RECT r = {};
    if (area) {
        GetWindowRect(area, &r);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
        DestroyWindow(area);
    }
    HMODULE resources = ResourceModule();
    for (int kind = 0; kind < kScheduleKinds; ++kind) {
        const ScheduleEditorSpec& entry = kScheduleEditors[kind];
        HWND editor = CreateDialogParamW(resources, MAKEINTRESOURCEW(entry.resource), page, entry.procedure, kind);
        if (!editor) {
            wchar_t text[96];
            swprintf(text, std::size(text), kEditorCreateFailedFormat, static_cast<int>(entry.resource),
                     static_cast<int>(GetLastError()));
            MessageBoxW(page, text, L"Error", MB_ICONERROR);
            continue;
        }
        s.editors[kind] = editor;
        ShowWindow(editor, SW_HIDE);
        if (area) {
            SetWindowPos(editor, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        }
    }
}

void OnInitDialog(HWND page, LPARAM lParam) {
    auto* s = new AlarmPageState();
    s->resource = static_cast<UINT>(lParam);
    SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
    SendDlgItemMessageW(page, kIdcAlarmComment, EM_LIMITTEXT, kCommentMaxChars, 0);
    SendDlgItemMessageW(page, kIdcAlarmText, EM_LIMITTEXT, kTextMaxChars, 0);
    for (int i = 0; i < 4; ++i) SendDlgItemMessageW(page, kOffsetIds[i], EM_LIMITTEXT, kOffsetFieldChars[i], 0);
    FillReminderList(page);
    FillActionList(page);
    if (s->resource == kAlarmPageClock) {
        if (!AlarmLogHandle()) CreateAlarmLogWindow();
        ReadLocaleTimeFormat();
    }
    Language().TranslateDialog(page, AlarmPageSection(nullptr, s->resource));
}

// The six schedule editors are dialogs of their own: the page makes them when
// it first shows an alarm, not when the settings program starts. The page is
// translated again afterwards, as it was when they came first.
void EnsureEditors(HWND page, AlarmPageState& s) {
    if (s.resource != kAlarmPageClock || s.editorsMade) return;
    s.editorsMade = true;
    CreateEditors(page, s);
    Language().TranslateDialog(page, AlarmPageSection(nullptr, s.resource));
}

SYSTEMTIME ClockNow(const ClockRecord* clock) {
    SYSTEMTIME now = {};
    if (clock) {
        SYSTEMTIME utc = {};
        GetSystemTime(&utc);
        if (UtcToClockTime(utc, &now, *clock)) return now;
    }
    GetLocalTime(&now);
    return now;
}

void LoadPage(HWND page, AlarmRecord& a) {
    AlarmPageState* s = State(page);
    if (!s) return;
    EnsureEditors(page, *s);
    s->alarm = &a;
    PageLoadingScope loading;
    wchar_t comment[kAlarmCommentChars + 1];
    CopyBounded(comment, kAlarmCommentChars + 1, a.comment);
    comment[kCommentMaxChars] = L'\0';
    SetDlgItemTextW(page, kIdcAlarmComment, comment);
    SetDlgItemTextW(page, kIdcAlarmTitle, comment);
    wchar_t text[kAlarmTextChars + 1];
    CopyBounded(text, kAlarmTextChars + 1, ActionTakesText(a.action) ? a.text : L"");
    text[kTextMaxChars] = L'\0';
    SetDlgItemTextW(page, kIdcAlarmText, text);

    // A list of the fixed choices each time: an odd value of an earlier alarm
    // must not stay in the list.
    SendDlgItemMessageW(page, kIdcReminderList, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    FillReminderList(page);
    CheckDlgButton(page, kIdcReminderOn, a.reminder > 0 ? BST_CHECKED : BST_UNCHECKED);
    if (a.reminder != 0) ShowReminderMinutes(page, std::abs(a.reminder));
    EnableWindow(GetDlgItem(page, kIdcReminderList), a.reminder > 0);

    const ClockRecord* clock = PageClock(page);
    if (s->resource == kAlarmPageClock && !(clock && IsTimerClock(*clock))) {
        SetFreshScheduleValues(a, ClockNow(clock));
        const int kind = a.type >= 0 && a.type < kScheduleKinds ? a.type : kAlarmOnce;
        for (int i = 0; i < kScheduleKinds; ++i) {
            CheckDlgButton(page, kScheduleEditors[i].radio, i == kind ? BST_CHECKED : BST_UNCHECKED);
        }
        ShowScheduleEditor(page, kind, false);
    }

    SendDlgItemMessageW(page, kIdcAction, CB_SETCURSEL, a.action >= 0 && a.action < kAlarmActionCount ? a.action : -1, 0);
    EnableForAction(page, a.action);

    if (s->resource == kAlarmPageDown || s->resource == kAlarmPageUp) {
        const uint32_t seconds = a.timerOffset;
        const uint32_t parts[4] = {seconds / 86400, seconds / 3600 % 24, seconds / 60 % 60, seconds % 60};
        for (int i = 0; i < 4; ++i) {
            wchar_t number[16];
            swprintf(number, std::size(number), L"%d", static_cast<int>(parts[i]));
            SetDlgItemTextW(page, kOffsetIds[i], number);
        }
    } else if (s->resource == kAlarmPageAt) {
        SYSTEMTIME t = a.onceTime;
        SendDlgItemMessageW(page, kIdcTimerDate, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
        SendDlgItemMessageW(page, kIdcTimerTime, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
    }
}

// A field of the timer offset: digits first; what follows them is ignored.
bool ReadOffsetField(HWND page, int id, int64_t& value) {
    wchar_t text[16] = {};
    GetDlgItemTextW(page, id, text, static_cast<int>(std::size(text)));
    const wchar_t* p = text;
    while (*p == L' ') ++p;
    if (!iswdigit(*p)) return false;
    value = wcstoll(p, nullptr, 10);
    return true;
}

void StoreTimerOffset(HWND page, AlarmRecord& a, PageExchangeBlock* block) {
    int64_t total = 0;
    for (int i = 0; i < 4; ++i) {
        int64_t n = 0;
        if (!ReadOffsetField(page, kOffsetIds[i], n) || (i == 0 && n > kMaxOffsetDays)) {
            Fail(block, page, kOffsetIds[i]);
            return;
        }
        total += n * kOffsetUnits[i];
        // The record holds the offset in 32 bits; a larger one would wrap.
        if (total > UINT32_MAX) {
            Fail(block, page, kOffsetIds[i]);
            return;
        }
    }
    a.timerOffset = static_cast<uint32_t>(total);
    // Duration fields that parse clear a reminder list with nothing to show.
    if (block && block->failedControl == GetDlgItem(page, kIdcReminderList)) block->failedControl = nullptr;
}

void StoreTimerMoment(HWND page, AlarmRecord& a, const ClockRecord* clock) {
    SYSTEMTIME date = {};
    SYSTEMTIME time = {};
    if (SendDlgItemMessageW(page, kIdcTimerDate, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date)) != GDT_VALID ||
        SendDlgItemMessageW(page, kIdcTimerTime, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) {
        return;
    }
    date.wHour = time.wHour;
    date.wMinute = time.wMinute;
    date.wSecond = time.wSecond;
    date.wMilliseconds = 0;
    a.onceTime = date;
    if (clock) SetAlarmTimerOffset(a.onceTime, *clock, a);
}

}  // namespace

bool SelectReminder(HWND page, int minutes) {
    HWND list = GetDlgItem(page, kIdcReminderList);
    const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == minutes) {
            SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return true;
        }
    }
    return false;
}

void ShowScheduleEditor(HWND page, int kind, bool byUser) {
    AlarmPageState* s = State(page);
    if (!s || kind < 0 || kind >= kScheduleKinds) return;
    HWND editor = s->editors[kind];
    const bool wasVisible = editor && IsWindowVisible(editor);
    if (editor && s->alarm) {
        PageExchangeBlock block = {s->alarm, nullptr};
        PageLoadingScope loading;
        SendWithPointer(editor, WM_PAGE_EXCHANGE, 0, &block);
    }
    if (editor) ShowWindow(editor, SW_SHOW);
    for (int i = 0; i < kScheduleKinds; ++i) {
        if (i != kind && s->editors[i]) ShowWindow(s->editors[i], SW_HIDE);
    }
    s->shownKind = kind;
    if (byUser && !wasVisible) NotifyPageChanged(page, 0);
}

void SwitchScheduleKind(HWND page, int kind) {
    AlarmPageState* s = State(page);
    if (!s || !s->alarm || kind < 0 || kind >= kScheduleKinds) return;
    s->alarm->type = kind;
    if (s->shownKind >= 0 && s->shownKind != kind) CarryScheduleValues(*s->alarm, s->shownKind);
    ShowScheduleEditor(page, kind, true);
}

void StorePage(HWND page, AlarmRecord& a, PageExchangeBlock* block) {
    AlarmPageState* s = State(page);
    wchar_t comment[kCommentMaxChars + 1] = {};
    GetDlgItemTextW(page, kIdcAlarmComment, comment, static_cast<int>(std::size(comment)));
    CopyBounded(a.comment, comment);
    wchar_t text[kTextMaxChars + 1] = {};
    GetDlgItemTextW(page, kIdcAlarmText, text, static_cast<int>(std::size(text)));
    CopyBounded(a.text, text);

    const LRESULT selected = SendDlgItemMessageW(page, kIdcReminderList, CB_GETCURSEL, 0, 0);
    const bool reminderOn = IsDlgButtonChecked(page, kIdcReminderOn) == BST_CHECKED;
    if (selected >= 0) {
        const int minutes = std::abs(static_cast<int>(SendDlgItemMessageW(page, kIdcReminderList, CB_GETITEMDATA, selected, 0)));
        a.reminder = reminderOn ? minutes : -minutes;
    } else if (reminderOn) {
        Fail(block, page, kIdcReminderList);
    } else if (a.reminder > 0) {
        // Nothing to show and the box off (a stored reminder of 0): the alarm
        // has no reminder, and the page must not hold the user on it.
        a.reminder = -a.reminder;
    }

    const UINT variant = Variant(page);
    ClockRecord* clock = PageClock(page);
    if (variant == kAlarmPageDown || variant == kAlarmPageUp) {
        StoreTimerOffset(page, a, block);
    } else if (variant == kAlarmPageAt) {
        StoreTimerMoment(page, a, clock);
    } else if (s) {
        for (int i = 0; i < kScheduleKinds; ++i) {
            if (IsDlgButtonChecked(page, kScheduleEditors[i].radio) == BST_CHECKED) a.type = i;
        }
        if (a.type >= 0 && a.type < kScheduleKinds && s->editors[a.type]) {
            PageExchangeBlock editorBlock = {&a, block ? block->failedControl : nullptr};
            SendWithPointer(s->editors[a.type], WM_PAGE_EXCHANGE, 1, &editorBlock);
            if (block) block->failedControl = editorBlock.failedControl;
        }
    }

    const LRESULT action = SendDlgItemMessageW(page, kIdcAction, CB_GETCURSEL, 0, 0);
    if (action >= 0 && action < kAlarmActionCount) {
        a.action = static_cast<int32_t>(action);
    } else {
        Fail(block, page, kIdcAction);
    }
}

AlarmRecord* PageAlarm(HWND page) {
    const AlarmPageState* s = page ? State(page) : nullptr;
    return s ? s->alarm : nullptr;
}

HWND ScheduleEditorWindow(HWND page, int kind) {
    const AlarmPageState* s = page ? State(page) : nullptr;
    return s && kind >= 0 && kind < kScheduleKinds ? s->editors[kind] : nullptr;
}

ClockRecord* PageClock(HWND page) {
    ClockRecord* clock = nullptr;
    if (HWND dialog = GetParent(page)) SendWithPointer(dialog, WM_GET_CLOCK_RECORD, 0, &clock);
    return clock;
}

void NotifyPageChanged(HWND page, WPARAM flags) {
    if (PagesLoading() > 0) return;
    if (HWND dialog = GetParent(page)) PostMessageW(dialog, WM_PAGE_CHANGED, flags, 0);
}

void RegisterAlarmPages() {
    MainDialogHooks hooks = DialogHooks();
    hooks.pageProcs[kAlarmPageIndexClock] = AlarmPageDlgProc;
    hooks.pageProcs[kAlarmPageIndexAt] = AlarmPageDlgProc;
    hooks.pageProcs[kAlarmPageIndexDown] = AlarmPageDlgProc;
    hooks.pageProcs[kAlarmPageIndexUp] = AlarmPageDlgProc;
    SetDialogHooks(hooks);
}

void InitAlarmPage(HWND page, LPARAM resource) { OnInitDialog(page, resource); }

void LoadAlarmPage(HWND page, AlarmRecord& alarm) { LoadPage(page, alarm); }

void RefillAlarmPageLists(HWND page) {
    FillReminderList(page);
    FillActionList(page);
}

void EnableAlarmPageForAction(HWND page, int action) { EnableForAction(page, action); }

SYSTEMTIME AlarmPageNow(const ClockRecord* clock) { return ClockNow(clock); }
