#include "common/settings/ini_divert.h"

#include <windows.h>

#include <cwchar>

#include "common/settings/ini_encoding.h"
#include "common/settings/ini_read_scope.h"
#include "common/settings/ini_store.h"

namespace {

constexpr wchar_t kDeletedPrefix[] = L"deleted:";

thread_local const IniWriteDiversion* t_diversion = nullptr;

}  // namespace

IniWriteDiversion::IniWriteDiversion(const std::wstring& file, const std::wstring& sideFile)
    : file_(file), sideFile_(sideFile), outer_(t_diversion) {
    t_diversion = this;
}

IniWriteDiversion::~IniWriteDiversion() { t_diversion = outer_; }

bool IniWritesDiverted(const wchar_t* file) {
    return t_diversion && file && _wcsicmp(file, t_diversion->file().c_str()) == 0;
}

bool DivertIniWrite(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    if (!t_diversion || !section || !key) return false;
    const wchar_t* side = t_diversion->sideFile().c_str();
    if (!CreateUnicodeIniFile(side, true)) return false;
    // The side file keeps the net effect: a key is either written or deleted.
    const std::wstring deleted = kDeletedPrefix + std::wstring(section);
    if (value) {
        WritePrivateProfileStringW(deleted.c_str(), key, nullptr, side);
        return WritePrivateProfileStringW(section, key, value, side) != FALSE;
    }
    WritePrivateProfileStringW(section, key, nullptr, side);
    return WritePrivateProfileStringW(deleted.c_str(), key, L"", side) != FALSE;
}

bool ApplyKeptIniWrites(const wchar_t* sideFile, const wchar_t* file) {
    if (!sideFile || GetFileAttributesW(sideFile) == INVALID_FILE_ATTRIBUTES) return true;
    const size_t prefixChars = wcslen(kDeletedPrefix);
    bool ok = true;
    for (const std::wstring& section : ReadIniSectionNames(sideFile)) {
        const bool deletions = section.compare(0, prefixChars, kDeletedPrefix) == 0;
        const std::wstring target = deletions ? section.substr(prefixChars) : section;
        // The lines as written, quotes included, so each value goes back as it was given.
        const std::wstring lines = ReadIniSectionFromFile(sideFile, section.c_str());
        for (size_t at = 0; at < lines.size() && lines[at];) {
            const std::wstring line(lines.c_str() + at);
            at += line.size() + 1;
            const size_t equals = line.find(L'=');
            if (equals == std::wstring::npos || equals == 0) continue;
            const std::wstring key = line.substr(0, equals);
            if (deletions)
                ok &= DeleteIniKey(file, target.c_str(), key.c_str());
            else
                ok &= WriteIniString(file, target.c_str(), key.c_str(), line.c_str() + equals + 1);
        }
    }
    return ok && DeleteFileW(sideFile) != FALSE;
}
