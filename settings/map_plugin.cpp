#include "settings/map_plugin.h"

namespace {

MapPlugin g_plugin;

template <typename Fn>
void Bind(HMODULE module, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

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
    if (g_plugin.FreeMap) g_plugin.FreeMap();
    HMODULE module = g_plugin.module;
    g_plugin = MapPlugin();
    FreeLibrary(module);
}
