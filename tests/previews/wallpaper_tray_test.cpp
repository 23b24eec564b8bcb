// The wallpaper corner under the desktop preview and the panel preview of the
// taskbar clocks, read back pixel by pixel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/records/clock_table.h"
#include "common/records/protocol.h"
#include "settings/preview.h"
#include "settings/preview_state.h"
#include "tests/previews/preview_fixture.h"
#include "tests/support/test_support.h"

using namespace previews_test;

namespace {

// A picture whose every pixel tells where it came from.
COLORREF Spot(int x, int y) { return RGB(x & 0xFF, ((x >> 8) << 6) | (y & 0x3F), 77); }

uint32_t WallpaperPixel(int x, int y) { return AsPixel(GetPixel(Preview().wallpaper.Dc(), x, y)); }

}  // namespace

TEST_F(PreviewTest, TheWallpaperPreviewHoldsTheBottomRightCorner) {
    testing_support::TempDir dir;
    // 400 wide, and 11520 wide: three 4K screens spanned.
    for (int width : {400, 11520}) {
        const std::wstring big = dir.file(L"big" + std::to_wstring(width) + L".bmp");
        ASSERT_TRUE(testing_support::WriteBytes(big, skins_test::BmpBytes(width, 60, Spot)));
        SetWallpaper(big);
        DrawWallpaperPreview(control_);
        ASSERT_TRUE(PreviewHasWallpaper()) << width;
        EXPECT_EQ(Preview().wallpaper.Width(), kControlWidth);
        EXPECT_EQ(Preview().wallpaper.Height(), kControlHeight);
        // Into 320 x 48: the corner from (width - 320, 12).
        const int left = width - kControlWidth;
        EXPECT_EQ(WallpaperPixel(0, 0), AsPixel(Spot(left, 12))) << width;
        EXPECT_EQ(WallpaperPixel(319, 47), AsPixel(Spot(width - 1, 59))) << width;
        EXPECT_EQ(WallpaperPixel(100, 20), AsPixel(Spot(left + 100, 32))) << width;
    }
}

TEST_F(PreviewTest, ASmallWallpaperIsTiledAcrossAndDown) {
    testing_support::TempDir dir;
    const std::wstring small = dir.file(L"small.bmp");
    ASSERT_TRUE(testing_support::WriteBytes(small, skins_test::BmpBytes(30, 20, Spot)));
    SetWallpaper(small);
    DrawWallpaperPreview(control_);
    ASSERT_TRUE(PreviewHasWallpaper());
    for (int y : {0, 7, 20, 27, 40}) {
        for (int x : {0, 13, 30, 59, 300}) EXPECT_EQ(WallpaperPixel(x, y), AsPixel(Spot(x % 30, y % 20))) << x << "," << y;
    }
}

TEST_F(PreviewTest, NoOrAnUnreadableWallpaperLeavesTheDesktopColour) {
    DrawWallpaperPreview(control_);
    EXPECT_FALSE(PreviewHasWallpaper());
    testing_support::TempDir dir;
    const std::wstring junk = dir.file(L"junk.bmp");
    ASSERT_TRUE(testing_support::WriteBytes(junk, "BM not a picture"));
    SetWallpaper(junk);
    DrawWallpaperPreview(control_);
    EXPECT_FALSE(PreviewHasWallpaper());
    SetWallpaper(dir.file(L"missing.bmp"));
    DrawWallpaperPreview(control_);
    EXPECT_FALSE(PreviewHasWallpaper());

    ClockRecord desk = MakeClock(1, L"Desk");
    desk.on_desktop = 1;
    ShowRecord(desk);
    CDibSection shot;
    PaintClock(shot);
    EXPECT_EQ(Pixel(shot, 0, 0), AsPixel(GetSysColor(COLOR_BACKGROUND)));
    // The clock itself stands in the middle.
    EXPECT_GT(InkInColumns(shot, kControlWidth / 4, kControlWidth * 3 / 4, 0, kControlHeight), 20);
}

TEST_F(PreviewTest, TheDesktopPreviewStandsOnTheWallpaper) {
    testing_support::TempDir dir;
    const std::wstring big = dir.file(L"big.bmp");
    ASSERT_TRUE(testing_support::WriteBytes(big, skins_test::BmpBytes(400, 60, Spot)));
    SetWallpaper(big);
    ClockRecord desk = MakeClock(1, L"Desk");
    desk.on_desktop = 1;
    ShowRecord(desk);
    ASSERT_TRUE(PreviewHasWallpaper());
    CDibSection shot;
    PaintClock(shot);
    EXPECT_EQ(Pixel(shot, 0, 0), AsPixel(Spot(80, 12)));
    EXPECT_EQ(Pixel(shot, 2, 40), AsPixel(Spot(82, 52)));
}

