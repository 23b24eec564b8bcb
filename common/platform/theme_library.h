// The optional visual-styles library (uxtheme.dll), bound by name so that the
// programs also run where it is missing. One binding per process.
#pragma once

#include <windows.h>
#include <uxtheme.h>

struct ThemeLibrary {
    HMODULE module = nullptr;
    // True when the library and its two essential entries (IsThemeActive,
    // GetCurrentThemeName) are there; without them the programs draw as on
    // systems without visual styles.
    bool available = false;
    // What IsThemeActive answered at the last binding or theme check.
    bool themesActive = false;

    BOOL(WINAPI* IsThemeActive)() = nullptr;
    HRESULT(WINAPI* GetCurrentThemeName)(LPWSTR, int, LPWSTR, int, LPWSTR, int) = nullptr;
    HRESULT(WINAPI* SetWindowTheme)(HWND, LPCWSTR, LPCWSTR) = nullptr;
    HRESULT(WINAPI* DrawThemeText)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, LPCRECT) = nullptr;
    HRESULT(WINAPI* DrawThemeBackground)(HTHEME, HDC, int, int, LPCRECT, LPCRECT) = nullptr;
    HRESULT(WINAPI* DrawThemeParentBackground)(HWND, HDC, const RECT*) = nullptr;
    HRESULT(WINAPI* GetThemeTextExtent)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, LPCRECT, LPRECT) = nullptr;
    COLORREF(WINAPI* GetThemeSysColor)(HTHEME, int) = nullptr;
    HRESULT(WINAPI* GetThemeColor)(HTHEME, int, int, int, COLORREF*) = nullptr;
    HTHEME(WINAPI* GetWindowTheme)(HWND) = nullptr;
    HTHEME(WINAPI* OpenThemeData)(HWND, LPCWSTR) = nullptr;
    HRESULT(WINAPI* CloseThemeData)(HTHEME) = nullptr;
};

// The binding in force (empty until LoadThemeLibrary ran).
ThemeLibrary& Themes();

// Frees any earlier binding, loads uxtheme.dll and binds its entries by name
// (missing ones stay null); sets themesActive. True when available.
bool LoadThemeLibrary();

// Loads the library only when it was never loaded in this process.
bool EnsureThemeLibrary();

// Unbinds and frees the library.
void FreeThemeLibrary();
