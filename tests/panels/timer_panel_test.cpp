// The timer panel over a stand-in clock window: placement, buttons that run
// the real timer commands on the clock's record, and hiding.
#include <cstdint>

#include "common/records/protocol.h"
#include "common/records/clock_table.h"
#include "tempovia/main/app_state.h"
#include "tempovia/panels/timer_panel.h"
#include "tempovia/panels/timer_panel_owner.h"
#include "tests/panels/panels_fixture.h"

namespace panels_test {
namespace {

using TimerPanel = PanelsTest;
using panels::CTimerPanel;

constexpr uint32_t kStopwatch = kClockTimer;
constexpr uint32_t kCountdownToDate = kClockTimer | kClockCountdown | kClockSetDate;

CTimerPanel& Panel() { return *panels::TimerPanel(); }

// Centre of button i in client coordinates.
LPARAM ButtonPoint(int i) {
    const SIZE cell = panels::ButtonCellSize();
    return MAKELPARAM(CTimerPanel::ButtonLeft(i) + cell.cx / 2, panels::kButtonGap + cell.cy / 2);
}

void Click(int downButton, int upButton) {
    HWND w = Panel().Handle();
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, ButtonPoint(downButton));
    SendMessageW(w, WM_LBUTTONUP, 0, ButtonPoint(upButton));
}

std::vector<Note> Commands() {
    std::vector<Note> out;
    for (const Note& n : Log().main) {
        if (n.message == WM_COMMAND) out.push_back(n);
    }
    return out;
}

TEST_F(TimerPanel, OpensBesideTheClockWithButtonsForItsKind) {
    UseClocks({kStopwatch, 0, kCountdownToDate});
    panels::ShowTimerPanel(clock_, 1);
    ASSERT_TRUE(panels::IsTimerPanelShown());
    const SIZE cell = panels::ButtonCellSize();
    ASSERT_GT(cell.cx, 0);
    // Two buttons: start (the watch is idle), then reset.
    EXPECT_EQ(Panel().ButtonCount(), 2);
    EXPECT_EQ(Panel().ButtonKind(0), panels::kButtonStart);
    EXPECT_EQ(Panel().ButtonKind(1), panels::kButtonReset);
    EXPECT_STREQ(Panel().Label(panels::kButtonStart), L"Start");
    EXPECT_STREQ(Panel().Label(panels::kButtonReset), L"Reset");
    EXPECT_STREQ(Panel().Label(panels::kButtonStop), L"Stop");

    // The clock was asked once, with its number and the panel's size.
    ASSERT_EQ(Log().clock.size(), 1u);
    EXPECT_EQ(Log().clock[0].message, MSG_TIMER_PANEL_ANCHOR);
    EXPECT_EQ(Log().clock[0].wParam, 1u);
    const int width = 2 * cell.cx + 2 * 4 + 4;
    EXPECT_EQ(LOWORD(Log().clock[0].lParam), width);
    const int height = HIWORD(Log().clock[0].lParam);
    EXPECT_GT(height, cell.cy + 8);

    // At the answered client point, in screen coordinates, topmost, not activated.
    HWND w = Panel().Handle();
    RECT r{};
    GetWindowRect(w, &r);
    POINT expected{10, 50};
    ClientToScreen(clock_, &expected);
    EXPECT_EQ(r.left, expected.x);
    EXPECT_EQ(r.top, expected.y);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
    const LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
    EXPECT_EQ(WindowText(w), L"Watch");
    EXPECT_NE(GetForegroundWindow(), w);

    // Hovering again over the same clock keeps the panel without asking again.
    panels::ShowTimerPanel(clock_, 1);
    EXPECT_EQ(Panel().Handle(), w);
    EXPECT_EQ(Log().clock.size(), 1u);

    // A countdown to a date cannot be reset: one button.
    panels::HideTimerPanel();
    EXPECT_FALSE(panels::IsTimerPanelShown());
    panels::ShowTimerPanel(clock_, 3);
    ASSERT_TRUE(panels::IsTimerPanelShown());
    EXPECT_EQ(Panel().ButtonCount(), 1);
    EXPECT_EQ(Panel().Surface().Width(), cell.cx + 8);

    // A plain clock, a clock that does not exist and a gone window get none.
    panels::HideTimerPanel();
    panels::ShowTimerPanel(clock_, 2);
    EXPECT_FALSE(panels::IsTimerPanelShown());
    panels::ShowTimerPanel(clock_, 7);
    EXPECT_FALSE(panels::IsTimerPanelShown());
    panels::ShowTimerPanel(nullptr, 1);
    EXPECT_FALSE(panels::IsTimerPanelShown());
}

TEST_F(TimerPanel, PaintsTheImageAtLeastHalfOpaqueWithOpaqueLabels) {
    UseClocks({kStopwatch});
    panels::ShowTimerPanel(clock_, 1);
    ASSERT_TRUE(panels::IsTimerPanelShown());
    const CDibSection& s = Panel().Surface();
    const CDibSection& image = panels::ButtonImage();
    const auto* bits = static_cast<const uint32_t*>(s.Bits());
    const auto* picture = static_cast<const uint32_t*>(image.Bits());
    const SIZE cell = panels::ButtonCellSize();
    for (int i = 0; i < s.Width() * s.Height(); ++i) EXPECT_GE(bits[i] >> 24, 128u) << i;
    // Background: the image's top-left pixel, everywhere outside buttons and labels.
    const uint32_t background = picture[(image.Height() - 1) * image.Width()];
    EXPECT_EQ(bits[0], background);
    EXPECT_EQ(bits[(s.Height() - 1) * s.Width()], background);
    // Button 0 is the start cell (column 2) of the released row.
    for (int y = 0; y < cell.cy; ++y) {
        for (int x = 0; x < cell.cx; ++x) {
            const uint32_t want = picture[(image.Height() - 1 - y) * image.Width() + 2 * cell.cx + x];
            const uint32_t got = bits[(s.Height() - 1 - (4 + y)) * s.Width() + 4 + x];
            ASSERT_EQ(got, want) << x << "," << y;
        }
    }
    // The label row holds text pixels, all fully opaque.
    int text = 0;
    for (int y = 4 + cell.cy; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            const uint32_t p = bits[(s.Height() - 1 - y) * s.Width() + x];
            if (p != background) {
                ++text;
                EXPECT_EQ(p >> 24, 0xFFu);
            }
        }
    }
    EXPECT_GT(text, 0);

