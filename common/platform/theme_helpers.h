// Theme handles for windows that draw themed text, when visual styles are on.
#pragma once

#include <windows.h>
#include <uxtheme.h>

// When the visual-styles library is bound and IsThemeActive answers true, the
// themes-active flag is set and theme becomes OpenThemeData(window, classList);
// otherwise theme is null and the flag cleared. Returns the handle.
HTHEME OpenThemeIfActive(HTHEME& theme, HWND window, const wchar_t* classList);

// CloseThemeData for a handle that is set; the handle is cleared.
void CloseThemeHandle(HTHEME& theme);
