#include "common/platform/build_date.h"

#include <cstring>

namespace {

bool ReadNumber(const char* text, int width, WORD& out) {
    unsigned value = 0;
    bool digit = false;
    for (int i = 0; i < width; ++i) {
        const char c = text[i];
        if (c == ' ' && !digit) continue;
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
        digit = true;
    }
    out = static_cast<WORD>(value);
    return digit;
}

}  // namespace

bool ParseBuildDate(const char* date, const char* time, SYSTEMTIME& out) {
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    out = SYSTEMTIME{};
    if (!date || !time || std::strlen(date) != 11 || std::strlen(time) != 8) return false;
    SYSTEMTIME t = {};
    for (WORD m = 0; m < 12; ++m) {
        if (std::strncmp(date, kMonths[m], 3) == 0) t.wMonth = static_cast<WORD>(m + 1);
    }
    if (!ReadNumber(date + 4, 2, t.wDay) || !ReadNumber(date + 7, 4, t.wYear) || !ReadNumber(time, 2, t.wHour) ||
        time[2] != ':' || !ReadNumber(time + 3, 2, t.wMinute) || time[5] != ':' ||
        !ReadNumber(time + 6, 2, t.wSecond)) {
        return false;
    }
    out = t;
    return true;
}

void GetBuildDate(SYSTEMTIME& out) { ParseBuildDate(__DATE__, __TIME__, out); }
