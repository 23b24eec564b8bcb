#include "kartix/map_state.h"

namespace {

HDC g_surfaceOverride = nullptr;
DWORD g_surfaceFlags = kMapPixelFormatFlags;

}  // namespace

void SetMapSurfaceOverride(HDC dc, DWORD pixelFormatFlags) {
    g_surfaceOverride = dc;
    g_surfaceFlags = dc ? pixelFormatFlags : kMapPixelFormatFlags;
}

HDC MapSurfaceOverride() { return g_surfaceOverride; }

DWORD MapSurfacePixelFormatFlags() { return g_surfaceFlags; }

MapState& Map() {
    static MapState state;
    return state;
}

std::wstring ProgramFolderFromCommandLine(const wchar_t* commandLine) {
    if (!commandLine) return std::wstring();
    std::wstring path;
    if (commandLine[0] == L'"') {
        const wchar_t* start = commandLine + 1;
        const wchar_t* end = wcschr(start, L'"');
        path.assign(start, end ? end : start + wcslen(start));
    } else {
        path = commandLine;
    }
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    path.resize(slash + 1);
    return path;
}

void StoreLocalString(int id, const wchar_t* text) {
    if (!text) return;
    Map().localStrings[id] = text;
}

std::wstring GetLocalString(int id, const wchar_t* fallback) {
    const auto& strings = Map().localStrings;
    auto it = strings.find(id);
    if (it != strings.end()) return it->second;
    return fallback ? fallback : L"";
}
