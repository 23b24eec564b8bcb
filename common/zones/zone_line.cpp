#include "common/zones/zone_line.h"

#include <cstring>
#include <iterator>

#include "common/platform/data_fields.h"

namespace {

bool IsValidWeek(long week) { return week == -1 || (week >= 1 && week <= 5); }

// A bad bias reads as 0 rather than keeping the zero-filled record's value.
void ReadRuleSide(const DataField* side, WORD month, LONG* bias, SYSTEMTIME* date, int32_t* week) {
    long b = 0;
    *bias = ParseFieldLong(side[0], &b) ? b : 0;
    ParseRuleDate(side, month, date, week);
}

}  // namespace

bool ParseRuleMonth(DataField f, WORD* month) {
    WORD m = 0;
    if (!ParseFieldWord(f, &m) || m < 1 || m > 12) return false;
    *month = m;
    return true;
}

void ParseRuleDate(const DataField* side, WORD month, SYSTEMTIME* date, int32_t* week) {
    date->wMonth = month;
    ParseFieldWord(side[1], &date->wYear);
    ParseFieldWord(side[3], &date->wDay);
    ParseFieldWord(side[4], &date->wDayOfWeek);
    long w = 0;
    if (ParseFieldLong(side[5], &w) && IsValidWeek(w)) {
        *week = w;
        if (date->wYear == 0) date->wDay = static_cast<WORD>(w == -1 ? 5 : w);
    }
    ParseFieldTimeOfDay(side[6], date);
}

bool ParseZoneLine(const char* line, ZoneRecord* out) {
    if (!line || !out) return false;
    if (line[0] == '#' || line[0] == ';') return false;

    DataField f[kZoneLineFields];
    if (SplitFields(line, f, kZoneLineFields) != kZoneLineFields) return false;

    ZoneRecord r;
    std::memset(&r, 0, sizeof r);
    long id = 0, bias = 0;
    if (!ParseFieldLong(f[0], &id) || id <= 0) return false;
    if (f[1].empty() || f[2].empty()) return false;
    if (!ParseFieldLong(f[3], &bias)) return false;
    r.id = id;
    r.Bias = bias;

    CopyFieldText(f[1], r.key, static_cast<int>(std::size(r.key)));
    CopyFieldText(f[2], r.displayName, static_cast<int>(std::size(r.displayName)));
    CopyFieldText(f[4], r.StandardName, static_cast<int>(std::size(r.StandardName)));
    CopyFieldText(f[12], r.DaylightName, static_cast<int>(std::size(r.DaylightName)));

    WORD standardMonth = 0, daylightMonth = 0;
    bool daylight = false;
    if (ParseRuleMonth(f[7], &standardMonth)) {
        ReadRuleSide(&f[5], standardMonth, &r.StandardBias, &r.StandardDate, &r.standardWeek);
        if (ParseRuleMonth(f[15], &daylightMonth)) {
            ReadRuleSide(&f[13], daylightMonth, &r.DaylightBias, &r.DaylightDate, &r.daylightWeek);
            daylight = true;
        }
    }
    // Without a daylight side the zone has no daylight saving at all.
    if (!daylight) std::memset(&r.StandardDate, 0, sizeof r.StandardDate);

    *out = r;
    return true;
}

bool ZoneLineHasReservedId(const char* line, long* id) {
    if (!line || line[0] == '#' || line[0] == ';') return false;
    DataField f[kZoneLineFields];
    long value = 0;
    if (SplitFields(line, f, kZoneLineFields) != kZoneLineFields || !ParseFieldLong(f[0], &value) || value > 0)
        return false;
    if (id) *id = value;
    return true;
}
