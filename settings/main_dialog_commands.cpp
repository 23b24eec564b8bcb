#include <windows.h>

#include "common/platform/lent_pointer.h"
#include "common/settings/global_settings_io.h"
#include "common/settings/ini_paths.h"
#include "common/settings/localisation.h"
#include "common/settings/named_mutex.h"
#include "common/records/protocol.h"
#include "common/records/clock_table.h"
#include "common/platform/system_seam.h"
#include "settings/box_wait.h"
#include "settings/main_dialog.h"
#include "settings/main_dialog_state.h"
#include "settings/new_alarm_time.h"
#include "settings/page_ini_import.h"
#include "settings/program_links.h"

namespace {

constexpr int kQuestionChars = 100;
constexpr int kClockTypeCountdown = 12;
constexpr int kClockTypeStopwatch = 13;

bool IsWithin(CTreeNode* node, CTreeNode* ancestor) {
    for (CTreeNode* n = node; n; n = TreeLink().Parent(n)) {
        if (n == ancestor) return true;
    }
    return false;
}

// Takes a node and its children out of the tree. The page that shows one of
// them forgets it first: its data goes with the node.
void RemoveWithChildren(CTreeNode* node) {
    MainDialogState& s = DialogState();
    CTreeNode* parent = TreeLink().Parent(node);
    if (IsWithin(s.shownNode, node)) s.shownNode = nullptr;
    {
        UpdateGuard guard;
        TreeLink().RemoveNode(node);
        if (parent) TreeLink().UpdateItem(parent);
    }
    KeepOneClockOn();
    if (!s.shownNode) ShowNodePage(SelectedNode(), false);
}

bool WriteGeneralOptions(unsigned groups) {
    if (DialogHooks().saveGeneralOptions) return DialogHooks().saveGeneralOptions(groups);
    return WriteMainOptions(UserPrefix().c_str(), g_settings);
}

int AskDelete(HWND dialog) {
    wchar_t text[kQuestionChars + 1] = {};
    wchar_t caption[kQuestionChars + 1] = {};
    Language().LoadUiString(IDS_DELETE_QUESTION, text, kQuestionChars + 1);
    Language().LoadUiString(IDS_DELETE_CAPTION, caption, kQuestionChars + 1);
    OpenBoxScope box;
    return DialogHooks().askDelete ? DialogHooks().askDelete(dialog, text, caption)
                                   : MessageBoxW(dialog, text, caption, MB_YESNO);
}

INT_PTR ChooseClockType(HWND dialog) {
    if (DialogHooks().chooseClockType) return DialogHooks().chooseClockType(dialog);
    return RunClockTypeDialog(dialog, DialogState().resources);
}

// Places a new node where the tree put it and shows it.
void Placed(HWND dialog, CTreeNode* node, bool enableApply) {
    if (CTreeNode* parent = TreeLink().Parent(node)) {
        UpdateGuard guard;
        TreeLink().UpdateItem(parent);
    }
    SelectAndShow(node);
    UpdateTreeButtons(dialog);
    if (enableApply) EnableApply(dialog);
}

void OnAdd(HWND dialog) {
    SettingsTreeLink& t = TreeLink();
    if (FlagInvalidControl(StoreShownPage(1))) return;
    CTreeNode* selected = SelectedNode();
    if (!t.CanAddNode(selected)) return;
    const int kind = selected ? t.Kind(selected) : kNodeClock;
    CTreeNode* created = nullptr;
    bool alarm = false;
    {
        UpdateGuard guard;
        switch (kind) {
            case kNodeClock: {
                const INT_PTR choice = ChooseClockType(dialog);
                const int type = choice == 1 ? kNodeClock
                                 : choice == 2 ? kClockTypeCountdown
                                 : choice == 3 ? kClockTypeStopwatch
                                               : 0;
                if (type == 0) return;
                created = t.CreateClockFromDefaults(nullptr, selected, true, nullptr, type);
                break;
            }
            case kNodeAlarms:
                created = t.CreateClockFromDefaults(selected, nullptr, false, nullptr, 0);
                alarm = true;
                break;
            case kNodeBackgrounds:
                created = t.CreateClockFromDefaults(selected, nullptr, false, nullptr, 0);
                break;
            default: {
                CTreeNode* parent = t.Parent(selected);
                if (!parent) return;
                created = t.CreateClockFromDefaults(parent, selected, false, nullptr, 0);
                alarm = parent && t.Kind(parent) == kNodeAlarms;
                break;
            }
        }
    }
    if (!created) return;
    if (alarm) SetNewAlarmNodeTime(dialog, created);
    Placed(dialog, created, true);
}

void OnDelete(HWND dialog) {
    CTreeNode* node = SelectedNode();
    if (!node || !TreeLink().CanDeleteNode(node)) return;
    if (AskDelete(dialog) != IDYES) return;
    if (FlagInvalidControl(StoreShownPage(3))) return;
    RemoveWithChildren(node);
    UpdateTreeButtons(dialog);
    EnableApply(dialog);
}

void OnMove(HWND dialog, bool up) {
    CTreeNode* node = SelectedNode();
    if (!node) return;
    if (FlagInvalidControl(StoreShownPage(1))) return;
    CTreeNode* placed = nullptr;
    {
        UpdateGuard guard;
        CTreeNode* target = MoveTarget(node, up);
        if (TreeLink().CanDropNode(node, target, false)) placed = TreeLink().DropNode(node, target, false);
    }
    if (!placed) return;
    SelectAndShow(node);
    UpdateTreeButtons(dialog);
    EnableApply(dialog);
}

// The first child of clock N of the given kind.
CTreeNode* ChildOfKind(CTreeNode* clock, int kind) {
    SettingsTreeLink& t = TreeLink();
    for (int i = 0, n = clock ? t.ChildCount(clock) : 0; i < n; ++i) {
        CTreeNode* child = t.Child(clock, i);
        if (child && t.Kind(child) == kind) return child;
    }
    return nullptr;
}

// The top-level node of an option page, found by its kind.
CTreeNode* OptionNode(int kind) {
    HWND tree = DialogState().tree;
    for (HTREEITEM item = tree ? TreeView_GetRoot(tree) : nullptr; item; item = TreeView_GetNextSibling(tree, item)) {
        CTreeNode* node = NodeOfItem(tree, item);
        if (node && TreeLink().Kind(node) == kind) return node;
    }
    return nullptr;
}

void Select(CTreeNode* node) {
    if (node) TreeLink().Select(node);
}

void AddClockNode(HWND dialog, CTreeNode* before, int type) {
    if (!TreeLink().CanAddNode(before)) return;
    CTreeNode* created = nullptr;
    {
        UpdateGuard guard;
        created = TreeLink().CreateClockFromDefaults(nullptr, before, true, nullptr, type);
    }
    if (created) Placed(dialog, created, true);
}

void AddAlarmNode(HWND dialog, CTreeNode* clock) {
    CTreeNode* group = ChildOfKind(clock, kNodeAlarms);
    if (!group || FlagInvalidControl(StoreShownPage(1))) return;
    CTreeNode* created = nullptr;
    {
        UpdateGuard guard;
        created = TreeLink().CreateClockFromDefaults(group, nullptr, false, nullptr, 0);
    }
    if (!created) return;
    SetNewAlarmNodeTime(dialog, created);
    Placed(dialog, created, false);
}

void SelectEntry(CTreeNode* clock, int groupKind, int m) {
    CTreeNode* group = ChildOfKind(clock, groupKind);
    if (!group) return;
    const int count = TreeLink().ChildCount(group);
    if (count > m) {
        Select(TreeLink().Child(group, m));
    } else if (count == m) {
        Select(clock);
    } else {
        Select(group);
    }
}

// Says why nothing could be written; false, for Apply to return.
bool SayLockFailed(HWND dialog, DWORD failure) {
    OpenBoxScope box;
    ShowLockError(dialog, IDS_SAVE_FILE_BUSY, failure);
    return false;
}

}  // namespace

