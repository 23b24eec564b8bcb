#include "common/platform/theme_library.h"

namespace {

ThemeLibrary g_themes;
bool g_triedOnce = false;

template <typename F>
void Bind(HMODULE module, F& slot, const char* name) {
    slot = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

ThemeLibrary& Themes() { return g_themes; }

void FreeThemeLibrary() {
    if (g_themes.module) FreeLibrary(g_themes.module);
    g_themes = ThemeLibrary();
}

bool LoadThemeLibrary() {
    FreeThemeLibrary();
    g_triedOnce = true;
    HMODULE module = LoadLibraryW(L"uxtheme.dll");
    if (!module) return false;
    g_themes.module = module;
    Bind(module, g_themes.IsThemeActive, "IsThemeActive");
    Bind(module, g_themes.GetCurrentThemeName, "GetCurrentThemeName");
    Bind(module, g_themes.SetWindowTheme, "SetWindowTheme");
    Bind(module, g_themes.DrawThemeText, "DrawThemeText");
    Bind(module, g_themes.DrawThemeBackground, "DrawThemeBackground");
    Bind(module, g_themes.DrawThemeParentBackground, "DrawThemeParentBackground");
    Bind(module, g_themes.GetThemeTextExtent, "GetThemeTextExtent");
    Bind(module, g_themes.GetThemeSysColor, "GetThemeSysColor");
    Bind(module, g_themes.GetThemeColor, "GetThemeColor");
    Bind(module, g_themes.GetWindowTheme, "GetWindowTheme");
    Bind(module, g_themes.OpenThemeData, "OpenThemeData");
    Bind(module, g_themes.CloseThemeData, "CloseThemeData");
    g_themes.available = g_themes.IsThemeActive && g_themes.GetCurrentThemeName;
    g_themes.themesActive = g_themes.available && g_themes.IsThemeActive();
    return g_themes.available;
}

bool EnsureThemeLibrary() {
    if (!g_triedOnce) LoadThemeLibrary();
    return g_themes.available;
}
