#include "kartix/map_exports.h"

#include <string>

#include "common/mapdialog/map_plugin_errors.h"
#include "common/platform/windows_version.h"
#include "common/platform/text_bounds.h"
#include "kartix/jpeg_header.h"
#include "kartix/map_state.h"
#include "kartix/map_window.h"
#include "kartix/map_workers.h"
#include "kartix/planet_textures.h"

namespace {

constexpr unsigned long long kFallbackMemory = 0xC000000;
constexpr int kMinTextureSide = 16;

// Waits up to ms for the texture mutex and frees the texture data under it.
void FreeTextures(MapState& s, DWORD ms) {
    if (!s.textureMutex) return;
    const DWORD wait = WaitForSingleObject(s.textureMutex, ms);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) return;
    FreeAllTextures();
    ReleaseMutex(s.textureMutex);
}

// A window that was not made, whatever stopped it (the system, the parent,
// an exception in WM_CREATE), is a failure. Only the GL steps have codes of
// their own; any other cause gives MAP_ERR_MAKE_CURRENT with the system's error.
void ReportWindowFailure(MapState& s) {
    if (s.creationStatus != 0) return;
    const DWORD error = GetLastError();
    s.creationStatus = MAP_ERR_MAKE_CURRENT;
    s.lastSysError = error != 0 ? error : ERROR_CANNOT_MAKE;
}

}  // namespace

void MapAttach(HMODULE module) { Map().module = module; }

DWORD MapInit(CityRecord* cities, int count) {
    MapState& s = Map();
    const std::wstring folder = ProgramFolderFromCommandLine(GetCommandLineW());
    // A folder that does not fit is no folder: a cut path would name another place.
    CopyBounded(s.programFolder, folder.size() < kProgramFolderChars ? folder.c_str() : L"");
    const std::wstring settings = std::wstring(s.programFolder) + kSettingsFileName;
    CopyBounded(s.settingsPath, settings.c_str());
    // A table the plug-in cannot walk counts as empty.
    s.cities = (cities && count > 0) ? cities : nullptr;
    s.cityCount = s.cities ? count : 0;
    s.windowsXp = IsWindowsVersionAtLeast(5, 1);
    if (!s.textureMutex) s.textureMutex = CreateMutexW(nullptr, FALSE, nullptr);
    if (!RegisterMapClass(s.module)) {
        s.lastSysError = GetLastError();
        return MAP_ERR_REGISTER_CLASS;
    }
    s.classRegistered = true;
    return 0;
}

HWND MapCreateWindow(HWND parent, int x, int y, int width, int height, int* status) {
    MapState& s = Map();
    s.creationStatus = 0;
    HWND window = nullptr;
    if (!s.classRegistered) {
        // Without InitMap there is no class: report it rather than a bare NULL.
        s.creationStatus = MAP_ERR_REGISTER_CLASS;
        s.lastSysError = ERROR_CANNOT_FIND_WND_CLASS;
    } else {
        window = CreateWindowExW(0, kMapWindowClass, kMapWindowTitle, kMapChildStyle, x, y, width, height, parent,
                                 nullptr, s.module, nullptr);
        if (!window) ReportWindowFailure(s);
    }
    if (status) *status = static_cast<int>(s.creationStatus);
    return window;
}

BOOL MapFree() {
    MapState& s = Map();
    // No worker may run in the plug-in once the host frees it, nor fill the
    // textures after they are freed. A host ending its program must not wait
    // for a decode of a large map: the workers are cut short, and one that
    // still runs after the bound keeps the textures, the mutex it releases and
    // the library (FALSE tells the host so).
    const bool workersEnded = StopMapWorkers(kMapFreeWaitMs);
    if (workersEnded) FreeTextures(s, kMapFreeWaitMs);
    const BOOL unregistered = UnregisterClassW(kMapWindowClass, s.module);
    if (unregistered) s.classRegistered = false;
    // The host may drop its table once the plug-in is freed.
    s.cities = nullptr;
    s.cityCount = 0;
    if (!workersEnded) return FALSE;
    if (!s.textureMutex) return unregistered;
    const BOOL closed = CloseHandle(s.textureMutex);
    s.textureMutex = nullptr;
    return closed;
}

DWORD MapLastSysError() { return Map().lastSysError; }

void MapSetLocalString(int id, const wchar_t* text) { StoreLocalString(id, text); }

unsigned long long MapMemoryLimit() {
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof(memory);
    return GlobalMemoryStatusEx(&memory) ? memory.ullTotalPhys : kFallbackMemory;
}

DWORD CheckEarthTexture(const wchar_t* path, unsigned long long memoryLimit) {
    int width = 0, height = 0, components = 0;
    bool held = false;
    // A file too short for the picture it claims would be decoded as garbage,
    // or not at all, and is refused before any of it is installed.
    if (!ReadJpegHeader(path, width, height, components, &held) || !held) return MAP_ERR_TEXTURE_LOAD;
    if (width < kMinTextureSide || height < kMinTextureSide || (components != 3 && components != 4))
        return MAP_ERR_TEXTURE_FORMAT;
    const unsigned long long bytes = static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height) *
                                     static_cast<unsigned long long>(components);
    if (bytes > memoryLimit / 3) return MAP_ERR_TEXTURE_LOAD;
    return 0;
}

DWORD MapInstall() {
    MapState& s = Map();
    if (!s.classRegistered) {
        s.lastSysError = ERROR_CANNOT_FIND_WND_CLASS;
        return MAP_ERR_REGISTER_CLASS;
    }
    // The install window would be refused, and the textures it frees are
    // the open window's.
    if (s.window && IsWindow(s.window)) {
        s.lastSysError = ERROR_BUSY;
        return MAP_ERR_MAKE_CURRENT;
    }
    const std::wstring earth = std::wstring(s.programFolder) + L"map.jpg";
    const std::wstring backup = std::wstring(s.programFolder) + L"map0.jpg";
    bool freshCopy = false;
    if (GetFileAttributesW(backup.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (!CopyFileW(earth.c_str(), backup.c_str(), TRUE)) {
            s.lastSysError = GetLastError();
            return MAP_ERR_TEXTURE_COPY;
        }
        freshCopy = true;
    }
    const unsigned long long limit = MapMemoryLimit();
    DWORD check = CheckEarthTexture(earth.c_str(), limit);
    if (check != 0) {
        if (freshCopy) return check;
        // A bad map.jpg is replaced by the copy made at the first install.
        if (!CopyFileW(backup.c_str(), earth.c_str(), FALSE)) {
            s.lastSysError = GetLastError();
            return MAP_ERR_TEXTURE_COPY;
        }
        check = CheckEarthTexture(earth.c_str(), limit);
        if (check != 0) return check;
    }
    s.installMode = true;
    s.creationStatus = 0;
    HWND window = CreateWindowExW(0, kMapWindowClass, kMapWindowTitle, kMapInstallStyle, 0, 0, 320, 200, nullptr,
                                  nullptr, s.module, nullptr);
    if (!window) ReportWindowFailure(s);
    const DWORD status = s.creationStatus;
    if (window) DestroyWindow(window);
    FreeTextures(s, kFreeWaitMs);
    s.installMode = false;
    return window ? 0 : status;
}
