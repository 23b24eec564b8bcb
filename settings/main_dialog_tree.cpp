#include <windows.h>
#include <commctrl.h>

#include "common/records/protocol.h"
#include "settings/main_dialog.h"
#include "settings/main_dialog_state.h"
#include "settings/program_links.h"

CTreeNode* NodeOfItem(HWND tree, HTREEITEM item) {
    if (!tree || !item) return nullptr;
    TVITEMW tv = {};
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = item;
    if (!TreeView_GetItem(tree, &tv)) return nullptr;
    return reinterpret_cast<CTreeNode*>(tv.lParam);
}

CTreeNode* SelectedNode() {
    HWND tree = DialogState().tree;
    return tree ? NodeOfItem(tree, TreeView_GetSelection(tree)) : nullptr;
}

namespace {

bool IsItemGroup(int kind) { return kind == kNodeAlarm || kind == kNodeBackground; }

// The group of a clock that holds entries of the given kind.
CTreeNode* GroupOf(CTreeNode* clock, int groupKind) {
    SettingsTreeLink& t = TreeLink();
    if (!clock) return nullptr;
    for (int i = 0, n = t.ChildCount(clock); i < n; ++i) {
        CTreeNode* child = t.Child(clock, i);
        if (child && t.Kind(child) == groupKind) return child;
    }
    return nullptr;
}

void SetTreeCursor(HCURSOR cursor) {
    if (cursor) SetCursor(cursor);
}

// Where a notification's point lies in the tree, as an item.
HTREEITEM ItemAtCursor(HWND tree) {
    TVHITTESTINFO hit = {};
    GetCursorPos(&hit.pt);
    ScreenToClient(tree, &hit.pt);
    return TreeView_HitTest(tree, &hit);
}

void EndDrag() {
    MainDialogState& s = DialogState();
    s.dragMode = 0;
    s.dragItem = nullptr;
    if (GetCapture() == s.dialog) ReleaseCapture();
    SetCursor(s.cursorBeforeDrag ? s.cursorBeforeDrag : LoadCursorW(nullptr, IDC_ARROW));
    s.cursorBeforeDrag = nullptr;
    if (s.tree) TreeView_SelectDropTarget(s.tree, nullptr);
}

LRESULT OnSelChanging(NMTREEVIEWW* nm) {
    MainDialogState& s = DialogState();
    if (s.updateGuard > 0) return 0;
    CTreeNode* next = reinterpret_cast<CTreeNode*>(nm->itemNew.lParam);
    CTreeNode* old = s.shownNode;
    if (old && old != next && FlagInvalidControl(StoreShownPage(1))) return 1;
    return 0;
}

void OnSelChanged(HWND dialog, NMTREEVIEWW* nm) {
    MainDialogState& s = DialogState();
    if (s.updateGuard > 0) return;
    CTreeNode* next = reinterpret_cast<CTreeNode*>(nm->itemNew.lParam);
    CTreeNode* old = s.shownNode;
    if (old && old != next) {
        if (HWND failed = StoreShownPage(1)) {
            UpdateGuard guard;
            TreeLink().Select(old);
            FlagInvalidControl(failed);
            return;
        }
    }
    if (next) ShowNodePage(next, true);
    UpdateTreeButtons(dialog);
}

LRESULT OnKeyDown(HWND dialog, NMTVKEYDOWN* key) {
    MainDialogState& s = DialogState();
    if (key->wVKey == VK_DELETE) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_DELETE_NODE, 0), 0);
        return 0;
    }
    if (key->wVKey != VK_SPACE || (GetKeyState(VK_CONTROL) & 0x8000)) return 0;
    CTreeNode* node = SelectedNode();
    if (!node) return 0;
    SettingsTreeLink& t = TreeLink();
    const bool on = !t.IsChecked(node);
    const bool lastClock = t.Kind(node) == kNodeClock && !on && t.CountEnabledClocks() < 2;
    if (!lastClock && t.SetChecked(node, on)) {
        EnableApply(dialog);
        if (s.shownPage == kTaskbarPage) ExchangePageData(s.shownNode, true, 0);
    }
    // The control toggles the box itself once this returns: afterwards the
    // box is set to what the node holds, refused or not.
    PostMessageW(dialog, WM_TREE_RESTORE_CHECK, IDC_SETTINGS_TREE, reinterpret_cast<LPARAM>(t.Item(node)));
    return 0;
}

}  // namespace

