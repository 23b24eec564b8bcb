#include "settings/settings_tree.h"

#include <algorithm>
#include <cstring>

#include "common/settings/alarm_sections.h"
#include "common/settings/background_text.h"
#include "common/settings/clock_sections.h"
#include "common/settings/ini_arrays.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_read_scope.h"
#include "common/settings/ini_store.h"

namespace {

// Five missing sections in a row end the scan of the clock sections.
constexpr int kMaxClockGaps = 4;

using Access = SettingsTreeAccess;

template <typename T>
void Erase(std::vector<T*>& list, const CTreeNode* node) {
    list.erase(std::remove_if(list.begin(), list.end(), [node](T* n) { return n == node; }), list.end());
}

template <typename T>
typename std::vector<T*>::iterator Position(std::vector<T*>& list, const CTreeNode* before) {
    if (!before) return list.end();
    return std::find_if(list.begin(), list.end(), [before](T* n) { return n == before; });
}

// Takes a node out of wherever it is linked, items removed.
void Unlink(SettingsTree& tree, CTreeNode* node) {
    if (node->Item()) node->InsertItems(false);
    if (CTreeNode* parent = node->Parent()) {
        Erase(Access::Children(parent), node);
    } else {
        Erase(tree.top, node);
        Erase(tree.clocks, node);
    }
}

// The item a node's item goes after: the nearest earlier sibling that has one.
HTREEITEM InsertAfterItem(CTreeNode* node) {
    for (CTreeNode* prev = node->PreviousSibling(); prev; prev = prev->PreviousSibling()) {
        if (prev->Item()) return prev->Item();
    }
    return TVI_FIRST;
}

// A new clock with its desktop, formats, alarms and backgrounds nodes.
CClockNode* NewClockNode(SettingsTree& tree) {
    auto* clock = new CClockNode();
    CTreeNode* children[] = {new CDesktopNode(), new CFormatsNode(), new CAlarmsNode(), new CBackgroundsNode()};
    for (CTreeNode* child : children) {
        Access::SetParent(child, clock);
        Access::Children(clock).push_back(child);
    }
    Access::SetTree(clock, &tree);
    return clock;
}

const wchar_t* NewClockSuffix(int type) {
    if (type == kNewCountdownType) return L":newcountdown";
    if (type == kNewStopwatchType) return L":newtimer";
    return L":newclock";
}

void EmptyGroup(CTreeNode* group) {
    if (!group) return;
    auto& children = Access::Children(group);
    while (!children.empty()) delete children.back();
}

// The control lays out and paints once for all the items a scope inserts,
// not once per item.
class RedrawOnce {
public:
    explicit RedrawOnce(HWND control) : control_(control && IsWindow(control) ? control : nullptr) {
        if (control_) SendMessageW(control_, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawOnce() {
        if (!control_) return;
        SendMessageW(control_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(control_, nullptr, TRUE);
    }
    RedrawOnce(const RedrawOnce&) = delete;
    RedrawOnce& operator=(const RedrawOnce&) = delete;

private:
    HWND control_;
};

void RelocalizeNode(CTreeNode* node) {
    if (node->Relocalize()) node->RefreshTitle();
    for (int i = 0; i < node->ChildCount(); ++i) RelocalizeNode(node->Child(i));
    if (node->IsClock()) node->Exchange(node->GetRecord(), true);
}

}  // namespace

SettingsTree::~SettingsTree() { DestroySettingsTree(*this); }

SettingsTree& TheSettingsTree() {
    static SettingsTree tree;
    return tree;
}

void DestroySettingsTree(SettingsTree& tree) {
    // Each node unlinks itself from the list as it goes.
    while (!tree.top.empty()) delete tree.top.back();
    tree.clocks.clear();
    tree.nextNumber = 1;
}

void CTreeNode::InsertItems(bool insert) {
    CTreeNode* node = this;
    SettingsTree* tree = node->Tree();
    HWND control = tree ? tree->control : nullptr;
    if (insert) {
        if (!node->Item() && control) {
            wchar_t title[kNodeTitleChars] = {};
            node->GetTitle(title, kNodeTitleChars);
            TVINSERTSTRUCTW tvi = {};
            tvi.hParent = node->Parent() && node->Parent()->Item() ? node->Parent()->Item() : TVI_ROOT;
            tvi.hInsertAfter = InsertAfterItem(node);
            tvi.item.mask = TVIF_TEXT | TVIF_PARAM;
            tvi.item.pszText = title;
            tvi.item.lParam = reinterpret_cast<LPARAM>(node);
            Access::SetItem(node, TreeView_InsertItem(control, &tvi));
        }
        for (int i = 0; i < node->ChildCount(); ++i) node->Child(i)->InsertItems(true);
        node->UpdateItem();
        return;
    }
    HTREEITEM item = node->Item();
    Access::SetItem(node, nullptr);
    for (int i = 0; i < node->ChildCount(); ++i) node->Child(i)->InsertItems(false);
    if (item && control) DeleteItem(control, item);
}

void AttachTree(SettingsTree& tree, HWND control) {
    if (tree.control) {
        if (IsWindow(tree.control)) {
            for (CTreeNode* node : tree.top) node->InsertItems(false);
            TreeView_DeleteAllItems(tree.control);
        } else {
            // The control died with its items: only the handles remain.
            tree.control = nullptr;
            for (CTreeNode* node : tree.top) node->InsertItems(false);
        }
    }
    tree.control = control;
    if (!control) return;
    RedrawOnce redraw(control);
    for (CTreeNode* node : tree.top) node->InsertItems(true);
}

bool InsertNode(SettingsTree& tree, CTreeNode* node, CTreeNode* parent, CTreeNode* before) {
    if (!node || node == before || (parent && node->Contains(parent))) return false;
    if (before && before->Parent() != parent) before = nullptr;
    if (parent) {
        const int kind = node->GetKind();
        const int group = parent->GetKind();
        if (!((kind == kNodeAlarm && group == kNodeAlarms) || (kind == kNodeBackground && group == kNodeBackgrounds))) {
            return false;
        }
        {
            auto& siblings = Access::Children(parent);
            const bool member = std::find(siblings.begin(), siblings.end(), node) != siblings.end();
            if (parent->ChildCount() >= MaxGroupEntries(group) + (member ? 1 : 0)) return false;
        }
        CTreeNode* oldParent = node->Parent();
        Unlink(tree, node);
        auto& children = Access::Children(parent);
        children.insert(Position(children, before), node);
        Access::SetParent(node, parent);
        Access::SetTree(node, &tree);
        if (parent->Item()) node->InsertItems(true);
        if (oldParent && oldParent != parent) oldParent->UpdateItem();
        parent->UpdateItem();
        return true;
    }
    Unlink(tree, node);
    Access::SetParent(node, nullptr);
    Access::SetTree(node, &tree);
    tree.top.insert(Position(tree.top, before), node);
    if (node->IsClock()) {
        auto* clock = static_cast<CClockNode*>(node);
        if (before && before->IsClock()) {
            tree.clocks.insert(Position(tree.clocks, before), clock);
        } else {
            tree.clocks.push_back(clock);
        }
    }
    if (tree.control) node->InsertItems(true);
    return true;
}

void LoadClockNode(CClockNode* node, ClockRecord& record) {
    if (!node || !node->Tree()) return;
    SettingsTree& tree = *node->Tree();
    CTreeNode* alarms = node->ChildOfKind(kNodeAlarms);
    CTreeNode* backgrounds = node->ChildOfKind(kNodeBackgrounds);
    EmptyGroup(alarms);
    EmptyGroup(backgrounds);
    const int alarmCount = record.alarms ? std::max(record.alarmCount, 0) : 0;
    for (int i = 0; alarms && i < alarmCount; ++i) InsertNode(tree, new CAlarmNode(), alarms, nullptr);
    const int profiles = std::clamp(record.profileCount, 0, static_cast<int>(kMaxBackgroundProfiles));
    for (int i = 0; backgrounds && i < profiles; ++i) {
        InsertNode(tree, new CBackgroundNode(), backgrounds, nullptr);
    }
    node->Exchange(&record, false);
}

CTreeNode* CreateClockFromDefaults(SettingsTree& tree, CTreeNode* parent, CTreeNode* before, bool readDefaults,
                                   CTreeNode* source, int type) {
    CTreeNode* node = nullptr;
    if (!parent) {
        // Every way to a new top-level node makes a clock; the tree holds 30.
        if (static_cast<int>(tree.clocks.size()) >= kMaxTreeClocks) return nullptr;
        if (source) {
            if (!source->IsClock()) return nullptr;
            node = source->Clone();
            if (!node) return nullptr;
            Access::SetParent(node, nullptr);
            Access::SetTree(node, &tree);
            CTreeNode::CopyChildren(node, source, true);
        } else {
            CClockNode* clock = NewClockNode(tree);
            if (readDefaults) {
                ClockRecord record;
                memset(&record, 0, sizeof(record));
                const std::wstring section = std::wstring(L"default") + NewClockSuffix(type);
                ReadClockRecord(section.c_str(), DefaultIniPath().c_str(), record, true);
                LoadClockNode(clock, record);

                record.alarms = ResizeAlarmArray(record.alarms, 0);
            }
            node = clock;
        }
    } else {
        if (!parent->Parent()) return nullptr;
        if (source) {
            node = source->Clone();
            if (!node) return nullptr;
            Access::SetParent(node, nullptr);
            Access::SetTree(node, &tree);
            CTreeNode::CopyChildren(node, source, true);
        } else if (parent->GetKind() == kNodeAlarms) {
            auto* alarm = new CAlarmNode();
            Access::SetTree(alarm, &tree);
            AlarmRecord record;
            memset(&record, 0, sizeof(record));
            InitAlarmRecord(record);
            alarm->Exchange(&record, false);
            node = alarm;
        } else if (parent->GetKind() == kNodeBackgrounds) {
            auto* background = new CBackgroundNode();
            Access::SetTree(background, &tree);
            BackgroundProfile profile;
            memset(&profile, 0, sizeof(profile));
            InitBackgroundProfile(profile);
            background->Exchange(&profile, false);
            node = background;
        } else {
            return nullptr;
        }
    }
    if (!InsertNode(tree, node, parent, before)) {
        Access::SetParent(node, nullptr);
        Access::SetTree(node, nullptr);
        delete node;
        return nullptr;
    }
    return node;
}

void RemoveNode(SettingsTree& tree, CTreeNode* node) {
    if (!node) return;
    if (!node->Parent()) {
        if (node->Item()) node->InsertItems(false);
        Erase(tree.top, node);
        Erase(tree.clocks, node);
    }
    delete node;
}

CClockNode* FindClockNodeById(SettingsTree& tree, int number) {
    for (CClockNode* clock : tree.clocks) {
        if (clock->Record().number == number) return clock;
    }
    return nullptr;
}

int CountEnabledClocks(const SettingsTree& tree) {
    int count = 0;
    for (const CClockNode* clock : tree.clocks) count += clock->IsChecked() ? 1 : 0;
    return count;
}

void RelocalizeAll(SettingsTree& tree) {
    for (CTreeNode* node : tree.top) RelocalizeNode(node);
}

void BuildSettingsTree(SettingsTree& tree) {
    RedrawOnce redraw(tree.control);
    DestroySettingsTree(tree);
    IniReadScope oneReadEach;
    CTreeNode* options[] = {new CGeneralNode(), new CIniNode(), new CTimeNode(), new CNewsNode(), new CTrayNode()};
    for (CTreeNode* option : options) InsertNode(tree, option, nullptr, nullptr);

    const std::wstring file = UserIniPath();
    int gaps = 0;
    for (int n = 1; n <= kMaxTreeClocks; ++n) {
        const std::wstring section = ClockSectionName(UserPrefix().c_str(), n);
        if (ReadIniKeyList(file.c_str(), section.c_str()).empty()) {
            if (gaps >= kMaxClockGaps) break;
            ++gaps;
            continue;
        }
        ClockRecord record;
        memset(&record, 0, sizeof(record));
        ReadClockByIndex(UserPrefix().c_str(), file.c_str(), n, record);

        const int type = IsCountdown(record) ? kNewCountdownType
                         : IsTimerClock(record)   ? kNewStopwatchType
                                                  : kNodeClock;
        auto* clock =
            static_cast<CClockNode*>(CreateClockFromDefaults(tree, nullptr, nullptr, false, nullptr, type));
        if (!clock) {
            record.alarms = ResizeAlarmArray(record.alarms, 0);
            break;
        }
        tree.nextNumber = n + 1;
        LoadClockNode(clock, record);
        record.alarms = ResizeAlarmArray(record.alarms, 0);
        gaps = 0;
    }
}
