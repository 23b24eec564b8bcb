#include "common/settings/ini_paths.h"

#include <windows.h>

#include "common/platform/file_paths.h"

namespace {

struct PathState {
    bool folderSet = false;
    std::wstring folder;
    std::wstring userIni;
    std::wstring defaultIni;
    bool userSet = false;
    std::wstring userName;
    std::wstring prefix;
};

PathState& State() {
    static PathState state;
    return state;
}

void ApplyFolder(std::wstring folder) {
    PathState& s = State();
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    s.folder = std::move(folder);
    s.userIni = s.folder + L"tempovia.ini";
    s.defaultIni = s.folder + L"default.ini";
    s.folderSet = true;
}

PathState& FolderState() {
    PathState& s = State();
    if (!s.folderSet) ApplyFolder(ProgramFolder());
    return s;
}

void ApplyUser(std::wstring name) {
    PathState& s = State();
    s.userName = std::move(name);
    s.prefix = s.userName;
    if (!s.prefix.empty()) CharLowerW(s.prefix.data());
    s.userSet = true;
}

PathState& UserState() {
    PathState& s = State();
    if (!s.userSet) {
        wchar_t name[64] = {};
        DWORD size = 64;
        if (!GetUserNameW(name, &size)) name[0] = 0;
        name[63] = 0;
        ApplyUser(name);
    }
    return s;
}

}  // namespace

std::wstring FolderOfPath(const std::wstring& path) {
    size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

const std::wstring& SettingsFolder() { return FolderState().folder; }
const std::wstring& UserIniPath() { return FolderState().userIni; }
const std::wstring& DefaultIniPath() { return FolderState().defaultIni; }
std::wstring SkinsFolder() { return FolderState().folder + L"skins\\"; }

const std::wstring& WindowsUserName() { return UserState().userName; }
const std::wstring& UserPrefix() { return UserState().prefix; }

void ResetSettingsFolder() { ApplyFolder(ProgramFolder()); }

void SetSettingsFolder(const std::wstring& folder) {
    if (folder.empty()) {
        ResetSettingsFolder();
    } else {
        ApplyFolder(folder);
    }
}

void SetUserNameOverride(const wchar_t* name) {
    if (name) {
        ApplyUser(std::wstring(name).substr(0, 63));
    } else {
        State().userSet = false;
        UserState();
    }
}
