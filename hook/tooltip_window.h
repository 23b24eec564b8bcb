// The taskbar clock's tracking tooltip: which clock it shows, its text, its
// place beside the clock and its owner-drawn body (every clock in columns, or
// one clock with its city photo). Everything here runs on the taskbar's
// thread; the tooltip window itself is made in tray_clock.cpp.
#pragma once

#include <windows.h>
#include <commctrl.h>

// The clock window's one tracking tool, as the tooltip knows it.
inline constexpr UINT kClockToolId = 1;
inline constexpr UINT kClockToolInfoBytes = 64;  // TTTOOLINFOW without the reserved pointer
TTTOOLINFOW ClockToolInfo(HWND clockWindow);

// Shows the tooltip for clock `index`: with the one-clock kind and city
// photos on, its city's photo (`photoNumber` > 0: that one, else one picked
// from the city's index) and, with `request`, asks the main program to fetch
// more of the city's photos.
void HoverClock(HWND clockWindow, int index, int photoNumber, bool request);

// MSG_PHOTO_READY: photo `photoNumber` of city `city` has arrived. While a
// clock of that city is hovered, its tooltip shows that photo; nothing more
// is asked for.
void ShowArrivedPhoto(HWND clockWindow, int city, int photoNumber);

// TTN_GETDISPINFOW: the text of the clock under the cursor, or of every clock
// (the tooltip is then placed and sized as well).
void GetClockTooltipText(HWND clockWindow, NMTTDISPINFOW* info);
void GetAllClocksTooltipText(HWND clockWindow, NMTTDISPINFOW* info);

// Notes the current UTC time as the moment the tooltip shows (TTN_SHOW).
void NoteTooltipTime();

// The tooltip's rectangle in screen coordinates beside the hovered clock (or
// the whole clock window); false, with an empty rectangle, when there is no
// tooltip or nothing to show.
bool PlaceTooltip(HWND clockWindow, RECT* rect);

// The tooltip's window rectangle around a body rectangle, and the body inside
// a window rectangle: the control's own margins, but never less than a few
// pixels between the text and the border (some systems add none).
void TooltipFrameAround(HWND tooltip, RECT* body);
void TooltipBodyWithin(HWND tooltip, RECT* frame);

// Measures and, with paint, draws the body into `rect` (the tooltip's text
// rectangle in client coordinates); returns the body's size.
SIZE DrawClocksTooltip(HWND window, HDC dc, const RECT& rect, bool paint);
SIZE DrawClockTooltip(HWND window, HDC dc, const RECT& rect, bool paint);

// WM_PAINT of the tooltip: draws the body of the tooltip's kind. True when
// it painted.
bool PaintTooltipBody(HWND tooltip);

// Frees the photo shown in the tooltip and clears its caption.
void DropPhoto();
