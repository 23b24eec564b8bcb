#include "common/settings/ini_defaults.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_read_scope.h"
#include "common/settings/ini_store.h"
#include "common/settings/ini_whole_file.h"
#include "common/settings/lock_failure.h"
#include "common/settings/named_mutex.h"
#include "common/zones/local_zone.h"
#include "common/platform/sync_service_notify.h"
#include "common/zones/zone_registry.h"

namespace {

constexpr int kMaxClockSections = 30;
constexpr int kMaxAlarmSections = 20;
constexpr int kMaxShippedChannels = 10;

// The registry key (or, with a value name, that value, which must fit in
// `chars`) of the zone whose "Std" name is the system's current standard
// name; empty when none matches.
std::wstring SystemZoneValue(const wchar_t* valueName, int chars) {
    wchar_t text[1024];
    int n = GetCurrentZoneKeyName(text, chars < 1024 ? chars : 1024, valueName);
    return n > 0 ? std::wstring(text, static_cast<size_t>(n)) : std::wstring();
}

std::wstring SystemZoneKey() { return SystemZoneValue(nullptr, 1024); }

std::wstring SystemZoneDisplayName() { return SystemZoneValue(L"Display", 256); }

void ShowIniLockFailure(DWORD failure) { ShowLockFailure(failure, kIniLockWaitMs); }

DefaultsHooks& Hooks() {
    static DefaultsHooks hooks{SystemZoneKey, SystemZoneDisplayName, ReloadSyncService, ShowIniLockFailure};
    return hooks;
}

// A default value whole: shipped texts such as addresses may pass the 255
// characters of an ordinary read, and a cut one must not reach the profile.
std::wstring ReadWholeValue(const wchar_t* file, const wchar_t* section, const wchar_t* key) {
    for (DWORD size = kIniValueChars;; size *= 4) {
        std::wstring value = ReadIniText(file, section, key, L"", size);
        if (value.size() + 1 < size || size >= 65536) return value;
    }
}

std::wstring Numbered(const wchar_t* text, int n) { return text + std::to_wstring(n); }

// Whether the section can be written whole from its lines as the profile
// functions hand them out without losing any: they leave out comment lines
// and lines without "=", and a write of the whole section empties a second
// section of that name. True for a missing file, a plain file that holds the
// section at most once, or a file without the section.
bool WholeSectionWriteKeepsAll(const wchar_t* user, const std::wstring& section) {
    if (const std::optional<std::vector<IniFileSection>> plain = ReadPlainIniFile(user)) {
        int heads = 0;
        for (const IniFileSection& s : *plain) heads += _wcsicmp(s.name.c_str(), section.c_str()) == 0 ? 1 : 0;
        return heads <= 1;
    }
    for (const std::wstring& name : ReadIniSectionNames(user)) {
        if (_wcsicmp(name.c_str(), section.c_str()) == 0) return false;
    }
    return true;
}

// Every key of the default section that the user section lacks, added to it
// in one write where that keeps all the section holds (a file of many
// sections is rewritten once, not per key).
// `addedAny` (when given) tells whether a key was added.
bool FillSection(const wchar_t* user, const std::wstring& userSection, const std::wstring& defaultSection,
                 bool* addedAny = nullptr) {
    if (addedAny) *addedAny = false;
    const wchar_t* defaults = DefaultIniPath().c_str();
    std::vector<std::wstring> keys = ReadIniKeyList(defaults, defaultSection.c_str());
    if (keys.empty()) return false;
    std::vector<std::wstring> addedKeys, addedValues;
    bool zoneSeeded = false;
    for (const std::wstring& key : keys) {
        wchar_t current[kIniValueChars];
        ReadIniString(user, userSection.c_str(), key.c_str(), kMissingKey, current, kIniValueChars);
        if (!IsMissingKey(current)) continue;
        // A key the default section names twice is added once, with its first value.
        bool twice = false;
        for (const std::wstring& done : addedKeys) twice = twice || _wcsicmp(done.c_str(), key.c_str()) == 0;
        if (twice) continue;
        std::wstring value = ReadWholeValue(defaults, defaultSection.c_str(), key.c_str());
        if (value.empty()) {
            if (_wcsicmp(key.c_str(), L"zone") == 0) {
                value = Hooks().currentZoneKey();
                zoneSeeded = !value.empty();
            } else if (_wcsicmp(key.c_str(), L"timezone") == 0) {
                value = Hooks().currentZoneDisplayName();
            }
        }
        addedKeys.push_back(key);
        addedValues.push_back(value);
    }
    if (addedKeys.empty()) return true;
    for (size_t i = 0; i < addedKeys.size(); ++i) {
        // The computer's zone stored by key starts with the system's
        // daylight-saving choice, as the clock page would store it, so that
        // the clock shows the computer's time and an unchanged Apply writes
        // nothing new; from then on the stored choice is the user's.
        if (zoneSeeded && _wcsicmp(addedKeys[i].c_str(), L"usedaylight") == 0)
            addedValues[i] = AutoDaylightActive() ? L"1" : L"0";
        addedValues[i] = IniTextForm(addedValues[i].c_str());
    }
    if (addedAny) *addedAny = true;
    if (!WholeSectionWriteKeepsAll(user, userSection)) {
        // Key by key: each write rewrites the file, but leaves the user's
        // other lines where they stand.
        for (size_t i = 0; i < addedKeys.size(); ++i) {
            WriteIniString(user, userSection.c_str(), addedKeys[i].c_str(), addedValues[i].c_str());
        }
        return true;
    }
    std::wstring lines = ReadIniSection(user, userSection.c_str());
    while (!lines.empty() && lines.back() == L'\0') lines.pop_back();
    if (!lines.empty()) lines += L'\0';
    for (size_t i = 0; i < addedKeys.size(); ++i) lines += addedKeys[i] + L'=' + addedValues[i] + L'\0';
    WriteIniSection(user, userSection.c_str(), lines);
    return true;
}

std::wstring DefaultSectionFor(const std::wstring& suffix, bool fromNamedSection) {
    std::wstring defaultSection = kDefaultPrefix;
    if (fromNamedSection) {
        if (suffix.empty() || suffix[0] != L':') defaultSection += L':';
        defaultSection += suffix;
    } else {
        defaultSection += L":clocks";
    }
    return defaultSection;
}

bool FillFromDefaults(const wchar_t* user, const std::wstring& prefix, const std::wstring& suffix,
                      bool fromNamedSection) {
    return FillSection(user, prefix + suffix, DefaultSectionFor(suffix, fromNamedSection));
}

// Seeds and completes the profile in `user`; returns the enabled clocks.
// commonChanged tells whether `common` got keys.
int SeedAndComplete(const wchar_t* user, const std::wstring& prefix, int& clockCount, bool& commonChanged) {
    clockCount = 0;
    commonChanged = false;
    int enabled = 0;
    const wchar_t* defaults = DefaultIniPath().c_str();
    std::wstring mainSection = prefix + L":main";
    int channels = ReadIniInt(user, mainSection.c_str(), L"rss_channels", -1);

    bool seeding = false;
    for (int i = 0; i <= kMaxClockSections; ++i) {
        std::wstring suffix = i == 0 ? std::wstring(L":main") : Numbered(L":clock", i);
        std::wstring section = prefix + suffix;
        bool empty = ReadIniKeyList(user, section.c_str()).empty();
        if ((empty && i == 1) || seeding) {
            seeding = true;
            std::wstring shipped = std::wstring(kDefaultPrefix) + suffix;
            empty = ReadIniKeyList(defaults, shipped.c_str()).empty();
        }
        if (empty && i > 0) break;

        if (i == 0) {
            FillSection(user, L"common", DefaultSectionFor(L"common", true), &commonChanged);
            FillFromDefaults(user, prefix, L":main", true);
            continue;
        }
        FillFromDefaults(user, prefix, suffix, seeding);
        if (seeding) {
            for (int j = 1; j <= kMaxAlarmSections; ++j) {
                if (!FillFromDefaults(user, prefix, suffix + Numbered(L":alarm", j), true)) break;
            }
        }
        ++clockCount;
        if (ReadIniInt(user, section.c_str(), L"enabled", 0) == 1) ++enabled;
    }
    if (clockCount > kMaxClockSections) clockCount = kMaxClockSections;

    if (channels == -1) {
        int filled = 0;
        for (int b = 1; b <= kMaxShippedChannels; ++b) {
            if (!FillFromDefaults(user, prefix, Numbered(L":rss", b), true)) break;
            ++filled;
        }
        WriteIniInt(user, mainSection.c_str(), L"rss_channels", filled);
    }
    return enabled;
}

// A first run seeds into a copy of tempovia.ini beside it, which then takes
// the file's place in one move: a start that is stopped half-way leaves the
// file without its first clock, and the next start seeds it again in full.
// The copy is a file this start made new under a name of its own, so that
// nothing left by another start (a stale or read-only file, a folder) is
// ever moved into place.
class SeedCopy {
public:
    explicit SeedCopy(const std::wstring& user) : user_(user) {
        RemoveStraySeeds();
        HANDLE h = CreateOwnFile();
        if (h == INVALID_HANDLE_VALUE) return;
        std::string bytes;
        userExisted_ = GetFileAttributesW(user.c_str()) != INVALID_FILE_ATTRIBUTES;
        bool ok = !userExisted_ || ReadWholeFile(user.c_str(), bytes, kMaxSeedBytes);
        DWORD written = 0;
        if (ok && !bytes.empty()) {
            ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                 written == bytes.size();
        }
        CloseHandle(h);
        ready_ = ok;
    }
    ~SeedCopy() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
        ForgetCachedIniFile(path_.c_str());
    }
    SeedCopy(const SeedCopy&) = delete;
    SeedCopy& operator=(const SeedCopy&) = delete;

