// Window classes get their small (title bar) icon from here.
#pragma once

#include <windows.h>

// The small size of icon resource `id` of the module, loaded once and shared,
// for a window class: without one, every registration has the system scale
// its own copy from the resource, a few milliseconds each.
HICON SharedSmallIcon(HINSTANCE instance, WORD id);
