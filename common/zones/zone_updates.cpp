#include "common/zones/zone_updates.h"

#include <cstdint>
#include <cstring>
#include <iterator>

#include "common/records/clock_record.h"
#include "common/records/clock_table.h"
#include "common/platform/data_fields.h"
#include "common/platform/data_file_lines.h"
#include "common/platform/global_array.h"
#include "common/zones/clock_time.h"
#include "common/zones/date_math.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_line.h"

ZoneUpdateTable g_zoneUpdates;

namespace {

constexpr int kInitialRecords = 128;
constexpr int kGrowthRecords = 64;
constexpr int kMaxFields = 20;

// Each part of a side replaces the copied value only when the line gives one.
void ApplyRuleSide(const DataField* side, WORD month, LONG* bias, SYSTEMTIME* date, int32_t* week) {
    long b = 0;
    if (ParseFieldLong(side[0], &b)) *bias = b;
    ParseRuleDate(side, month, date, week);
}

bool ParseUpdateLine(const char* line, ZoneUpdateRecord* out) {
    DataField f[kMaxFields];
    if (SplitFields(line, f, kMaxFields) < 3) return false;

    long id = 0;
    SYSTEMTIME moment{};
    if (!ParseFieldLong(f[0], &id) || !ParseFieldMoment(f[1], &moment)) return false;
    int index = FindZoneById(static_cast<int>(id));
    // Entry 0 is the computer's own zone, which no dated change rewrites.
    if (index <= 0 || index >= g_zones.count) return false;

    ZoneUpdateRecord& u = *out;
    u.live = &g_zones.live[index];
    u.replacement = *u.live;
    u.moment = moment;
    u.key = DateKey(moment);

    ZoneRecord& r = u.replacement;
    if (!f[2].empty()) CopyFieldText(f[2], r.displayName, static_cast<int>(std::size(r.displayName)));
    long bias = 0;
    if (ParseFieldLong(f[3], &bias)) r.Bias = bias;
    if (!f[4].empty()) CopyFieldText(f[4], r.StandardName, static_cast<int>(std::size(r.StandardName)));
    if (!f[12].empty()) CopyFieldText(f[12], r.DaylightName, static_cast<int>(std::size(r.DaylightName)));
    WORD month = 0;
    if (ParseRuleMonth(f[7], &month))
        ApplyRuleSide(&f[5], month, &r.StandardBias, &r.StandardDate, &r.standardWeek);
    if (r.StandardDate.wMonth != 0 && ParseRuleMonth(f[15], &month))
        ApplyRuleSide(&f[13], month, &r.DaylightBias, &r.DaylightDate, &r.daylightWeek);
    return true;
}

bool GrowTable() {
    ZoneUpdateRecord* grown = ResizeGlobalArray(g_zoneUpdates.entries, g_zoneUpdates.capacity + kGrowthRecords);
    if (!grown) return false;
    g_zoneUpdates.entries = grown;
    g_zoneUpdates.capacity += kGrowthRecords;
    return true;
}

// The live pointer of a change, when it still names an entry of the live
// table (the table may have been freed or rebuilt since loading).
ZoneRecord* LiveEntry(const ZoneUpdateRecord& u) {
    if (!u.live || !g_zones.live) return nullptr;
    auto at = reinterpret_cast<uintptr_t>(u.live), first = reinterpret_cast<uintptr_t>(g_zones.live);
    if (at < first || (at - first) % sizeof(ZoneRecord) != 0) return nullptr;
    if ((at - first) / sizeof(ZoneRecord) >= static_cast<uintptr_t>(g_zones.count)) return nullptr;
    return u.live;
}

void CopyKeepingCityCount(ZoneRecord* record, const ZoneRecord& from) {
    int32_t cities = record->cityCount;
    *record = from;
    record->cityCount = cities;
}

}  // namespace

bool LoadZoneUpdates(const wchar_t* path) {
    FreeZoneUpdates();
    DataFileLines lines(path, kZoneUpdateMaxChars);
    if (!lines.IsOpen()) return false;
    ZoneUpdateRecord* table = ResizeGlobalArray<ZoneUpdateRecord>(nullptr, kInitialRecords);
    if (!table) return false;
    g_zoneUpdates.entries = table;
    g_zoneUpdates.capacity = kInitialRecords;

    ZoneUpdateRecord update;
    lines.ForEach([&](const char* line) {
        std::memset(&update, 0, sizeof update);
        if (!ParseUpdateLine(line, &update)) return true;
        if (g_zoneUpdates.count == g_zoneUpdates.capacity && !GrowTable()) return false;
        g_zoneUpdates.entries[g_zoneUpdates.count++] = update;
        return true;
    });
    return true;
}

int ZoneUpdatesDue(const SYSTEMTIME& utc) {
    int64_t key = DateKey(utc);
    int applied = 0;
    for (int i = 0; i < g_zoneUpdates.count; ++i) {
        ZoneUpdateRecord& u = g_zoneUpdates.entries[i];
        if (u.key > key) break;
        ZoneRecord* live = LiveEntry(u);
        if (!live) {
            u.live = nullptr;
            continue;
        }
        CopyKeepingCityCount(live, u.replacement);
        u.live = nullptr;
        ++applied;
    }
    return applied;
}

bool ApplyZoneUpdatesAt(ZoneRecord* record, const SYSTEMTIME& utc) {
    if (!record) return false;
    int64_t key = DateKey(utc);
    bool found = false;
    for (int i = 0; i < g_zoneUpdates.count; ++i) {
        const ZoneUpdateRecord& u = g_zoneUpdates.entries[i];
        if (u.key > key) break;
        if (u.replacement.id != record->id) continue;
        CopyKeepingCityCount(record, u.replacement);
        found = true;
    }
    return found;
}

bool RestoreZoneRecord(ZoneRecord* record) {
    if (!record) return false;
    int index = FindZoneById(g_zones.pristine, g_zones.count, record->id);
    if (index < 0) return false;
    CopyKeepingCityCount(record, g_zones.pristine[index]);
    return true;
}

void ApplyZoneUpdatesToClocks(ClockRecord* clocks, int count) {
    if (!clocks) return;
    for (int i = 0; i < count; ++i) {
        ClockRecord& clock = clocks[i];
        int index = FindZoneById(clock.zone.id);
        if (index < 0) continue;
        clock.zone = g_zones.live[index];
        clock.zone = ClockDisplayZone(clock);
    }
}

void ApplyZoneUpdatesToClocks() { ApplyZoneUpdatesToClocks(g_clocks, g_clockCount); }

void ResetZoneTables() {
    if (g_zones.live && g_zones.pristine) {
        // The pristine table was taken before the cities were counted: the
        // counts stay, the rules come back.
        for (int i = 0; i < g_zones.count; ++i) CopyKeepingCityCount(&g_zones.live[i], g_zones.pristine[i]);
    }
    for (int i = 0; i < g_zoneUpdates.count; ++i) {
        ZoneUpdateRecord& u = g_zoneUpdates.entries[i];
        int index = FindZoneById(u.replacement.id);
        u.live = index >= 0 ? &g_zones.live[index] : nullptr;
    }
    ApplyZoneUpdatesToClocks();
}

void FreeZoneUpdates() {
    if (g_zoneUpdates.entries) GlobalFree(g_zoneUpdates.entries);
    g_zoneUpdates = ZoneUpdateTable();
}
