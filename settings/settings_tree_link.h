// How the main settings dialog reaches the settings tree and its nodes. The
// dialog knows nodes only as the item data of its tree control; every question
// about a node, and every change of the tree, goes through the link in force.
// settings.exe installs the program's tree (InstallSettingsTree); tests of the
// dialog install their own. With none installed the empty one answers: no
// nodes, nothing can be added, moved or deleted, and saving writes no clock
// section.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CTreeNode;

// Node kinds, as the tree and the dialog number them.
enum SettingsNodeKind : int {
    kNodeGeneral = 0,
    kNodeIni = 1,
    kNodeTime = 2,
    kNodeNews = 3,
    kNodeTaskbar = 4,
    kNodeClock = 5,
    kNodeFormats = 6,
    kNodeDesktop = 7,
    kNodeAlarms = 8,
    kNodeAlarm = 9,
    kNodeBackgrounds = 10,
    kNodeBackground = 11,
};

// What SaveClockOrder did.
enum class ClockSaveResult { kNothing, kWritten, kFailed };

class SettingsTreeLink {
public:
    virtual ~SettingsTreeLink() = default;

    // --- the tree as a whole ---
    // Removes the items of the control attached before, remembers this one
    // (null: none) and inserts the items of every top-level node.
    virtual void AttachTree(HWND control) = 0;
    // Reloads default names in the language in force and refreshes titles.
    virtual void RelocalizeAll() = 0;
    virtual CTreeNode* FindClockNodeById(int number) = 0;
    virtual CTreeNode* FirstClock() = 0;
    virtual int ClockCount() = 0;
    virtual int CountEnabledClocks() = 0;
    virtual bool CanAddNode(CTreeNode* selected) = 0;
    virtual bool CanDeleteNode(CTreeNode* node) = 0;
    virtual bool CanDropNode(CTreeNode* node, CTreeNode* target, bool copy) = 0;
    // The placed node (or the group that took the copies); null when refused.
    virtual CTreeNode* DropNode(CTreeNode* node, CTreeNode* target, bool copy) = 0;
    // A clock (no parent) or an alarm or background (parent a group); type
    // 12 countdown, 13 stopwatch, else a clock. Null when refused.
    virtual CTreeNode* CreateClockFromDefaults(CTreeNode* parent, CTreeNode* before, bool readDefaults,
                                               CTreeNode* source, int type) = 0;
    virtual void RemoveNode(CTreeNode* node) = 0;
    // Rewrites the clock sections in tree order. The dialog has already sent
    // MSG_SAVE_STATE to the main program and had its answer.
    virtual ClockSaveResult SaveClockOrder() = 0;

    // --- one node ---
    virtual int Kind(CTreeNode* node) = 0;
    virtual int PageIndex(CTreeNode* node) = 0;
    // What the node's page edits: its ClockRecord, AlarmRecord, BackgroundProfile,
    // the parent clock's record, or null for the option nodes.
    virtual void* Record(CTreeNode* node) = 0;
    virtual HTREEITEM Item(CTreeNode* node) = 0;
    // A top-level node puts its tree state (expanded flags, children) into
    // its own record.
    virtual void StoreTreeState(CTreeNode* top) = 0;
    // Expanded flag and check box taken from the control.
    virtual void ReadItemState(CTreeNode* node) = 0;
    // The control deleted the node's item: the node forgets it.
    virtual void ItemDeleted(CTreeNode* node) = 0;
    virtual void RefreshTitle(CTreeNode* node) = 0;
    virtual void UpdateItem(CTreeNode* node) = 0;
    virtual bool IsChecked(CTreeNode* node) = 0;
    // False for nodes without a check box.
    virtual bool SetChecked(CTreeNode* node, bool on) = 0;
    virtual void Select(CTreeNode* node) = 0;
    // The node itself or its nearest clock ancestor; null outside clocks.
    virtual CTreeNode* FindClockNode(CTreeNode* node) = 0;
    virtual CTreeNode* Parent(CTreeNode* node) = 0;
    virtual int ChildCount(CTreeNode* node) = 0;
    virtual CTreeNode* Child(CTreeNode* node, int index) = 0;
    // Within the parent, or within the top-level list for top-level nodes.
    virtual CTreeNode* NextSibling(CTreeNode* node) = 0;
    virtual CTreeNode* PreviousSibling(CTreeNode* node) = 0;
};

// The link in force: the installed one, else the empty tree.
SettingsTreeLink& TreeLink();
// Installs a link (null: the empty tree again); returns the one it replaced.
SettingsTreeLink* SetTreeLink(SettingsTreeLink* link);