void SetNewAlarmNodeTime(HWND dialog, CTreeNode* alarmNode) {
    SettingsTreeLink& t = TreeLink();
    if (!alarmNode || t.Kind(alarmNode) != kNodeAlarm) return;
    auto* alarm = static_cast<AlarmRecord*>(t.Record(alarmNode));
    const ClockRecord* clock = nullptr;
    if (CTreeNode* clockNode = t.FindClockNode(alarmNode)) clock = static_cast<const ClockRecord*>(t.Record(clockNode));
    if (!clock) {
        ClockRecord* reported = nullptr;
        SendWithPointer(dialog, WM_GET_CLOCK_RECORD, 0, &reported);
        clock = reported;
    }
    if (!alarm || !clock) return;
    SYSTEMTIME utc = {};
    GetSystemTime(&utc);
    SetNewAlarmTime(*alarm, *clock, utc);
    // The node shows the record it holds.
    t.UpdateItem(alarmNode);
    t.RefreshTitle(alarmNode);
}

bool ApplySettings(HWND dialog) {
    if (FlagInvalidControl(StoreShownPage(3))) return false;
    bool general = false;
    {
        // One bounded wait for the whole group of writes: a file another
        // program keeps busy is said at once, and the edits stay for
        // another try.
        IniFileLock lock;
        if (!lock.held()) return SayLockFailed(dialog, lock.failure());
        general = WriteGeneralOptions(kAllOptionGroups);
    }
    // Running timers and window state reach the INI before the clock
    // sections are copied and renumbered; the main program takes the lock
    // itself to write them.
    NotifyMainProgram(MSG_SAVE_STATE, 0, 0, true);
    ClockSaveResult clocks = ClockSaveResult::kFailed;
    {
        IniFileLock lock;
        if (lock.held()) {
            clocks = TreeLink().SaveClockOrder();
        } else {
            SayLockFailed(dialog, lock.failure());
        }
    }
    if (general || clocks == ClockSaveResult::kWritten) NotifyMainProgram(MSG_SETTINGS_CHANGED, 0, 0, false);
    // What could not be written stays to be applied again.
    if (!general || clocks == ClockSaveResult::kFailed) return false;
    KeepImportedSettings();
    EnableWindow(GetDlgItem(dialog, IDC_APPLY), FALSE);
    return true;
}

