#include "common/settings/plural_tables.h"

#include <cwchar>

namespace {

const wchar_t* const kBuiltInUnitNames[kPluralUnits] = {L"s", L"m", L"h", L"d", L"w"};

// strtol over wide text, base 10; false when no digit follows.
bool ParseNumber(const wchar_t*& p, long& value) {
    wchar_t* end = nullptr;
    value = wcstol(p, &end, 10);
    if (end == p) return false;
    p = end;
    return true;
}

}  // namespace

void PluralTables::SetTable(int unit, const wchar_t* text) {
    if (unit < 0 || unit >= kPluralUnits) return;
    Unit& u = units_[unit];
    u.count = 0;
    u.text[0] = 0;
    if (!text) return;

    const wchar_t* p = text;
    size_t used = 0;
    while (*p && *p != L';' && used < kPluralTextChars - 1) u.text[used++] = *p++;
    u.text[used++] = 0;
    while (*p && *p != L';') ++p;  // a default longer than the buffer is cut
    if (u.text[0] == 0) return;

    while (*p == L';' && used < kPluralTextChars) {
        ++p;
        int count = u.count;
        for (;;) {
            long low = 0;
            if (!ParseNumber(p, low)) break;
            long high = low;
            bool haveHigh = true;
            if (*p == L'-') {
                ++p;
                haveHigh = ParseNumber(p, high);
            }
            if (haveHigh && low >= 0 && low <= high && high <= 99 && count < kPluralRanges) {
                u.low[count] = static_cast<uint8_t>(low);
                u.high[count] = static_cast<uint8_t>(high);
                u.textAt[count] = static_cast<uint16_t>(used);
                ++count;
            }
            if (*p != L',') break;
            ++p;
        }
        if (*p != L' ') return;
        ++p;
        while (*p && *p != L';' && used < kPluralTextChars - 1) u.text[used++] = *p++;
        u.text[used++] = 0;
        while (*p && *p != L';') ++p;
        u.count = count;
    }
}

const wchar_t* PluralTables::Select(int unit, int n) const {
    if (unit < 0 || unit >= kPluralUnits) return nullptr;
    const Unit& u = units_[unit];
    int m = n % 100;
    if (m < 0) m = -m;
    for (int i = u.count - 1; i >= 0; --i) {
        if (m >= u.low[i] && m <= u.high[i] && u.text[u.textAt[i]]) return u.text + u.textAt[i];
    }
    if (u.text[0]) return u.text;
    return kBuiltInUnitNames[unit];
}

int PluralTables::rangeCount(int unit) const {
    return unit >= 0 && unit < kPluralUnits ? units_[unit].count : 0;
}
