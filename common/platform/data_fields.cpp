#include "common/platform/data_fields.h"

#include <climits>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n'; }

bool Literal(DataField f, int* pos, char c) {
    if (*pos >= f.n || f.p[*pos] != c) return false;
    ++*pos;
    return true;
}

}  // namespace

bool ScanFieldNumber(DataField f, int* pos, int width, long long lo, long long hi, long long* out) {
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
        // Past eleven digits the value is out of every range asked for; stop
        // growing it rather than overflow.
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

bool ParseFieldLong(DataField f, long* out) {
    int pos = 0;
    long long v = 0;
    if (!ScanFieldNumber(f, &pos, 0, LONG_MIN, LONG_MAX, &v)) return false;
    *out = static_cast<long>(v);
    return true;
}

bool ParseFieldWord(DataField f, WORD* out) {
    int pos = 0;
    long long v = 0;
    if (!ScanFieldNumber(f, &pos, 0, 0, 0xFFFF, &v)) return false;
    *out = static_cast<WORD>(v);
    return true;
}

bool ParseFieldTimeOfDay(DataField f, SYSTEMTIME* date) {
    int pos = 0;
    long long h = 0, m = 0, s = 0;
    if (!ScanFieldNumber(f, &pos, 0, LLONG_MIN, LLONG_MAX, &h) || !Literal(f, &pos, ':') ||
        !ScanFieldNumber(f, &pos, 2, LLONG_MIN, LLONG_MAX, &m) || !Literal(f, &pos, ':') ||
        !ScanFieldNumber(f, &pos, 2, LLONG_MIN, LLONG_MAX, &s))
        return false;
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59) return false;
    date->wHour = static_cast<WORD>(h);
    date->wMinute = static_cast<WORD>(m);
    date->wSecond = static_cast<WORD>(s);
    return true;
}

bool ParseFieldMoment(DataField f, SYSTEMTIME* out) {
    long long part[6] = {0, 0, 0, 0, 0, 0};
    static constexpr int kWidth[6] = {4, 2, 2, 2, 2, 2};
    static constexpr char kBefore[6] = {0, '.', '.', 0, ':', ':'};
    static constexpr long long kLow[6] = {2000, 1, 1, 0, 0, 0};
    static constexpr long long kHigh[6] = {2999, 12, 31, 23, 59, 59};
    int pos = 0;
    int read = 0;
    for (; read < 6; ++read) {
        if (kBefore[read] && !Literal(f, &pos, kBefore[read])) break;
        if (!ScanFieldNumber(f, &pos, kWidth[read], LLONG_MIN, LLONG_MAX, &part[read])) break;
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

void CopyFieldText(DataField f, wchar_t* out, int outChars) {
    if (!out || outChars <= 0) return;
    int n = f.n < outChars - 1 ? f.n : outChars - 1;
    for (int i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(f.p[i]);
    out[n] = L'\0';
}
