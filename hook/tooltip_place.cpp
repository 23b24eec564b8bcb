// Placing the tooltip beside the clock it describes.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "hook/hook_shared.h"
#include "hook/tooltip_geometry.h"
#include "hook/tooltip_state.h"
#include "hook/tooltip_window.h"
#include "hook/tray_clock.h"
#include "hook/tray_state.h"

namespace {

// From the window's outer edge to the text: the border and some room.
constexpr int kTextInset = 4;

// The hovered clock's face, else the whole clock window, on the screen.
RECT AnchorRect(HWND clockWindow) {
    RECT r = {};
    if (const ClockRecord* clock = TrayClock(g_tray.hoveredClock)) {
        r = clock->clockRect;
        MapWindowPoints(clockWindow, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    } else {
        GetWindowRect(clockWindow, &r);
    }
    return r;
}

SIZE MeasureBody(HWND tooltip) {
    HDC dc = GetDC(tooltip);
    if (!dc) return SIZE{0, 0};
    const RECT origin = {0, 0, 0, 0};
    const SIZE size = TooltipShowsAllClocks() ? DrawClocksTooltip(tooltip, dc, origin, false)
                                              : DrawClockTooltip(tooltip, dc, origin, false);
    ReleaseDC(tooltip, dc);
    return size;
}

RECT MonitorOf(HWND window) {
    RECT bounds = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) bounds = info.rcMonitor;
    return bounds;
}

}  // namespace

void TooltipFrameAround(HWND tooltip, RECT* body) {
    if (!body) return;
    RECT least = *body;
    InflateRect(&least, kTextInset, kTextInset);
    SendMessageW(tooltip, TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(body));
    body->left = std::min(body->left, least.left);
    body->top = std::min(body->top, least.top);
    body->right = std::max(body->right, least.right);
    body->bottom = std::max(body->bottom, least.bottom);
}

void TooltipBodyWithin(HWND tooltip, RECT* frame) {
    if (!frame) return;
    RECT most = *frame;
    InflateRect(&most, -kTextInset, -kTextInset);
    SendMessageW(tooltip, TTM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(frame));
    frame->left = std::max(frame->left, most.left);
    frame->top = std::max(frame->top, most.top);
    frame->right = std::min(frame->right, most.right);
    frame->bottom = std::min(frame->bottom, most.bottom);
}

bool PlaceTooltip(HWND clockWindow, RECT* rect) {
    if (!rect) return false;
    SetRectEmpty(rect);
    HWND tooltip = g_tray.tooltip;
    if (!tooltip || !clockWindow) return false;
    NotedTooltipUtc();
    const RECT anchor = AnchorRect(clockWindow);
    const SIZE body = MeasureBody(tooltip);
    if (body.cx <= 0 || body.cy <= 0) return false;
    RECT frame = {0, 0, body.cx, body.cy};
    TooltipFrameAround(tooltip, &frame);
    const SIZE size = {frame.right - frame.left, frame.bottom - frame.top};
    RECT taskbar = {};
    if (!g_hookShared.taskbar || !GetWindowRect(g_hookShared.taskbar, &taskbar)) GetWindowRect(clockWindow, &taskbar);
    const POINT at = TooltipPosition(anchor, size, taskbar, MonitorOf(clockWindow), IsTaskbarHorizontal());
    *rect = RECT{at.x, at.y, at.x + size.cx, at.y + size.cy};
    return true;
}
