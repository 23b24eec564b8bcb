#include "common/time/zone_database.h"

#include <cstdio>
#include <cstring>
#include <share.h>

#include "common/time/local_zone.h"
#include "common/time/text_bounds.h"
#include "common/time/zone_line.h"
#include "common/time/zone_registry.h"

ZoneTables g_zones;

namespace {

constexpr int kInitialRecords = 128;
constexpr int kGrowthRecords = 64;

class File {
public:
    explicit File(FILE* f) : f_(f) {}
    ~File() {
        if (f_) fclose(f_);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    FILE* get() const { return f_; }

private:
    FILE* f_;
};

// Reads one line of at most `max` characters into `line` (terminated); the
// rest of a longer line is dropped rather than read as a line of its own.
// False at the end of the file.
bool ReadLine(FILE* f, char* line, int max) {
    int c = getc(f);
    if (c == EOF) return false;
    int n = 0;
    while (c != EOF && c != '\n') {
        if (n < max) line[n++] = static_cast<char>(c);
        c = getc(f);
    }
    line[n] = '\0';
    return true;
}

bool GrowTable() {
    SIZE_T bytes = static_cast<SIZE_T>(g_zones.capacity + kGrowthRecords) * sizeof(ZoneRecord);
    HGLOBAL grown = GlobalReAlloc(g_zones.live, bytes, GMEM_MOVEABLE | GMEM_ZEROINIT);
    if (!grown) return false;
    g_zones.live = static_cast<ZoneRecord*>(grown);
    g_zones.capacity += kGrowthRecords;
    return true;
}

}  // namespace

bool LoadZoneDatabase(const wchar_t* path) {
    if (g_zones.live) return false;
    auto* table = static_cast<ZoneRecord*>(GlobalAlloc(GPTR, kInitialRecords * sizeof(ZoneRecord)));
    if (!table) return false;
    g_zones.live = table;
    g_zones.capacity = kInitialRecords;
    g_zones.count = 1;
    GetLocalZoneRecord(&g_zones.live[0]);

    int read = 0;
    File file(path ? _wfsopen(path, L"rt", _SH_DENYWR) : nullptr);
    if (file.get()) {
        char line[kZoneLineMaxChars + 1];
        ZoneRecord record;
        while (ReadLine(file.get(), line, kZoneLineMaxChars)) {
            if (!ParseZoneLine(line, &record)) continue;
            // Out of memory in the middle of the file: keep what was read.
            if (g_zones.count == g_zones.capacity && !GrowTable()) break;
            ReadZoneRegistryNames(record);
            g_zones.live[g_zones.count++] = record;
            ++read;
        }
    }

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
