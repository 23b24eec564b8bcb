// Windows of other modules that menu commands open: the main program puts
// their functions in place at start-up, so that this module does not depend
// on them. Until then a command finds no window (the about box reports the
// failure).
#pragma once

#include <windows.h>

struct TrayLinks {
    // Runs the about box; 0 when its template cannot be loaded.
    INT_PTR (*runAboutDialog)() = nullptr;
    // Opens (or brings forward) the time table, owned by the main window.
    void (*showTimeTable)(HWND owner) = nullptr;
    // Opens (or brings forward) the news window.
    void (*showNewsWindow)() = nullptr;
    // Opens the world map at a city (-1: no city).
    void (*showWorldMap)(HWND owner, int cityIndex) = nullptr;
};

void SetTrayLinks(const TrayLinks& links);
const TrayLinks& Links();

// A message box of the tray module; tests replace it.
using TrayMessageFn = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
TrayMessageFn SetTrayMessageFn(TrayMessageFn fn);  // null restores MessageBoxW
int TrayMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

// TrackPopupMenu of the tray and desktop clock menus; tests replace it.
using TrackMenuFn = BOOL (*)(HMENU popup, UINT flags, int x, int y, HWND owner);
TrackMenuFn SetTrackMenuFn(TrackMenuFn fn);  // null restores TrackPopupMenu
BOOL TrackMenu(HMENU popup, UINT flags, int x, int y, HWND owner);
