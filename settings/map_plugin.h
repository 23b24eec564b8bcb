// The settings program's binding of the map plug-in kartix.dll: loaded by
// name from the program folder, its exports bound by name.
#pragma once

#include <windows.h>

#include <string>

#include "kartix/map_errors.h"

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

// Loads "<folder>kartix.dll" (folder with its trailing backslash), binds the
// exports and calls InitMap with the city table. Returns 0, or
// MAP_ERR_LOAD_PLUGIN, MAP_ERR_IMPORT (the library is freed again) or what
// InitMap returned (the library stays loaded until UnloadMapPlugin).
DWORD LoadMapPlugin(const std::wstring& folder, CityRecord* cities, int count);
// FreeMap, then FreeLibrary; nothing when not loaded.
void UnloadMapPlugin();
