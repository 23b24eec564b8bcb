// Placement and bookkeeping of the main program's dialogs and windows.
#pragma once

#include <windows.h>

// Centres the window on the desktop window's rectangle, size unchanged.
void CenterOnDesktop(HWND window);

// True when the window's class is the dialog class "#32770".
bool IsDialogWindow(HWND window);

// EnumThreadWindows callback: destroys every dialog of the thread and goes on.
BOOL CALLBACK CloseThreadDialogsProc(HWND window, LPARAM unused);
