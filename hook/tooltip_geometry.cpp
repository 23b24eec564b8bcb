#include "hook/tooltip_geometry.h"

#include <algorithm>

namespace {

int Middle(LONG a, LONG b) { return static_cast<int>((a + b) / 2); }

}  // namespace

POINT TooltipPosition(const RECT& anchor, SIZE size, const RECT& taskbar, const RECT& monitor, bool horizontal) {
    POINT p = {};
    const int anchorX = Middle(anchor.left, anchor.right);
    if (horizontal) {
        p.x = anchorX - size.cx / 2;
        const bool nearerRightEnd = anchorX - taskbar.left > taskbar.right - anchorX;
        if (nearerRightEnd) {
            p.x = std::min<LONG>(p.x, anchor.right - size.cx);
        } else {
            p.x = std::max<LONG>(p.x, anchor.left);
        }
        const bool atTop = Middle(taskbar.top, taskbar.bottom) < Middle(monitor.top, monitor.bottom);
        p.y = atTop ? anchor.bottom + kTooltipGap : anchor.top - kTooltipGap - size.cy;
    } else {
        p.x = anchorX;
        if (taskbar.left > monitor.left) p.x -= size.cx;
        const LONG above = anchor.top - kTooltipGap - size.cy;
        p.y = above >= monitor.top ? above : anchor.bottom + kTooltipGap;
    }
    // On the monitor, as far as the tooltip fits on it at all.
    p.x = std::max<LONG>(std::min<LONG>(p.x, monitor.right - size.cx), monitor.left);
    p.y = std::max<LONG>(std::min<LONG>(p.y, monitor.bottom - size.cy), monitor.top);
    return p;
}
