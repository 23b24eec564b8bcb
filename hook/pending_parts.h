// Pieces of the taskbar clock that the subclassed window calls but that live
// in their own modules: the clock panel (faces, layout, painting), the
// tooltip texts and body, the context menu and the city photo. Each is
// declared here once, with the behaviour the window relies on. Until its
// module provides it, the body in pending_parts.cpp gives the least that
// keeps the window honest. The tooltip and the city photo have their own
// modules (tooltip_window.h).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

class LanguageStrings;

// ---- clock panel -------------------------------------------------------------
#include "hook/panel_tray.h"

// ---- tooltip and city photo ---------------------------------------------------
#include "hook/tooltip_window.h"

// ---- context menu ------------------------------------------------------------
// The clock menu for clock `index` (MENU_Main of the resource library,
// prepared for that clock); null when there is none. The caller destroys it.
HMENU BuildClockMenu(HWND clockWindow, int index);
