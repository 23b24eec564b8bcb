#include "common/zones/zone_database.h"

#include <cstring>
#include <cwchar>

#include "common/platform/data_file_lines.h"
#include "common/platform/global_array.h"
#include "common/zones/local_zone.h"
#include "common/platform/text_bounds.h"
#include "common/zones/zone_line.h"
#include "common/zones/zone_name_prefetch.h"
#include "common/zones/zone_registry.h"

ZoneTables g_zones;

namespace {

constexpr int kInitialRecords = 128;
constexpr int kGrowthRecords = 64;

bool GrowTable() {
    ZoneRecord* grown = ResizeGlobalArray(g_zones.live, g_zones.capacity + kGrowthRecords);
    if (!grown) return false;
    g_zones.live = grown;
    g_zones.capacity += kGrowthRecords;
    return true;
}

// Ids 0 and -1 stand for the computer's zone and for a clock's missing one:
// a line claiming either would be taken for them.
void NoteReservedId(int lineNumber, const char* line) {
    long id = 0;
    if (!ZoneLineHasReservedId(line, &id)) return;
    wchar_t text[128];
    swprintf(text, 128, L"timezones.txt, line %d: zone id %ld is not above 0; the line is skipped.\n", lineNumber, id);
    g_zones.errors += text;
    OutputDebugStringW(text);
}

}  // namespace

bool LoadZoneDatabase(const wchar_t* path) {
    if (g_zones.live) return false;
    ZoneRecord* table = ResizeGlobalArray<ZoneRecord>(nullptr, kInitialRecords);
    if (!table) return false;
    g_zones.live = table;
    g_zones.capacity = kInitialRecords;
    g_zones.count = 1;
    GetLocalZoneRecord(&g_zones.live[0]);

    const ZoneRegistryNameSet prefetched = TakePrefetchedZoneNames();
    int read = 0;
    ZoneRecord record;
    DataFileLines lines(path, kZoneLineMaxChars);
    lines.ForEach([&](const char* line) {
        if (!ParseZoneLine(line, &record)) {
            NoteReservedId(lines.LineNumber(), line);
            return true;
        }
        // Out of memory in the middle of the file: keep what was read.
        if (g_zones.count == g_zones.capacity && !GrowTable()) return false;
        if (!prefetched.TryApply(record)) ReadZoneRegistryNames(record);
        g_zones.live[g_zones.count++] = record;
        ++read;
        return true;
    });

    SIZE_T bytes = static_cast<SIZE_T>(g_zones.count) * sizeof(ZoneRecord);
    g_zones.pristine = static_cast<ZoneRecord*>(GlobalAlloc(GPTR, bytes));
    if (g_zones.pristine) std::memcpy(g_zones.pristine, g_zones.live, bytes);
    return read > 0;
}

void FreeZoneTables() {
    if (g_zones.live) GlobalFree(g_zones.live);
    if (g_zones.pristine) GlobalFree(g_zones.pristine);
    g_zones = ZoneTables();
}

int FindZoneById(const ZoneRecord* table, int count, int id) {
    if (!table) return -1;
    for (int i = count - 1; i >= 0; --i)
        if (table[i].id == id) return i;
    return -1;
}

int FindZoneById(int id) { return FindZoneById(g_zones.live, g_zones.count, id); }

int FindZoneByName(const wchar_t* key) {
    if (!g_zones.live || !key) return 0;
    for (int i = g_zones.count - 1; i >= 0; --i)
        if (TextFieldEquals(g_zones.live[i].key, key)) return i;
    return -1;
}

int FindZoneByDisplayName(const wchar_t* text) {
    if (!g_zones.live || !text) return 0;
    for (int i = g_zones.count - 1; i >= 0; --i)
        if (TextFieldEquals(g_zones.live[i].displayName, text)) return i;
    return -1;
}
