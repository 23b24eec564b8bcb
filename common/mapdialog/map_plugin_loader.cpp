#include "common/mapdialog/map_plugin_loader.h"

#include <cwchar>

namespace {

MapPlugin g_plugin;
MapErrorBoxFn g_box = nullptr;

template <typename Fn>
void Bind(HMODULE module, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

constexpr size_t kMapErrorChars = 1024;

}  // namespace

const MapPlugin& MapPluginBinding() { return g_plugin; }

DWORD LoadMapPlugin(const std::wstring& folder, CityRecord* cities, int count) {
    if (g_plugin.module) return 0;
    const std::wstring path = folder + L"kartix.dll";
    HMODULE module = LoadLibraryW(path.c_str());
    if (!module) return MAP_ERR_LOAD_PLUGIN;
    MapPlugin p;
    p.module = module;
    Bind(module, "InitMap", p.InitMap);
    Bind(module, "FreeMap", p.FreeMap);
    Bind(module, "CreateMapWindow", p.CreateMapWindow);
    Bind(module, "GetLastSysError", p.GetLastSysError);
    Bind(module, "SetLocalString", p.SetLocalString);
    Bind(module, "InstallMap", p.InstallMap);
    if (!p.InitMap || !p.FreeMap || !p.CreateMapWindow || !p.GetLastSysError) {
        FreeLibrary(module);
        return MAP_ERR_IMPORT;
    }
    g_plugin = p;
    return g_plugin.InitMap(cities, count);
}

void UnloadMapPlugin() {
    if (!g_plugin.module) return;
    const BOOL freed = g_plugin.FreeMap ? g_plugin.FreeMap() : TRUE;
    HMODULE module = g_plugin.module;
    g_plugin = MapPlugin();
    // A plug-in that could not stop its workers within its bound keeps its
    // code in the process: a thread may still run it.
    if (freed) FreeLibrary(module);
}

std::wstring MapErrorText(DWORD code) {
    switch (code) {
        case 0:
            return L"";
        case MAP_ERR_LOAD_PLUGIN:
            return L"Can not load kartix.dll";
        case MAP_ERR_IMPORT:
            return L"Can not import required functions from kartix.dll";
        case MAP_ERR_TEXTURE_LOAD:
            return L"Can not load and adjust earth texture";
        case MAP_ERR_TEXTURE_FORMAT:
            return L"Illegal earth texture format";
        case MAP_ERR_TEXTURE_COPY:
            return L"Can not copy earth texture";
        case MAP_ERR_REGISTER_CLASS:
            return L"Error while registering window class";
        case MAP_ERR_CHOOSE_PIXEL_FORMAT:
            return L"ChoosePixelFormat() failed";
        case MAP_ERR_SET_PIXEL_FORMAT:
            return L"SetPixelFormat() failed";
        case MAP_ERR_MAKE_CURRENT:
            return L"wglMakeCurrent() failed";
        default: {
            wchar_t text[64] = {};
            std::swprintf(text, 64, L"Unknown error %lu", static_cast<unsigned long>(code & ~MAP_ERR_FLAG));
            return text;
        }
    }
}

std::wstring MapErrorMessage(DWORD code) {
    std::wstring text = MapErrorText(code);
    if (code > MAP_ERR_TEXTURE_FORMAT && g_plugin.GetLastSysError) {
        const DWORD error = g_plugin.GetLastSysError();
        wchar_t system[kMapErrorChars] = {};
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), system, kMapErrorChars, nullptr);
        system[kMapErrorChars - 1] = L'\0';
        text += L"\r\n";
        text += system;
    }
    if (text.size() > kMapErrorChars - 1) text.resize(kMapErrorChars - 1);
    return text;
}

void ShowMapError(DWORD code) {
    if (code == 0) return;
    const std::wstring text = MapErrorMessage(code);
    if (g_box) {
        g_box(nullptr, text.c_str(), L"World Map Error", MB_ICONERROR);
    } else {
        MessageBoxW(nullptr, text.c_str(), L"World Map Error", MB_ICONERROR);
    }
}

MapErrorBoxFn SetMapErrorBoxFn(MapErrorBoxFn fn) {
    MapErrorBoxFn old = g_box;
    g_box = fn;
    return old;
}
