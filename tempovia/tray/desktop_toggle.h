// Moving a clock between the taskbar and the desktop (menu command 102).
#pragma once

#include <windows.h>

// Only with the taskbar hook installed and a valid clock index; true when
// the clock moved.
bool ToggleOnDesktop(HWND mainWindow, int index);