void SelectAndShow(CTreeNode* node) {
    if (!node) return;
    {
        UpdateGuard guard;
        TreeLink().Select(node);
    }
    ShowNodePage(node, false);
}

void KeepOneClockOn() {
    SettingsTreeLink& t = TreeLink();
    if (t.ClockCount() == 0 || t.CountEnabledClocks() > 0) return;
    CTreeNode* clock = t.FindClockNode(SelectedNode());
    if (!clock) clock = t.FirstClock();
    if (clock) t.SetChecked(clock, true);
}

CTreeNode* MoveTarget(CTreeNode* node, bool up) {
    SettingsTreeLink& t = TreeLink();
    if (!node) return nullptr;
    const int kind = t.Kind(node);
    CTreeNode* clock = t.FindClockNode(node);
    if (up) {
        if (CTreeNode* previous = t.PreviousSibling(node)) return previous;
        if (!IsItemGroup(kind) || !clock) return nullptr;
        CTreeNode* previousClock = t.PreviousSibling(clock);
        if (!previousClock || t.Kind(previousClock) != kNodeClock) return nullptr;
        CTreeNode* parent = t.Parent(node);
        return parent ? GroupOf(previousClock, t.Kind(parent)) : nullptr;
    }
    if (CTreeNode* next = t.NextSibling(node)) {
        if (CTreeNode* after = t.NextSibling(next)) return after;
        return t.Parent(node);
    }
    if (!IsItemGroup(kind) || !clock) return nullptr;
    CTreeNode* nextClock = t.NextSibling(clock);
    CTreeNode* parent = t.Parent(node);
    if (!nextClock || !parent || t.Kind(nextClock) != kNodeClock) return nullptr;
    CTreeNode* group = GroupOf(nextClock, t.Kind(parent));
    if (!group) return nullptr;
    CTreeNode* first = t.ChildCount(group) > 0 ? t.Child(group, 0) : nullptr;
    return first ? first : group;
}

void UpdateTreeButtons(HWND dialog) {
    UpdateGuard guard;
    SettingsTreeLink& t = TreeLink();
    CTreeNode* node = SelectedNode();
    EnableWindow(GetDlgItem(dialog, IDC_ADD_NODE), t.CanAddNode(node));
    EnableWindow(GetDlgItem(dialog, IDC_DELETE_NODE), node && t.CanDeleteNode(node));
    NotifyMainProgram(MSG_CLOCK_COUNT, static_cast<WPARAM>(t.ClockCount()), 0, false);
    const bool up = node && (t.Parent(node) || t.PreviousSibling(node)) && t.CanDropNode(node, MoveTarget(node, true), false);
    const bool down = node && t.CanDropNode(node, MoveTarget(node, false), false);
    EnableWindow(GetDlgItem(dialog, IDC_MOVE_UP), up);
    EnableWindow(GetDlgItem(dialog, IDC_MOVE_DOWN), down);
}

void OnTreeCheckClicked(HWND dialog, HTREEITEM item) {
    MainDialogState& s = DialogState();
    SettingsTreeLink& t = TreeLink();
    CTreeNode* node = NodeOfItem(s.tree, item);
    if (!node) return;
    const bool before = t.IsChecked(node);
    t.ReadItemState(node);
    const bool after = t.IsChecked(node);
    if (before != after) {
        if (t.Kind(node) == kNodeClock && !after && t.CountEnabledClocks() == 0) {
            // The last clock that is on stays on.
            UpdateGuard guard;
            t.SetChecked(node, true);
            t.UpdateItem(node);
        } else {
            EnableApply(dialog);
            if (s.shownPage == kTaskbarPage) ExchangePageData(s.shownNode, true, 0);
        }
    }
    if (node != s.shownNode && !StoreShownPage(0)) t.Select(node);
}

