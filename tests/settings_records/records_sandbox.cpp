#include "tests/settings_records/records_sandbox.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "common/settings/global_settings_io.h"
#include "common/settings/ini_defaults.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/zones/local_zone.h"
#include "common/zones/zone_database.h"

namespace records_test {

namespace {

ZoneRecord g_testZones[3];
ZoneTables g_savedZones;

std::wstring NoZoneKey() { return L"Tokyo Standard Time"; }
std::wstring NoZoneName() { return L"(UTC+09:00) Osaka, Sapporo, Tokyo"; }
void NoReload() {}

void BuildZones() {
    g_testZones[kZoneLocal] = ZoneRecord{};
    GetLocalZoneRecord(&g_testZones[kZoneLocal]);

    ZoneRecord& tokyo = g_testZones[kZoneTokyo];
    tokyo = ZoneRecord{};
    tokyo.Bias = -540;
    CopyBounded(tokyo.StandardName, L"Tokyo Standard Time");
    CopyBounded(tokyo.DaylightName, L"Tokyo Daylight Time");
    tokyo.id = 235;
    CopyBounded(tokyo.displayName, L"(UTC+09:00) Osaka, Sapporo, Tokyo");
    CopyBounded(tokyo.key, L"Tokyo Standard Time");

    ZoneRecord& pacific = g_testZones[kZonePacific];
    pacific = ZoneRecord{};
    pacific.Bias = 480;
    CopyBounded(pacific.StandardName, L"Pacific Standard Time");
    pacific.StandardDate = SYSTEMTIME{0, 11, 0, 1, 2, 0, 0, 0};  // first Sunday of November, 02:00
    pacific.StandardBias = 0;
    CopyBounded(pacific.DaylightName, L"Pacific Daylight Time");
    pacific.DaylightDate = SYSTEMTIME{0, 3, 0, 2, 2, 0, 0, 0};  // second Sunday of March, 02:00
    pacific.DaylightBias = -60;
    pacific.id = 4;
    pacific.standardWeek = 1;
    pacific.daylightWeek = 2;
    CopyBounded(pacific.displayName, L"(UTC-08:00) Pacific Time (US & Canada)");
    CopyBounded(pacific.key, L"Pacific Standard Time");
}

}  // namespace

Sandbox::Sandbox(std::string_view defaultIni) {
    SetSettingsFolder(dir_.path());
    SetUserNameOverride(kUser);
    if (!defaultIni.empty()) WriteDefaultIni(defaultIni);

    DefaultsHooks hooks;
    hooks.currentZoneKey = NoZoneKey;
    hooks.currentZoneDisplayName = NoZoneName;
    hooks.reloadTimeService = NoReload;
    savedHooks_ = SetDefaultsHooks(hooks);

    AutostartLocation where{HKEY_CURRENT_USER, kTestRunKey, L"Tempovia"};
    SetAutostartLocation(&where);

    BuildZones();
    g_savedZones = g_zones;
    g_zones.live = g_testZones;
    g_zones.pristine = nullptr;
    g_zones.count = 3;
    g_zones.capacity = 3;
}

Sandbox::~Sandbox() {
    g_zones = g_savedZones;
    SetDefaultsHooks(savedHooks_);
    SetAutostartLocation(nullptr);
    SetUserNameOverride(nullptr);
    SetSettingsFolder(L"");
}

std::wstring Sandbox::userIni() const { return dir_.file(L"tempovia.ini"); }
std::wstring Sandbox::defaultIni() const { return dir_.file(L"default.ini"); }
void Sandbox::WriteUserIni(std::string_view bytes) const { testing_support::WriteBytes(userIni(), bytes); }
void Sandbox::WriteDefaultIni(std::string_view bytes) const { testing_support::WriteBytes(defaultIni(), bytes); }
const ZoneRecord& Sandbox::zone(int index) const { return g_testZones[index]; }

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME t{};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

SYSTEMTIME Normalised(SYSTEMTIME time) {
    FILETIME ft;
    SystemTimeToFileTime(&time, &ft);
    FileTimeToSystemTime(&ft, &time);
    return time;
}

uint64_t FileTimeOf(const SYSTEMTIME& utc) {
    FILETIME ft{};
    SystemTimeToFileTime(&utc, &ft);
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

std::wstring UserValue(const wchar_t* section, const wchar_t* key) {
    return ReadIniText(UserIniPath().c_str(), section, key, kMissingKey, 1024);
}

bool UserSectionExists(const wchar_t* section) {
    return !ReadIniKeyList(UserIniPath().c_str(), section).empty();
}

std::string DifferingRanges(const void* a, const void* b, size_t size) {
    const unsigned char* x = static_cast<const unsigned char*>(a);
    const unsigned char* y = static_cast<const unsigned char*>(b);
    std::string out;
    for (size_t i = 0; i < size;) {
        if (x[i] == y[i]) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < size && x[j] != y[j]) ++j;
        char range[40];
        snprintf(range, sizeof(range), "%zu-%zu ", i, j - 1);
        out += range;
        i = j;
    }
    return out;
}

}  // namespace records_test