    // A pressed button shows the pressed row.
    SendMessageW(Panel().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, ButtonPoint(0));
    EXPECT_EQ(Panel().Pressed(), panels::kButtonStart);
    const uint32_t pressedPixel = picture[(image.Height() - 1 - (cell.cy + cell.cy / 2)) * image.Width() +
                                          2 * cell.cx + cell.cx / 2];
    EXPECT_EQ(bits[(s.Height() - 1 - (4 + cell.cy / 2)) * s.Width() + 4 + cell.cx / 2], pressedPixel);
}

TEST_F(TimerPanel, ButtonsRunTheTimerCommandsOnTheirClock) {
    UseClocks({0, kStopwatch});
    g_app.currentClock = 0;
    panels::ShowTimerPanel(clock_, 2);
    ASSERT_TRUE(panels::IsTimerPanelShown());
    Click(0, 0);  // start
    // The clock became the current one, then the command ran and hid the panel.
    ASSERT_EQ(Log().main.size(), 2u);
    EXPECT_EQ(Log().main[0].message, MSG_CLOCK_MOUSE + 1);
    EXPECT_EQ(Log().main[0].wParam, CLOCK_MOUSE_UP);
    EXPECT_EQ(LOWORD(Log().main[1].wParam), 443);
    EXPECT_EQ(g_app.currentClock, 1);
    EXPECT_EQ(clocks_[1].running, 1);
    EXPECT_EQ(clocks_[0].running, 0);
    EXPECT_FALSE(panels::IsTimerPanelShown());

    // A running stopwatch offers stop first; after stopping the panel is gone.
    panels::ShowTimerPanel(clock_, 2);
    ASSERT_TRUE(panels::IsTimerPanelShown());
    EXPECT_EQ(Panel().ButtonKind(0), panels::kButtonStop);
    Click(0, 0);
    EXPECT_EQ(LOWORD(Commands().back().wParam), 445);
    EXPECT_EQ(clocks_[1].running, 0);
    EXPECT_FALSE(panels::IsTimerPanelShown());

    // Reset brings the elapsed time back to nothing.
    clocks_[1].elapsed = 1234 * 10000000ULL;
    panels::ShowTimerPanel(clock_, 2);
    ASSERT_TRUE(panels::IsTimerPanelShown());
    Click(1, 1);
    EXPECT_EQ(LOWORD(Commands().back().wParam), 448);
    EXPECT_EQ(clocks_[1].elapsed, 0u);
    EXPECT_FALSE(panels::IsTimerPanelShown());
    EXPECT_EQ(Commands().size(), 3u);
}

