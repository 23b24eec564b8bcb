// A window's place kept in the settings: read back from its text, and
// whether a monitor still shows it.
#pragma once

#include <windows.h>

// "left, top, right, bottom" in any width: a window on a monitor left of or
// above the main one has coordinates of five characters and more.
bool ParseWindowRect(const wchar_t* text, RECT& rect);

// A monitor shows some of the rectangle: a place on a monitor that is no
// longer attached would open the window out of sight.
bool IsOnSomeMonitor(const RECT& rect);
