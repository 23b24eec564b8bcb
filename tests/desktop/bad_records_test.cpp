// Damaged clock records and INI entries: loaded safely or refused cleanly.
#include "tests/desktop/desktop_fixture.h"

#include "common/graphics/faces/clock_face.h"
#include "tempovia/desktop/skin_source.h"

namespace desktop_test {
namespace {

using BadRecords = DesktopTest;

TEST_F(BadRecords, UnterminatedTextsAreReadWithinTheirFields) {
    InitClock(0, L"");
    for (auto& ch : clocks_[0].prefix) ch = L'P';
    for (auto& ch : clocks_[0].skin) ch = L'S';
    for (auto& ch : clocks_[0].timeformat) ch = L'H';
    ASSERT_TRUE(Create(1));
    wchar_t title[64] = {};
    GetWindowTextW(Window(0)->Handle(), title, 64);
    EXPECT_EQ(std::wstring(title), std::wstring(31, L'P'));
    EXPECT_EQ(Window(0)->SkinName(), std::wstring(79, L'S'));
}

TEST_F(BadRecords, EmptyTextsStillGiveAWindow) {
    InitClock(0, L"");
    CopyBounded(clocks_[0].timeformat, L"");
    ASSERT_TRUE(Create(1));
    const RECT r = RectOf(Window(0));
    EXPECT_GT(r.right - r.left, 0);
    EXPECT_GT(r.bottom - r.top, 0);
    Window(0)->Paint(nullptr);
}

TEST_F(BadRecords, DamagedSizesAreIgnored) {
    InitClock(0, L"Huge");
    InitClock(1, L"Normal");
    ASSERT_TRUE(Create(2));
    const int own = Window(0)->Face()->GetFontSize();
    desktop::DestroyDesktopClocks(true);
    WriteKey(0, L"dsk_font", 2000000);
    WriteKey(0, L"dsk_size", -7);
    ASSERT_TRUE(Create(2));
    EXPECT_EQ(Window(0)->Face()->GetFontSize(), own);
    const RECT r = RectOf(Window(0));
    EXPECT_LT(r.right - r.left, 2000);
}

TEST_F(BadRecords, NoSkinNameAnywhereRefusesTheClock) {
    InitClock(0, L"First");
    InitClock(1, L"Second");
    InitClock(2, L"Third");
    CopyBounded(g_settings.skin, L"");
    CopyBounded(clocks_[0].skin, L"Standard System Clock");
    EXPECT_FALSE(Create(3));
    // Creation stopped at the clock that failed; the one before it stands.
    EXPECT_EQ(desktop::Windows().size(), 1u);
    EXPECT_NE(Window(0), nullptr);
}

TEST_F(BadRecords, ClocksShareOneSkinAndGiveItBack) {
    InitClock(0, L"A");
    InitClock(1, L"B");
    CopyBounded(clocks_[1].skin, L"standard system clock");
    const int before = desktop::LoadedSkinCount();
    ASSERT_TRUE(Create(2));
    EXPECT_EQ(Window(0)->Skin(), Window(1)->Skin());
    EXPECT_EQ(desktop::LoadedSkinCount(), before + 1);
    desktop::DestroyDesktopClocks(false);
    EXPECT_EQ(desktop::LoadedSkinCount(), before);
}

TEST_F(BadRecords, MoreClocksThanTheTableHoldsAreCappedAndNullIsRefused) {
    for (int i = 0; i < kMaxClocks + 2; ++i) InitClock(i, L"Many");
    ASSERT_TRUE(Create(kMaxClocks + 2));
    EXPECT_EQ(desktop::Windows().size(), static_cast<size_t>(kMaxClocks));
    EXPECT_TRUE(desktop::CreateDesktopClocks(MainWindow(), nullptr, 5));
    EXPECT_TRUE(desktop::Windows().empty());
    EXPECT_EQ(desktop::CreateDesktopClock(MainWindow(), clocks_, -1), nullptr);
    EXPECT_EQ(desktop::CreateDesktopClock(MainWindow(), clocks_, kMaxClocks), nullptr);
}

}  // namespace
}  // namespace desktop_test
