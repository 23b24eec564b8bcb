// The clock panel of the taskbar clock inside Explorer: one panel for the
// subclassed clock window, laid out in the room the taskbar gives it.
// Everything here runs on the taskbar's thread.
#pragma once

#include <windows.h>
#include <uxtheme.h>

class ClockPanel;

// The panel of the taskbar clock.
ClockPanel& TrayPanel();

// Rebuilds the faces from the received settings and clock records.
void PanelLoadSkins();
// Drops every face.
void PanelClear();
// Updates the faces to the current time: 0 nothing changed, 1 changed, 2 a
// size changed.
int PanelTick(bool force);
// Lays the panel out on the clock window's DC with its "CLOCK" theme.
void LayoutTrayClocks(HWND window, int maxWidth, int maxHeight, bool horizontal, int flags);
// Chooses the limits from the taskbar that holds `window`, lays the panel out
// and returns its size (empty when no clock is shown).
SIZE GetTrayClockArea(HWND window);
// WM_WINDOWPOSCHANGING: the panel's size (and centring) go into `pos`.
void ImposePanelSize(HWND window, WINDOWPOS* pos);
// Paints every face into `dc` (the clock window's client area).
void PanelPaint(HWND window, HDC dc, HTHEME theme);
// Record index of the face under the client point, -1 when none.
int HitTestClock(int x, int y);
// The face showing record `index`: its rectangle in client coordinates.
bool PanelClockRect(int index, RECT* rect);
// The face's hover test: whether the client point lies on an active part of
// it (a timer's start/stop button).
bool PanelHoverTest(int index, POINT client);
// Whether the face showing record `index` is a timer face.
bool PanelIsTimerFace(int index);
