// The main settings dialog: the settings tree beside the page of the selected
// node, the tree's buttons, and OK, Cancel and Apply, which write tempovia.ini
// and tell the main program to reload.
#pragma once

#include <windows.h>

#include "resources/resource_ids.h"
#include "settings/settings_resource_ids.h"

inline constexpr int kPageCount = 21;
inline constexpr int kTaskbarPage = 4;
inline constexpr int kSyncPage = 2;
inline constexpr int kClockPage = 5;
inline constexpr int kAlarmsGroupPage = 8;
inline constexpr int kBackgroundsGroupPage = 10;

// The page dialogs by page index: resource id, and the control that takes the
// focus when the page comes up (0: the tree keeps it).
struct PageSpec {
    UINT resource;
    int firstControl;
};
extern const PageSpec kPageTable[kPageCount];

// The groups SaveGeneralOptions writes: general, sync, news, taskbar; OK and
// Apply ask for all of them.
inline constexpr unsigned kAllOptionGroups = 255;

// Beeps of the dialog: a page's bad value, and a page code that came while
// the dialog could not take it.
inline constexpr DWORD kInvalidBeepHz = 1760;
inline constexpr DWORD kInvalidBeepMs = 125;
inline constexpr DWORD kBusyBeepHz = 1000;
inline constexpr DWORD kBusyBeepMs = 100;

// Drag cursors of settings.exe's own resources: drop allowed, drop refused.
inline constexpr UINT kDropAllowedCursorId = IDCUR_DROP_ALLOWED;
inline constexpr UINT kDropRefusedCursorId = IDCUR_DROP_REFUSED;

// What the dialog calls that lives in other modules: the pages' procedures
// (settings.exe links them in; tests may create stand-in pages), the general
// options writer and the two questions it asks the user.
struct MainDialogHooks {
    // Dialog procedures of the pages, by page index; a page whose procedure is
    // missing is not created. The two group pages have their own.
    DLGPROC pageProcs[kPageCount] = {};
    // What a page keeps for the whole program (its option variables), loaded
    // when the dialog opens whether or not the page's window is ever made:
    // Apply writes those variables either way.
    void (*loadPageModel[kPageCount])() = {};
    // Creates page `index` in place of the resource library's template.
    HWND (*createPage)(int index, HWND dialog) = nullptr;
    // Writes the option groups of the program-wide pages; false when the INI
    // could not be written. Missing: the general options record is written.
    bool (*saveGeneralOptions)(unsigned groups) = nullptr;
    // The delete question (MessageBoxW when missing).
    int (*askDelete)(HWND owner, const wchar_t* text, const wchar_t* caption) = nullptr;
    // The clock type choice: 1 clock, 2 countdown, 3 stopwatch, else none
    // (dialog DLG_ClockType when missing).
    INT_PTR (*chooseClockType)(HWND owner) = nullptr;
};
const MainDialogHooks& DialogHooks();
MainDialogHooks SetDialogHooks(const MainDialogHooks& hooks);

// Creates the modeless dialog DLG_PageDetail of the library, owned by the
// frame. Null when it cannot.
HWND CreateMainSettingsDialog(HWND frame, HMODULE resources);

// The dialog's first start in a process centres it and opens the start-up
// page; this makes the next creation count as the first again.
void ForgetMainDialogStarted();
// True while the dialog makes its pages at its first start in a process:
// the start-up has just loaded the settings, and a page need not load them
// again.
bool MainDialogFirstStarting();

// Stores the selected node's page and writes everything; false when a page
// holds a bad value (it is flagged) or the INI could not be written.
bool ApplySettings(HWND dialog);
void EnableApply(HWND dialog);
// Beeps and focuses the control when it is visible; whether there was one.
bool FlagInvalidControl(HWND control);

// The page window of an index (null when that page is not there). Pages are
// made when first shown; EnsurePageWindow makes one that is not there yet.
HWND PageWindow(int index);
HWND EnsurePageWindow(int index);
// Above 0 while a page exchange runs.
int PageExchangeDepth();
// An import stays unconfirmed until OK or Apply keeps it; Cancel puts the
// backup back.
void SetImportUnconfirmed(bool unconfirmed);
bool ImportUnconfirmed();
// The written settings are the user's now: the backup from before the import
// goes, and a later import backs them up afresh.
void KeepImportedSettings();

// The clock type dialog (resource 207): 1, 2 or 3 for the button that is on,
// 0 for none or Cancel.
INT_PTR RunClockTypeDialog(HWND owner, HMODULE resources);
INT_PTR CALLBACK ClockTypeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
