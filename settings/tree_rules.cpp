// What may be added, deleted, dragged and dropped in the settings tree, and
// the drop itself.
#include <vector>

#include "settings/settings_tree.h"

namespace {

int ClockCount(const SettingsTree& tree) { return static_cast<int>(tree.clocks.size()); }

CTreeNode* GroupOf(CTreeNode* clock, int kind) { return clock ? clock->ChildOfKind(kind) : nullptr; }

int PageOf(CTreeNode* clock) { return clock ? clock->GetPageIndex() : -1; }

// Alarms and backgrounds: kind of the entry, kind of its group.
bool CanDropEntry(SettingsTree& tree, CTreeNode* node, CTreeNode* target, bool copy, int groupKind) {
    (void)tree;
    const int kind = node->GetKind();
    const int targetKind = target->GetKind();
    if (targetKind != kNodeClock && targetKind != groupKind && targetKind != kind) return false;
    CTreeNode* nodeClock = node->FindClockNode();
    CTreeNode* targetClock = target->FindClockNode();
    if (PageOf(targetClock) != PageOf(nodeClock)) return false;
    if (!copy && nodeClock == targetClock) {
        // Reordering within one clock: dropping on the clock or group puts
        // the entry last, which changes nothing when it already is.
        return !(targetKind != kind && !node->NextSibling());
    }
    CTreeNode* group = GroupOf(targetClock, groupKind);
    if (!group) return false;
    return group->ChildCount() < MaxGroupEntries(groupKind);
}

bool CanCopyGroup(CTreeNode* node, CTreeNode* target, bool copy, int groupKind) {
    if (!copy) return false;
    const int targetKind = target->GetKind();
    if (targetKind != kNodeClock && targetKind != groupKind) return false;
    CTreeNode* nodeClock = node->FindClockNode();
    CTreeNode* targetClock = target->FindClockNode();
    if (nodeClock == targetClock || PageOf(nodeClock) != PageOf(targetClock)) return false;
    CTreeNode* from = GroupOf(nodeClock, groupKind);
    CTreeNode* to = GroupOf(targetClock, groupKind);
    if (!from || !to) return false;
    return from->ChildCount() + to->ChildCount() <= MaxGroupEntries(groupKind);
}

// Clones of the group's entries appended to the target clock's group.
CTreeNode* CopyGroup(SettingsTree& tree, CTreeNode* node, CTreeNode* target, int groupKind) {
    CTreeNode* to = GroupOf(target->FindClockNode(), groupKind);
    if (!to) return nullptr;
    if (node->ChildCount() + to->ChildCount() > MaxGroupEntries(groupKind)) return nullptr;
    std::vector<CTreeNode*> entries;
    for (int i = 0; i < node->ChildCount(); ++i) entries.push_back(node->Child(i));
    for (CTreeNode* entry : entries) {
        if (!CreateClockFromDefaults(tree, to, nullptr, false, entry, 0)) break;
    }
    to->UpdateItem();
    return to;
}

CTreeNode* DropEntry(SettingsTree& tree, CTreeNode* node, CTreeNode* target, bool copy, int groupKind) {
    CTreeNode* group = GroupOf(target->FindClockNode(), groupKind);
    if (!group) return nullptr;
    CTreeNode* before = target->GetKind() == node->GetKind() ? target : nullptr;
    if (copy) return CreateClockFromDefaults(tree, group, before, false, node, 0);
    return InsertNode(tree, node, group, before) ? node : nullptr;
}

}  // namespace

bool CanAddNode(SettingsTree& tree, CTreeNode* selected) {
    if (!selected) return ClockCount(tree) < kMaxTreeClocks;
    CTreeNode* clock = selected->FindClockNode();
    if (!clock) return false;
    switch (selected->GetKind()) {
        case kNodeClock:
            return ClockCount(tree) < kMaxTreeClocks;
        case kNodeAlarms:
        case kNodeAlarm: {
            CTreeNode* group = GroupOf(clock, kNodeAlarms);
            return group && group->ChildCount() < kMaxTreeAlarms;
        }
        case kNodeBackgrounds:
        case kNodeBackground: {
            CTreeNode* group = GroupOf(clock, kNodeBackgrounds);
            return group && group->ChildCount() < kMaxTreeBackgrounds;
        }
        default:
            return false;
    }
}

bool CanDeleteNode(SettingsTree& tree, CTreeNode* node) {
    if (!node) return false;
    CTreeNode* clock = node->FindClockNode();
    switch (node->GetKind()) {
        case kNodeClock:
            return ClockCount(tree) >= 2;
        // The record's counts lag behind the tree until the clock is stored
        // again: an entry just added counts as held by its clock.
        case kNodeAlarm:
            return clock && node->Parent() && node->Parent()->GetKind() == kNodeAlarms;
        case kNodeBackground:
            return clock && node->Parent() && node->Parent()->GetKind() == kNodeBackgrounds;
        default:
            return false;
    }
}

bool CanDropNode(SettingsTree& tree, CTreeNode* node, CTreeNode* target, bool copy) {
    if (!node || node == target || !node->FindClockNode()) return false;
    if (!target) {
        if (node->GetKind() != kNodeClock) return false;
        if (copy) return ClockCount(tree) < kMaxTreeClocks;
        CTreeNode* next = node->NextSibling();
        return ClockCount(tree) >= 2 && next && next->IsClock();
    }
    if (!target->FindClockNode()) return false;
    if (!copy && target == node->NextSibling()) return false;
    switch (node->GetKind()) {
        case kNodeClock:
            if (!copy) return target->GetKind() == kNodeClock;
            return target->GetPageIndex() == node->GetPageIndex() && ClockCount(tree) < kMaxTreeClocks;
        case kNodeAlarms:
            return CanCopyGroup(node, target, copy, kNodeAlarms);
        case kNodeAlarm:
            return CanDropEntry(tree, node, target, copy, kNodeAlarms);
        case kNodeBackgrounds:
            return CanCopyGroup(node, target, copy, kNodeBackgrounds);
        case kNodeBackground:
            return CanDropEntry(tree, node, target, copy, kNodeBackgrounds);
        default:
            return false;
    }
}

CTreeNode* DropNode(SettingsTree& tree, CTreeNode* node, CTreeNode* target, bool copy) {
    if (!CanDropNode(tree, node, target, copy)) return nullptr;
    if (!target) {
        if (copy) return CreateClockFromDefaults(tree, nullptr, nullptr, false, node, 0);
        return InsertNode(tree, node, nullptr, nullptr) ? node : nullptr;
    }
    switch (node->GetKind()) {
        case kNodeClock:
            if (copy) return CreateClockFromDefaults(tree, nullptr, target, false, node, 0);
            return InsertNode(tree, node, nullptr, target) ? node : nullptr;
        case kNodeAlarms:
            return CopyGroup(tree, node, target, kNodeAlarms);
        case kNodeBackgrounds:
            return CopyGroup(tree, node, target, kNodeBackgrounds);
        case kNodeAlarm:
            return DropEntry(tree, node, target, copy, kNodeAlarms);
        case kNodeBackground:
            return DropEntry(tree, node, target, copy, kNodeBackgrounds);
        default:
            return nullptr;
    }
}
