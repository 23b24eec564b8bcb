#include "settings/map_install.h"

#include <cwchar>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/mapdialog/map_plugin_loader.h"

std::wstring FormatInstallResult(DWORD code, DWORD systemError) {
    wchar_t text[96] = {};
    swprintf(text, 96, L"Install return code: %lu, system error: %lu", static_cast<unsigned long>(code),
             static_cast<unsigned long>(systemError));
    return text;
}

bool RunMapInstall(const std::wstring& folder) {
    // The table is handed to InitMap in place; installing needs no cities.
    DWORD code = LoadMapPlugin(folder, nullptr, 0);
    DWORD systemError = 0;
    bool installed = false;
    if (code == 0) {
        const MapPlugin& plugin = MapPluginBinding();
        if (plugin.InstallMap && plugin.GetLastSysError) {
            code = plugin.InstallMap();
            installed = code == 0;
            if (!installed) systemError = plugin.GetLastSysError();
        } else {
            // A plug-in that cannot install must not read as installed.
            code = MAP_ERR_IMPORT;
        }
    }
    UnloadMapPlugin();

    const wchar_t* ini = UserIniPath().c_str();
    WriteIniFlag(ini, L"map", L"initialized", installed);
    WriteIniString(ini, L"map", L"install_result", FormatInstallResult(code & ~MAP_ERR_FLAG, systemError).c_str());
    return installed;
}