    bool ready() const { return ready_; }
    const wchar_t* path() const { return path_.c_str(); }
    // Puts the seeded copy in the file's place; false when it could not.
    bool Commit() {
        ForgetCachedIniFile(user_.c_str());
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (!GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data)) return false;
        // Nothing was written into a copy of no file: there is nothing to put in place.
        if (!userExisted_ && data.nFileSizeLow == 0 && data.nFileSizeHigh == 0) return true;
        return MoveFileExW(path_.c_str(), user_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    }

private:
    static constexpr DWORD kMaxSeedBytes = 16u << 20;

    HANDLE CreateOwnFile() {
        const std::wstring stem = user_ + L"." + std::to_wstring(GetCurrentProcessId()) + L"-";
        for (unsigned n = GetTickCount() & 0xFFFF, tries = 0; tries < 100; ++n, ++tries) {
            const std::wstring path = stem + std::to_wstring(n) + L".seed";
            HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                   nullptr);
            if (h != INVALID_HANDLE_VALUE) {
                path_ = path;
                return h;
            }
            if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS &&
                GetLastError() != ERROR_ACCESS_DENIED) {
                break;
            }
        }
        return INVALID_HANDLE_VALUE;
    }

    // Seeding runs under the settings-file lock only, so while this start
    // holds it, every seed copy beside the file is the leftover of a start
    // that was stopped: read-only ones too go.
    void RemoveStraySeeds() {
        IniFileLock lock;
        if (!lock.held()) return;
        const size_t slash = user_.find_last_of(L"\\/");
        const std::wstring folder = slash == std::wstring::npos ? std::wstring() : user_.substr(0, slash + 1);
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((user_ + L".*.seed").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::wstring stray = folder + found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
                SetFileAttributesW(stray.c_str(), found.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
            }
            DeleteFileW(stray.c_str());
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }

    std::wstring user_;
    std::wstring path_;
    bool userExisted_ = false;
    bool ready_ = false;
};

}  // namespace

