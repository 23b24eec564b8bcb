// Placing the tooltip beside the clock it describes.
#include <windows.h>
#include <commctrl.h>

#include "hook/hook_shared.h"
#include "hook/tooltip_geometry.h"
#include "hook/tooltip_state.h"
#include "hook/tooltip_window.h"
#include "hook/tray_clock.h"
#include "hook/tray_state.h"

namespace {

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
    SendMessageW(tooltip, TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&frame));
    const SIZE size = {frame.right - frame.left, frame.bottom - frame.top};
    RECT taskbar = {};
    if (!g_hookShared.taskbar || !GetWindowRect(g_hookShared.taskbar, &taskbar)) GetWindowRect(clockWindow, &taskbar);
    const POINT at = TooltipPosition(anchor, size, taskbar, MonitorOf(clockWindow), IsTaskbarHorizontal());
    *rect = RECT{at.x, at.y, at.x + size.cx, at.y + size.cy};
    return true;
}
