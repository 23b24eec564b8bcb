#include "common/settings/ini_copy.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "common/settings/ini_store.h"

namespace {

constexpr int kMaxClockSections = 30;

std::wstring FullPath(const wchar_t* path) {
    DWORD n = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (n == 0) return path;
    std::vector<wchar_t> buf(n + 1);
    n = GetFullPathNameW(path, static_cast<DWORD>(buf.size()), buf.data(), nullptr);
    if (n == 0 || n >= buf.size()) return path;
    std::wstring full(buf.data(), n);
    // Short (8.3) names and the letter case the user typed vary; the long form does not.
    DWORD m = GetLongPathNameW(full.c_str(), nullptr, 0);
    if (m > 0) {
        std::vector<wchar_t> longBuf(m + 1);
        m = GetLongPathNameW(full.c_str(), longBuf.data(), static_cast<DWORD>(longBuf.size()));
        if (m > 0 && m < longBuf.size()) full.assign(longBuf.data(), m);
    }
    return full;
}

bool FileIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = GetFileInformationByHandle(h, &info) != FALSE;
    CloseHandle(h);
    return ok;
}

bool PrefixMatches(const std::wstring& part, const wchar_t* prefix) {
    size_t n = prefix ? wcslen(prefix) : 0;
    return part.size() == n && (n == 0 || _wcsnicmp(part.c_str(), prefix, n) == 0);
}

bool StartsWithNoCase(const std::wstring& text, size_t at, const wchar_t* word) {
    size_t n = wcslen(word);
    return text.size() >= at + n && _wcsnicmp(text.c_str() + at, word, n) == 0;
}

}  // namespace

bool IsSameFile(const wchar_t* a, const wchar_t* b) {
    if (!a || !b) return false;
    std::wstring fa = FullPath(a);
    std::wstring fb = FullPath(b);
    if (_wcsicmp(fa.c_str(), fb.c_str()) == 0) return true;
    BY_HANDLE_FILE_INFORMATION ia, ib;
    if (FileIdentity(fa, ia) && FileIdentity(fb, ib)) {
        return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
               ia.nFileIndexLow == ib.nFileIndexLow;
    }
    return false;
}

bool CopyIniSections(const wchar_t* sourceFile, const wchar_t* sourcePrefix, const wchar_t* targetFile,
                     const wchar_t* targetPrefix) {
    if (!sourceFile || !*sourceFile || !targetFile || !*targetFile) return false;
    if (IsSameFile(sourceFile, targetFile)) return false;

    bool ok = true;
    int highestClock = 0;
    int highestAlarm[kMaxClockSections + 1] = {};
    bool renaming = targetPrefix != nullptr;
    for (const std::wstring& name : ReadIniSectionNames(sourceFile)) {
        std::wstring target;
        size_t colon = name.find(L':');
        if (colon == std::wstring::npos) {
            target = name;
        } else {
            if (!PrefixMatches(name.substr(0, colon), sourcePrefix)) continue;
            target = (renaming ? std::wstring(targetPrefix) : name.substr(0, colon)) + name.substr(colon);
            if (StartsWithNoCase(name, colon, L":clock")) {
                const wchar_t* p = name.c_str() + colon + 6;
                wchar_t* end = nullptr;
                long clock = wcstol(p, &end, 10);
                if (end == p || clock < 1 || clock > kMaxClockSections) continue;
                size_t alarmAt = static_cast<size_t>(end - name.c_str());
                long alarm = 0;
                if (StartsWithNoCase(name, alarmAt, L":alarm")) alarm = wcstol(name.c_str() + alarmAt + 6, nullptr, 10);
                if (alarm > 0) {
                    if (alarm > highestAlarm[clock]) highestAlarm[clock] = static_cast<int>(alarm);
                } else if (clock > highestClock) {
                    highestClock = static_cast<int>(clock);
                }
            }
        }
        std::wstring lines = ReadIniSection(sourceFile, name.c_str());
        if (!WriteIniSection(targetFile, target.c_str(), lines)) ok = false;
    }

    // Readers stop at the first missing section, so cutting one behind the last
    // copied clock or alarm hides whatever stale ones follow.
    std::wstring prefix = renaming ? targetPrefix : (sourcePrefix ? sourcePrefix : L"");
    for (int j = 1; j <= highestClock; ++j) {
        std::wstring section = prefix + L":clock" + std::to_wstring(j) + L":alarm" + std::to_wstring(highestAlarm[j] + 1);
        DeleteIniSection(targetFile, section.c_str());
    }
    for (int k = highestClock + 1; k <= kMaxClockSections; ++k) {
        std::wstring section = prefix + L":clock" + std::to_wstring(k);
        DeleteIniSection(targetFile, section.c_str());
    }
    return ok;
}
