// settings.exe hands the previews to the pages in one call; what the pages
// then call paints and rebuilds the real preview clock.
#include <gtest/gtest.h>

#include "common/records/clock_table.h"
#include "settings/page_clock_services.h"
#include "settings/preview.h"
#include "tests/previews/install_hooks.h"
#include "tests/previews/preview_fixture.h"

using namespace previews_test;

namespace {

// The pointer forms of the hooks, drawn through the fixture's painter.
TakenHooks g_hooks;
void TrayDraw(const DRAWITEMSTRUCT& item) { g_hooks.trayDraw(&item); }
void ProfileDraw(const DRAWITEMSTRUCT& item) { g_hooks.profileDraw(&item); }

bool SamePixels(const CDibSection& a, const CDibSection& b, int width, int height) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (Pixel(a, x, y) != Pixel(b, x, y)) return false;
    return true;
}

}  // namespace

TEST_F(PreviewTest, InstalledEntriesDrawAndRebuildThePreviewClock) {
    const ClockPageServices oldServices = PageServices();
    g_hooks = InstallPreviewsAndTakePageHooks();
    const ClockPageServices services = PageServices();
    EXPECT_EQ(services.getOpenFileName, oldServices.getOpenFileName);
    ASSERT_TRUE(services.previewRecord && services.recreatePreview && services.drawPreview);
    ASSERT_TRUE(g_hooks.trayRebuild && g_hooks.trayDraw && g_hooks.trayHasClock);
    ASSERT_TRUE(g_hooks.profileDraw && g_hooks.profileHasClock);
    EXPECT_FALSE(g_hooks.profileChoosesColourItself);

    // No clock yet: the pages see none.
    EXPECT_EQ(services.previewRecord(), nullptr);
    EXPECT_FALSE(g_hooks.profileHasClock());

    // With one, the clock page and the background page both paint it.
    ShowRecord(MakeClock(1, L"Abc"));
    EXPECT_EQ(services.previewRecord(), PreviewClockRecord());
    EXPECT_TRUE(g_hooks.profileHasClock());
    // Paintings compared must fall within one second of the clock's time.
    auto withinOneSecond = [](auto paint) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            SYSTEMTIME before, after;
            GetLocalTime(&before);
            paint();
            GetLocalTime(&after);
            if (before.wSecond == after.wSecond) return;
        }
    };
    CDibSection direct, viaClockPage, viaProfilePage;
    withinOneSecond([&] {
        PaintClock(direct);
        Paint(viaClockPage, services.drawPreview);
        Paint(viaProfilePage, ProfileDraw);
    });
    EXPECT_GT(InkInColumns(direct, 0, kControlWidth, 0, kControlHeight), 20);
    EXPECT_TRUE(SamePixels(viaClockPage, direct, kControlWidth, kControlHeight));
    EXPECT_TRUE(SamePixels(viaProfilePage, direct, kControlWidth, kControlHeight));

    // The clock page's rebuild follows a changed record.
    services.previewRecord()->kind = kClockTimer | kClockCountdown;
    services.recreatePreview();
    EXPECT_TRUE(PreviewIsATimer());

    // The taskbar page paints the strip of taskbar clocks, not the one clock.
    CDibSection trayDirect, viaTrayPage;
    withinOneSecond([&] {
        PaintTray(trayDirect);
        Paint(viaTrayPage, TrayDraw);
    });
    EXPECT_TRUE(SamePixels(viaTrayPage, trayDirect, kControlWidth, kControlHeight));
    EXPECT_FALSE(SamePixels(viaTrayPage, direct, kControlWidth, kControlHeight));
    EXPECT_EQ(g_hooks.trayHasClock(), TrayPreviewCount() > 0);

    SetPageServices(oldServices);
}
