// Clock records and moments shared by the settings text tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "common/records/clock_record.h"

namespace settings_text_test {

// A zone one hour east of UTC without daylight saving.
inline ZoneRecord PlusOneZone() {
    ZoneRecord z{};
    z.Bias = -60;
    wcscpy(z.key, L"Test Plus One");
    return z;
}

inline ClockRecord MakeClock(uint32_t kind) {
    ClockRecord c;
    std::memset(&c, 0, sizeof c);
    c.kind = kind;
    c.zone = PlusOneZone();
    wcscpy(c.timerformat, L"%H:%02m:%02s");
    return c;
}

inline SYSTEMTIME Time(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(y);
    t.wMonth = static_cast<WORD>(mo);
    t.wDay = static_cast<WORD>(d);
    t.wHour = static_cast<WORD>(h);
    t.wMinute = static_cast<WORD>(mi);
    t.wSecond = static_cast<WORD>(s);
    return t;
}

// A UTC moment as a FILETIME value.
inline uint64_t Moment(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    SYSTEMTIME t = Time(y, mo, d, h, mi, s);
    FILETIME ft{};
    SystemTimeToFileTime(&t, &ft);
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

inline constexpr uint64_t kSecond = 10000000ULL;

}  // namespace settings_text_test
