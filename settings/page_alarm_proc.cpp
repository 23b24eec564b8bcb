// The alarm page's dialog procedure: its messages, the choice of action, the
// file browser and the test button.
#include <windows.h>

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cwchar>
#include <iterator>

#include "common/platform/lent_pointer.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/time_format.h"
#include "common/alarms/alarm_actions.h"
#include "common/alarms/alarm_log.h"
#include "common/platform/text_bounds.h"
#include "settings/common_dialogs.h"
#include "settings/page_alarm.h"
#include "settings/page_alarm_state.h"
#include "settings/page_hidden.h"
#include "settings/page_loading.h"
#include "settings/schedule_editor.h"

namespace {

AlarmPageState* State(HWND page) { return reinterpret_cast<AlarmPageState*>(GetWindowLongPtrW(page, GWLP_USERDATA)); }

void ForEachEditor(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (AlarmPageState* s = State(page)) {
        for (HWND editor : s->editors) {
            if (editor) SendMessageW(editor, message, wParam, lParam);
        }
    }
}

void OnActionChanged(HWND page) {
    const LRESULT selected = SendDlgItemMessageW(page, kIdcAction, CB_GETCURSEL, 0, 0);
    if (selected < 0) return;
    const int action = static_cast<int>(selected);
    EnableAlarmPageForAction(page, action);
    wchar_t text[kTextMaxChars + 1] = {};
    GetDlgItemTextW(page, kIdcAlarmText, text, static_cast<int>(std::size(text)));
    const AlarmRecord* alarm = PageAlarm(page);
    FixActionText(text, std::size(text), action, alarm ? alarm->action : action);
    {
        PageLoadingScope loading;
        SetDlgItemTextW(page, kIdcAlarmText, text);
    }
    NotifyPageChanged(page, 0);
}

void OnBrowse(HWND page) {
    const LRESULT selected = SendDlgItemMessageW(page, kIdcAction, CB_GETCURSEL, 0, 0);
    wchar_t file[kTextMaxChars + 1] = {};
    GetDlgItemTextW(page, kIdcAlarmText, file, static_cast<int>(std::size(file)));
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = page;
    ofn.lpstrFilter = BrowseFilter(static_cast<int>(selected));
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    BOOL chosen = OpenFileDialog(&ofn);
    if (!chosen && FileDialogError() == FNERR_INVALIDFILENAME) {
        // The text was no usable file name: start again without it.
        file[0] = L'\0';
        chosen = OpenFileDialog(&ofn);
    }
    if (!chosen) return;
    SetDlgItemTextW(page, kIdcAlarmText, file);
    NotifyPageChanged(page, 0);
}

void OnReminderClicked(HWND page) {
    const bool on = IsDlgButtonChecked(page, kIdcReminderOn) == BST_CHECKED;
    HWND list = GetDlgItem(page, kIdcReminderList);
    EnableWindow(list, on);
    if (SendMessageW(list, CB_GETCURSEL, 0, 0) < 0) SendMessageW(list, CB_SETCURSEL, 0, 0);
    NotifyPageChanged(page, 0);
}

void OnCommand(HWND page, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == kIdcAlarmComment && code == EN_CHANGE) {
        wchar_t comment[kCommentMaxChars + 1] = {};
        GetDlgItemTextW(page, kIdcAlarmComment, comment, static_cast<int>(std::size(comment)));
        SetDlgItemTextW(page, kIdcAlarmTitle, comment);
        NotifyPageChanged(page, 1);
    } else if ((id == kIdcAlarmText || (id >= kIdcOffsetDays && id <= kIdcOffsetSeconds)) && code == EN_CHANGE) {
        NotifyPageChanged(page, 0);
    } else if (id == kIdcReminderOn && code == BN_CLICKED) {
        OnReminderClicked(page);
    } else if (id == kIdcReminderList && code == CBN_SELCHANGE) {
        NotifyPageChanged(page, 0);
    } else if (id >= kIdcFirstKindRadio && id < kIdcFirstKindRadio + kScheduleKinds && code == BN_CLICKED) {
        if (IsDlgButtonChecked(page, id) == BST_CHECKED) SwitchScheduleKind(page, id - kIdcFirstKindRadio);
    } else if (id == kIdcAction && code == CBN_SELCHANGE) {
        OnActionChanged(page);
    } else if (id == kIdcBrowse && code == BN_CLICKED) {
        OnBrowse(page);
    } else if (id == kIdcTestAlarm && code == BN_CLICKED) {
        TestAlarmNow(page);
    }
}

INT_PTR Handle(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            InitAlarmPage(page, lParam);
            return FALSE;
        case WM_PAGE_EXCHANGE: {
            auto* block = LentPointer<PageExchangeBlock>(lParam);
            if (!block || !block->record) return TRUE;
            auto* alarm = static_cast<AlarmRecord*>(block->record);
            if (wParam == 0) {
                LoadAlarmPage(page, *alarm);
            } else {
                StorePage(page, *alarm, block);
            }
            return TRUE;
        }
        case WM_COMMAND:
            OnCommand(page, wParam);
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header && header->code == DTN_DATETIMECHANGE &&
                (header->idFrom == kIdcTimerDate || header->idFrom == kIdcTimerTime)) {
                NotifyPageChanged(page, 0);
            }
            return FALSE;
        }
        case WM_SHOWWINDOW:
            if (AlarmPageState* s = State(page); s && PageHiddenByDialog(wParam, lParam)) s->alarm = nullptr;
            return FALSE;
        case WM_WININICHANGE:
            ReadLocaleTimeFormat();
            ForEachEditor(page, message, wParam, lParam);
            return TRUE;
        case MSG_LANGUAGE_CHANGED: {
            const AlarmPageState* s = State(page);
            RefillAlarmPageLists(page);
            Language().TranslateDialog(page, AlarmPageSection(PageClock(page), s ? s->resource : kAlarmPageClock));
            ForEachEditor(page, message, wParam, lParam);
            return TRUE;
        }
        case WM_DESTROY:
            if (const AlarmPageState* s = State(page); s && s->resource == kAlarmPageClock) DestroyAlarmWindows();
            StopAlarmSound();
            return FALSE;
        case WM_NCDESTROY:
            delete State(page);
            SetWindowLongPtrW(page, GWLP_USERDATA, 0);
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void TestAlarmNow(HWND page) {
    AlarmRecord scratch = {};
    PageExchangeBlock block = {&scratch, nullptr};
    StorePage(page, scratch, &block);
    ClockRecord* clock = PageClock(page);
    const SYSTEMTIME now = AlarmPageNow(clock);
    PerformAlarmAction(scratch, now, clock, AlarmDialogMode::kModal);
}

INT_PTR CALLBACK AlarmPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may unwind into the dialog manager.
    try {
        return Handle(page, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}
