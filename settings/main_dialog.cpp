#include "settings/main_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/platform/lent_pointer.h"
#include "common/records/clock_record.h"
#include "common/settings/ini_paths.h"
#include "common/settings/localisation.h"
#include "common/settings/named_mutex.h"
#include "common/records/protocol.h"
#include "common/platform/dialog_utils.h"
#include "common/platform/sync_service_notify.h"
#include "resources/resource_ids.h"
#include "settings/main_dialog_state.h"
#include "settings/page_ini_import.h"
#include "settings/program_links.h"
#include "settings/settings_app.h"

namespace {

constexpr wchar_t kDialogSection[] = L"DLG_PageDetail";
constexpr LONG kTreeStyles = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_CHECKBOXES;

MainDialogState g_state;
MainDialogHooks g_hooks;
bool g_started = false;
bool g_firstStarting = false;

class FirstStartScope {
public:
    explicit FirstStartScope(bool first) { g_firstStarting = first; }
    ~FirstStartScope() { g_firstStarting = false; }
    FirstStartScope(const FirstStartScope&) = delete;
    FirstStartScope& operator=(const FirstStartScope&) = delete;
};

HCURSOR LoadDragCursor(UINT id) {
    return static_cast<HCURSOR>(LoadImageW(g_settingsApp.instance, MAKEINTRESOURCEW(id), IMAGE_CURSOR, 0, 0,
                                           LR_DEFAULTSIZE));
}

}  // namespace

void LoadDragCursors() {
    MainDialogState& s = g_state;
    if (s.dropAllowed) return;
    s.dropAllowed = LoadDragCursor(kDropAllowedCursorId);
    s.dropRefused = LoadDragCursor(kDropRefusedCursorId);
    s.ownCursors = true;
    // A module without them still drags, with the system's cursors.
    if (!s.dropAllowed || !s.dropRefused) {
        if (s.dropAllowed) DestroyCursor(s.dropAllowed);
        if (s.dropRefused) DestroyCursor(s.dropRefused);
        s.dropAllowed = LoadCursorW(nullptr, IDC_ARROW);
        s.dropRefused = LoadCursorW(nullptr, IDC_NO);
        s.ownCursors = false;
    }
}

