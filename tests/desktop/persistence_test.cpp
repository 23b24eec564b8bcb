// The dsk_* keys: saved from the windows, read back at the next creation.
#include "tests/desktop/desktop_fixture.h"

#include "common/graphics/faces/clock_face.h"

namespace desktop_test {
namespace {

using Persistence = DesktopTest;

TEST_F(Persistence, PositionsOrderAndGroupsRoundTripThroughTheIni) {
    InitClock(0, L"Alpha");
    InitClock(1, L"Beta");
    WriteKey(0, L"dsk_org", 1);  // an old origin key goes at the next save
    ASSERT_TRUE(Create(2));
    SetWindowPos(Window(0)->Handle(), nullptr, 120, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Window(1)->Handle(), nullptr, 420, 340, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Beta on top of Alpha: renumbering gives Beta the lower key.
    SetWindowPos(Window(1)->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    desktop::RenumberZKeys();
    EXPECT_LT(Window(1)->ZKey(), Window(0)->ZKey());
    Window(1)->SetGroup(3);
    const RECT a = RectOf(Window(0));
    const RECT b = RectOf(Window(1));
    const int font = Window(0)->Face()->GetFontSize();

    desktop::DestroyDesktopClocks(true);
    const std::wstring ini = UserIniPath();
    EXPECT_EQ(ReadIniText(ini.c_str(), Section(0).c_str(), L"dsk_skin"), L"Standard System Clock");
    EXPECT_EQ(ReadKey(0, L"dsk_pos_x"), Centre(a).x);
    EXPECT_EQ(ReadKey(0, L"dsk_pos_y"), Centre(a).y);
    EXPECT_EQ(ReadKey(1, L"dsk_pos_x"), Centre(b).x);
    EXPECT_FALSE(IniKeyExists(ini.c_str(), Section(0).c_str(), L"dsk_org"));
    EXPECT_EQ(ReadKey(0, L"dsk_on_top"), 0);
    EXPECT_EQ(ReadKey(1, L"dsk_group"), 3);
    EXPECT_EQ(ReadKey(0, L"dsk_font"), font);
    EXPECT_EQ(ReadKey(0, L"dsk_size"), 0);

    ASSERT_TRUE(Create(2));
    EXPECT_EQ(RectOf(Window(0)).left, a.left);
    EXPECT_EQ(RectOf(Window(0)).top, a.top);
    EXPECT_EQ(RectOf(Window(1)).left, b.left);
    EXPECT_EQ(Window(1)->Group(), 3);
    // The list comes back in z order, Beta first.
    ASSERT_EQ(desktop::Windows().size(), 2u);
    EXPECT_EQ(desktop::Windows()[0], Window(1));
}

TEST_F(Persistence, NoZKeyIsWrittenBeforeOneWasGiven) {
    InitClock(0, L"Fresh");
    ASSERT_TRUE(Create(1));
    desktop::SaveDesktopClocks();
    EXPECT_FALSE(IniKeyExists(UserIniPath().c_str(), Section(0).c_str(), L"dsk_pos_z"));
}

TEST_F(Persistence, AGroupTakesItsMembersOnTopStateAtLoad) {
    InitClock(0, L"Leader");
    InitClock(1, L"Member");
    WriteKey(0, L"dsk_on_top", 1);
    WriteKey(0, L"dsk_group", 1);
    WriteKey(1, L"dsk_on_top", 0);
    WriteKey(1, L"dsk_group", 1);
    ASSERT_TRUE(Create(2));
    EXPECT_TRUE(Window(1)->IsTopmost());
    EXPECT_TRUE(GetWindowLongPtrW(Window(1)->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Persistence, AStoredSizeOfAnotherSkinIsIgnored) {
    InitClock(0, L"Sized");
    ASSERT_TRUE(Create(1));
    const int own = Window(0)->Face()->GetFontSize();
    desktop::DestroyDesktopClocks(false);
    WriteIniText(UserIniPath().c_str(), Section(0).c_str(), L"dsk_skin", L"Some Other Skin");
    WriteKey(0, L"dsk_font", -40);
    ASSERT_TRUE(Create(1));
    EXPECT_EQ(Window(0)->Face()->GetFontSize(), own);
}

TEST_F(Persistence, SavingAfterTheSystemDestroyedAWindowKeepsItsLastPlace) {
    InitClock(0, L"Gone");
    WriteKey(0, L"dsk_pos_x", 500);
    WriteKey(0, L"dsk_pos_y", 300);
    ASSERT_TRUE(Create(1));
    const POINT c = Centre(RectOf(Window(0)));
    DestroyWindow(Window(0)->Handle());
    EXPECT_EQ(Window(0)->Handle(), nullptr);
    desktop::SaveDesktopClocks();
    EXPECT_EQ(ReadKey(0, L"dsk_pos_x"), c.x);
    EXPECT_EQ(ReadKey(0, L"dsk_pos_y"), c.y);
    desktop::HideDesktopClocks();
    desktop::RestoreDesktopClocks();
    desktop::ApplyDesktopClockOrder(false);
    desktop::RefreshDesktopClocks(true);
}

}  // namespace
}  // namespace desktop_test
