// The tray icon through the shell (the calls succeed under Wine) and the
// menu it opens.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "tempovia/desktop/desktop_clocks.h"
#include "tempovia/main/app_state.h"
#include "tempovia/tray/context_menu.h"
#include "common/mainmenu/menu_ids.h"
#include "tempovia/tray/tray_icon.h"
#include "tempovia/tray/tray_links.h"
#include "tests/support/program_folder.h"
#include "tests/tray/tray_fixture.h"

using namespace tray_test;

namespace {

struct Tracked {
    int calls = 0;
    UINT firstId = 0;
    UINT flags = 0;
    HWND owner = nullptr;
    UINT newClockState = 0;
    UINT groupState = 0;
};
Tracked g_tracked;

BOOL RecordTrack(HMENU popup, UINT flags, int, int, HWND owner) {
    ++g_tracked.calls;
    g_tracked.firstId = GetMenuItemID(popup, 0);
    g_tracked.flags = flags;
    g_tracked.owner = owner;
    g_tracked.newClockState = GetMenuState(popup, kCmdNewClock, MF_BYCOMMAND);
    g_tracked.groupState = GetMenuState(popup, kCmdGroup, MF_BYCOMMAND);
    return TRUE;
}

class TrayIconTest : public TrayTest {
protected:
    void SetUp() override {
        TrayTest::SetUp();
        g_tracked = Tracked{};
        SetTrackMenuFn(RecordTrack);
    }
    void TearDown() override {
        FreeResourceModule();
        TrayTest::TearDown();
    }
    void Click(LPARAM mouse) {
        SendMessageW(main_, MSG_TRAY_ICON, kTrayIconId, mouse);
        Pump();
    }
};

TEST_F(TrayIconTest, ShownOnlyWithAnIconAndNoClockInTheTaskbar) {
    StandInTaskbar taskbar;
    ASSERT_NE(taskbar.window(), nullptr);
    TrayIconAdd(main_, 0);
    EXPECT_FALSE(IsTrayIconShown());  // no program icon

    g_app.icon = LoadIconW(nullptr, IDI_APPLICATION);
    TrayIconAdd(main_, 2);
    EXPECT_FALSE(IsTrayIconShown());

    TrayIconAdd(main_, 0);
    ASSERT_TRUE(IsTrayIconShown());
    const NOTIFYICONDATAW& r = TrayIconRecord();
    EXPECT_EQ(r.cbSize, 952u);
    EXPECT_EQ(r.hWnd, main_);
    EXPECT_EQ(r.uID, 1u);
    EXPECT_EQ(r.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(r.uCallbackMessage, MSG_TRAY_ICON);
    EXPECT_STREQ(r.szTip, L"Tempovia World Clock");

    TrayIconUpdate();
    EXPECT_TRUE(IsTrayIconShown());
    TrayIconRemove();
    EXPECT_FALSE(IsTrayIconShown());
    EXPECT_EQ(TrayIconRecord().cbSize, 0u);
    TrayIconRemove();  // twice is harmless
    TrayIconUpdate();
    EXPECT_FALSE(IsTrayIconShown());

    // Shown again after removal.
    TrayIconAdd(main_, 0);
    EXPECT_TRUE(IsTrayIconShown());
    EXPECT_EQ(StandInTaskbar::Requests(),
              (std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_DELETE, NIM_ADD}));
}

TEST_F(TrayIconTest, RefusedIconIsNotShown) {
    // No taskbar at all: the shell refuses, and the program runs without an icon.
    if (FindWindowW(L"Shell_TrayWnd", nullptr)) GTEST_SKIP() << "a taskbar is running";
    g_app.icon = LoadIconW(nullptr, IDI_APPLICATION);
    TrayIconAdd(main_, 0);
    EXPECT_FALSE(IsTrayIconShown());
    EXPECT_EQ(TrayIconRecord().cbSize, 0u);
    TrayIconRemove();
}

TEST_F(TrayIconTest, ButtonPressOpensTheMenuWithoutAClock) {
    ASSERT_TRUE(LoadResourceModule(testing_support::BinFolder().c_str()));
    UseClocks({MakeClock(1)});
    Click(WM_MOUSEMOVE);
    Click(WM_LBUTTONUP);
    EXPECT_EQ(g_tracked.calls, 0);

    Click(WM_RBUTTONDOWN);
    ASSERT_EQ(g_tracked.calls, 1);
    EXPECT_EQ(g_tracked.firstId, kCmdSettings);
    EXPECT_EQ(g_tracked.flags, static_cast<UINT>(TPM_RIGHTBUTTON));
    EXPECT_EQ(g_tracked.owner, main_);
    EXPECT_EQ(g_app.currentClock, -1);
    // The request went to the main window first, for clock 0.
    EXPECT_NE(std::find(Log().messages.begin(), Log().messages.end(), MSG_CLOCK_MOUSE), Log().messages.end());

    SetNewClockFlag(false);
    Click(WM_LBUTTONDOWN);
    ASSERT_EQ(g_tracked.calls, 2);
    EXPECT_TRUE(g_tracked.newClockState & MF_GRAYED);
}

TEST_F(TrayIconTest, AboutBoxInFrontOpensNoMenu) {
    ASSERT_TRUE(LoadResourceModule(testing_support::BinFolder().c_str()));
    Log().menuRequestAnswer = 1;
    Click(WM_LBUTTONDOWN);
    EXPECT_EQ(g_tracked.calls, 0);
}

TEST_F(TrayIconTest, MissingMenuClosesTheProgramFromTheTrayOnly) {
    FreeResourceModule();
    Click(WM_RBUTTONDOWN);
    EXPECT_EQ(g_tracked.calls, 0);
    ASSERT_EQ(Log().commands.size(), 1u);
    EXPECT_EQ(Log().commands[0], static_cast<WORD>(MSG_QUIT));

    // A desktop clock's menu request never closes the program.
    Log().commands.clear();
    UseClocks({MakeClock(1)});
    ShowClockMenu(main_, 0, false, false, true, POINT{10, 10});
    Pump();
    EXPECT_TRUE(Log().commands.empty());
}

TEST_F(TrayIconTest, DesktopClocksOpenThisMenu) {
    EXPECT_EQ(desktop::Host().showClockMenu, &ShowClockMenu);
}

TEST_F(TrayIconTest, DesktopClockMenuCarriesItsFlags) {
    ASSERT_TRUE(LoadResourceModule(testing_support::BinFolder().c_str()));
    ClockRecord clock = MakeClock(1);
    clock.on_desktop = 1;
    UseClocks({clock});
    ShowClockMenu(main_, 0, false, true, true, POINT{10, 10});
    ASSERT_EQ(g_tracked.calls, 1);
    EXPECT_EQ(g_app.currentClock, 0);
    EXPECT_TRUE(g_tracked.groupState & MF_CHECKED);
    EXPECT_NE(g_tracked.firstId, kCmdSettings);  // the clock's pages
}

}  // namespace
