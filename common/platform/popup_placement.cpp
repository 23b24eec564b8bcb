#include "common/platform/popup_placement.h"

POINT PlacePopupInBounds(const RECT& bounds, const RECT& rect, SIZE size) {
    POINT p;
    if (rect.bottom + size.cy < bounds.bottom) {
        p.y = rect.bottom;
        p.x = rect.right - (size.cx / 2 + 5);
    } else if (rect.top - size.cy >= bounds.top) {
        p.y = rect.top - size.cy;
        p.x = rect.right - (size.cx / 2 + 5);
    } else {
        p.y = (rect.top - size.cy + rect.bottom) / 2;
        p.x = rect.right;
        if (p.x + size.cx > bounds.right) p.x = rect.right - size.cx - 10;
    }
    if (p.x + size.cx > bounds.right) {
        p.x = bounds.right - size.cx;
    } else if (p.x < bounds.left) {
        p.x = bounds.left;
    }
    return p;
}

POINT PlacePopupNearRect(HWND window, const RECT& rect, SIZE size) {
    RECT bounds{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) bounds = info.rcMonitor;

    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    MapWindowPoints(window, nullptr, corners, 2);
    RECT screen{corners[0].x, corners[0].y, corners[1].x, corners[1].y};

    POINT p = PlacePopupInBounds(bounds, screen, size);
    ScreenToClient(window, &p);
    return p;
}
