// The hosts' binding of the map plug-in kartix.dll: loaded by name from the
// program folder, its exports bound by name, and the texts the hosts show for
// its error codes. The main program's world map and the settings program's
// location picker and installation mode share the one binding of a process.
#pragma once

#include <windows.h>

#include <string>

#include "common/mapdialog/map_plugin_errors.h"

struct CityRecord;

struct MapPlugin {
    HMODULE module = nullptr;
    DWORD(__cdecl* InitMap)(CityRecord* cities, int count) = nullptr;
    BOOL(__cdecl* FreeMap)() = nullptr;
    HWND(__cdecl* CreateMapWindow)(HWND parent, int x, int y, int width, int height, int* status) = nullptr;
    DWORD(__cdecl* GetLastSysError)() = nullptr;
    void(__cdecl* SetLocalString)(int id, const wchar_t* text) = nullptr;  // optional
    DWORD(__cdecl* InstallMap)() = nullptr;  // bound, where present, for the installation mode
};

// The binding of this process (empty while the plug-in is not loaded).
const MapPlugin& MapPluginBinding();
inline bool MapPluginLoaded() { return MapPluginBinding().module != nullptr; }

// Loads "<folder>kartix.dll" (folder with its trailing backslash), binds the
// exports and calls InitMap with the city table. Returns 0, or
// MAP_ERR_LOAD_PLUGIN, MAP_ERR_IMPORT (the library is freed again) or what
// InitMap returned (the library stays loaded until UnloadMapPlugin, so that
// FreeMap undoes what InitMap did). A loaded plug-in answers 0 at once.
DWORD LoadMapPlugin(const std::wstring& folder, CityRecord* cities, int count);
// FreeMap, then FreeLibrary unless FreeMap failed (a worker of the plug-in
// may still run); nothing when not loaded.
void UnloadMapPlugin();

// The host's text for an error code: empty for 0, "Unknown error %lu" (the
// code without MAP_ERR_FLAG) for a code it does not know.
std::wstring MapErrorText(DWORD code);
// MapErrorText, and for codes above MAP_ERR_TEXTURE_FORMAT, when the plug-in
// is bound, CR LF and the system's text of its last Win32 error; at most
// 1023 characters.
std::wstring MapErrorMessage(DWORD code);
// Nothing for 0; otherwise a message box without owner, caption
// "World Map Error", MB_ICONERROR, text MapErrorMessage.
void ShowMapError(DWORD code);

// The message box of ShowMapError; tests replace it (null restores MessageBoxW).
using MapErrorBoxFn = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
MapErrorBoxFn SetMapErrorBoxFn(MapErrorBoxFn fn);
