// The about box: a modeless dialog without owner, run by its own message loop
// from the menu command, with the version and a link.
#pragma once

#include <windows.h>
#include "resources/resource_ids.h"

namespace panels {

inline constexpr UINT kAboutDialogId = IDD_ABOUT;
inline constexpr wchar_t kAboutSectionFormat[] = L"DLG_About_%d";
inline constexpr int kAboutVersionId = IDC_ABOUT_VERSION;
inline constexpr int kAboutLinkId = IDC_ABOUT_LINK;
inline constexpr int kVersionChars = 30;

// Opens the about box and runs messages until it is closed: 1 then. An open
// box is only brought forward (its handle is returned). 0 when the dialog
// cannot be made. A WM_QUIT that ends the loop is posted again for the
// caller's loop, and the box's handle returned.
INT_PTR RunAboutDialog();
// Brings an open about box to the top and the foreground; false when none is open.
bool ShowAboutDialog();
void CloseAboutDialog();
HWND AboutWindow();

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace panels
