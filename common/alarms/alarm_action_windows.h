// Placement and closing shared by the stop-playing and countdown dialogs of
// the alarm actions.
#pragma once

#include <windows.h>

#include "common/platform/dialog_utils.h"  // CenterOnDesktop

// Posted to a dialog by itself once it is on screen: it then asks to be the
// foreground window.
inline constexpr UINT kMsgBringForward = WM_APP + 1;

// Shows the window and makes it the foreground window. When the system
// refuses, the desktop window is asked to activate it (SC_HOTKEY), which
// works where SetForegroundWindow is not allowed.
void BringAlarmWindowForward(HWND window);

// A dialog remembers whether it runs modally: a modal one ends with
// EndDialog, a modeless one is destroyed.
void MarkAlarmDialogModal(HWND dialog, bool modal);
void CloseAlarmDialog(HWND dialog);

// Creates the dialog from the language resource library, modeless (shown,
// the handle returned) or modal (returns once it closed; null).
HWND RunAlarmDialog(int resourceId, DLGPROC procedure, LPARAM parameter, bool modal, bool* created);