void OnTreeRestoreCheck(HWND, HTREEITEM item) {
    MainDialogState& s = DialogState();
    CTreeNode* node = NodeOfItem(s.tree, item);
    if (!node) return;
    // A refused change left the node as it was (a clock stays on, a node
    // without a box has none): the item shows the node again.
    UpdateGuard guard;
    TreeLink().UpdateItem(node);
}

void OnDragMove(HWND) {
    MainDialogState& s = DialogState();
    if (!s.dragMode) return;
    HTREEITEM target = ItemAtCursor(s.tree);
    TreeView_SelectDropTarget(s.tree, target);
    CTreeNode* node = NodeOfItem(s.tree, s.dragItem);
    const bool allowed = TreeLink().CanDropNode(node, NodeOfItem(s.tree, target), s.dragMode == 2);
    SetTreeCursor(allowed ? s.dropAllowed : s.dropRefused);
}

void OnDragDrop(HWND dialog) {
    MainDialogState& s = DialogState();
    if (!s.dragMode) return;
    const bool copy = s.dragMode == 2;
    CTreeNode* node = NodeOfItem(s.tree, s.dragItem);
    EndDrag();
    CTreeNode* target = NodeOfItem(s.tree, ItemAtCursor(s.tree));
    if (!node || !TreeLink().CanDropNode(node, target, copy)) return;
    // The page goes back into its node before the tree changes under it.
    if (FlagInvalidControl(StoreShownPage(1))) return;
    CTreeNode* placed = nullptr;
    {
        UpdateGuard guard;
        placed = TreeLink().DropNode(node, target, copy);
    }
    if (!placed) return;
    SelectAndShow(placed);
    UpdateTreeButtons(dialog);
    EnableApply(dialog);
}

void CancelDrag() {
    if (DialogState().dragMode) EndDrag();
}

LRESULT OnTreeNotify(HWND dialog, NMHDR* header) {
    MainDialogState& s = DialogState();
    if (header->idFrom != IDC_SETTINGS_TREE) return 0;
    switch (header->code) {
        case TVN_SELCHANGINGW:
            return OnSelChanging(reinterpret_cast<NMTREEVIEWW*>(header));
        case TVN_SELCHANGEDW:
            OnSelChanged(dialog, reinterpret_cast<NMTREEVIEWW*>(header));
            return 0;
        case NM_CLICK:
            if (s.updateGuard == 0) {
                if (HTREEITEM item = ItemAtCursor(s.tree)) {
                    PostMessageW(dialog, WM_TREE_CHECK_CLICKED, IDC_SETTINGS_TREE, reinterpret_cast<LPARAM>(item));
                }
            }
            return 0;
        case TVN_KEYDOWN:
            return OnKeyDown(dialog, reinterpret_cast<NMTVKEYDOWN*>(header));
        case TVN_ITEMEXPANDEDW: {
            auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
            if (CTreeNode* node = reinterpret_cast<CTreeNode*>(nm->itemNew.lParam)) TreeLink().ReadItemState(node);
            return 0;
        }
        case TVN_DELETEITEMW: {
            auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
            if (CTreeNode* node = reinterpret_cast<CTreeNode*>(nm->itemOld.lParam)) {
                if (s.dragItem == nm->itemOld.hItem) CancelDrag();
                // A node whose item goes may be on its way out (the tree is
                // rebuilt after an import): the page no longer writes to it.
                ForgetShownNode(node);
                TreeLink().ItemDeleted(node);
            }
            return 0;
        }
        case TVN_BEGINDRAGW: {
            auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
            if (!nm->itemNew.hItem || !nm->itemNew.lParam) return 0;
            s.dragItem = nm->itemNew.hItem;
            s.cursorBeforeDrag = GetCursor();
            LoadDragCursors();
            SetTreeCursor(s.dropRefused);
            SetCapture(dialog);
            s.dragMode = (GetKeyState(VK_CONTROL) & 0x8000) ? 2 : 1;
            return 0;
        }
        case NM_KILLFOCUS:
            CancelDrag();
            return 0;
        default:
            return 0;
    }
}
