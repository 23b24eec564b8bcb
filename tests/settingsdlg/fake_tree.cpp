#include "common/platform/lent_pointer.h"
#include "tests/settingsdlg/fake_tree.h"

#include <algorithm>
#include <mutex>

#include "common/records/protocol.h"
#include "settings/main_dialog.h"

namespace settingsdlg_test {

namespace {

std::mutex g_eventLock;
std::vector<std::string> g_events;
std::vector<Exchange> g_exchanges;
int g_badPage = -1;
int g_hides[kPageCount] = {};
std::vector<std::pair<int, UINT>> g_pageMessages;

INT_PTR CALLBACK StandInPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(page, GWLP_USERDATA, lParam);
        return TRUE;
    }
    if (message == WM_SHOWWINDOW && !wParam) {
        ++g_hides[GetWindowLongPtrW(page, GWLP_USERDATA)];
        return FALSE;
    }
    if (message == WM_WININICHANGE || message >= WM_APP) {
        g_pageMessages.push_back({static_cast<int>(GetWindowLongPtrW(page, GWLP_USERDATA)), message});
        return FALSE;
    }
    if (message != WM_PAGE_EXCHANGE) return FALSE;
    const int index = static_cast<int>(GetWindowLongPtrW(page, GWLP_USERDATA));
    auto* block = LentPointer<PageExchangeBlock>(lParam);
    g_exchanges.push_back({index, wParam, block->record});
    if (wParam == 1 && index == g_badPage) block->failedControl = GetDlgItem(page, kPageTable[index].firstControl);
    return TRUE;
}

}  // namespace

void Event(const std::string& what) {
    std::lock_guard<std::mutex> lock(g_eventLock);
    g_events.push_back(what);
}
std::vector<std::string> Events() {
    std::lock_guard<std::mutex> lock(g_eventLock);
    return g_events;
}
void ClearEvents() {
    std::lock_guard<std::mutex> lock(g_eventLock);
    g_events.clear();
}

std::vector<Exchange>& Exchanges() { return g_exchanges; }
void SetBadPage(int index) { g_badPage = index; }
int& Hides(int index) { return g_hides[index]; }
std::vector<std::pair<int, UINT>>& PageMessages() { return g_pageMessages; }

HWND CreateStandInPage(int index, HWND dialog) {
    struct alignas(4) Template {
        DLGTEMPLATE dialog;
        WORD menu, cls, title;
        DLGITEMTEMPLATE edit;
        WORD editClass[2];
        WORD editTitle;
        WORD editData;
    } t = {};
    static_assert(offsetof(Template, edit) % 4 == 0);
    t.dialog.style = WS_CHILD | DS_CONTROL;
    t.dialog.cdit = 1;
    t.dialog.cx = 200;
    t.dialog.cy = 100;
    t.edit.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER;
    t.edit.x = 10;
    t.edit.y = 10;
    t.edit.cx = 100;
    t.edit.cy = 14;
    t.edit.id = static_cast<WORD>(kPageTable[index].firstControl ? kPageTable[index].firstControl : 1000);
    t.editClass[0] = 0xFFFF;
    t.editClass[1] = 0x0081;
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &t.dialog, dialog, StandInPageProc, index);
}

FakeTree::FakeTree() { old_ = SetTreeLink(this); }
FakeTree::~FakeTree() { SetTreeLink(old_); }

FakeNode* FakeTree::Make(int kind, int page, FakeNode* parent, const wchar_t* title) {
    nodes_.push_back(std::make_unique<FakeNode>());
    FakeNode* n = nodes_.back().get();
    n->kind = kind;
    n->page = page;
    n->parent = parent;
    n->title = title;
    if (parent) parent->children.push_back(n);
    return n;
}

FakeNode* FakeTree::AddOption(int kind, const wchar_t* title) {
    FakeNode* n = Make(kind, kind, nullptr, title);
    top_.push_back(n);
    return n;
}

