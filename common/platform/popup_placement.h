// Where a pop-up (tooltip, notifier, menu-like window) goes beside a rectangle.
#pragma once

#include <windows.h>

// The pop-up's top-left corner, in screen coordinates, for a pop-up of `size`
// beside `rect` (screen coordinates) inside `bounds` (the monitor): below the
// rectangle when it fits, else above, else beside it; kept inside the
// monitor's left and right edges.
POINT PlacePopupInBounds(const RECT& bounds, const RECT& rect, SIZE size);

// The same for a rectangle given in the client coordinates of `window`, on
// the window's monitor (the primary one when it is on none); the answer is in
// the window's client coordinates.
POINT PlacePopupNearRect(HWND window, const RECT& rect, SIZE size);
