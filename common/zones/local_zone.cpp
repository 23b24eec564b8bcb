#include "common/zones/local_zone.h"

#include <cstring>

#include "common/records/clock_table.h"
#include "common/platform/text_bounds.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_registry.h"

namespace {

struct LocalZoneState {
    bool built = false;
    bool autoDaylight = false;
    ZoneRecord record;
};

LocalZoneState g_local;

int WeekOfRule(const SYSTEMTIME& date) { return date.wDay > 4 ? -1 : date.wDay; }

void Rebuild() {
    GetLocalZoneRecord(&g_local.record);
    g_local.autoDaylight = g_local.record.DaylightDate.wMonth != 0 && ReadAutoDaylightDisabled() != 1;
    g_local.built = true;
}

// A clock whose zone the table lacks runs on the computer's rules under the
// key and name it was saved with, so that a save keeps them.
void TakeLocalRules(ZoneRecord& zone) {
    ZoneRecord local = g_local.record;
    std::memcpy(local.key, zone.key, sizeof local.key);
    std::memcpy(local.displayName, zone.displayName, sizeof local.displayName);
    local.id = zone.id;
    local.cityCount = zone.cityCount;
    zone = local;
}

}  // namespace

bool IsLocalZoneKey(const ZoneRecord& zone) { return TextFieldEquals(zone.key, kLocalSystemTimeKey); }

void GetLocalZoneRecord(ZoneRecord* record) {
    if (!record) return;
    std::memset(record, 0, sizeof *record);
    CopyBounded(record->key, kLocalSystemTimeKey);
    CopyBounded(record->displayName, kLocalSystemTimeKey);
    TIME_ZONE_INFORMATION tzi{};
    if (GetTimeZoneInformation(&tzi) != TIME_ZONE_ID_INVALID) std::memcpy(record, &tzi, sizeof tzi);
    if (record->StandardDate.wYear == 0) record->standardWeek = WeekOfRule(record->StandardDate);
    if (record->DaylightDate.wYear == 0) record->daylightWeek = WeekOfRule(record->DaylightDate);
    record->id = 0;
}

void RefreshLocalZone() {
    Rebuild();
    if (g_zones.live && g_zones.count > 0) g_zones.live[0] = g_local.record;
    if (g_zones.pristine && g_zones.count > 0) g_zones.pristine[0] = g_local.record;
    if (!g_clocks) return;
    for (int i = 0; i < g_clockCount; ++i) {
        ClockRecord& clock = g_clocks[i];
        if (IsLocalZoneKey(clock.zone)) {
            clock.zone = g_local.record;
            clock.usedaylight = g_local.autoDaylight ? 1 : 0;
        } else if (clock.zone.id == kMissingZoneId) {
            TakeLocalRules(clock.zone);
        }
    }
}

const ZoneRecord& LocalZone() {
    if (!g_local.built) Rebuild();
    return g_local.record;
}

bool AutoDaylightActive() {
    if (!g_local.built) Rebuild();
    return g_local.autoDaylight;
}
