// The main program's world map: a modeless map dialog without an opener.
// The plug-in is loaded when the first map dialog opens and freed when the
// last one closes; the desktop clocks stay hidden meanwhile.
#pragma once

#include <windows.h>

#include "common/mapdialog/map_dialog.h"

struct CityRecord;

namespace mapwin {

// What the main program does around an open map: its desktop clocks.
struct MainMapHooks {
    void (*hideDesktopClocks)() = nullptr;
    void (*restoreDesktopClocks)() = nullptr;
};
void SetMainMapHooks(const MainMapHooks& hooks);

// One more user: the first loads the plug-in from the program folder with
// the city table, hides the desktop clocks and reports a failed load once
// (ShowMapError). Returns the load's error code (0 when already loaded).
DWORD AcquireMapDialog();
// The modeless dialog (caption cut to 97 characters), selecting the city
// when one of the city table is given; null when it cannot be created.
HWND CreateMapDialog(const wchar_t* caption, const CityRecord* city);
// Destroys the dialog, one user less; the last shows the desktop clocks and
// unloads the plug-in.
void ReleaseMapDialog();
// Users counted now.
int MapUserCount();

HWND GetMapDialog();
HWND GetMapWindow();

// The menu's "world map": brings an open dialog forward (selecting the city),
// else acquires and opens one. cityIndex -1: no city.
void ShowWorldMap(HWND owner, int cityIndex);

// Closes an open dialog as WM_CLOSE would, and gives up its user even when
// the dialog window was destroyed by other means.
void CloseWorldMap();

}  // namespace mapwin
