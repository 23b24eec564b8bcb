#include "velmora/sync_settings.h"

#include <mutex>
#include <optional>
#include <string>

#include "common/settings/global_settings_io.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/platform/registry_utils.h"

namespace {

const PolicyLocation kMachinePolicy{HKEY_LOCAL_MACHINE, L"Software\\Qelvar\\Tempovia"};
const PolicyLocation* g_policy = &kMachinePolicy;

std::mutex g_currentLock;  // the service thread reloads while a sync copies
SyncSettings g_current{0, kSyncHourly, 1000, 0, L""};

}  // namespace

void SetSyncPolicyLocation(const PolicyLocation* location) { g_policy = location ? location : &kMachinePolicy; }

bool SyncDefaultsInForce() {
    // Any other outcome (no key, no value, another size) reads as 1.
    return RegReadDword(g_policy->root, g_policy->key, L"no_preferences", 1) == 0;
}

bool ReadSyncSettingsInto(SyncSettings& settings, DWORD lockWaitMs, bool* busy) {
    const bool defaults = SyncDefaultsInForce();
    if (busy) *busy = false;
    // default.ini is shipped, not rewritten: only tempovia.ini needs the lock.
    std::optional<IniFileLock> lock;
    if (!defaults) {
        lock.emplace(lockWaitMs);
        if (!lock->held()) {
            if (busy) *busy = true;
            return settings.serverText[0] != 0;
        }
    }
    const std::wstring defaultSection = std::wstring(kDefaultPrefix) + L":common";
    const wchar_t* file = defaults ? DefaultIniPath().c_str() : UserIniPath().c_str();
    const wchar_t* section = defaults ? defaultSection.c_str() : L"common";

    settings.autosync = ReadIniInt(file, section, L"autosync", 0);
    settings.synctype = ReadIniInt(file, section, L"synctype", kSyncHourly);
    settings.httpSyncWait = ReadIniInt(file, section, L"http_sync_wait", 1000);
    settings.server = ReadIniInt(file, section, L"server", 0);

    // The programs fall back to a public server when none is named; the
    // service must not, so that a missing key means no synchronisation.
    settings.serverText[0] = 0;
    const std::wstring key = L"server" + std::to_wstring(settings.server);
    if (IniKeyExists(file, section, key.c_str())) {
        ReadTimeServer(file, section, settings.server, settings.serverText, kSyncServerChars);
    }
    return settings.serverText[0] != 0;
}

SyncSettings CurrentSyncSettings() {
    std::lock_guard<std::mutex> hold(g_currentLock);
    return g_current;
}

bool ReadSyncSettings(DWORD lockWaitMs, bool* busy) {
    SyncSettings read = CurrentSyncSettings();
    const bool named = ReadSyncSettingsInto(read, lockWaitMs, busy);
    std::lock_guard<std::mutex> hold(g_currentLock);
    g_current = read;
    return named;
}