FakeNode* FakeTree::AddClock(int number, bool on, int alarms) {
    FakeNode* c = Make(kNodeClock, 5, nullptr, L"clock");
    c->hasBox = true;
    c->checked = on;
    c->clock.number = number;
    c->clock.enabled = on;
    top_.push_back(c);
    Make(kNodeDesktop, 7, c, L"desktop");
    Make(kNodeFormats, 6, c, L"formats");
    FakeNode* group = Make(kNodeAlarms, 8, c, L"alarms");
    group->hasBox = true;
    group->checked = true;
    for (int i = 0; i < alarms; ++i) {
        FakeNode* a = Make(kNodeAlarm, 9, group, L"alarm");
        a->hasBox = true;
        a->checked = true;
    }
    Make(kNodeBackgrounds, 10, c, L"backgrounds");
    return c;
}

FakeNode* FakeTree::Group(FakeNode* clock, int kind) {
    for (FakeNode* child : clock->children) {
        if (child->kind == kind) return child;
    }
    return nullptr;
}

int FakeTree::StateImage(FakeNode* node) const {
    return static_cast<int>(TreeView_GetItemState(control_, node->item, TVIS_STATEIMAGEMASK) >> 12);
}

void FakeTree::SetStateImage(FakeNode* node, int image) {
    TreeView_SetItemState(control_, node->item, INDEXTOSTATEIMAGEMASK(image), TVIS_STATEIMAGEMASK);
}

void FakeTree::Insert(FakeNode* node, HTREEITEM after) {
    if (!control_) return;
    TVINSERTSTRUCTW ins = {};
    ins.hParent = node->parent ? node->parent->item : TVI_ROOT;
    ins.hInsertAfter = after ? after : TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = const_cast<wchar_t*>(node->title.c_str());
    ins.item.lParam = reinterpret_cast<LPARAM>(node);
    node->item = TreeView_InsertItem(control_, &ins);
    for (FakeNode* child : node->children) Insert(child, nullptr);
    UpdateItem(C(node));
}

void FakeTree::AttachTree(HWND control) {
    if (control_) TreeView_DeleteAllItems(control_);
    control_ = control;
    for (FakeNode* n : top_) Insert(n, nullptr);
}

CTreeNode* FakeTree::FindClockNodeById(int number) {
    for (FakeNode* n : top_) {
        if (n->kind == kNodeClock && n->clock.number == number) return C(n);
    }
    return nullptr;
}

CTreeNode* FakeTree::FirstClock() {
    for (FakeNode* n : top_) {
        if (n->kind == kNodeClock) return C(n);
    }
    return nullptr;
}

int FakeTree::ClockCount() {
    return static_cast<int>(std::count_if(top_.begin(), top_.end(), [](FakeNode* n) { return n->kind == kNodeClock; }));
}

int FakeTree::CountEnabledClocks() {
    return static_cast<int>(
        std::count_if(top_.begin(), top_.end(), [](FakeNode* n) { return n->kind == kNodeClock && n->checked; }));
}

bool FakeTree::CanAddNode(CTreeNode* selected) {
    if (!selected) return true;
    const int kind = N(selected)->kind;
    return kind == kNodeClock || kind == kNodeAlarms || kind == kNodeAlarm;
}

bool FakeTree::CanDeleteNode(CTreeNode* node) {
    return N(node)->kind == kNodeAlarm || (N(node)->kind == kNodeClock && ClockCount() >= 2);
}

bool FakeTree::CanDropNode(CTreeNode* node, CTreeNode* target, bool copy) {
    // Clocks only, moved before another clock or, without a target, to the end.
    if (!node || copy || N(node)->kind != kNodeClock || target == node) return false;
    if (!target) return NextSibling(node) != nullptr;
    return N(target)->kind == kNodeClock;
}

