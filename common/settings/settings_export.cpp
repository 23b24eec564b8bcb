#include "common/settings/settings_export.h"

#include <windows.h>

#include <string>

#include "common/settings/ini_copy.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/named_mutex.h"
#include "common/platform/sync_service_notify.h"

namespace {

constexpr wchar_t kExportMain[] = L"default:main";
constexpr wchar_t kDescriptionKey[] = L"description";

// A new file holding only the UTF-16 byte-order mark, so that the profile
// functions write it as UTF-16.
bool CreateUnicodeFile(const wchar_t* file) {
    HANDLE h = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const unsigned char bom[2] = {0xFF, 0xFE};
    DWORD written = 0;
    bool ok = WriteFile(h, bom, 2, &written, nullptr) && written == 2;
    CloseHandle(h);
    return ok;
}

std::wstring ExportMoment() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t date[80] = {};
    wchar_t time[80] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, 0, &now, L"d MMM yyyy ", date, 80);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &now, L"HH:mm:ss", time, 80);
    return std::wstring(date) + time;
}

std::wstring Lower(std::wstring text) {
    if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

bool EndsWith(const std::wstring& text, const wchar_t* end) {
    size_t n = wcslen(end);
    return text.size() >= n && text.compare(text.size() - n, n, end) == 0;
}

// The part of a full path below the folder (with its trailing backslash),
// empty when it is not below it: by spelling, or for a folder reached under
// another name (a link, another drive), by the folder's identity.
std::wstring PartBelow(const std::wstring& folder, const std::wstring& path) {
    if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0) return path.substr(folder.size());
    for (size_t cut = path.rfind(L'\\'); cut != std::wstring::npos && cut > 0; cut = path.rfind(L'\\', cut - 1)) {
        if (IsSameFile(path.substr(0, cut + 1).c_str(), folder.c_str())) return path.substr(cut + 1);
    }
    return std::wstring();
}

// The files that come with the programs, or that they own, in the program
// folder: the settings files, the language files, programs, libraries, data
// files and pictures, and everything under skins\. Paths are compared whole,
// normalised and without regard to case; a stream name (":stream") counts as
// its file.
bool IsProgramFile(const wchar_t* file) {
    const std::wstring folder = Lower(FolderOfPath(FullPathOf(SettingsFolder().c_str())));
    if (folder.empty()) return false;
    std::wstring rest = Lower(PartBelow(folder, Lower(FullPathOf(file))));
    if (rest.empty()) return false;
    if (rest.compare(0, 6, L"skins\\") == 0) return true;
    if (rest.find(L'\\') != std::wstring::npos) return false;
    rest = rest.substr(0, rest.find(L':'));
    if (rest == L"default.ini" || rest.compare(0, 8, L"tempovia") == 0) return true;
    for (const wchar_t* ext : {L".exe", L".dll", L".txt", L".wav", L".png", L".jpg"}) {
        if (EndsWith(rest, ext)) return true;
    }
    return false;
}

}  // namespace

bool ExportSettings(const wchar_t* file) {
    if (!file || !*file || IsSameFile(file, UserIniPath().c_str()) || IsProgramFile(file)) return false;
    IniFileLock lock;
    const std::wstring& user = WindowsUserName();
    if (!CreateUnicodeFile(file)) return false;
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
