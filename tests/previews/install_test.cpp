// settings.exe hands the previews to the pages in one call.
#include <gtest/gtest.h>

#include "settings/page_background.h"
#include "settings/page_clock_services.h"
#include "settings/page_taskbar.h"
#include "settings/preview.h"

TEST(PreviewInstall, EveryPreviewEntryIsFilledAndOthersAreKept) {
    const ClockPageServices oldServices = PageServices();
    InstallPreviews();
    EXPECT_NE(PageServices().previewRecord, nullptr);
    EXPECT_NE(PageServices().recreatePreview, nullptr);
    EXPECT_NE(PageServices().drawPreview, nullptr);
    EXPECT_EQ(PageServices().getOpenFileName, oldServices.getOpenFileName);
    // No clock yet: the pages see none and draw nothing.
    EXPECT_EQ(PageServices().previewRecord(), nullptr);
    const TrayPreviewHooks tray = SetTrayPreviewHooks(TrayPreviewHooks{});
    EXPECT_NE(tray.rebuildClocks, nullptr);
    EXPECT_NE(tray.draw, nullptr);
    EXPECT_FALSE(tray.hasClock());
    const ProfilePageHooks profile = SetProfilePageHooks(ProfilePageHooks{});
    EXPECT_NE(profile.setPreview, nullptr);
    EXPECT_NE(profile.draw, nullptr);
    EXPECT_EQ(profile.chooseColour, nullptr);
    SetPageServices(oldServices);
}
