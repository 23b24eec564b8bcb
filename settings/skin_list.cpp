#include "settings/skin_list.h"

#include <string>

#include "common/graphics/faces/graphics.h"
#include "common/settings/ini_paths.h"
#include "common/platform/file_paths.h"

bool IsAnalogueSkin(const wchar_t* name) { return GetSkinFacePathIn(SettingsFolder(), name); }

bool IsDayFaceSkin(const wchar_t* name) {
    if (!name || !*name) return false;
    const std::wstring ini = SkinsFolder() + name + L"\\skin.ini";
    return GetPrivateProfileIntW(L"clock", L"face24h", 0, ini.c_str()) != 0;
}

int FillSkinList(HWND combo, bool includeAnalogue) {
    if (!combo) return 0;
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    WIN32_FIND_DATAW found = {};
    const std::wstring pattern = SkinsFolder() + L"*";
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int added = 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        if (wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0) continue;
        if (!includeAnalogue && IsAnalogueSkin(found.cFileName)) continue;
        if (SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName)) >= 0) ++added;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return added;
}

int FillSkinListWithStyles(HWND combo, bool includeAnalogue) {
    if (!combo) return 0;
    const int folders = FillSkinList(combo, includeAnalogue);
    SendMessageW(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(kSystemClockStyleName));
    SendMessageW(combo, CB_INSERTSTRING, 1, reinterpret_cast<LPARAM>(kClassicStyleName));
    return folders + 2;
}
