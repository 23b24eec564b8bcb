// A small settings tree for driving the main dialog: option nodes, clocks
// with their groups and entries, each with the page index and record the
// real nodes would have, mirrored into the dialog's tree control.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "common/records/alarm_record.h"
#include "common/records/clock_record.h"
#include "settings/settings_tree_link.h"

namespace settingsdlg_test {

struct FakeNode {
    int kind = kNodeClock;
    int page = 5;
    bool hasBox = false;
    bool checked = false;
    HTREEITEM item = nullptr;
    FakeNode* parent = nullptr;
    std::vector<FakeNode*> children;
    ClockRecord clock = {};
    AlarmRecord alarm = {};
    std::wstring title;
};

// Everything the fake did, in order, shared with the main-program stand-in.
void Event(const std::string& what);
std::vector<std::string> Events();
void ClearEvents();

class FakeTree : public SettingsTreeLink {
public:
    FakeTree();
    ~FakeTree() override;

    FakeNode* AddOption(int kind, const wchar_t* title);
    // A clock numbered n, on or off, with a desktop node, a formats node, an
    // alarms group holding `alarms` alarms and an empty backgrounds group.
    FakeNode* AddClock(int n, bool on, int alarms);
    FakeNode* Group(FakeNode* clock, int kind);
    // The state image the control shows for a node.
    int StateImage(FakeNode* node) const;
    void SetStateImage(FakeNode* node, int image);

    ClockSaveResult saveResult = ClockSaveResult::kWritten;
    int relocalized = 0;

    void AttachTree(HWND control) override;
    void RelocalizeAll() override { ++relocalized; }
    CTreeNode* FindClockNodeById(int number) override;
    CTreeNode* FirstClock() override;
    int ClockCount() override;
    int CountEnabledClocks() override;
    bool CanAddNode(CTreeNode* selected) override;
    bool CanDeleteNode(CTreeNode* node) override;
    bool CanDropNode(CTreeNode* node, CTreeNode* target, bool copy) override;
    CTreeNode* DropNode(CTreeNode* node, CTreeNode* target, bool copy) override;
    CTreeNode* CreateClockFromDefaults(CTreeNode* parent, CTreeNode* before, bool readDefaults, CTreeNode* source,
                                       int type) override;
    void RemoveNode(CTreeNode* node) override;
    ClockSaveResult SaveClockOrder() override;

    int Kind(CTreeNode* node) override { return N(node)->kind; }
    int PageIndex(CTreeNode* node) override { return N(node)->page; }
    void* Record(CTreeNode* node) override;
    HTREEITEM Item(CTreeNode* node) override { return N(node)->item; }
    void StoreTreeState(CTreeNode*) override {}
    void ReadItemState(CTreeNode* node) override;
    void ItemDeleted(CTreeNode* node) override { N(node)->item = nullptr; }
    void RefreshTitle(CTreeNode*) override {}
    void UpdateItem(CTreeNode* node) override;
    bool IsChecked(CTreeNode* node) override { return N(node)->checked; }
    bool SetChecked(CTreeNode* node, bool on) override;
    void Select(CTreeNode* node) override;
    CTreeNode* FindClockNode(CTreeNode* node) override;
    CTreeNode* Parent(CTreeNode* node) override { return C(N(node)->parent); }
    int ChildCount(CTreeNode* node) override { return static_cast<int>(N(node)->children.size()); }
    CTreeNode* Child(CTreeNode* node, int index) override;
    CTreeNode* NextSibling(CTreeNode* node) override { return Sibling(node, 1); }
    CTreeNode* PreviousSibling(CTreeNode* node) override { return Sibling(node, -1); }

    static FakeNode* N(CTreeNode* node) { return reinterpret_cast<FakeNode*>(node); }
    static CTreeNode* C(FakeNode* node) { return reinterpret_cast<CTreeNode*>(node); }
    const std::vector<FakeNode*>& top() const { return top_; }

private:
    FakeNode* Make(int kind, int page, FakeNode* parent, const wchar_t* title);
    void Insert(FakeNode* node, HTREEITEM after);
    std::vector<FakeNode*>& ListOf(FakeNode* node);
    CTreeNode* Sibling(CTreeNode* node, int step);

    HWND control_ = nullptr;
    std::vector<std::unique_ptr<FakeNode>> nodes_;
    std::vector<FakeNode*> top_;
    SettingsTreeLink* old_ = nullptr;
};

// Stand-in pages: a child dialog with one edit control whose id is the page's
// first control; they record every exchange, and the page named bad reports
// its edit control when asked to store.
struct Exchange {
    int page;
    WPARAM direction;  // 0 load, 1 store
    void* record;
};
std::vector<Exchange>& Exchanges();
void SetBadPage(int index);
// How often a stand-in page was hidden.
int& Hides(int index);
// Other messages the stand-in pages got: page index and message.
std::vector<std::pair<int, UINT>>& PageMessages();
HWND CreateStandInPage(int index, HWND dialog);

}  // namespace settingsdlg_test