TEST_F(PreviewTest, ThePanelPreviewLaysOutTheEnabledClocks) {
    std::vector<ClockRecord> clocks = {MakeClock(1, L"One"), MakeClock(2, L"Two"), MakeClock(3, L"Three")};
    clocks[1].enabled = 0;
    LoadTrayPreview(clocks.data(), 3);
    EXPECT_EQ(TrayPreviewCount(), 2);
    ASSERT_TRUE(DrawTrayClocksPreview(control_, true));
    const RECT two = TrayPreviewRect();
    EXPECT_GT(two.right - two.left, 0);

    CDibSection shot;
    PaintTray(shot);
    const int top = (kControlHeight - 30) / 2;
    const int width = two.right - two.left;
    EXPECT_GT(InkInColumns(shot, kControlWidth - 4 - width, kControlWidth - 4, top, top + 30), 20);
    EXPECT_EQ(InkInColumns(shot, 0, kControlWidth - 8 - width, top + 1, top + 29), 0);

    clocks[1].enabled = 1;
    LoadTrayPreview(clocks.data(), 3);
    EXPECT_EQ(TrayPreviewCount(), 3);
    ASSERT_TRUE(DrawTrayClocksPreview(control_, true));
    const RECT three = TrayPreviewRect();
    EXPECT_GT(three.right - three.left, width);
}

TEST_F(PreviewTest, ThePanelPreviewTakesTheTaskbarsRowsAndShowsEveryClock) {
    // A taskbar 40 high whose notification area is 20: the clock has room
    // for one row only, and so has the preview.
    PlaceTaskbar(0, 560, 800, 40);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTrayNotifyClass;
    RegisterClassW(&wc);
    HWND notify = CreateWindowExW(0, kTrayNotifyClass, L"", WS_CHILD | WS_VISIBLE, 600, 10, 200, 20, taskbar_,
                                  nullptr, wc.hInstance, nullptr);
    ASSERT_NE(notify, nullptr);
    std::vector<ClockRecord> clocks;
    for (int i = 1; i <= 8; ++i) clocks.push_back(MakeClock(i, L"Somewhere"));
    LoadTrayPreview(clocks.data(), static_cast<int>(clocks.size()));
    ASSERT_TRUE(DrawTrayClocksPreview(control_, true));
    for (int i = 1; i < TrayPreviewCount(); ++i) {
        EXPECT_EQ(Preview().panel.Face(i)->GetRect().top, Preview().panel.Face(0)->GetRect().top) << i;
    }
    const RECT panel = TrayPreviewRect();
    ASSERT_GT(panel.right - panel.left, kControlWidth);
    CDibSection shot;
    PaintTray(shot);
    // Shrunk to the control: the first clock's text starts after the strip's gap.
    EXPECT_EQ(InkInColumns(shot, 0, 2, 0, kControlHeight), 0);
    EXPECT_GT(InkInColumns(shot, 2, 40, 0, kControlHeight), 0);
    DestroyWindow(notify);
    UnregisterClassW(kTrayNotifyClass, wc.hInstance);
}

TEST_F(PreviewTest, AVerticalTaskbarStacksThePanelsClocks) {
    std::vector<ClockRecord> clocks = {MakeClock(1, L"One"), MakeClock(2, L"Two")};
    LoadTrayPreview(clocks.data(), 2);
    PlaceTaskbar(0, 0, 80, 600);
    ASSERT_TRUE(DrawTrayClocksPreview(control_, true));
    const RECT first = Preview().panel.Face(0)->GetRect();
    const RECT second = Preview().panel.Face(1)->GetRect();
    EXPECT_GE(second.top, first.bottom);
    CDibSection shot;
    PaintTray(shot);
    const int left = (kControlWidth - 80) / 2;
    EXPECT_EQ(Pixel(shot, left - 3, 2), AsPixel(GetSysColor(COLOR_BACKGROUND)));
}

TEST_F(PreviewTest, AnEmptyPanelShowsOnlyItsNotice) {
    LoadTrayPreview(nullptr, 5);
    EXPECT_EQ(TrayPreviewCount(), 0);
    EXPECT_FALSE(DrawTrayClocksPreview(control_, true));
    CDibSection shot;
    PaintTray(shot);
    EXPECT_EQ(Pixel(shot, kControlWidth - 1, kControlHeight - 1), AsPixel(GetSysColor(COLOR_BTNFACE)));
    // UI string 218 at the top left.
    EXPECT_GT(InkInColumns(shot, 0, kControlWidth / 2, 0, kControlHeight / 2), 0);

    std::vector<ClockRecord> off = {MakeClock(1, L"Off")};
    off[0].enabled = 0;
    LoadTrayPreview(off.data(), 1);
    EXPECT_EQ(TrayPreviewCount(), 0);
    ClearTrayPreview();
    EXPECT_EQ(TrayPreviewCount(), 0);
}

TEST_F(PreviewTest, APageThatEditsTheRecordSeesTheModeAndWallpaperAtTheNextPaint) {
    testing_support::TempDir dir;
    const std::wstring big = dir.file(L"big.bmp");
    ASSERT_TRUE(testing_support::WriteBytes(big, skins_test::BmpBytes(400, 60, Spot)));
    SetWallpaper(big);
    CreatePreviewClock(g_settings.skin);
    // As the clock pages do it: copy into the record, re-create, invalidate.
    *PreviewClockRecord() = MakeClock(1, L"Page");
    RecreatePreviewFromRecord();
    EXPECT_FALSE(PreviewHasWallpaper());
    CDibSection shot;
    PaintClock(shot);
    EXPECT_FALSE(PreviewDesktopMode());
    EXPECT_TRUE(PreviewHasWallpaper());
    PreviewClockRecord()->on_desktop = 1;
    PaintClock(shot);
    EXPECT_TRUE(PreviewDesktopMode());
    EXPECT_EQ(Pixel(shot, 0, 0), AsPixel(Spot(80, 12)));
}