namespace {

void FreeDragCursors() {
    MainDialogState& s = g_state;
    if (s.ownCursors) {
        DestroyCursor(s.dropAllowed);
        DestroyCursor(s.dropRefused);
    }
    s.dropAllowed = s.dropRefused = nullptr;
    s.ownCursors = false;
}

BOOL OnInitDialog(HWND dialog) {
    MainDialogState& s = g_state;
    const HMODULE resources = s.resources;
    const bool unconfirmed = s.importUnconfirmed;
    s = MainDialogState();
    s.resources = resources;
    s.importUnconfirmed = unconfirmed;
    s.dialog = dialog;
    s.tree = GetDlgItem(dialog, IDC_SETTINGS_TREE);
    const bool firstStart = !g_started;
    if (firstStart) {
        g_started = true;
        EnableWindow(GetDlgItem(dialog, IDC_APPLY), FALSE);
        CenterOnDesktop(dialog);
        const SettingsCommand& command = g_settingsApp.command;
        if (command.page != 0) {
            PostMessageW(GetWindow(dialog, GW_OWNER), SETTINGS_MSG_OPEN_PAGE, command.page,
                         static_cast<LPARAM>(PackPageTarget(command)));
        }
    }
    {
        UpdateGuard guard;
        Language().TranslateDialog(dialog, kDialogSection);
        {
            FirstStartScope pagesAtFirstStart(firstStart);
            CreatePages(dialog);
        }
        if (HWND first = PageWindow(0)) ShowWindow(first, SW_SHOW);
        s.shownPage = 0;
        if (s.tree) {
            SetWindowLongW(s.tree, GWL_STYLE, GetWindowLongW(s.tree, GWL_STYLE) | kTreeStyles);
            TreeLink().AttachTree(s.tree);
            if (HTREEITEM root = TreeView_GetRoot(s.tree)) TreeView_SelectItem(s.tree, root);
        }
        ShowNodePage(SelectedNode(), false);
    }
    UpdateTreeButtons(dialog);
    // The focus goes to the first control when the dialog is shown: taking
    // it now would activate the hidden dialog, and the first activation's
    // work would hold back its showing.
    return FALSE;
}

std::wstring BackupPath() {
    std::wstring path = UserIniPath();
    if (path.size() >= 3) path.replace(path.size() - 3, 3, L"bak");
    return path;
}

void OnClose(HWND dialog) {
    const std::wstring backup = BackupPath();
    if (GetFileAttributesW(backup.c_str()) != INVALID_FILE_ATTRIBUTES) {
        // Cancel after an import puts the settings from before it back. The
        // backup is the only copy of them: it stays when that fails.
        const bool undo = g_state.importUnconfirmed;
        bool restored = !undo;
        if (undo) {
            // The copy replaces the file whole: no other program may write or read it meanwhile.
            IniFileLock lock;
            restored = lock.held() && CopyFileW(backup.c_str(), UserIniPath().c_str(), FALSE);
        }
        if (undo && restored) DeleteFileW(backup.c_str());
        // Nor does a later close delete it: the user is told where it is.
        if (undo && !restored) {
            OpenBoxScope box;
            ShowPathError(dialog, IDS_UNDO_FAILED, backup.c_str());
        }
        // The import reached the main program and the time service; so must its undoing.
        if (undo && restored) {
            NotifyMainProgram(MSG_SETTINGS_CHANGED, 0, 0, false);
            NotifySyncService(SYNC_CONTROL_RELOAD);
        }
    }
    g_state.importUnconfirmed = false;
    HWND frame = GetWindow(dialog, GW_OWNER);
    DestroyWindow(dialog);
    if (frame) SendMessageW(frame, WM_CLOSE, 0, 0);
}

void OnDestroy(HWND dialog) {
    NotifyMainProgram(MSG_CLOCK_COUNT, 0, 0, false);
    CancelDrag();
    // The tree's items die with the control: the nodes let go of both.
    if (g_state.tree) TreeLink().AttachTree(nullptr);
    FreeDragCursors();
    if (g_settingsApp.mainDialog == dialog) g_settingsApp.mainDialog = nullptr;
    const HMODULE resources = g_state.resources;
    g_state = MainDialogState();
    g_state.resources = resources;
}

void OnOnDesktop(WPARAM clockNumber, LPARAM flag) {
    SettingsTreeLink& t = TreeLink();
    CTreeNode* clock = t.FindClockNodeById(static_cast<int>(clockNumber));
    if (!clock) return;
    const bool shown = g_state.shownNode == clock;
    if (shown) StoreShownPage(0);
    if (auto* record = static_cast<ClockRecord*>(t.Record(clock))) record->on_desktop = flag != 0;
    if (shown) ExchangePageData(clock, true, 0);
}

void OnGetClockRecord(LPARAM lParam) {
    // Only the pages ask, with a pointer they lend; another process's lParam
    // is no address here.
    if (!IsLentPointer(lParam)) return;
    auto* out = reinterpret_cast<ClockRecord**>(lParam);
    SettingsTreeLink& t = TreeLink();
    CTreeNode* clock = t.FindClockNode(SelectedNode());
    *out = clock ? static_cast<ClockRecord*>(t.Record(clock)) : nullptr;
}

INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog);
        case WM_NOTIFY: {
            const LRESULT result = OnTreeNotify(dialog, reinterpret_cast<NMHDR*>(lParam));
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
            return TRUE;
        }
        case WM_TREE_CHECK_CLICKED:
            OnTreeCheckClicked(dialog, reinterpret_cast<HTREEITEM>(lParam));
            return TRUE;
        case WM_TREE_RESTORE_CHECK:
            OnTreeRestoreCheck(dialog, reinterpret_cast<HTREEITEM>(lParam));
            return TRUE;
        case WM_MOUSEMOVE:
            if (!g_state.dragMode) return FALSE;
            OnDragMove(dialog);
            return TRUE;
        case WM_LBUTTONUP:
            if (!g_state.dragMode) return FALSE;
            OnDragDrop(dialog);
            return TRUE;
        case WM_CAPTURECHANGED:
            // Another window took the mouse: the drag ends without a drop.
            if (reinterpret_cast<HWND>(lParam) != dialog) CancelDrag();
            return FALSE;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0) OnDialogCommand(dialog, LOWORD(wParam));
            return TRUE;
        case SETTINGS_MSG_SELECT_PAGE:
            OnSelectPage(dialog, wParam, lParam);
            return TRUE;
        case SETTINGS_MSG_ON_DESKTOP:
            OnOnDesktop(wParam, lParam);
            return TRUE;
        case WM_PAGE_CHANGED:
            if (g_state.exchangeDepth == 0) {
                ExchangePageData(g_state.shownNode, false, wParam);
                EnableApply(dialog);
            }
            return TRUE;
        case WM_GET_CLOCK_RECORD:
            OnGetClockRecord(lParam);
            return TRUE;
        case MSG_SYNC_STATE:
            if (HWND page = PageWindow(kSyncPage)) SendMessageW(page, message, wParam, lParam);
            return TRUE;
        case MSG_CLOUDS_CHANGED:
            if (HWND page = PageWindow(kClockPage)) SendMessageW(page, message, wParam, lParam);
            return TRUE;
        case MSG_LANGUAGE_CHANGED: {
            UpdateGuard guard;
            Language().TranslateDialog(dialog, kDialogSection);
            TreeLink().RelocalizeAll();
            return TRUE;
        }
        case WM_WININICHANGE:
            SendToAllPages(message, wParam, lParam);
            return TRUE;
        case WM_CLOSE:
            OnClose(dialog);
            return TRUE;
        case WM_DESTROY:
            OnDestroy(dialog);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

MainDialogState& DialogState() { return g_state; }

const MainDialogHooks& DialogHooks() { return g_hooks; }

MainDialogHooks SetDialogHooks(const MainDialogHooks& hooks) {
    MainDialogHooks old = g_hooks;
    g_hooks = hooks;
    return old;
}

void ForgetMainDialogStarted() { g_started = false; }

bool MainDialogFirstStarting() { return g_firstStarting; }

void SetImportUnconfirmed(bool unconfirmed) { g_state.importUnconfirmed = unconfirmed; }

void KeepImportedSettings() {
    if (!g_state.importUnconfirmed) return;
    DeleteFileW(BackupPath().c_str());
    g_state.importUnconfirmed = false;
}
bool ImportUnconfirmed() { return g_state.importUnconfirmed; }

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may unwind into the dialog manager.
    try {
        return HandleMessage(dialog, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

HWND CreateMainSettingsDialog(HWND frame, HMODULE resources) {
    if (!resources) return nullptr;
    if (g_state.dialog && IsWindow(g_state.dialog)) return nullptr;
    g_state.resources = resources;
    return CreateDialogParamW(resources, MAKEINTRESOURCEW(IDD_PAGE_DETAIL), frame, MainDialogProc, 0);
}

