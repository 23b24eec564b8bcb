// The room a taskbar gives its panel of clocks: the taskbar clock lays its
// panel out in it, and the settings program's preview uses the same room so
// that it arranges the clocks as the taskbar does.
#pragma once

#include <windows.h>

struct TrayLimits {
    int maxWidth = 0;
    int maxHeight = 0;
    bool horizontal = true;
};

// A horizontal taskbar gives half its width and the height of the clock's
// parent (the notification area) with visual styles, else its own height less
// twice the parent's top offset and 2; a vertical one its width less 8 (10
// without styles) and half its height. Without a parent the taskbar's own
// height counts (less 4 without styles).
TrayLimits TrayClockLimits(HWND taskbar, HWND clockParent, bool themed);
