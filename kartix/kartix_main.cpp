// kartix.dll: the world map plug-in. Hosts bind these exports by name.
#include <windows.h>

#include "common/mapdialog/map_plugin_errors.h"
#include "kartix/map_exports.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        MapAttach(instance);
    }
    return TRUE;
}

// No exception may cross into a host, which may not even be C++.
extern "C" {

DWORD __cdecl InitMap(CityRecord* cities, int count) {
    try {
        return MapInit(cities, count);
    } catch (...) {
        return MAP_ERR_REGISTER_CLASS;
    }
}

HWND __cdecl CreateMapWindow(HWND parent, int x, int y, int width, int height, int* status) {
    try {
        return MapCreateWindow(parent, x, y, width, height, status);
    } catch (...) {
        if (status) *status = static_cast<int>(MAP_ERR_MAKE_CURRENT);
        return nullptr;
    }
}

BOOL __cdecl FreeMap() {
    try {
        return MapFree();
    } catch (...) {
        return FALSE;
    }
}

DWORD __cdecl GetLastSysError() { return MapLastSysError(); }

void __cdecl SetLocalString(int id, const wchar_t* text) {
    try {
        MapSetLocalString(id, text);
    } catch (...) {
        // The string is optional: without memory for it the default stays.
    }
}

DWORD __cdecl InstallMap() {
    try {
        return MapInstall();
    } catch (...) {
        return MAP_ERR_TEXTURE_LOAD;
    }
}

}  // extern "C"
