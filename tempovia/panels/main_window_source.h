// The main program's window as this module sees it: the calendar's owner and
// the receiver of the timer panel's commands. The program hands in how to find
// it, so that the module does not depend on the program's start-up code.
#pragma once

#include <windows.h>

namespace panels {

using MainWindowFn = HWND (*)();
void SetMainWindowSource(MainWindowFn source);
// Null when no source was given or the program has no main window (yet).
HWND MainWindow();

}  // namespace panels
