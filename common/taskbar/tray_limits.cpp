#include "common/taskbar/tray_limits.h"

namespace {

constexpr int kVerticalBarInset = 8;    // a vertical taskbar's edges
constexpr int kUnthemedExtraInset = 2;  // and the sunken frame without styles
constexpr int kUnthemedNoParentInset = 4;

}  // namespace

TrayLimits TrayClockLimits(HWND taskbar, HWND clockParent, bool themed) {
    RECT bar = {0, 0, 0, 0};
    if (taskbar) GetClientRect(taskbar, &bar);
    const int barWidth = bar.right - bar.left;
    const int barHeight = bar.bottom - bar.top;
    TrayLimits limits;
    limits.horizontal = barHeight < barWidth;
    if (!limits.horizontal) {
        limits.maxWidth = barWidth - kVerticalBarInset - (themed ? 0 : kUnthemedExtraInset);
        limits.maxHeight = barHeight / 2;
        return limits;
    }
    limits.maxWidth = barWidth / 2;
    if (!clockParent) {
        limits.maxHeight = themed ? barHeight : barHeight - kUnthemedNoParentInset;
    } else if (themed) {
        RECT p = {0, 0, 0, 0};
        GetClientRect(clockParent, &p);
        limits.maxHeight = p.bottom - p.top;
    } else {
        RECT p = {0, 0, 0, 0};
        GetWindowRect(clockParent, &p);
        MapWindowPoints(HWND_DESKTOP, taskbar, reinterpret_cast<POINT*>(&p), 2);
        limits.maxHeight = barHeight - 2 * p.top - 2;
    }
    return limits;
}
