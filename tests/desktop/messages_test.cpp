// A clock driven by its messages: clicks, menu requests, dragging a group,
// on top, opacity keys, zooming with the wheel and the size limits.
#include "tests/desktop/desktop_fixture.h"

#include "common/graphics/faces/clock_face.h"

namespace desktop_test {
namespace {

using Messages = DesktopTest;

struct MenuCall {
    int index = -1;
    bool onTop = false;
    bool grouped = false;
    bool hook = false;
    int calls = 0;
};
MenuCall g_menu;

void RecordMenu(HWND, int index, bool onTop, bool grouped, bool hook, POINT) {
    g_menu.index = index;
    g_menu.onTop = onTop;
    g_menu.grouped = grouped;
    g_menu.hook = hook;
    ++g_menu.calls;
}

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

TEST_F(Messages, DoubleClicksAndMenuRequestsGoToTheMainWindow) {
    InitClock(0, L"Zero");
    InitClock(1, L"One");
    ASSERT_TRUE(Create(2));
    g_menu = MenuCall{};
    desktop::DesktopClockHost host;
    host.hookInstalled = [] { return false; };
    host.showClockMenu = RecordMenu;
    desktop::SetDesktopClockHost(host);

    SendMessageW(Window(1)->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(3, 4));
    ASSERT_EQ(MainLog().notes.size(), 1u);
    EXPECT_EQ(MainLog().notes[0].index, 1);
    EXPECT_EQ(MainLog().notes[0].code, CLOCK_MOUSE_DBLCLK);
    EXPECT_EQ(MainLog().notes[0].lParam, Point(3, 4));

    // The main window answers 1 (its About box came forward): no menu.
    MainLog().menuAnswer = 1;
    SendMessageW(Window(1)->Handle(), WM_CONTEXTMENU, 0, Point(50, 60));
    EXPECT_EQ(MainLog().notes.back().code, CLOCK_MOUSE_MENU);
    EXPECT_EQ(g_menu.calls, 0);
    MainLog().menuAnswer = 0;
    SendMessageW(Window(1)->Handle(), WM_CONTEXTMENU, 0, Point(50, 60));
    EXPECT_EQ(g_menu.calls, 1);
    EXPECT_EQ(g_menu.index, 1);
    EXPECT_FALSE(g_menu.onTop);
    EXPECT_FALSE(g_menu.grouped);
    EXPECT_FALSE(g_menu.hook);
}

TEST_F(Messages, AGroupMovesAndStaysOnTopTogether) {
    InitClock(0, L"Left");
    InitClock(1, L"Right");
    WriteKey(0, L"dsk_pos_x", 200);
    WriteKey(0, L"dsk_pos_y", 200);
    WriteKey(1, L"dsk_pos_x", 500);
    WriteKey(1, L"dsk_pos_y", 300);
    ASSERT_TRUE(Create(2));
    HWND a = Window(0)->Handle();
    HWND b = Window(1)->Handle();
    // Commands for another clock's index are not taken.
    EXPECT_EQ(SendMessageW(a, WM_COMMAND, MAKEWPARAM(desktop::kCommandGroup, 1), 0), 0);
    EXPECT_TRUE(desktop::ForwardClockCommand(MAKEWPARAM(desktop::kCommandGroup, 0)));
    EXPECT_TRUE(desktop::ForwardClockCommand(MAKEWPARAM(desktop::kCommandGroup, 1)));
    EXPECT_EQ(Window(0)->Group(), 1);
    EXPECT_EQ(Window(1)->Group(), 1);

    const RECT before = RectOf(Window(1));
    SendMessageW(a, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    SendMessageW(a, WM_MOUSEMOVE, MK_LBUTTON, Point(25, 15));
    SendMessageW(a, WM_LBUTTONUP, 0, Point(25, 15));
    const RECT after = RectOf(Window(1));
    EXPECT_EQ(after.left - before.left, 20);
    EXPECT_EQ(after.top - before.top, 10);

    EXPECT_TRUE(desktop::ForwardClockCommand(MAKEWPARAM(desktop::kCommandOnTop, 0)));
    EXPECT_TRUE(GetWindowLongPtrW(a, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtrW(b, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(Window(1)->IsTopmost());
    // Leaving the group: the other keeps on top, this one follows only itself.
    EXPECT_TRUE(desktop::ForwardClockCommand(MAKEWPARAM(desktop::kCommandGroup, 0)));
    EXPECT_EQ(Window(0)->Group(), 0);
    EXPECT_TRUE(Window(0)->IsTopmost());
    EXPECT_TRUE(desktop::ForwardClockCommand(MAKEWPARAM(desktop::kCommandOnTop, 0)));
    EXPECT_FALSE(Window(0)->IsTopmost());
    EXPECT_FALSE(GetWindowLongPtrW(a, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtrW(b, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Messages, ArrowKeysFadeWithinLimits) {
    InitClock(0, L"Fade");
    clocks_[0].alpha = 250;
    ASSERT_TRUE(Create(1));
    HWND w = Window(0)->Handle();
    SendMessageW(w, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(Window(0)->Alpha(), 255);
    SendMessageW(w, WM_KEYDOWN, VK_SUBTRACT, 0);
    EXPECT_EQ(Window(0)->Alpha(), 247);
    for (int i = 0; i < 40; ++i) SendMessageW(w, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Window(0)->Alpha(), 16);
    SendMessageW(w, WM_KEYDOWN, VK_ADD, 0);
    EXPECT_EQ(Window(0)->Alpha(), 24);
}

TEST_F(Messages, TheWheelZoomsOnlyAfterAClick) {
    InitClock(0, L"Zoom");
    WriteKey(0, L"dsk_pos_x", 400);
    WriteKey(0, L"dsk_pos_y", 300);
    ASSERT_TRUE(Create(1));
    HWND w = Window(0)->Handle();
    const RECT start = RectOf(Window(0));
    SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(RectOf(Window(0)).right - RectOf(Window(0)).left, start.right - start.left);

    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2));
    SendMessageW(w, WM_LBUTTONUP, 0, Point(2, 2));
    EXPECT_TRUE(Window(0)->IsClicked());
    SendMessageW(w, WM_KEYDOWN, VK_PRIOR, 0);  // the wheel towards the user
    const RECT grown = RectOf(Window(0));
    EXPECT_GT(grown.right - grown.left, start.right - start.left);
    // Resized about its centre, and the new size is the new limit.
    EXPECT_NEAR(Centre(grown).x, Centre(start).x, 1);
    EXPECT_NEAR(Centre(grown).y, Centre(start).y, 1);
    MINMAXINFO info{};
    SendMessageW(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMaxTrackSize.x, grown.right - grown.left);
    EXPECT_EQ(info.ptMinTrackSize.x, info.ptMaxTrackSize.x);  // a digital face

    // Losing the focus ends the click: the wheel is ignored again.
    SendMessageW(w, WM_KILLFOCUS, 0, 0);
    SendMessageW(w, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(RectOf(Window(0)).right - RectOf(Window(0)).left, grown.right - grown.left);
}

TEST_F(Messages, HoverTestsAnswerOnlyForTheirOwnClock) {
    InitClock(0, L"Plain");
    ASSERT_TRUE(Create(1));
    HWND w = Window(0)->Handle();
    EXPECT_EQ(SendMessageW(w, MSG_CLOCK_HOVER_TEST, 5, 0), 0);
    EXPECT_EQ(SendMessageW(w, MSG_CLOCK_HOVER_TEST, 1, 0), 0);  // no button on a plain clock
    // A plain clock never reports hovering.
    SendMessageW(w, WM_MOUSEMOVE, 0, Point(4, 4));
    EXPECT_TRUE(MainLog().notes.empty());
}

TEST_F(Messages, ActivationRenumbersTheStackingKeys) {
    InitClock(0, L"Back");
    InitClock(1, L"Front");
    ASSERT_TRUE(Create(2));
    SetWindowPos(Window(0)->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(Window(0)->Handle(), WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_EQ(Window(0)->ZKey(), 0);
    EXPECT_EQ(Window(1)->ZKey(), 1);
    // While the program itself re-stacks, activation keeps the keys.
    {
        desktop::BusyScope busy;
        SetWindowPos(Window(1)->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessageW(Window(1)->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    }
    EXPECT_EQ(Window(0)->ZKey(), 0);
}


// True when window a lies above window b.
bool Above(HWND a, HWND b) {
    std::vector<HWND> order;
    EnumWindows(
        [](HWND w, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&order));
    for (HWND w : order) {
        if (w == a) return true;
        if (w == b) return false;
    }
    return false;
}

TEST_F(Messages, ReStackingPutsTheLowestZKeyOnTop) {
    InitClock(0, L"Second");
    InitClock(1, L"First");
    WriteKey(0, L"dsk_pos_z", 1);
    WriteKey(1, L"dsk_pos_z", 0);
    ASSERT_TRUE(Create(2));
    HWND second = Window(0)->Handle();
    HWND first = Window(1)->Handle();
    for (bool activate : {false, true}) {
        SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(first, SW_HIDE);
        desktop::ApplyDesktopClockOrder(activate);
        Pump();
        EXPECT_TRUE(IsWindowVisible(first)) << activate;
        EXPECT_TRUE(Above(first, second)) << activate;
        // Re-stacking is the program's own doing: the keys stay as stored.
        EXPECT_EQ(Window(1)->ZKey(), 0);
        EXPECT_EQ(Window(0)->ZKey(), 1);
    }
}

}  // namespace
}  // namespace desktop_test