void EnableApply(HWND dialog) { EnableWindow(GetDlgItem(dialog, IDC_APPLY), TRUE); }

void OnDialogCommand(HWND dialog, WORD id) {
    switch (id) {
        case IDOK:
            if (ApplySettings(dialog)) {
                DialogState().importUnconfirmed = false;
                SendMessageW(dialog, WM_CLOSE, 0, 0);
            }
            return;
        case IDC_APPLY:
            ApplySettings(dialog);
            return;
        case IDCANCEL:
            SendMessageW(dialog, WM_CLOSE, 0, 0);
            return;
        case IDC_ADD_NODE:
            OnAdd(dialog);
            return;
        case IDC_DELETE_NODE:
            OnDelete(dialog);
            return;
        case IDC_MOVE_UP:
            OnMove(dialog, true);
            return;
        case IDC_MOVE_DOWN:
            OnMove(dialog, false);
            return;
        default:
            return;
    }
}

void OnSelectPage(HWND dialog, WPARAM code, LPARAM target) {
    if (SettingsBoxOpen()) {
        System().BeepTone(kBusyBeepHz, kBusyBeepMs);
        return;
    }
    SettingsTreeLink& t = TreeLink();
    const int n = static_cast<int>(target & 0xFFFF);
    const int m = static_cast<int>((target >> 16) & 0xFFFF);
    CTreeNode* clock = n > 0 ? t.FindClockNodeById(n) : nullptr;
    switch (code) {
        case SETTINGS_PAGE_NEW_CLOCK:
            AddClockNode(dialog, clock, kNodeClock);
            return;
        case SETTINGS_PAGE_NEW_COUNTDOWN:
            AddClockNode(dialog, clock, kClockTypeCountdown);
            return;
        case SETTINGS_PAGE_NEW_STOPWATCH:
            AddClockNode(dialog, clock, kClockTypeStopwatch);
            return;
        case SETTINGS_PAGE_DELETE_CLOCK:
            if (clock && t.CanDeleteNode(clock)) {
                RemoveWithChildren(clock);
                UpdateTreeButtons(dialog);
                EnableApply(dialog);
            }
            return;
        case SETTINGS_PAGE_CLOCK:
        case SETTINGS_PAGE_CLOCK_ZONE:
            Select(clock);
            return;
        case SETTINGS_PAGE_NEW_ALARM:
            AddAlarmNode(dialog, clock);
            return;
        case SETTINGS_PAGE_CLOCK_DESKTOP:
            Select(ChildOfKind(clock, kNodeDesktop));
            return;
        case SETTINGS_PAGE_CLOCK_FORMATS:
            Select(ChildOfKind(clock, kNodeFormats));
            return;
        case SETTINGS_PAGE_ALARMS:
            Select(ChildOfKind(clock, kNodeAlarms));
            return;
        case SETTINGS_PAGE_ALARM:
            SelectEntry(clock, kNodeAlarms, m);
            return;
        case SETTINGS_PAGE_PROFILES:
            Select(ChildOfKind(clock, kNodeBackgrounds));
            return;
        case SETTINGS_PAGE_PROFILE:
            SelectEntry(clock, kNodeBackgrounds, m);
            return;
        case SETTINGS_PAGE_TASKBAR:
            Select(OptionNode(kNodeTaskbar));
            return;
        case SETTINGS_PAGE_SYNC:
            Select(OptionNode(kNodeTime));
            return;
        case SETTINGS_PAGE_GENERAL:
            Select(OptionNode(kNodeGeneral));
            return;
        case SETTINGS_PAGE_NEWS:
            Select(OptionNode(kNodeNews));
            return;
        default:
            return;
    }
}
