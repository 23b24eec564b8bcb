// The settings tree: every node in two ordered lists, mirrored into the tree
// control of the main settings dialog. Built from tempovia.ini, changed by
// adding, copying, moving and deleting nodes, and written back with the clocks
// renumbered 1..n in tree order.
#pragma once

#include <windows.h>

#include <vector>

#include "settings/settings_tree_link.h"
#include "settings/tree_node.h"

inline constexpr int kMaxTreeClocks = 30;
inline constexpr int kMaxTreeBackgrounds = kMaxBackgroundProfiles;
// The clock sections hold no more: a 21st alarm would be dropped at saving.
inline constexpr int kMaxTreeAlarms = kMaxAlarmsPerClock;

// How many entries a group of that kind (alarms or backgrounds) holds.
inline constexpr int MaxGroupEntries(int groupKind) {
    return groupKind == kNodeBackgrounds ? kMaxTreeBackgrounds : kMaxTreeAlarms;
}
// Clock types that CreateClockFromDefaults knows.
inline constexpr int kNewCountdownType = 12;
inline constexpr int kNewStopwatchType = 13;

struct SettingsTree {
    SettingsTree() = default;
    ~SettingsTree();
    SettingsTree(const SettingsTree&) = delete;
    SettingsTree& operator=(const SettingsTree&) = delete;

    HWND control = nullptr;
    std::vector<CClockNode*> clocks;  // not owning
    std::vector<CTreeNode*> top;      // owning: option nodes and clocks
    int exchanging = 0;
    int nextNumber = 1;
};

// The program's tree.
SettingsTree& TheSettingsTree();

// Gives the tree access to the nodes' links.
struct SettingsTreeAccess {
    static std::vector<CTreeNode*>& Children(CTreeNode* node) { return node->children_; }
    static void SetItem(CTreeNode* node, HTREEITEM item) { node->item_ = item; }
    static void SetParent(CTreeNode* node, CTreeNode* parent) { node->parent_ = parent; }
    static void SetTree(CTreeNode* node, SettingsTree* tree);
};

// Rebuilds the tree from tempovia.ini.
void BuildSettingsTree(SettingsTree& tree);
// Deletes every node.
void DestroySettingsTree(SettingsTree& tree);
void AttachTree(SettingsTree& tree, HWND control);
CTreeNode* CreateClockFromDefaults(SettingsTree& tree, CTreeNode* parent, CTreeNode* before, bool readDefaults,
                                   CTreeNode* source, int type);
bool InsertNode(SettingsTree& tree, CTreeNode* node, CTreeNode* parent, CTreeNode* before);
void LoadClockNode(CClockNode* node, ClockRecord& record);
void RemoveNode(SettingsTree& tree, CTreeNode* node);
CClockNode* FindClockNodeById(SettingsTree& tree, int number);
int CountEnabledClocks(const SettingsTree& tree);
void RelocalizeAll(SettingsTree& tree);

bool CanAddNode(SettingsTree& tree, CTreeNode* selected);
bool CanDeleteNode(SettingsTree& tree, CTreeNode* node);
bool CanDropNode(SettingsTree& tree, CTreeNode* node, CTreeNode* target, bool copy);
CTreeNode* DropNode(SettingsTree& tree, CTreeNode* node, CTreeNode* target, bool copy);

// Writes the clock sections in tree order. MSG_SAVE_STATE has been sent and
// answered before (the dialog does that).
ClockSaveResult SaveClockOrder(SettingsTree& tree);

// The program's tree built afresh from the INI and shown in the dialog's tree
// control (id 1087); and every node freed, the control let go.
void BuildProgramTree(HWND dialog);
void DestroyProgramTree();

// Makes the main dialog reach the program's tree through its link.
void InstallSettingsTree();
