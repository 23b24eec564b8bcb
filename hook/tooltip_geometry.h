// Where the taskbar clock's tooltip goes beside the clock it describes.
#pragma once

#include <windows.h>

// Gap between the clock and the tooltip.
inline constexpr int kTooltipGap = 4;

// The top-left corner, in screen coordinates, of a tooltip of `size` for the
// clock rectangle `anchor`, on a taskbar (`taskbar`, horizontal or not) of a
// monitor. A horizontal taskbar: centred on the clock, kept from running past
// the clock's edge that faces the nearer end of the taskbar; above the clock,
// or below it when the taskbar is at the top. A vertical taskbar: from the
// clock's middle rightwards, or leftwards when the taskbar is not at the
// monitor's left edge; above the clock when there is room, else below. The
// tooltip is then kept on the monitor.
POINT TooltipPosition(const RECT& anchor, SIZE size, const RECT& taskbar, const RECT& monitor, bool horizontal);
