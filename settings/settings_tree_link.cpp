#include "settings/settings_tree_link.h"

namespace {

// No tree module: the control stays empty and nothing can change.
class EmptyTree final : public SettingsTreeLink {
public:
    void AttachTree(HWND control) override {
        if (control) TreeView_DeleteAllItems(control);
    }
    void RelocalizeAll() override {}
    CTreeNode* FindClockNodeById(int) override { return nullptr; }
    CTreeNode* FirstClock() override { return nullptr; }
    int ClockCount() override { return 0; }
    int CountEnabledClocks() override { return 0; }
    bool CanAddNode(CTreeNode*) override { return false; }
    bool CanDeleteNode(CTreeNode*) override { return false; }
    bool CanDropNode(CTreeNode*, CTreeNode*, bool) override { return false; }
    CTreeNode* DropNode(CTreeNode*, CTreeNode*, bool) override { return nullptr; }
    CTreeNode* CreateClockFromDefaults(CTreeNode*, CTreeNode*, bool, CTreeNode*, int) override { return nullptr; }
    void RemoveNode(CTreeNode*) override {}
    // Without a tree there is nothing to write, and an empty clock list must
    // not be taken for "the user deleted every clock".
    ClockSaveResult SaveClockOrder() override { return ClockSaveResult::kNothing; }

    int Kind(CTreeNode*) override { return kNodeClock; }
    int PageIndex(CTreeNode*) override { return -1; }
    void* Record(CTreeNode*) override { return nullptr; }
    HTREEITEM Item(CTreeNode*) override { return nullptr; }
    void StoreTreeState(CTreeNode*) override {}
    void ReadItemState(CTreeNode*) override {}
    void ItemDeleted(CTreeNode*) override {}
    void RefreshTitle(CTreeNode*) override {}
    void UpdateItem(CTreeNode*) override {}
    bool IsChecked(CTreeNode*) override { return false; }
    bool SetChecked(CTreeNode*, bool) override { return false; }
    void Select(CTreeNode*) override {}
    CTreeNode* FindClockNode(CTreeNode*) override { return nullptr; }
    CTreeNode* Parent(CTreeNode*) override { return nullptr; }
    int ChildCount(CTreeNode*) override { return 0; }
    CTreeNode* Child(CTreeNode*, int) override { return nullptr; }
    CTreeNode* NextSibling(CTreeNode*) override { return nullptr; }
    CTreeNode* PreviousSibling(CTreeNode*) override { return nullptr; }
};

EmptyTree g_emptyTree;
SettingsTreeLink* g_link = nullptr;

}  // namespace

SettingsTreeLink& TreeLink() { return g_link ? *g_link : g_emptyTree; }

SettingsTreeLink* SetTreeLink(SettingsTreeLink* link) {
    SettingsTreeLink* old = g_link;
    g_link = link;
    return old;
}
