#include "settings/tree_node.h"

#include <algorithm>

#include "common/settings/localisation.h"
#include "common/platform/text_bounds.h"
#include "settings/settings_tree.h"

namespace {

std::vector<CTreeNode*>* SiblingList(const CTreeNode* node) {
    if (node->Parent()) return &SettingsTreeAccess::Children(node->Parent());
    if (node->Tree()) return &node->Tree()->top;
    return nullptr;
}

}  // namespace

// ---- CTreeNode ---------------------------------------------------------------

CTreeNode::~CTreeNode() {
    if (parent_) {
        auto& list = parent_->children_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    } else if (tree_) {
        auto& top = tree_->top;
        top.erase(std::remove(top.begin(), top.end(), this), top.end());
        auto& clocks = tree_->clocks;
        clocks.erase(std::remove(clocks.begin(), clocks.end(), static_cast<CTreeNode*>(this)), clocks.end());
    }
    // The children's items go before this one: deleting a parent item takes
    // the children's items with it, and their handles would then dangle.
    while (!children_.empty()) delete children_.back();
    if (item_) {
        HWND control = Control();
        HTREEITEM item = item_;
        item_ = nullptr;
        if (control) DeleteItem(control, item);
    }
}

void CTreeNode::DeleteItem(HWND control, HTREEITEM item) {
    TVITEMW tv = {};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    tv.lParam = 0;
    TreeView_SetItem(control, &tv);
    TreeView_DeleteItem(control, item);
}

HWND CTreeNode::Control() const { return tree_ ? tree_->control : nullptr; }

bool CTreeNode::ItemChecked() const {
    HWND control = Control();
    if (!item_ || !control) return false;
    const UINT state = TreeView_GetItemState(control, item_, TVIS_STATEIMAGEMASK);
    return (state >> 12) == 2;
}

void CTreeNode::SetStateImage(int image) {
    HWND control = Control();
    if (!item_ || !control) return;
    TreeView_SetItemState(control, item_, INDEXTOSTATEIMAGEMASK(image), TVIS_STATEIMAGEMASK);
}

void CTreeNode::UpdateItem() {
    HWND control = Control();
    if (!item_ || !control) return;
    ++updateGuard_;
    TreeView_Expand(control, item_, expanded_ ? TVE_EXPAND : TVE_COLLAPSE);
    --updateGuard_;
}

void CTreeNode::SetExpanded(bool expanded) {
    expanded_ = expanded;
    if (!Guarded()) UpdateItem();
}

void CTreeNode::Select() {
    HWND control = Control();
    if (item_ && control) TreeView_SelectItem(control, item_);
}

void CTreeNode::RefreshTitle() {
    HWND control = Control();
    if (!item_ || !control) return;
    wchar_t title[kNodeTitleChars] = {};
    GetTitle(title, kNodeTitleChars);
    TVITEMW tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item_;
    tv.pszText = title;
    TreeView_SetItem(control, &tv);
}

