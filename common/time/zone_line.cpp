#include "common/time/zone_line.h"

#include <climits>
#include <cstring>
#include <iterator>

#include "common/time/split_fields.h"

namespace {

// A field of the line: not terminated, read up to its length only, so that a
// parser never runs into the next field.
struct Field {
    const char* p;
    int n;
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n'; }

// Reads an optionally signed decimal number at *pos, taking at most `width`
// characters after leading blanks (0: no limit), like one scanf "%d"
// conversion. Fails on no digits or a value outside [lo, hi].
bool ScanNumber(Field f, int* pos, int width, long long lo, long long hi, long long* out) {
    int i = *pos;
    while (i < f.n && IsSpace(f.p[i])) ++i;
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

bool ParseSigned32(Field f, long* out) {
    int pos = 0;
    long long v = 0;
    if (!ScanNumber(f, &pos, 0, LONG_MIN, LONG_MAX, &v)) return false;
    *out = static_cast<long>(v);
    return true;
}

// "%u" into a SYSTEMTIME member: a negative or over-wide number is no value.
bool ParseWord(Field f, WORD* out) {
    int pos = 0;
    long long v = 0;
    if (!ScanNumber(f, &pos, 0, 0, 0xFFFF, &v)) return false;
    *out = static_cast<WORD>(v);
    return true;
}

bool IsValidWeek(long week) { return week == -1 || (week >= 1 && week <= 5); }

// "%d:%2d:%2d", taken only as a valid time of day.
bool ParseTimeOfDay(Field f, WORD* hour, WORD* minute, WORD* second) {
    int pos = 0;
    long long h = 0, m = 0, s = 0;
    if (!ScanNumber(f, &pos, 0, LLONG_MIN, LLONG_MAX, &h)) return false;
    if (pos >= f.n || f.p[pos] != ':') return false;
    ++pos;
    if (!ScanNumber(f, &pos, 2, LLONG_MIN, LLONG_MAX, &m)) return false;
    if (pos >= f.n || f.p[pos] != ':') return false;
    ++pos;
    if (!ScanNumber(f, &pos, 2, LLONG_MIN, LLONG_MAX, &s)) return false;
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59) return false;
    *hour = static_cast<WORD>(h);
    *minute = static_cast<WORD>(m);
    *second = static_cast<WORD>(s);
    return true;
}

// Each byte is one character; the text is cut so that the terminator stays
// inside the field.
void CopyField(Field f, wchar_t* out, int outChars) {
    int n = f.n < outChars - 1 ? f.n : outChars - 1;
    for (int i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(f.p[i]);
    out[n] = L'\0';
}

// One side of the rule: fields bias, year, month, day, weekday, week, time.
struct RuleFields {
    Field bias, year, month, day, weekday, week, time;
};

bool ReadMonth(Field f, WORD* month) {
    WORD m = 0;
    if (!ParseWord(f, &m) || m < 1 || m > 12) return false;
    *month = m;
    return true;
}

void ReadRule(const RuleFields& r, WORD month, LONG* bias, SYSTEMTIME* date, int32_t* week) {
    date->wMonth = month;
    long b = 0;
    *bias = ParseSigned32(r.bias, &b) ? b : 0;
    ParseWord(r.year, &date->wYear);
    ParseWord(r.day, &date->wDay);
    ParseWord(r.weekday, &date->wDayOfWeek);
    long w = 0;
    if (ParseSigned32(r.week, &w) && IsValidWeek(w)) {
        *week = w;
        if (date->wYear == 0) date->wDay = static_cast<WORD>(w == -1 ? 5 : w);
    }
    ParseTimeOfDay(r.time, &date->wHour, &date->wMinute, &date->wSecond);
}

}  // namespace

bool ParseZoneLine(const char* line, ZoneRecord* out) {
    if (!line || !out) return false;
    if (line[0] == '#' || line[0] == ';') return false;

    const char* starts[kZoneLineFields];
    int lengths[kZoneLineFields];
    if (SplitFields(line, starts, lengths, kZoneLineFields) != kZoneLineFields) return false;
    Field f[kZoneLineFields];
    for (int i = 0; i < kZoneLineFields; ++i) f[i] = Field{starts[i], lengths[i]};

    ZoneRecord r;
    std::memset(&r, 0, sizeof r);
    long id = 0, bias = 0;
    if (!ParseSigned32(f[0], &id)) return false;
    if (f[1].n == 0 || f[2].n == 0) return false;
    if (!ParseSigned32(f[3], &bias)) return false;
    r.id = id;
    r.Bias = bias;

    CopyField(f[1], r.key, static_cast<int>(std::size(r.key)));
    CopyField(f[2], r.displayName, static_cast<int>(std::size(r.displayName)));
    CopyField(f[4], r.StandardName, static_cast<int>(std::size(r.StandardName)));
    CopyField(f[12], r.DaylightName, static_cast<int>(std::size(r.DaylightName)));

    WORD standardMonth = 0, daylightMonth = 0;
    bool daylight = false;
    if (ReadMonth(f[7], &standardMonth)) {
        ReadRule(RuleFields{f[5], f[6], f[7], f[8], f[9], f[10], f[11]}, standardMonth, &r.StandardBias,
                 &r.StandardDate, &r.standardWeek);
        if (ReadMonth(f[15], &daylightMonth)) {
            ReadRule(RuleFields{f[13], f[14], f[15], f[16], f[17], f[18], f[19]}, daylightMonth, &r.DaylightBias,
                     &r.DaylightDate, &r.daylightWeek);
            daylight = true;
        }
    }
    // Without a daylight side the zone has no daylight saving at all.
    if (!daylight) std::memset(&r.StandardDate, 0, sizeof r.StandardDate);

    *out = r;
    return true;
}
