#include "tests/previews/install_hooks.h"

#include "settings/page_background.h"
#include "settings/page_taskbar.h"
#include "settings/preview.h"

namespace previews_test {

TakenHooks InstallPreviewsAndTakePageHooks() {
    InstallPreviews();
    const TrayPreviewHooks tray = SetTrayPreviewHooks(TrayPreviewHooks{});
    const ProfilePageHooks profile = SetProfilePageHooks(ProfilePageHooks{});
    TakenHooks taken;
    taken.trayRebuild = tray.rebuildClocks;
    taken.trayDraw = tray.draw;
    taken.trayHasClock = tray.hasClock;
    taken.profileDraw = profile.draw;
    taken.profileHasClock = profile.hasPreviewClock;
    taken.profileChoosesColourItself = profile.chooseColour != nullptr;
    return taken;
}

}  // namespace previews_test
