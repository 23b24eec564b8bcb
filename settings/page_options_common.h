// What the program-wide option pages and the background page share: their
// control numbers and the way they tell the main dialog of an edit.
#pragma once

#include <windows.h>

#include "common/records/protocol.h"
#include "settings/page_loading.h"

// Taskbar page.
inline constexpr int kIdcSkinCombo = 1037;
inline constexpr int kIdcTrayClocks = 1074;
inline constexpr int kIdcTrayClocksSpin = 1075;
inline constexpr int kIdcTransparentSkin = 1065;
inline constexpr int kIdcOverlayPrefixes = 1150;
inline constexpr int kIdcTooltips = 1308;
inline constexpr int kIdcTooltipKind = 1078;
inline constexpr int kIdcPreview = 1086;

// General page.
inline constexpr int kIdcLanguage = 1231;
inline constexpr int kIdcAutostart = 1031;
inline constexpr int kIdcCityPhotos = 1309;
inline constexpr int kIdcHomeLink = 1236;

// INI page.
inline constexpr int kIdcImportPath = 1112;
inline constexpr int kIdcBrowse = 1113;
inline constexpr int kIdcImport = 1311;
inline constexpr int kIdcExport = 1309;

// The page timer that redraws a preview.
inline constexpr UINT_PTR kPreviewTimer = 1;
inline constexpr UINT kPreviewTimerMs = 300;

// Tells the main dialog (the page's parent) of an edit, unless the controls
// are being filled by a load.
inline void NotifyPageChanged(HWND page, WPARAM flags) {
    if (PagesLoading() > 0) return;
    PostMessageW(GetParent(page), WM_PAGE_CHANGED, flags, 0);
}
