#include "common/platform/theme_helpers.h"

#include "common/platform/theme_library.h"

HTHEME OpenThemeIfActive(HTHEME& theme, HWND window, const wchar_t* classList) {
    ThemeLibrary& lib = Themes();
    if (lib.available && lib.IsThemeActive() && lib.OpenThemeData) {
        lib.themesActive = true;
        theme = lib.OpenThemeData(window, classList);
    } else {
        lib.themesActive = false;
        theme = nullptr;
    }
    return theme;
}

void CloseThemeHandle(HTHEME& theme) {
    if (theme) {
        ThemeLibrary& lib = Themes();
        if (lib.CloseThemeData) lib.CloseThemeData(theme);
        theme = nullptr;
    }
}
