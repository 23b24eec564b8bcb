// Pieces of the taskbar clock that the subclassed window calls but that live
// in their own modules: the clock panel (faces, layout, painting), the
// tooltip texts and body, the context menu and the city photo. Each is
// declared here once, with the behaviour the window relies on. Until its
// module provides it, the body in pending_parts.cpp gives the least that
// keeps the window honest: tooltips have no text, no menu and no photo.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

class LanguageStrings;

// ---- clock panel -------------------------------------------------------------
#include "hook/panel_tray.h"

// ---- tooltip -----------------------------------------------------------------
// Shows the tooltip for clock `index` (and its photo when asked).
void HoverClock(HWND clockWindow, int index, int photoNumber, bool request);
// TTN_GETDISPINFOW: the text of the hovered clock or of all clocks.
void GetClockTooltipText(HWND clockWindow, NMTTDISPINFOW* info);
void GetAllClocksTooltipText(HWND clockWindow, NMTTDISPINFOW* info);
// Notes the UTC time the tooltip shows (TTN_SHOW).
void NoteTooltipTime();
// The tooltip's rectangle in screen coordinates; false when there is none.
bool PlaceTooltip(HWND clockWindow, RECT* rect);
// The owner-drawn tooltip's body; true when it painted (else the tooltip
// paints itself).
bool PaintTooltipBody(HWND tooltip);

// ---- context menu ------------------------------------------------------------
// The clock menu for clock `index` (MENU_Main of the resource library,
// prepared for that clock); null when there is none. The caller destroys it.
HMENU BuildClockMenu(HWND clockWindow, int index);

// ---- city photo ----------------------------------------------------------------
// Frees the photo shown in the tooltip and clears its caption.
void DropPhoto();
