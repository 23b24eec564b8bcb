// A stopwatch on the desktop tells the main window when the mouse rests on
// its button, so that the timer panel can open over it.
#include "tests/desktop/desktop_fixture.h"

#include "common/graphics/faces/clock_face.h"
#include "common/graphics/faces/timer_face.h"

namespace desktop_test {
namespace {

using TimerHover = DesktopTest;

// An 8 x 8 button: a white top row (the key), black below it.
HBITMAP ButtonPicture() {
    WORD rows[8] = {0xFFFF, 0, 0, 0, 0, 0, 0, 0};
    return CreateBitmap(8, 8, 1, 1, rows);
}

TEST_F(TimerHover, TheButtonReportsHoverAndAnswersHoverTests) {
    SetTimerButtonPicture(ButtonPicture());
    InitClock(0, L"Watch");
    clocks_[0].kind = kClockTimer;
    CopyBounded(clocks_[0].timerformat, L"");
    WriteKey(0, L"dsk_pos_x", 300);
    WriteKey(0, L"dsk_pos_y", 300);
    ASSERT_TRUE(Create(1));
    desktop::CClockWnd* w = Window(0);
    const RECT face = w->Face()->GetRect();
    const int bx = face.right - w->Face()->GetHorizontalPadding() - 8;
    const int by = (face.top + face.bottom - 8) / 2;

    // Off the button, and on its key row: nothing.
    SendMessageW(w->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    SendMessageW(w->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(bx + 3, by));
    EXPECT_TRUE(MainLog().notes.empty());
    // On it, with a button held: nothing either.
    SendMessageW(w->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(bx + 3, by + 4));
    EXPECT_TRUE(MainLog().notes.empty());
    // On it: one note per new position, with the clock's window.
    SendMessageW(w->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(bx + 4, by + 4));
    SendMessageW(w->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(bx + 4, by + 4));
    ASSERT_EQ(MainLog().notes.size(), 1u);
    EXPECT_EQ(MainLog().notes[0].code, CLOCK_MOUSE_HOVER);
    EXPECT_EQ(MainLog().notes[0].lParam, reinterpret_cast<LPARAM>(w->Handle()));

    // The timer panel's anchor lies beside the clock, in its client coordinates.
    const LRESULT anchor = SendMessageW(w->Handle(), MSG_TIMER_PANEL_ANCHOR, 1, MAKELPARAM(50, 20));
    const short ay = static_cast<short>(HIWORD(anchor));
    EXPECT_TRUE(ay >= face.bottom || ay + 20 <= face.top);

    // The hover test follows the cursor: over button 1, not over button 2.
    RECT r{};
    GetWindowRect(w->Handle(), &r);
    SetCursorPos(r.left + bx + 4, r.top + by + 4);
    POINT p{};
    GetCursorPos(&p);
    if (p.x != r.left + bx + 4 || p.y != r.top + by + 4) {
        desktop::DestroyDesktopClocks(false);
        FreeTimerButtonPicture();
        GTEST_SKIP() << "the cursor cannot be placed on this display, so the hover test is not checked";
    }
    EXPECT_EQ(SendMessageW(w->Handle(), MSG_CLOCK_HOVER_TEST, 1, 0), 1);
    EXPECT_EQ(SendMessageW(w->Handle(), MSG_CLOCK_HOVER_TEST, 2, 0), 0);
    desktop::DestroyDesktopClocks(false);
    FreeTimerButtonPicture();
}

}  // namespace
}  // namespace desktop_test
