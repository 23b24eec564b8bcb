// The installation mode "/inst": the map plug-in prepares its textures once,
// and the outcome is recorded in [map] of tempovia.ini.
#pragma once

#include <windows.h>

#include <string>

// "Install return code: %lu, system error: %lu"
std::wstring FormatInstallResult(DWORD code, DWORD systemError);

// Loads the plug-in from the folder, runs InstallMap when it loaded and has
// both InstallMap and GetLastSysError, unloads it, and writes [map]
// `initialized` and `install_result` into the user INI file. True when the
// map was installed.
bool RunMapInstall(const std::wstring& folder);