DefaultsHooks SetDefaultsHooks(const DefaultsHooks& hooks) {
    DefaultsHooks old = Hooks();
    DefaultsHooks real{SystemZoneKey, SystemZoneDisplayName, ReloadSyncService, ShowIniLockFailure};
    Hooks().currentZoneKey = hooks.currentZoneKey ? hooks.currentZoneKey : real.currentZoneKey;
    Hooks().currentZoneDisplayName =
        hooks.currentZoneDisplayName ? hooks.currentZoneDisplayName : real.currentZoneDisplayName;
    Hooks().reloadTimeService = hooks.reloadTimeService ? hooks.reloadTimeService : real.reloadTimeService;
    Hooks().lockFailed = hooks.lockFailed ? hooks.lockFailed : real.lockFailed;
    return old;
}

bool FillMissingFromDefaults(const std::wstring& prefix, const std::wstring& suffix, bool fromNamedSection) {
    return FillFromDefaults(UserIniPath().c_str(), prefix, suffix, fromNamedSection);
}

namespace {

// Seeds or completes tempovia.ini; returns the enabled clocks and tells
// whether `common` got keys.
int SeedOrComplete(const std::wstring& user, const std::wstring& prefix, int& clockCount, bool& commonChanged) {
    const std::wstring firstClock = prefix + L":clock1";
    if (!ReadIniKeyList(user.c_str(), firstClock.c_str()).empty()) {
        return SeedAndComplete(user.c_str(), prefix, clockCount, commonChanged);
    }
    SeedCopy seed(user);
    if (seed.ready()) {
        const int enabled = SeedAndComplete(seed.path(), prefix, clockCount, commonChanged);
        if (seed.Commit()) return enabled;
    }
    // No copy could be made or moved (a read-only folder, say): seed in place.
    return SeedAndComplete(user.c_str(), prefix, clockCount, commonChanged);
}

// The clock sections the file has, from the first on, as they are.
int CountClockSections(const wchar_t* user, const std::wstring& prefix, int& clockCount) {
    int enabled = 0;
    for (clockCount = 0; clockCount < kMaxClockSections; ++clockCount) {
        const std::wstring section = prefix + Numbered(L":clock", clockCount + 1);
        if (ReadIniKeyList(user, section.c_str()).empty()) break;
        if (ReadIniInt(user, section.c_str(), L"enabled", 0) == 1) ++enabled;
    }
    return enabled;
}

}  // namespace

int InitUserSettings(const std::wstring& prefix, int& clockCount) {
    // A copy of a file read without the lock may be one another program is
    // rewriting: nothing is seeded from it, nor moved into place.
    IniFileLock lock;
    if (!lock.held()) {
        Hooks().lockFailed(lock.failure());
        return CountClockSections(UserIniPath().c_str(), prefix, clockCount);
    }
    bool commonChanged = false;
    const int enabled = SeedOrComplete(UserIniPath(), prefix, clockCount, commonChanged);
    // The time service reads `common` of tempovia.ini itself: it is asked to
    // read it again once the new keys are in that file (a seeded copy is in
    // place by now), and only when they changed, since asking costs calls to
    // the service manager.
    // A load holds the settings-file lock meanwhile: the service, which takes
    // it to read, is asked once that hold ends.
    if (commonChanged) AfterIniLockReleased(Hooks().reloadTimeService);
    return enabled;
}
