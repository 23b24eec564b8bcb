// Repainting from the 64 ms timer only when the shown text changed, the
// pixels the clock leaves in its surface, and nested hiding.
#include "tests/desktop/desktop_fixture.h"

#include <cstdint>

namespace desktop_test {
namespace {

using Refresh = DesktopTest;

SYSTEMTIME Utc(int hour, int minute, int second, int day = 6) {
    SYSTEMTIME t{};
    t.wYear = 2024;
    t.wMonth = 5;
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

// True when the tick left the window to be painted again; clears it.
bool NeedsPaint(HWND w) {
    const bool pending = GetUpdateRect(w, nullptr, FALSE) != FALSE;
    ValidateRect(w, nullptr);
    return pending;
}

TEST_F(Refresh, AMinuteClockRepaintsOncePerMinute) {
    InitClock(0, L"Minutes");
    ASSERT_TRUE(Create(1));
    desktop::CClockWnd* w = Window(0);
    Pump();
    w->Tick(Utc(10, 0, 5), false);
    NeedsPaint(w->Handle());
    w->Tick(Utc(10, 0, 6), false);
    EXPECT_FALSE(NeedsPaint(w->Handle()));
    w->Tick(Utc(10, 0, 6), true);
    EXPECT_TRUE(NeedsPaint(w->Handle()));
    w->Tick(Utc(10, 1, 0), false);
    EXPECT_TRUE(NeedsPaint(w->Handle()));
    // Another day counts as a change even at the same second.
    w->Tick(Utc(10, 1, 0, 7), false);
    EXPECT_TRUE(NeedsPaint(w->Handle()));
}

TEST_F(Refresh, ASecondsClockRepaintsEverySecond) {
    InitClock(0, L"Seconds", true);
    ASSERT_TRUE(Create(1));
    desktop::CClockWnd* w = Window(0);
    Pump();
    w->Tick(Utc(10, 0, 5), false);
    NeedsPaint(w->Handle());
    w->Tick(Utc(10, 0, 6), false);
    EXPECT_TRUE(NeedsPaint(w->Handle()));
    w->Tick(Utc(10, 0, 6), false);
    EXPECT_FALSE(NeedsPaint(w->Handle()));
}

TEST_F(Refresh, TheTimerDoesNothingWithinOneSecond) {
    InitClock(0, L"Timer");
    ASSERT_TRUE(Create(1));
    HWND w = Window(0)->Handle();
    desktop::RefreshDesktopClocks(true);
    EXPECT_TRUE(NeedsPaint(w));
    // Unforced calls within the same UTC second leave the window alone. Two
    // calls in a row may straddle a second boundary; one of three pairs won't.
    bool quiet = false;
    for (int i = 0; i < 3 && !quiet; ++i) {
        desktop::RefreshDesktopClocks(false);
        NeedsPaint(w);
        desktop::RefreshDesktopClocks(false);
        quiet = !NeedsPaint(w);
    }
    EXPECT_TRUE(quiet);
}

TEST_F(Refresh, PaintingDrawsTheTextIntoTheSurface) {
    InitClock(0, L"Pixels");
    ASSERT_TRUE(Create(1));
    desktop::CClockWnd* w = Window(0);
    w->Tick(Utc(10, 0, 0), true);
    UpdateWindow(w->Handle());
    Pump();
    w->Paint(nullptr);
    const CDibSection& s = w->Surface();
    ASSERT_TRUE(s.IsValid());
    const RECT r = RectOf(w);
    EXPECT_EQ(s.Width(), r.right - r.left);
    EXPECT_EQ(s.Height(), r.bottom - r.top);
    const COLORREF back = w->ColorKey() != kNoColorKey ? w->ColorKey() : GetSysColor(COLOR_BTNFACE);
    const uint32_t backPixel = (GetRValue(back) << 16) | (GetGValue(back) << 8) | GetBValue(back);
    int background = 0, other = 0;
    const auto* bits = static_cast<const uint32_t*>(s.Bits());
    for (int i = 0; i < s.Width() * s.Height(); ++i) {
        ((bits[i] & 0xFFFFFF) == backPixel ? background : other)++;
    }
    EXPECT_GT(background, 0);
    EXPECT_GT(other, 0);  // the text
}

TEST_F(Refresh, HidingNestsAndShowingTakesTheSameNumberOfSteps) {
    InitClock(0, L"Nested");
    ASSERT_TRUE(Create(1));
    HWND w = Window(0)->Handle();
    desktop::RestoreDesktopClocks();  // nothing to restore: no level below 0
    EXPECT_EQ(desktop::HideLevel(), 0);
    desktop::HideDesktopClocks();
    desktop::HideDesktopClocks();
    EXPECT_FALSE(IsWindowVisible(w));
    desktop::RestoreDesktopClocks();
    EXPECT_FALSE(IsWindowVisible(w));
    // Re-stacking leaves hidden clocks hidden.
    desktop::ApplyDesktopClockOrder(false);
    EXPECT_FALSE(IsWindowVisible(w));
    desktop::RestoreDesktopClocks();
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(desktop::HideLevel(), 0);
}

TEST_F(Refresh, AClockLoadedWhileHiddenStaysHidden) {
    InitClock(0, L"First");
    InitClock(1, L"Later");
    clocks_[1].on_desktop = 0;
    ASSERT_TRUE(Create(2));
    desktop::HideDesktopClocks();
    clocks_[1].on_desktop = 1;
    desktop::CClockWnd* later = desktop::CreateDesktopClock(MainWindow(), clocks_, 1);
    ASSERT_NE(later, nullptr);
    EXPECT_FALSE(IsWindowVisible(later->Handle()));
    desktop::RestoreDesktopClocks();
    EXPECT_TRUE(IsWindowVisible(later->Handle()));
    desktop::DestroyDesktopClock(clocks_[1].number);
    EXPECT_EQ(Window(1), nullptr);
    EXPECT_EQ(desktop::Windows().size(), 1u);
}

}  // namespace
}  // namespace desktop_test
