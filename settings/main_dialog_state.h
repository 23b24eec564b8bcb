// What the main settings dialog keeps while it is open, shared by the files
// that handle its pages, its tree and its commands. One dialog per process.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "settings/main_dialog.h"
#include "settings/settings_tree_link.h"

struct MainDialogState {
    HWND dialog = nullptr;
    HWND tree = nullptr;
    HMODULE resources = nullptr;
    HWND pages[kPageCount] = {};
    // Where the pages go, in the dialog's coordinates (the placeholder's place).
    RECT pageArea = {};
    bool hasPageArea = false;
    int shownPage = -1;
    // The node whose data the visible page holds; stores go back to it.
    CTreeNode* shownNode = nullptr;
    int updateGuard = 0;     // tree notifications are ignored while above 0
    int messageBoxes = 0;    // message boxes of the dialog that are open
    int exchangeDepth = 0;   // a page exchange runs
    int dragMode = 0;        // 0 none, 1 move, 2 copy
    HTREEITEM dragItem = nullptr;
    HCURSOR dropAllowed = nullptr;
    HCURSOR dropRefused = nullptr;
    bool ownCursors = false;
    HCURSOR cursorBeforeDrag = nullptr;
    bool importUnconfirmed = false;
};

MainDialogState& DialogState();

// Counts a message box of the dialog as open for as long as it lives.
class OpenBoxScope {
public:
    OpenBoxScope() { ++DialogState().messageBoxes; }
    ~OpenBoxScope() { --DialogState().messageBoxes; }
    OpenBoxScope(const OpenBoxScope&) = delete;
    OpenBoxScope& operator=(const OpenBoxScope&) = delete;
};

class UpdateGuard {
public:
    UpdateGuard() { ++DialogState().updateGuard; }
    ~UpdateGuard() { --DialogState().updateGuard; }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;
};

// Node of a tree item (its item data); null for none.
CTreeNode* NodeOfItem(HWND tree, HTREEITEM item);
CTreeNode* SelectedNode();

// Pages (main_dialog_pages.cpp).
// Loads every page's option variables, takes the page area from the
// placeholder and makes page 0; the other pages are made when first shown.
void CreatePages(HWND dialog);
// Reads every page's option variables from the file again (what an import
// brought replaces what the dialog loaded when it opened).
void LoadPageModels();
// Loads the node's page and shows it (the others hidden); the node becomes
// the shown one. Null hides nothing and shows nothing new.
void ShowNodePage(CTreeNode* node, bool focusPage);
// Moves data between a node and its page: load, or store with flags (bit 0:
// refresh the title). A store answers the control that failed, else null.
HWND ExchangePageData(CTreeNode* node, bool load, WPARAM flags);
// Stores the shown page; the failing control, else null.
HWND StoreShownPage(WPARAM flags);
void ForgetShownNode(CTreeNode* node);
void SendToAllPages(UINT message, WPARAM wParam, LPARAM lParam);

// The drop cursors, loaded when the first drag starts rather than with the
// dialog; a module without them gives the system's arrow and "no" cursors.
void LoadDragCursors();

// Tree (main_dialog_tree.cpp).
void UpdateTreeButtons(HWND dialog);
// The message result of a tree notification.
LRESULT OnTreeNotify(HWND dialog, NMHDR* header);
void OnTreeCheckClicked(HWND dialog, HTREEITEM item);
void OnTreeRestoreCheck(HWND dialog, HTREEITEM item);
void OnDragMove(HWND dialog);
void OnDragDrop(HWND dialog);
void CancelDrag();
CTreeNode* MoveTarget(CTreeNode* node, bool up);
// Selects a node inside the update guard and shows its page.
void SelectAndShow(CTreeNode* node);
// After a clock was deleted: when no clock is on any more, one is switched on.
void KeepOneClockOn();

// Commands (main_dialog_commands.cpp).
void OnDialogCommand(HWND dialog, WORD id);
void OnSelectPage(HWND dialog, WPARAM code, LPARAM target);
// A new alarm's moment; the clock is the node's clock, else the one the
// dialog reports.
void SetNewAlarmNodeTime(HWND dialog, CTreeNode* alarm);
