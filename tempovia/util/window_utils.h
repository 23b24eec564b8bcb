// Placement and bookkeeping of the main program's dialogs and windows.
#pragma once

#include <windows.h>

#include "common/platform/dialog_utils.h"  // CenterOnDesktop

// True when the window's class is the dialog class "#32770".
bool IsDialogWindow(HWND window);

// EnumThreadWindows callback: destroys every dialog of the thread and goes on.
BOOL CALLBACK CloseThreadDialogsProc(HWND window, LPARAM unused);
