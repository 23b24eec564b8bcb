#include "common/platform/file_paths.h"

#include <windows.h>

bool FileExists(const wchar_t* path) {
    if (!path || !*path) return false;
    DWORD a = GetFileAttributesW(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const wchar_t* path) {
    if (!path || !*path) return false;
    DWORD a = GetFileAttributesW(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ProgramFolder() {
    // Long paths exist even where MAX_PATH is the rule elsewhere: grow until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return std::wstring();
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        if (path.size() >= 32768) return std::wstring();
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

bool GetSkinFacePathIn(const std::wstring& programFolder, const wchar_t* skinName, std::wstring* facePath) {
    if (!skinName || !*skinName) return false;
    std::wstring folder = programFolder + L"skins\\" + skinName + L"\\";
    for (const wchar_t* face : {L"clkface.png", L"clkface.bmp"}) {
        std::wstring candidate = folder + face;
        if (FileExists(candidate.c_str())) {
            if (facePath) *facePath = candidate;
            return true;
        }
    }
    return false;
}

bool GetSkinFacePath(const wchar_t* skinName, std::wstring* facePath) {
    return GetSkinFacePathIn(ProgramFolder(), skinName, facePath);
}
