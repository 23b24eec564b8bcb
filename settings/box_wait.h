// Messages from other programs that would free the settings tree's nodes
// (an import's rebuild, the end of the program) wait while a message box or
// dialog of the settings program is open: the code behind that box still
// holds nodes, and uses them once the box returns.
#pragma once

#include <windows.h>

// A box or dialog of the main settings dialog is open: one it counts, any
// modal one that has disabled it, or the location picker.
bool SettingsBoxOpen();
// Posts the message to the window again once no box is open, from the message
// loop, so that whatever followed the box has run to its end first.
void PostWhenNoBoxOpen(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
