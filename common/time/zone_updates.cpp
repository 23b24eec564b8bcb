#include "common/time/zone_updates.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <share.h>

#include "common/settings/clock_record.h"
#include "common/time/clock_table.h"
#include "common/time/date_math.h"
#include "common/time/split_fields.h"
#include "common/time/zone_database.h"

ZoneUpdateTable g_zoneUpdates;

namespace {

constexpr int kInitialRecords = 128;
constexpr int kGrowthRecords = 64;
constexpr int kMaxFields = 20;

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

// A field of the line, read up to its length only so that no parser runs
// into the next field. A field past the end of the line is empty.
struct Field {
    const char* p = "";
    int n = 0;
    bool empty() const { return n == 0; }
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n'; }

// One scanf-style "%d" conversion at *pos with an optional width (0: none),
// after leading blanks. False on no digits or a value outside [lo, hi].
bool ScanNumber(Field f, int* pos, int width, long long lo, long long hi, long long* out) {
    int i = *pos;
    while (i < f.n && IsBlank(f.p[i])) ++i;
    int limit = width > 0 && f.n - i > width ? i + width : f.n;
    bool negative = false;
    if (i < limit && (f.p[i] == '+' || f.p[i] == '-')) {
        negative = f.p[i] == '-';
        ++i;
    }
    int digits = 0;
    long long value = 0;
    while (i < limit && f.p[i] >= '0' && f.p[i] <= '9') {
        if (value < 100000000000LL) value = value * 10 + (f.p[i] - '0');
        ++i;
        ++digits;
    }
    if (digits == 0) return false;
    if (negative) value = -value;
    if (value < lo || value > hi) return false;
    *pos = i;
    *out = value;
    return true;
}

bool ParseLong(Field f, long* out) {
    int pos = 0;
    long long v = 0;
    if (!ScanNumber(f, &pos, 0, LONG_MIN, LONG_MAX, &v)) return false;
    *out = static_cast<long>(v);
    return true;
}

bool ParseWord(Field f, WORD* out) {
    int pos = 0;
    long long v = 0;
    if (!ScanNumber(f, &pos, 0, 0, 0xFFFF, &v)) return false;
    *out = static_cast<WORD>(v);
    return true;
}

bool Literal(Field f, int* pos, char c) {
    if (*pos >= f.n || f.p[*pos] != c) return false;
    ++*pos;
    return true;
}

// "%d:%2d:%2d", taken only as a valid time of day.
bool ParseTimeOfDay(Field f, SYSTEMTIME* date) {
    int pos = 0;
    long long h = 0, m = 0, s = 0;
    if (!ScanNumber(f, &pos, 0, LLONG_MIN, LLONG_MAX, &h) || !Literal(f, &pos, ':') ||
        !ScanNumber(f, &pos, 2, LLONG_MIN, LLONG_MAX, &m) || !Literal(f, &pos, ':') ||
        !ScanNumber(f, &pos, 2, LLONG_MIN, LLONG_MAX, &s))
        return false;
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59) return false;
    date->wHour = static_cast<WORD>(h);
    date->wMinute = static_cast<WORD>(m);
    date->wSecond = static_cast<WORD>(s);
    return true;
}

// "%4d.%2d.%2d %2d:%2d:%2d": year, month and day must read; the time of day
// may stop early, its missing parts being 0. Every part read must be in range.
bool ParseMoment(Field f, SYSTEMTIME* out) {
    long long part[6] = {0, 0, 0, 0, 0, 0};
    static constexpr int kWidth[6] = {4, 2, 2, 2, 2, 2};
    static constexpr char kBefore[6] = {0, '.', '.', 0, ':', ':'};
    static constexpr long long kLow[6] = {2000, 1, 1, 0, 0, 0};
    static constexpr long long kHigh[6] = {2999, 12, 31, 23, 59, 59};
    int pos = 0;
    int read = 0;
    for (; read < 6; ++read) {
        if (kBefore[read] && !Literal(f, &pos, kBefore[read])) break;
        if (!ScanNumber(f, &pos, kWidth[read], LLONG_MIN, LLONG_MAX, &part[read])) break;
    }
    if (read < 3) return false;
    for (int i = 0; i < read; ++i)
        if (part[i] < kLow[i] || part[i] > kHigh[i]) return false;
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(part[0]);
    t.wMonth = static_cast<WORD>(part[1]);
    t.wDay = static_cast<WORD>(part[2]);
    t.wHour = static_cast<WORD>(part[3]);
    t.wMinute = static_cast<WORD>(part[4]);
    t.wSecond = static_cast<WORD>(part[5]);
    *out = t;
    return true;
}

void CopyField(Field f, wchar_t* out, int outChars) {
    int n = f.n < outChars - 1 ? f.n : outChars - 1;
    for (int i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(f.p[i]);
    out[n] = L'\0';
}

bool IsValidWeek(long week) { return week == -1 || (week >= 1 && week <= 5); }

bool ReadMonth(Field f, WORD* month) {
    WORD m = 0;
    if (!ParseWord(f, &m) || m < 1 || m > 12) return false;
    *month = m;
    return true;
}

// One side of a rule (fields bias, year, month, day, weekday, week, time):
// each part replaces the copied value only when the line gives one.
void ApplyRule(const Field* f, WORD month, LONG* bias, SYSTEMTIME* date, int32_t* week) {
    date->wMonth = month;
    long b = 0;
    if (!f[0].empty() && ParseLong(f[0], &b)) *bias = b;
    ParseWord(f[1], &date->wYear);
    ParseWord(f[3], &date->wDay);
    ParseWord(f[4], &date->wDayOfWeek);
    long w = 0;
    if (ParseLong(f[5], &w) && IsValidWeek(w)) {
        *week = w;
        if (date->wYear == 0) date->wDay = static_cast<WORD>(w == -1 ? 5 : w);
    }
    ParseTimeOfDay(f[6], date);
}

bool ParseUpdateLine(const char* line, ZoneUpdateRecord* out) {
    if (line[0] == '\0' || line[0] == '#' || line[0] == ';') return false;
    const char* starts[kMaxFields];
    int lengths[kMaxFields];
    int count = SplitFields(line, starts, lengths, kMaxFields);
    if (count < 3) return false;
    Field f[kMaxFields];
    for (int i = 0; i < count; ++i) f[i] = Field{starts[i], lengths[i]};

    long id = 0;
    SYSTEMTIME moment{};
    if (!ParseLong(f[0], &id) || !ParseMoment(f[1], &moment)) return false;
    int index = FindZoneById(static_cast<int>(id));
    if (index < 0 || index >= g_zones.count) return false;

    ZoneUpdateRecord& u = *out;
    u.live = &g_zones.live[index];
    u.replacement = *u.live;
    u.moment = moment;
    u.key = DateKey(moment);

    ZoneRecord& r = u.replacement;
    if (!f[2].empty()) CopyField(f[2], r.displayName, static_cast<int>(std::size(r.displayName)));
    long bias = 0;
    if (!f[3].empty() && ParseLong(f[3], &bias)) r.Bias = bias;
    if (!f[4].empty()) CopyField(f[4], r.StandardName, static_cast<int>(std::size(r.StandardName)));
    if (!f[12].empty()) CopyField(f[12], r.DaylightName, static_cast<int>(std::size(r.DaylightName)));
    WORD month = 0;
    if (ReadMonth(f[7], &month)) ApplyRule(&f[5], month, &r.StandardBias, &r.StandardDate, &r.standardWeek);
    if (r.StandardDate.wMonth != 0 && ReadMonth(f[15], &month))
        ApplyRule(&f[13], month, &r.DaylightBias, &r.DaylightDate, &r.daylightWeek);
    return true;
}

bool GrowTable() {
    SIZE_T bytes = static_cast<SIZE_T>(g_zoneUpdates.capacity + kGrowthRecords) * sizeof(ZoneUpdateRecord);
    HGLOBAL grown = GlobalReAlloc(g_zoneUpdates.entries, bytes, GMEM_MOVEABLE | GMEM_ZEROINIT);
    if (!grown) return false;
    g_zoneUpdates.entries = static_cast<ZoneUpdateRecord*>(grown);
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
    File file(path ? _wfsopen(path, L"rt", _SH_DENYWR) : nullptr);
    if (!file.get()) return false;
    auto* table = static_cast<ZoneUpdateRecord*>(GlobalAlloc(GPTR, kInitialRecords * sizeof(ZoneUpdateRecord)));
    if (!table) return false;
    g_zoneUpdates.entries = table;
    g_zoneUpdates.capacity = kInitialRecords;

    static char line[kZoneUpdateMaxChars + 1];
    ZoneUpdateRecord update;
    while (ReadLine(file.get(), line, kZoneUpdateMaxChars)) {
        std::memset(&update, 0, sizeof update);
        if (!ParseUpdateLine(line, &update)) continue;
        if (g_zoneUpdates.count == g_zoneUpdates.capacity && !GrowTable()) break;
        g_zoneUpdates.entries[g_zoneUpdates.count++] = update;
    }
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

bool ApplyZoneUpdatesAt(ZoneRecord* record, bool keepBiases, const SYSTEMTIME& utc) {
    if (!record) return false;
    int64_t key = DateKey(utc);
    bool found = false;
    for (int i = 0; i < g_zoneUpdates.count; ++i) {
        const ZoneUpdateRecord& u = g_zoneUpdates.entries[i];
        if (u.key > key) break;
        if (u.replacement.id != record->id) continue;
        CopyKeepingCityCount(record, u.replacement);
        if (!keepBiases) record->StandardBias = record->DaylightBias = 0;
        found = true;
    }
    return found;
}

bool RestoreZoneRecord(ZoneRecord* record, bool keepBiases) {
    if (!record) return false;
    int index = FindZoneById(g_zones.pristine, g_zones.count, record->id);
    if (index < 0) return false;
    CopyKeepingCityCount(record, g_zones.pristine[index]);
    if (!keepBiases) record->StandardBias = record->DaylightBias = 0;
    return true;
}

void ApplyZoneUpdatesToClocks(ClockRecord* clocks, int count) {
    if (!clocks) return;
    for (int i = 0; i < count; ++i) {
        ClockRecord& clock = clocks[i];
        int index = FindZoneById(clock.zone.id);
        if (index < 0) continue;
        clock.zone = g_zones.live[index];
        if (clock.usedaylight == 0) clock.zone.StandardBias = clock.zone.DaylightBias = 0;
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
