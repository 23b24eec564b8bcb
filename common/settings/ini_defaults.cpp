#include "common/settings/ini_defaults.h"

#include <windows.h>

#include <vector>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/time/sync_service_notify.h"
#include "common/time/zone_registry.h"

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

void ReloadTimeService() { NotifySyncService(SYNC_CONTROL_RELOAD); }

DefaultsHooks& Hooks() {
    static DefaultsHooks hooks{SystemZoneKey, SystemZoneDisplayName, ReloadTimeService};
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

}  // namespace

DefaultsHooks SetDefaultsHooks(const DefaultsHooks& hooks) {
    DefaultsHooks old = Hooks();
    DefaultsHooks real{SystemZoneKey, SystemZoneDisplayName, ReloadTimeService};
    Hooks().currentZoneKey = hooks.currentZoneKey ? hooks.currentZoneKey : real.currentZoneKey;
    Hooks().currentZoneDisplayName =
        hooks.currentZoneDisplayName ? hooks.currentZoneDisplayName : real.currentZoneDisplayName;
    Hooks().reloadTimeService = hooks.reloadTimeService ? hooks.reloadTimeService : real.reloadTimeService;
    return old;
}

bool FillMissingFromDefaults(const std::wstring& prefix, const std::wstring& suffix, bool fromNamedSection) {
    std::wstring defaultSection = kDefaultPrefix;
    if (fromNamedSection) {
        if (suffix.empty() || suffix[0] != L':') defaultSection += L':';
        defaultSection += suffix;
    } else {
        defaultSection += L":clocks";
    }
    std::wstring userSection = prefix + suffix;
    const wchar_t* defaults = DefaultIniPath().c_str();
    const wchar_t* user = UserIniPath().c_str();

    std::vector<std::wstring> keys = ReadIniKeyList(defaults, defaultSection.c_str());
    if (keys.empty()) return false;
    for (const std::wstring& key : keys) {
        wchar_t current[kIniValueChars];
        ReadIniString(user, userSection.c_str(), key.c_str(), kMissingKey, current, kIniValueChars);
        if (!IsMissingKey(current)) continue;
        std::wstring value = ReadWholeValue(defaults, defaultSection.c_str(), key.c_str());
        if (value.empty()) {
            if (_wcsicmp(key.c_str(), L"zone") == 0) {
                value = Hooks().currentZoneKey();
            } else if (_wcsicmp(key.c_str(), L"timezone") == 0) {
                value = Hooks().currentZoneDisplayName();
            }
        }
        WriteIniText(user, userSection.c_str(), key.c_str(), value.c_str());
    }
    return true;
}

int InitUserSettings(const std::wstring& prefix, int& clockCount) {
    clockCount = 0;
    int enabled = 0;
    const wchar_t* user = UserIniPath().c_str();
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
            FillMissingFromDefaults(L"", L"common", true);
            Hooks().reloadTimeService();
            FillMissingFromDefaults(prefix, L":main", true);
            continue;
        }
        FillMissingFromDefaults(prefix, suffix, seeding);
        if (seeding) {
            for (int j = 1; j <= kMaxAlarmSections; ++j) {
                if (!FillMissingFromDefaults(prefix, suffix + Numbered(L":alarm", j), true)) break;
            }
        }
        ++clockCount;
        if (ReadIniInt(user, section.c_str(), L"enabled", 0) == 1) ++enabled;
    }
    if (clockCount > kMaxClockSections) clockCount = kMaxClockSections;

    if (channels == -1) {
        int filled = 0;
        for (int b = 1; b <= kMaxShippedChannels; ++b) {
            if (!FillMissingFromDefaults(prefix, Numbered(L":rss", b), true)) break;
            ++filled;
        }
        WriteIniInt(user, mainSection.c_str(), L"rss_channels", filled);
    }
    return enabled;
}
