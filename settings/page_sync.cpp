#include "settings/page_sync.h"

#include <string>

#include "common/platform/dialog_utils.h"
#include "common/platform/hyperlink_control.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/platform/sync_service_notify.h"
#include "settings/main_dialog.h"
#include "settings/page_loading.h"
#include "settings/page_sync_options.h"
#include "settings/sync_watcher.h"
#include "resources/resource_ids.h"

namespace {

constexpr wchar_t kSection[] = L"DLG_PageTime";
constexpr UINT kFirstSyncTypeText = IDS_SYNC_TYPE_DAILY;
constexpr int kSyncTypeCount = 5;
constexpr UINT kSettingsCaption = IDS_SETTINGS_CAPTION;

SyncErrorBox g_errorBox = nullptr;

void FillSyncTypes(HWND page, int selected) {
    HWND list = GetDlgItem(page, kSyncTypeList);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kSyncTypeCount; ++i) {
        std::wstring text = Language().LoadUiString(kFirstSyncTypeText + i);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SetComboDropHeight(list, kSyncTypeCount);
    SendMessageW(list, CB_SETCURSEL, selected, 0);
}

void ShowStatus(HWND page) {
    SetDlgItemTextW(page, kSyncResultControl, SyncResultText().c_str());
    SetDlgItemTextW(page, kSyncTimeControl, SyncTimeText().c_str());
}

void LoadPage(HWND page) {
    PageLoadingScope loading;
    const SyncOptions& o = ProgramSyncOptions();
    CheckDlgButton(page, kAutoSyncCheck, o.autosync ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageW(page, kSyncTypeList, CB_SETCURSEL, o.synctype, 0);
    EnableWindow(GetDlgItem(page, kSyncTypeList), o.autosync != 0);
    HWND combo = GetDlgItem(page, kTimeServerCombo);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& server : o.servers) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(server.c_str()));
    }
    const int index = o.current < 0 ? -o.current : o.current;
    SendMessageW(combo, CB_SETCURSEL, index - 1, 0);
}

void StorePage(HWND page) {
    SyncOptions& o = ProgramSyncOptions();
    o.autosync = IsDlgButtonChecked(page, kAutoSyncCheck) == BST_CHECKED ? 1 : 0;
    const LRESULT type = SendDlgItemMessageW(page, kSyncTypeList, CB_GETCURSEL, 0, 0);
    if (type != CB_ERR) o.synctype = static_cast<int>(type);
    wchar_t text[kTimeServerMaxChars + 1] = {};
    GetDlgItemTextW(page, kTimeServerCombo, text, ARRAYSIZE(text));
    const size_t before = o.servers.size();
    if (StoreServerText(o, text)) {
        PageLoadingScope loading;
        const int index = o.current < 0 ? -o.current : o.current;
        SendDlgItemMessageW(page, kTimeServerCombo, CB_SETCURSEL, index - 1, 0);
    } else if (o.servers.size() != before) {
        PageLoadingScope loading;
        SendDlgItemMessageW(page, kTimeServerCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(o.servers.back().c_str()));
    }
}

void SyncNow(HWND page) {
    StorePage(page);
    WriteSyncOptions(ProgramSyncOptions());
    if (NotifySyncService(SYNC_CONTROL_SYNC_NOW) != 0) {
        std::wstring text = Language().LoadUiString(static_cast<UINT>(kSyncServiceUnreachable));
        if (text.size() > 1023) text.resize(1023);
        const std::wstring caption = Language().LoadUiString(kSettingsCaption);
        HWND owner = GetParent(page) ? GetParent(page) : page;
        if (g_errorBox) {
            g_errorBox(owner, text.c_str(), caption.c_str());
        } else {
            MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
        }
    }
}

void Changed(HWND page) {
    if (PagesLoading() == 0) EnableApply(GetParent(page));
}

INT_PTR OnCommand(HWND page, int id, int code) {
    switch (id) {
        case kAutoSyncCheck:
            if (code == BN_CLICKED && PagesLoading() == 0) {
                EnableWindow(GetDlgItem(page, kSyncTypeList), IsDlgButtonChecked(page, kAutoSyncCheck) == BST_CHECKED);
                Changed(page);
            }
            return TRUE;
        case kSyncTypeList:
        case kTimeServerCombo:
            if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE) Changed(page);
            return TRUE;
        case kSyncNowButton:
            if (code == BN_CLICKED) SyncNow(page);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR HandleMessage(HWND page, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG: {
            Language().TranslateDialog(page, kSection);
            SubclassHyperlink(GetDlgItem(page, kSyncResultControl));
            SendDlgItemMessageW(page, kTimeServerCombo, CB_LIMITTEXT, kTimeServerMaxChars, 0);
            FillSyncTypes(page, ProgramSyncOptions().synctype);
            LoadPage(page);
            ShowStatus(page);
            StartSyncWatcher(page);
            return TRUE;
        }
        case WM_PAGE_EXCHANGE: {
            if (wParam == 0) {
                LoadPage(page);
            } else {
                StorePage(page);
            }
            SetWindowLongPtrW(page, DWLP_MSGRESULT, 1);
            return TRUE;
        }
        case MSG_SYNC_STATE:
            if (wParam == kSyncServiceUnreachable) {
                EnableWindow(GetDlgItem(page, kSyncNowButton), FALSE);
                SetDlgItemTextW(page, kSyncResultControl,
                                Language().LoadUiString(static_cast<UINT>(kSyncServiceUnreachable)).c_str());
            } else {
                EnableWindow(GetDlgItem(page, kSyncNowButton), TRUE);
                ShowStatus(page);
            }
            return TRUE;
        case MSG_LANGUAGE_CHANGED: {
            Language().TranslateDialog(page, kSection);
            const LRESULT type = SendDlgItemMessageW(page, kSyncTypeList, CB_GETCURSEL, 0, 0);
            PageLoadingScope loading;
            FillSyncTypes(page, type == CB_ERR ? ProgramSyncOptions().synctype : static_cast<int>(type));
            ShowStatus(page);
            return TRUE;
        }
        case WM_COMMAND:
            return OnCommand(page, LOWORD(wParam), HIWORD(wParam));
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK SyncPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    // Nothing may unwind into the dialog manager.
    try {
        return HandleMessage(page, message, wParam);
    } catch (...) {
        return FALSE;
    }
}

SyncErrorBox SetSyncErrorBox(SyncErrorBox box) {
    SyncErrorBox old = g_errorBox;
    g_errorBox = box;
    return old;
}

void LoadProgramSyncOptions() { LoadSyncOptions(ProgramSyncOptions()); }

void InstallSyncPage() {
    MainDialogHooks hooks = DialogHooks();
    hooks.pageProcs[kSyncPage] = SyncPageProc;
    hooks.loadPageModel[kSyncPage] = LoadProgramSyncOptions;
    SetDialogHooks(hooks);
}
