// The WM_COMMAND menu commands that the main window carries out, whoever
// sends them: its own menu, the desktop clocks, the timer panel or the
// taskbar clock. "Current" is the clock the last menu opened for.
#pragma once

#include <windows.h>

// Carries out a command; false for an id that is not a menu command.
// Commands that need a clock do nothing while the current index is not one.
bool RunTrayCommand(HWND mainWindow, WORD id);

// Start or pause (443), stop (445) or reset (448) the current clock when it
// is a timer or stopwatch; then the timer panel closes, the states are saved
// and the taskbar clock gets the data.
void TimerCommand(HWND mainWindow, WORD id);
