// The live previews of the settings pages: one preview clock drawn as it will
// look in the taskbar or on the desktop over the wallpaper, and the panel of
// taskbar clocks. Both draw with the taskbar clock's own faces, skins and
// panel layout; what lives here is the imitation of the taskbar around them.
#pragma once

#include <windows.h>

struct ClockRecord;
struct BackgroundProfile;

// Where the previews find the taskbar and the wallpaper; tests put their own
// window and picture here. Null entries: the system's.
struct PreviewEnvironment {
    HWND (*findTaskbar)() = nullptr;
    // Fills path (chars wide); false or an empty path: no wallpaper.
    bool (*wallpaperPath)(wchar_t* path, int chars) = nullptr;
};
PreviewEnvironment SetPreviewEnvironment(const PreviewEnvironment& environment);
HWND PreviewTaskbar();

// The preview clock: a skin from the skin cache at face size 200 and an
// analogue, timer or digital face on the preview record.
void CreatePreviewClock(const wchar_t* skinName);
void DestroyPreviewClock();
bool HasPreviewClock();
// The record the preview clock draws; null while there is no preview clock.
ClockRecord* PreviewClockRecord();
// Builds the clock again after its record changed: kind and skin from the
// record (a desktop clock's own skin, else the general one).
void RecreatePreviewFromRecord();
// As above, then takes the taskbar's colours, the wallpaper and draws at once.
void RecreatePreviewClock(HWND control);
// The clock and one of its profiles (or the profile being edited) as the preview.
void SetPreviewProfile(const ClockRecord* clock, const BackgroundProfile* profile);

// Desktop mode: over the wallpaper with the record's opacity; else in an
// imitation of the taskbar. The record's desktop flag decides at each paint.
bool PreviewDesktopMode();
// The next redraw takes the taskbar's look and the wallpaper afresh.
void InvalidatePreviewLook();

// The control-sized corner of the wallpaper; empty without a wallpaper.
void DrawWallpaperPreview(HWND control);
bool PreviewHasWallpaper();
// Brings the preview clock up to the current second; true when it drew.
bool DrawTaskbarPreview(HWND control, bool force);
void PaintClockPreview(const DRAWITEMSTRUCT& item);

// The taskbar panel preview: the clocks of the settings tree (or of the
// records given), laid out as the taskbar clock does it.
void RebuildTrayPreview();
void LoadTrayPreview(ClockRecord* records, int count);
void ClearTrayPreview();
int TrayPreviewCount();
RECT TrayPreviewRect();
bool DrawTrayClocksPreview(HWND control, bool force);
void PaintTrayClocksPreview(const DRAWITEMSTRUCT& item);

// The room a clock gets in that taskbar, as the taskbar clock reckons it.
SIZE PreviewClockArea(HWND taskbar, bool themed);

// Fills the settings program's preview entries of the clock pages, the
// taskbar page and the background page.
void InstallPreviews();
