// Pieces of the taskbar clock that the subclassed window calls but that live
// in their own modules: the clock panel (faces, layout, painting), the
// tooltip texts and body, the context menu and the city photo. Each is
// declared here once, with the behaviour the window relies on. Until its
// module provides it, the body in pending_parts.cpp gives the least that
// keeps the window honest: faces are plain equal slots with no drawing, the
// panel paints a plain fill, tooltips have no text, no menu and no photo.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

class LanguageStrings;

// ---- clock panel -------------------------------------------------------------
// Rebuilds the faces from the received settings and clock records.
void PanelLoadSkins();
// Drops every face.
void PanelClear();
// Updates the faces to the current time: 0 nothing changed, 1 changed, 2 a
// width changed.
int PanelTick(bool force);
// Lays the panel out for the taskbar that holds `window` and returns its size
// (empty when no clock is shown).
SIZE GetTrayClockArea(HWND window);
// WM_WINDOWPOSCHANGING: the panel's size (and centring) go into `pos`.
void ImposePanelSize(HWND window, WINDOWPOS* pos);
// Paints every face into `dc` (the clock window's client area).
void PanelPaint(HWND window, HDC dc, HTHEME theme);
// Record index of the face under the client point, -1 when none.
int HitTestClock(int x, int y);
// The face showing record `index`: its rectangle in client coordinates.
bool PanelClockRect(int index, RECT* rect);
// The face's hover test: whether the client point lies on an active part.
bool PanelHoverTest(int index, POINT client);
// Whether the face showing record `index` is a timer face.
bool PanelIsTimerFace(int index);

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
