// The main program's copy of the main menu: opened from the tray icon and
// from the desktop clocks. One menu is loaded at a time.
#pragma once

#include <windows.h>

// Loads and prepares the menu for clock `clockIndex` (-1 or any invalid
// index: no clock) and returns its first submenu, which stays the module's.
// When the menu is missing, WM_COMMAND MSG_QUIT goes to the owner (the main
// window closes the program) and the answer is null.
HMENU BuildContextMenu(HWND owner, int clockIndex, bool onTop, bool group, bool hookInstalled = true);
// Destroys the loaded menu.
void DestroyContextMenu();

// MSG_TRAY_ICON: a press of either button opens the menu without a clock,
// unless the about box was open and came forward instead.
void OnTrayIcon(HWND mainWindow, WPARAM iconId, LPARAM mouseMessage);

// A desktop clock's menu request that the main window did not take: the
// menu for that clock at the point, owned by the main window. A missing menu
// shows nothing (a desktop clock never closes the program).
void ShowClockMenu(HWND owner, int index, bool onTop, bool grouped, bool hookInstalled, POINT at);

// The new-clock commands follow the number of clocks.
void SetNewClockFlag(bool allowed);