void CTreeNode::ReadItemState() {
    HWND control = Control();
    if (!item_ || !control || Guarded()) return;
    expanded_ = (TreeView_GetItemState(control, item_, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    ReadCheckState();
}

CTreeNode* CTreeNode::FindClockNode() {
    for (CTreeNode* n = this; n; n = n->parent_) {
        if (n->IsClock()) return n;
    }
    return nullptr;
}

CTreeNode* CTreeNode::Child(int index) const {
    if (index < 0 || index >= ChildCount()) return nullptr;
    return children_[static_cast<size_t>(index)];
}

CTreeNode* CTreeNode::NextSibling() const {
    const auto* list = SiblingList(this);
    if (!list) return nullptr;
    auto it = std::find(list->begin(), list->end(), this);
    if (it == list->end() || ++it == list->end()) return nullptr;
    return *it;
}

CTreeNode* CTreeNode::PreviousSibling() const {
    const auto* list = SiblingList(this);
    if (!list) return nullptr;
    auto it = std::find(list->begin(), list->end(), this);
    if (it == list->end() || it == list->begin()) return nullptr;
    return *(it - 1);
}

CTreeNode* CTreeNode::ChildOfKind(int kind) const {
    for (CTreeNode* child : children_) {
        if (child->kind_ == kind) return child;
    }
    return nullptr;
}

bool CTreeNode::Contains(const CTreeNode* node) const {
    for (; node; node = node->parent_) {
        if (node == this) return true;
    }
    return false;
}

void CTreeNode::CopyBaseTo(CTreeNode* clone) const {
    clone->tree_ = tree_;
    clone->expanded_ = expanded_;
}

void CTreeNode::CopyChildren(CTreeNode* target, const CTreeNode* source, bool clear) {
    if (!target || !source || target == source) return;
    if (target->parent_ == source || source->parent_ == target) return;
    // A node copied into its own subtree would copy itself without end.
    if (source->Contains(target)) return;
    if (clear) {
        while (!target->children_.empty()) delete target->children_.back();
    }
    const std::vector<CTreeNode*> originals = source->children_;
    for (const CTreeNode* child : originals) {
        CTreeNode* copy = child->Clone();
        if (!copy) continue;
        copy->parent_ = target;
        copy->tree_ = target->tree_;
        target->children_.push_back(copy);
        CopyChildren(copy, child, false);
    }
}

uint32_t ClockKindOf(CTreeNode* node) {
    CTreeNode* clock = node ? node->FindClockNode() : nullptr;
    return clock ? static_cast<CClockNode*>(clock)->Record().kind : 0;
}

void SettingsTreeAccess::SetTree(CTreeNode* node, SettingsTree* tree) {
    node->tree_ = tree;
    for (CTreeNode* child : node->children_) SetTree(child, tree);
}

// ---- option, desktop and formats nodes -----------------------------------------

CSimpleNode::CSimpleNode(int kind, UINT titleId) : titleId_(titleId) { kind_ = kind; }

void CSimpleNode::GetTitle(wchar_t* buffer, size_t size) const {
    if (!buffer || size == 0) return;
    Language().LoadUiString(titleId_, buffer, static_cast<int>(std::min<size_t>(size, 0x7FFFFFFF)));
}

void CSimpleNode::UpdateItem() {
    CTreeNode::UpdateItem();
    SetStateImage(0);
}

bool CSimpleNode::SetChecked(bool) {
    SetStateImage(0);
    return false;
}

namespace {

template <typename Node>
CTreeNode* CloneSimple(const Node&, CTreeNode* parent) {
    auto* clone = new Node();
    SettingsTreeAccess::SetParent(clone, parent);
    return clone;
}

}  // namespace

CTreeNode* CGeneralNode::Clone() const {
    CTreeNode* c = CloneSimple(*this, nullptr);
    CopyBaseTo(c);
    return c;
}
CTreeNode* CIniNode::Clone() const {
    CTreeNode* c = CloneSimple(*this, nullptr);
    CopyBaseTo(c);
    return c;
}
CTreeNode* CTimeNode::Clone() const {
    CTreeNode* c = CloneSimple(*this, nullptr);
    CopyBaseTo(c);
    return c;
}
CTreeNode* CNewsNode::Clone() const {
    CTreeNode* c = CloneSimple(*this, nullptr);
    CopyBaseTo(c);
    return c;
}
CTreeNode* CTrayNode::Clone() const {
    CTreeNode* c = CloneSimple(*this, nullptr);
    CopyBaseTo(c);
    return c;
}
CTreeNode* CFormatsNode::Clone() const {
    CTreeNode* c = CloneSimple(*this, parent_ ? const_cast<CFormatsNode*>(this)->FindClockNode() : nullptr);
    CopyBaseTo(c);
    return c;
}
CTreeNode* CDesktopNode::Clone() const {
    CTreeNode* c = CloneSimple(*this, parent_ ? const_cast<CDesktopNode*>(this)->FindClockNode() : nullptr);
    CopyBaseTo(c);
    return c;
}

void* CFormatsNode::GetRecord() {
    CTreeNode* clock = FindClockNode();
    return clock ? clock->GetRecord() : nullptr;
}

int CFormatsNode::GetPageIndex() const {
    CTreeNode* clock = const_cast<CFormatsNode*>(this)->FindClockNode();
    return (clock && clock->GetPageIndex() == kNodeClock) ? 6 : 14;
}

void* CDesktopNode::GetRecord() {
    CTreeNode* clock = FindClockNode();
    return clock ? clock->GetRecord() : nullptr;
}

// ---- groups --------------------------------------------------------------------

CGroupNode::CGroupNode(int kind, UINT titleId) : titleId_(titleId) { kind_ = kind; }

void CGroupNode::GetTitle(wchar_t* buffer, size_t size) const {
    if (!buffer || size == 0) return;
    Language().LoadUiString(titleId_, buffer, static_cast<int>(std::min<size_t>(size, 0x7FFFFFFF)));
}

void CGroupNode::ReadCheckState() {
    if (!children_.empty() && item_ && Control()) enabled_ = ItemChecked() ? 1 : 0;
}

void* CGroupNode::GetRecord() {
    CTreeNode* clock = FindClockNode();
    return clock ? clock->GetRecord() : nullptr;
}

void CGroupNode::UpdateItem() {
    CTreeNode::UpdateItem();
    SetStateImage(children_.empty() ? 0 : enabled_ + 1);
}

bool CGroupNode::SetChecked(bool on) {
    if (children_.empty()) {
        SetStateImage(0);
        return false;
    }
    enabled_ = on ? 1 : 0;
    if (!Guarded()) UpdateItem();
    return true;
}

void CGroupNode::CopyGroupTo(CGroupNode* clone) const {
    CopyBaseTo(clone);
    clone->enabled_ = enabled_;
    clone->parent_ = parent_;
}

CTreeNode* CAlarmsNode::Clone() const {
    auto* clone = new CAlarmsNode();
    CopyGroupTo(clone);
    return clone;
}

CTreeNode* CBackgroundsNode::Clone() const {
    auto* clone = new CBackgroundsNode();
    CopyGroupTo(clone);
    return clone;
}
