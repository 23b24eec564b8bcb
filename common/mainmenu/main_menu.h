// The main menu "MENU_Main", tailored to the clock it opens for. The tray
// icon, the desktop clocks and the taskbar clock all show its first submenu.
#pragma once

#include <windows.h>

struct ClockRecord;
class LanguageStrings;

// What the menu is opened for.
struct MenuRequest {
    const ClockRecord* clock = nullptr;  // none: the tray icon's menu
    bool clockIndexValid = false;        // the current clock index names a clock
    bool onTop = false;                  // desktop clock: always on top
    bool group = false;                  // desktop clock: grouped
    bool newClockAllowed = true;         // fewer than 30 clocks
    bool setLocalInMenu = false;         // option setlocalinmenu
    bool mapInitialised = false;         // [map] initialized
    bool hookInstalled = true;           // a desktop clock can go back to the taskbar
};

// Menu 105 of the resource library; null when it is missing.
HMENU LoadMainMenu(HMODULE resources);

// Translates the first submenu of a loaded main menu through "MENU_Main" (when
// a language is given) and tailors it to the request. False when the menu
// has no first submenu.
bool PrepareMainMenu(HMENU menu, const MenuRequest& request, const LanguageStrings* language);

// Loads and prepares the menu and detaches its first submenu for a caller
// that tracks and destroys it itself; null when the menu is missing.
HMENU BuildMainPopup(HMODULE resources, const MenuRequest& request, const LanguageStrings* language);

// The clock's zone can become the computer's: not the computer's own zone
// already, and a rule the system can apply by itself.
bool CanBecomeSystemZone(const ClockRecord& clock);
