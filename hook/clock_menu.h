// The main menu as the taskbar clock opens it for one of its clocks, when the
// main program does not answer the menu request itself.
#pragma once

#include <windows.h>

// The main menu's first submenu (MENU_Main of the resource library), prepared
// for clock `index` of the received records (-1: none); null when the
// resource library has no such menu. The caller destroys it.
HMENU BuildClockMenu(HWND clockWindow, int index);
