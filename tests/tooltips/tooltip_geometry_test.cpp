// Where the tooltip goes beside its clock, for each edge the taskbar can sit on.
#include <gtest/gtest.h>

#include <windows.h>

#include "hook/tooltip_geometry.h"

namespace {

const RECT kMonitor = {0, 0, 1024, 768};

}  // namespace

TEST(TooltipGeometry, HorizontalTaskbarAtTheBottom) {
    const RECT taskbar = {0, 728, 1024, 768};
    // A clock at the right end: centred, but not past the clock's right edge.
    POINT p = TooltipPosition(RECT{940, 732, 1020, 764}, SIZE{200, 50}, taskbar, kMonitor, true);
    EXPECT_EQ(p.x, 1020 - 200);
    EXPECT_EQ(p.y, 732 - kTooltipGap - 50);
    // A narrow tooltip stays centred.
    p = TooltipPosition(RECT{940, 732, 1020, 764}, SIZE{40, 20}, taskbar, kMonitor, true);
    EXPECT_EQ(p.x, 980 - 20);
    // A clock at the left end: not before the clock's left edge.
    p = TooltipPosition(RECT{4, 732, 84, 764}, SIZE{200, 50}, taskbar, kMonitor, true);
    EXPECT_EQ(p.x, 4);
}

TEST(TooltipGeometry, HorizontalTaskbarAtTheTopGoesBelow) {
    const RECT taskbar = {0, 0, 1024, 40};
    const POINT p = TooltipPosition(RECT{940, 4, 1020, 36}, SIZE{100, 30}, taskbar, kMonitor, true);
    EXPECT_EQ(p.y, 36 + kTooltipGap);
    EXPECT_EQ(p.x, 920);
}

TEST(TooltipGeometry, VerticalTaskbars) {
    // At the right edge: leftwards from the clock's middle, above it.
    RECT taskbar = {964, 0, 1024, 768};
    POINT p = TooltipPosition(RECT{968, 700, 1020, 760}, SIZE{150, 40}, taskbar, kMonitor, false);
    EXPECT_EQ(p.x, 994 - 150);
    EXPECT_EQ(p.y, 700 - kTooltipGap - 40);
    // At the left edge, with the clock at the top: rightwards, and below.
    taskbar = RECT{0, 0, 60, 768};
    p = TooltipPosition(RECT{4, 10, 56, 50}, SIZE{150, 40}, taskbar, kMonitor, false);
    EXPECT_EQ(p.x, 30);
    EXPECT_EQ(p.y, 50 + kTooltipGap);
}

TEST(TooltipGeometry, KeptOnTheMonitor) {
    const RECT taskbar = {0, 728, 1024, 768};
    // Wider than the room left of the clock's centre on a second monitor.
    const RECT second = {1024, 0, 2048, 768};
    POINT p = TooltipPosition(RECT{1030, 732, 1060, 764}, SIZE{300, 50},
                              RECT{1024, 728, 2048, 768}, second, true);
    EXPECT_EQ(p.x, 1030);
    // Taller than the space above: pushed down onto the monitor.
    p = TooltipPosition(RECT{500, 20, 560, 40}, SIZE{100, 400}, taskbar, kMonitor, true);
    EXPECT_EQ(p.y, 0);
}
