// Where desktop clocks stand: the default corner, stored centres, mirrored
// origins, and windows brought back from off the screen.
#include <algorithm>

#include "tests/desktop/desktop_fixture.h"

namespace desktop_test {
namespace {

using Placement = DesktopTest;

TEST_F(Placement, NewClocksPileUpAtTheBottomRightOfTheWorkArea) {
    InitClock(0, L"One");
    InitClock(1, L"Two");
    ASSERT_TRUE(Create(2));
    const RECT work = desktop::WorkArea();
    const RECT a = RectOf(Window(0));
    const RECT b = RectOf(Window(1));
    EXPECT_TRUE(IsWindowVisible(Window(0)->Handle()));
    EXPECT_TRUE(IsWindowVisible(Window(1)->Handle()));
    // Both right-aligned on the work area's right edge, one above the other.
    EXPECT_EQ(a.right, work.right);
    EXPECT_EQ(b.right, work.right);
    const RECT& lower = a.bottom > b.bottom ? a : b;
    const RECT& upper = a.bottom > b.bottom ? b : a;
    EXPECT_EQ(lower.bottom, work.bottom);
    EXPECT_EQ(upper.bottom, lower.top);
    EXPECT_FALSE(Window(0)->IsPositioned());
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT common{};
    return IntersectRect(&common, &a, &b) != FALSE;
}

// One clock kept on the desktop and saved at the bottom-right corner; the next
// start brings more clocks with no place of their own. The stored one is still
// hidden while the new ones are placed, and when the map hides the clocks a
// clock put on the desktop meets only hidden ones: neither may cover it.
TEST_F(Placement, NewClocksStandAboveAStoredOneThatIsNotShownYet) {
    InitClock(0, L"London");
    ASSERT_TRUE(Create(1));
    const RECT stored = RectOf(Window(0));
    ASSERT_EQ(stored.bottom, desktop::WorkArea().bottom);
    desktop::DestroyDesktopClocks(true);

    InitClock(1, L"Tokyo");
    InitClock(2, L"New York");
    ASSERT_TRUE(Create(3));
    const RECT london = RectOf(Window(0));
    EXPECT_TRUE(Window(0)->IsPositioned());
    EXPECT_NEAR(london.left, stored.left, 1);
    EXPECT_NEAR(london.top, stored.top, 1);
    const RECT tokyo = RectOf(Window(1));
    const RECT newYork = RectOf(Window(2));
    EXPECT_FALSE(Overlap(london, tokyo));
    EXPECT_FALSE(Overlap(london, newYork));
    EXPECT_FALSE(Overlap(tokyo, newYork));
    // Piled up right above the stored clock, with no gap left below.
    EXPECT_EQ(std::max(tokyo.bottom, newYork.bottom), london.top);
    EXPECT_EQ(std::min(tokyo.bottom, newYork.bottom), std::max(tokyo.top, newYork.top));

    desktop::HideDesktopClocks();
    InitClock(3, L"Sydney");
    ASSERT_NE(desktop::CreateDesktopClock(MainWindow(), clocks_, 3), nullptr);
    const RECT sydney = RectOf(Window(3));
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(Overlap(sydney, RectOf(Window(i)))) << i;
    desktop::RestoreDesktopClocks();
}

TEST_F(Placement, AStoredCentreIsKeptAndMirroredOrigins) {
    InitClock(0, L"Stored");
    InitClock(1, L"Mirrored");
    WriteKey(0, L"dsk_pos_x", 300);
    WriteKey(0, L"dsk_pos_y", 200);
    WriteKey(1, L"dsk_pos_x", 100);
    WriteKey(1, L"dsk_pos_y", 50);
    WriteKey(1, L"dsk_org", 2);
    ASSERT_TRUE(Create(2));
    const RECT work = desktop::WorkArea();
    EXPECT_TRUE(Window(0)->IsPositioned());
    const POINT c = Centre(RectOf(Window(0)));
    EXPECT_NEAR(c.x, 300, 1);
    EXPECT_NEAR(c.y, 200, 1);
    const POINT m = Centre(RectOf(Window(1)));
    EXPECT_NEAR(m.x, work.right - 100 - 1, 1);
    EXPECT_NEAR(m.y, work.bottom - 50 - 1, 1);
}

TEST_F(Placement, OnlyOneStoredCoordinateMeansNoPosition) {
    InitClock(0, L"Half");
    WriteKey(0, L"dsk_pos_x", 300);
    ASSERT_TRUE(Create(1));
    EXPECT_FALSE(Window(0)->IsPositioned());
    EXPECT_EQ(RectOf(Window(0)).right, desktop::WorkArea().right);
}

TEST_F(Placement, WindowsOffEveryMonitorComeBack) {
    InitClock(0, L"FarLeft");
    InitClock(1, L"FarRight");
    WriteKey(0, L"dsk_pos_x", -20000);
    WriteKey(0, L"dsk_pos_y", -20000);
    WriteKey(1, L"dsk_pos_x", 32000);
    WriteKey(1, L"dsk_pos_y", 32000);
    ASSERT_TRUE(Create(2));
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info));
    const RECT a = RectOf(Window(0));
    EXPECT_EQ(a.left, 0);
    EXPECT_EQ(a.top, 0);
    const RECT b = RectOf(Window(1));
    EXPECT_EQ(b.right, info.rcWork.right);
    EXPECT_EQ(b.bottom, info.rcWork.bottom);

    // Dragged off later: KeepOnMonitor brings it back the same way.
    SetWindowPos(Window(0)->Handle(), nullptr, -5000, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Window(0)->KeepOnMonitor();
    EXPECT_EQ(RectOf(Window(0)).left, 0);
    EXPECT_EQ(RectOf(Window(0)).top, 40);
}

TEST_F(Placement, OnlyEnabledDesktopClocksGetWindows) {
    InitClock(0, L"Shown");
    InitClock(1, L"Taskbar");
    InitClock(2, L"Off");
    clocks_[1].on_desktop = 0;
    clocks_[2].enabled = 0;
    ASSERT_TRUE(Create(3));
    EXPECT_EQ(desktop::Windows().size(), 1u);
    EXPECT_NE(Window(0), nullptr);
    EXPECT_EQ(Window(1), nullptr);
    EXPECT_EQ(Window(2), nullptr);
    // A second creation replaces the windows instead of doubling them.
    ASSERT_TRUE(Create(3));
    EXPECT_EQ(desktop::Windows().size(), 1u);
}

}  // namespace
}  // namespace desktop_test
