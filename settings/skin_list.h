// The skin choice of the settings pages: the folders below the skins folder.
#pragma once

#include <windows.h>

// Empties the combo box and adds the name of every folder in the skins
// folder; with includeAnalogue false, folders holding an analogue face (a
// timer cannot draw one) are left out. Returns the number of names added.
int FillSkinList(HWND combo, bool includeAnalogue);
// As FillSkinList, with the two looks that are no folder ("Standard System
// Clock", "Classic Tempovia Style") first.
int FillSkinListWithStyles(HWND combo, bool includeAnalogue);
// True when the skin's folder holds an analogue face.
bool IsAnalogueSkin(const wchar_t* name);
// The skin's `face24h` choice: its hour hand goes round once a day.
bool IsDayFaceSkin(const wchar_t* name);
