#include "tempovia/main/data_services.h"

#include <string>

#include "common/settings/ini_arrays.h"
#include "common/zones/city_list.h"
#include "common/records/clock_table.h"
#include "common/zones/local_zone.h"
#include "common/settings/timer_state.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_updates.h"
#include "common/records/protocol.h"

static_assert(sizeof(CityRecord) == kCityRecordBytes);

bool LoadDataFiles(const wchar_t* folder) {
    const std::wstring base = folder ? folder : L"";
    bool ok = LoadZoneDatabase((base + L"timezones.txt").c_str());
    if (ok) {
        ok = LoadZoneUpdates((base + L"tz_changes.txt").c_str());
        if (ok && g_zoneUpdates.count > 0) {
            SYSTEMTIME now = {};
            GetSystemTime(&now);
            ZoneUpdatesDue(now);
        }
    }
    // Cities need the zones; without them the list cannot be read.
    if (!LoadCityList((base + L"cities.txt").c_str())) ok = false;
    return ok;
}

void FreeDataFiles() {
    FreeCityList();
    FreeZoneUpdates();
    FreeZoneTables();
}

const void* CityTableBytes(std::size_t& count) {
    count = g_cities.cities && g_cities.count > 0 ? static_cast<std::size_t>(g_cities.count) : 0;
    return count ? g_cities.cities : nullptr;
}

int CityCount() { return g_cities.cities ? g_cities.count : 0; }

void RebuildLocalZone() { RefreshLocalZone(); }

bool RestorePristineZones() {
    if (!g_zones.live) return false;
    ResetZoneTables();
    return true;
}

bool ApplyDueZoneChanges(const SYSTEMTIME& utc) {
    if (ZoneUpdatesDue(utc) <= 0) return false;
    ApplyZoneUpdatesToClocks();
    return true;
}

void AdvanceTimerClock(int index, const SYSTEMTIME& utc) {
    if (!g_clocks || index < 0 || index >= g_clockCount) return;
    UpdateTimerState(g_clocks[index], utc);
}

void FreeClockTable() { FreeClockArray(); }