CTreeNode* FakeTree::DropNode(CTreeNode* node, CTreeNode* target, bool copy) {
    if (!CanDropNode(node, target, copy)) return nullptr;
    FakeNode* n = N(node);
    Event("drop");
    if (n->item) TreeView_DeleteItem(control_, n->item);
    top_.erase(std::find(top_.begin(), top_.end(), n));
    auto at = target ? std::find(top_.begin(), top_.end(), N(target)) : top_.end();
    top_.insert(at, n);
    const size_t index = std::find(top_.begin(), top_.end(), n) - top_.begin();
    Insert(n, index > 0 ? top_[index - 1]->item : TVI_FIRST);
    return node;
}

CTreeNode* FakeTree::CreateClockFromDefaults(CTreeNode* parent, CTreeNode* before, bool readDefaults, CTreeNode*,
                                             int type) {
    Event("create kind " + std::to_string(parent ? N(parent)->kind : -1) + " type " + std::to_string(type) +
          (readDefaults ? " defaults" : ""));
    if (!parent) {
        FakeNode* c = AddClock(99, true, 0);
        top_.pop_back();
        auto at = before ? std::find(top_.begin(), top_.end(), N(before)) : top_.end();
        top_.insert(at, c);
        const size_t index = std::find(top_.begin(), top_.end(), c) - top_.begin();
        Insert(c, index > 0 ? top_[index - 1]->item : TVI_FIRST);
        return C(c);
    }
    if (N(parent)->kind != kNodeAlarms) return nullptr;
    FakeNode* a = Make(kNodeAlarm, 9, N(parent), L"new alarm");
    a->hasBox = true;
    a->checked = true;
    Insert(a, nullptr);
    return C(a);
}

std::vector<FakeNode*>& FakeTree::ListOf(FakeNode* node) { return node->parent ? node->parent->children : top_; }

void FakeTree::RemoveNode(CTreeNode* node) {
    FakeNode* n = N(node);
    Event("remove");
    if (n->item) TreeView_DeleteItem(control_, n->item);
    auto& list = ListOf(n);
    list.erase(std::find(list.begin(), list.end(), n));
}

ClockSaveResult FakeTree::SaveClockOrder() {
    Event("save clocks");
    return saveResult;
}

void* FakeTree::Record(CTreeNode* node) {
    FakeNode* n = N(node);
    if (n->kind == kNodeAlarm) return &n->alarm;
    FakeNode* clock = N(FindClockNode(node));
    return clock ? &clock->clock : nullptr;
}

void FakeTree::ReadItemState(CTreeNode* node) {
    FakeNode* n = N(node);
    if (n->hasBox && n->item) n->checked = StateImage(n) == 2;
}

void FakeTree::UpdateItem(CTreeNode* node) {
    FakeNode* n = N(node);
    if (n->item) SetStateImage(n, n->hasBox ? (n->checked ? 2 : 1) : 0);
}

bool FakeTree::SetChecked(CTreeNode* node, bool on) {
    FakeNode* n = N(node);
    if (!n->hasBox) {
        if (n->item) SetStateImage(n, 0);
        return false;
    }
    n->checked = on;
    UpdateItem(node);
    return true;
}

void FakeTree::Select(CTreeNode* node) {
    if (control_ && N(node)->item) TreeView_SelectItem(control_, N(node)->item);
}

CTreeNode* FakeTree::FindClockNode(CTreeNode* node) {
    for (FakeNode* n = N(node); n; n = n->parent) {
        if (n->kind == kNodeClock) return C(n);
    }
    return nullptr;
}

CTreeNode* FakeTree::Child(CTreeNode* node, int index) {
    auto& children = N(node)->children;
    return index >= 0 && index < static_cast<int>(children.size()) ? C(children[index]) : nullptr;
}

CTreeNode* FakeTree::Sibling(CTreeNode* node, int step) {
    auto& list = ListOf(N(node));
    const auto at = std::find(list.begin(), list.end(), N(node)) - list.begin() + step;
    return at >= 0 && at < static_cast<long>(list.size()) ? C(list[at]) : nullptr;
}

}  // namespace settingsdlg_test
