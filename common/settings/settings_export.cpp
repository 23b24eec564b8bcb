#include "common/settings/settings_export.h"

#include <windows.h>

#include <string>

#include "common/settings/file_identity.h"
#include "common/settings/ini_copy.h"
#include "common/settings/ini_encoding.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/named_mutex.h"
#include "common/platform/sync_service_notify.h"

namespace {

constexpr wchar_t kExportMain[] = L"default:main";
constexpr wchar_t kDescriptionKey[] = L"description";

std::wstring ExportMoment() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t date[80] = {};
    wchar_t time[80] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, 0, &now, L"d MMM yyyy ", date, 80);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &now, L"HH:mm:ss", time, 80);
    return std::wstring(date) + time;
}

// How deep below the program folder its files are looked for (skins keep
// their faces one or two folders down).
constexpr int kProgramFolderDepth = 4;

// True when a file in the folder or below it is the one with that identity.
// Linked folders are not entered: they lead elsewhere, or back here.
bool FolderHolds(const std::wstring& folder, const FileId& target, int depth) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool held = false;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (depth > 0 && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                held = FolderHolds(path + L"\\", target, depth - 1);
            }
            continue;
        }
        FileId id;
        held = FileIdentityOf(path.c_str(), id) && id == target;
    } while (!held && FindNextFileW(search, &found));
    FindClose(search);
    return held;
}

// The settings files the programs make when they are missing: a target of
// that name in the program folder is theirs before it exists.
bool IsSettingsFileName(std::wstring name) {
    name = name.substr(0, name.find(L':'));
    while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
    return _wcsicmp(name.c_str(), L"tempovia.ini") == 0 || _wcsicmp(name.c_str(), L"default.ini") == 0;
}

// The files of the programs: tempovia.ini and every file in the program
// folder or below it. The target is opened as it is spelt, so that any
// spelling that reaches one of them (a device or volume path, a link, a
// second name of the same file) is seen as that file; a target that does not
// exist yet is one of theirs only when its folder is the program folder and
// it names a settings file.
bool IsProgramFile(const wchar_t* file) {
    const std::wstring folder = SettingsFolder();
    FileId target;
    if (FileIdentityOf(file, target)) {
        FileId user;
        if (FileIdentityOf(UserIniPath().c_str(), user) && user == target) return true;
        return FolderHolds(folder, target, kProgramFolderDepth);
    }
    const std::wstring path = file;
    const size_t cut = path.find_last_of(L"\\/");
    const std::wstring parent = cut == std::wstring::npos ? L"." : cut == 0 ? path.substr(0, 1) : path.substr(0, cut);
    const std::wstring name = cut == std::wstring::npos ? path : path.substr(cut + 1);
    FileId parentId, programId;
    // "C:" alone is the drive's current folder; a path right below a root has the root.
    const std::wstring parentPath = parent.size() == 2 && parent[1] == L':' ? parent + L"\\" : parent;
    return IsSettingsFileName(name) && FileIdentityOf(parentPath.c_str(), parentId) &&
           FileIdentityOf(folder.c_str(), programId) && parentId == programId;
}

}  // namespace

bool ExportSettings(const wchar_t* file) {
    if (!file || !*file || IsSameFile(file, UserIniPath().c_str()) || IsProgramFile(file)) return false;
    // A copy made while another program rewrites the file could miss clocks.
    IniFileLock lock;
    if (!lock.held()) return false;
    const std::wstring& user = WindowsUserName();
    if (!CreateUnicodeIniFile(file, false)) return false;
    bool ok = CopyIniSections(UserIniPath().c_str(), user.c_str(), file, kDefaultPrefix);
    std::wstring description =
        L"Dravik World Clock settings exported by " + user + L" on " + ExportMoment();
    if (!WriteIniString(file, kExportMain, kDescriptionKey, description.c_str())) ok = false;
    return ok;
}

bool IsSettingsExport(const wchar_t* file) {
    if (!file || !*file || IsSameFile(file, UserIniPath().c_str())) return false;
    return !ReadIniText(file, kExportMain, kDescriptionKey).empty();
}

bool ImportSettings(const wchar_t* file) {
    if (!IsSettingsExport(file)) return false;
    IniFileLock lock;
    if (!lock.held()) return false;
    const std::wstring& prefix = UserPrefix();
    bool ok = CopyIniSections(file, kDefaultPrefix, UserIniPath().c_str(), prefix.c_str());
    std::wstring mainSection = prefix + L":main";
    DeleteIniKey(UserIniPath().c_str(), mainSection.c_str(), kDescriptionKey);
    // The time service reads `common` itself: an import that brought one asks
    // it to read the file again, now that the new keys are there.
    // It takes the lock to read, so it is asked once the lock is given back.
    if (!ReadIniKeyList(file, L"common").empty()) AfterIniLockReleased(ReloadSyncService);
    return ok;
}

bool BackUpUserSettings(const wchar_t* backup) {
    if (!backup || !*backup) return false;
    // The copy is of a whole file no other program is writing at the moment.
    IniFileLock lock;
    if (!lock.held()) return false;
    const std::wstring& ini = UserIniPath();
    if (GetFileAttributesW(ini.c_str()) == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
    return CopyFileW(ini.c_str(), backup, FALSE) != FALSE;
}
