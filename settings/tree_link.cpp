// The settings tree as the main dialog and the frame reach it.
#include "settings/frame_window.h"
#include "settings/settings_tree.h"

namespace {

class ProgramTree final : public SettingsTreeLink {
public:
    void AttachTree(HWND control) override { ::AttachTree(T(), control); }
    void RelocalizeAll() override { ::RelocalizeAll(T()); }
    CTreeNode* FindClockNodeById(int number) override { return ::FindClockNodeById(T(), number); }
    CTreeNode* FirstClock() override { return T().clocks.empty() ? nullptr : T().clocks.front(); }
    int ClockCount() override { return static_cast<int>(T().clocks.size()); }
    int CountEnabledClocks() override { return ::CountEnabledClocks(T()); }
    bool CanAddNode(CTreeNode* selected) override { return ::CanAddNode(T(), selected); }
    bool CanDeleteNode(CTreeNode* node) override { return ::CanDeleteNode(T(), node); }
    bool CanDropNode(CTreeNode* node, CTreeNode* target, bool copy) override {
        return ::CanDropNode(T(), node, target, copy);
    }
    CTreeNode* DropNode(CTreeNode* node, CTreeNode* target, bool copy) override {
        return ::DropNode(T(), node, target, copy);
    }
    CTreeNode* CreateClockFromDefaults(CTreeNode* parent, CTreeNode* before, bool readDefaults, CTreeNode* source,
                                       int type) override {
        return ::CreateClockFromDefaults(T(), parent, before, readDefaults, source, type);
    }
    void RemoveNode(CTreeNode* node) override { ::RemoveNode(T(), node); }
    ClockSaveResult SaveClockOrder() override { return ::SaveClockOrder(T()); }

    int Kind(CTreeNode* node) override { return node ? node->GetKind() : kNodeClock; }
    int PageIndex(CTreeNode* node) override { return node ? node->GetPageIndex() : -1; }
    void* Record(CTreeNode* node) override { return node ? node->GetRecord() : nullptr; }
    HTREEITEM Item(CTreeNode* node) override { return node ? node->Item() : nullptr; }
    void StoreTreeState(CTreeNode* top) override {
        if (top && top->IsClock()) top->Exchange(top->GetRecord(), true);
    }
    void ReadItemState(CTreeNode* node) override {
        if (node) node->ReadItemState();
    }
    void ItemDeleted(CTreeNode* node) override {
        if (node) SettingsTreeAccess::SetItem(node, nullptr);
    }
    void RefreshTitle(CTreeNode* node) override {
        if (node) node->RefreshTitle();
    }
    void UpdateItem(CTreeNode* node) override {
        if (node) node->UpdateItem();
    }
    bool IsChecked(CTreeNode* node) override { return node && node->IsChecked(); }
    bool SetChecked(CTreeNode* node, bool on) override { return node && node->SetChecked(on); }
    void Select(CTreeNode* node) override {
        if (node) node->Select();
    }
    CTreeNode* FindClockNode(CTreeNode* node) override { return node ? node->FindClockNode() : nullptr; }
    CTreeNode* Parent(CTreeNode* node) override { return node ? node->Parent() : nullptr; }
    int ChildCount(CTreeNode* node) override { return node ? node->ChildCount() : 0; }
    CTreeNode* Child(CTreeNode* node, int index) override { return node ? node->Child(index) : nullptr; }
    CTreeNode* NextSibling(CTreeNode* node) override { return node ? node->NextSibling() : nullptr; }
    CTreeNode* PreviousSibling(CTreeNode* node) override { return node ? node->PreviousSibling() : nullptr; }

private:
    static SettingsTree& T() { return TheSettingsTree(); }
};

ProgramTree g_programTree;

}  // namespace

void BuildProgramTree(HWND dialog) {
    SettingsTree& tree = TheSettingsTree();
    BuildSettingsTree(tree);
    // The dialog attaches its control when it starts; a dialog that had
    // none then gets it here.
    if (!tree.control && dialog) {
        if (HWND control = GetDlgItem(dialog, kSettingsTreeId)) AttachTree(tree, control);
    }
}

void DestroyProgramTree() {
    SettingsTree& tree = TheSettingsTree();
    AttachTree(tree, nullptr);
    DestroySettingsTree(tree);
}

void InstallSettingsTree() { SetTreeLink(&g_programTree); }