TEST_F(TimerPanel, APressReleasedElsewhereSendsNothing) {
    UseClocks({kStopwatch});
    panels::ShowTimerPanel(clock_, 1);
    ASSERT_TRUE(panels::IsTimerPanelShown());
    Click(0, 1);
    EXPECT_TRUE(Log().main.empty());
    EXPECT_EQ(Panel().Pressed(), panels::kNoButton);
    EXPECT_TRUE(panels::IsTimerPanelShown());
    // Below the buttons and in the gap between them there is none.
    const SIZE cell = panels::ButtonCellSize();
    EXPECT_EQ(Panel().HitTest(4 + cell.cx / 2, 3), panels::kNoButton);
    EXPECT_EQ(Panel().HitTest(4 + cell.cx / 2, 4 + cell.cy), panels::kNoButton);
    EXPECT_EQ(Panel().HitTest(4 + cell.cx + 1, 10), panels::kNoButton);
    EXPECT_EQ(Panel().HitTest(4, 4), panels::kButtonStart);
    EXPECT_EQ(Panel().HitTest(4 + cell.cx + 4, 4 + cell.cy - 1), panels::kButtonReset);
    EXPECT_EQ(clocks_[0].running, 0);
}

TEST_F(TimerPanel, HidesWhenNeitherPanelNorClockHoldsTheMouse) {
    UseClocks({kStopwatch});
    panels::ShowTimerPanel(clock_, 1);
    ASSERT_TRUE(panels::IsTimerPanelShown());
    HWND w = Panel().Handle();

    // The clock says the cursor is still on its button: the panel stays.
    Log().hoverAnswer = 1;
    SendMessageW(w, WM_TIMER, panels::kHideTimerId, 0);
    EXPECT_TRUE(panels::IsTimerPanelShown());
    ASSERT_FALSE(Log().clock.empty());
    EXPECT_EQ(Log().clock.back().message, MSG_CLOCK_HOVER_TEST);
    EXPECT_EQ(Log().clock.back().wParam, 1u);

    // The mouse over the panel, or a held button, keeps it too.
    Log().hoverAnswer = 0;
    SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_TRUE(Panel().MouseOver());
    SendMessageW(w, WM_TIMER, panels::kHideTimerId, 0);
    EXPECT_TRUE(panels::IsTimerPanelShown());

    // Leaving the panel removes it at once.
    SendMessageW(w, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(panels::IsTimerPanelShown());
    EXPECT_FALSE(IsWindow(w));

    // Shown again and left alone: the hide timer takes it away.
    panels::ShowTimerPanel(clock_, 1);
    ASSERT_TRUE(panels::IsTimerPanelShown());
    SendMessageW(Panel().Handle(), WM_TIMER, panels::kHideTimerId, 0);
    EXPECT_FALSE(panels::IsTimerPanelShown());

    // And really after its delay, driven by the message loop.
    panels::ShowTimerPanel(clock_, 1);
    ASSERT_TRUE(panels::IsTimerPanelShown());
    const DWORD start = GetTickCount();
    while (panels::IsTimerPanelShown() && GetTickCount() - start < 5000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Pump();
    }
    EXPECT_FALSE(panels::IsTimerPanelShown());
    EXPECT_GE(GetTickCount() - start, 1400u);
}

TEST_F(TimerPanel, MovesOverToAnotherClockWhenAskedForIt) {
    UseClocks({kStopwatch, kStopwatch});
    panels::ShowTimerPanel(clock_, 1);
    ASSERT_TRUE(panels::IsTimerPanelShown());
    EXPECT_EQ(Panel().ClockNumber(), 1);
    // Asked directly for another clock, the panel moves over to it.
    panels::ShowTimerPanel(clock_, 2);
    ASSERT_TRUE(panels::IsTimerPanelShown());
    EXPECT_EQ(Panel().ClockNumber(), 2);
    EXPECT_EQ(Log().clock.size(), 2u);
    EXPECT_EQ(Log().clock[1].wParam, 2u);
}

TEST_F(TimerPanel, AMissingOrFlatImageRefusesThePanel) {
    UseClocks({kStopwatch});
    panels::FreeButtonImage();
    panels::SetButtonImageFolder(dir_.path().c_str());
    panels::ShowTimerPanel(clock_, 1);
    EXPECT_FALSE(panels::IsTimerPanelShown());
    // A picture without alpha is not a button image.
    static const unsigned char kRgbPng[] = {
#include "tests/panels/rgb_png.inc"
    };
    ASSERT_TRUE(testing_support::WriteBytes(dir_.file(L"tbuttons.png"),
                                            std::string_view(reinterpret_cast<const char*>(kRgbPng), sizeof kRgbPng)));
    panels::ShowTimerPanel(clock_, 1);
    EXPECT_FALSE(panels::IsTimerPanelShown());
    EXPECT_FALSE(panels::ButtonImage().IsValid());
    // A damaged file neither.
    ASSERT_TRUE(testing_support::WriteBytes(dir_.file(L"tbuttons.png"), "\x89PNG\r\n\x1a\nbroken"));
    panels::ShowTimerPanel(clock_, 1);
    EXPECT_FALSE(panels::IsTimerPanelShown());
}

}  // namespace
}  // namespace panels_test
