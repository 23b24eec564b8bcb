// The previews' entries for the pages. Kept apart from the drawing: the
// taskbar page's header names the built-in styles too.
#include "settings/page_background.h"
#include "settings/page_clock_services.h"
#include "settings/page_taskbar.h"
#include "settings/preview.h"

namespace {

void DrawClockItem(const DRAWITEMSTRUCT& item) { PaintClockPreview(item); }

void DrawProfileItem(const DRAWITEMSTRUCT* item) {
    if (item) PaintClockPreview(*item);
}

void DrawTrayItem(const DRAWITEMSTRUCT* item) {
    if (item) PaintTrayClocksPreview(*item);
}

bool TrayHasClock() { return TrayPreviewCount() > 0; }

}  // namespace

void InstallPreviews() {
    ClockPageServices services = PageServices();
    services.previewRecord = PreviewClockRecord;
    services.recreatePreview = RecreatePreviewFromRecord;
    services.drawPreview = DrawClockItem;
    SetPageServices(services);

    TrayPreviewHooks tray;
    tray.rebuildClocks = RebuildTrayPreview;
    tray.draw = DrawTrayItem;
    tray.hasClock = TrayHasClock;
    SetTrayPreviewHooks(tray);

    ProfilePageHooks profile;
    profile.setPreview = SetPreviewProfile;
    profile.draw = DrawProfileItem;
    profile.hasPreviewClock = HasPreviewClock;
    SetProfilePageHooks(profile);
}
