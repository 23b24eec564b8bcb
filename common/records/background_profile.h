// One background highlight of a clock: a colour shown during a time window.
// The layout is a binary contract: the record travels inside ClockRecord and
// GlobalSettings to the taskbar clock.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct BackgroundProfile {
    int32_t enabled;          // 0 or 1
    SYSTEMTIME fromDate;      // in the clock's zone (countdown-to-a-date form)
    SYSTEMTIME toDate;
    int32_t fromMinute;       // minute of the day, 0..1439 (daily form)
    int32_t toMinute;
    uint32_t padding0;
    uint64_t from;            // 100 ns: UTC FILETIME of fromDate, or seconds on a timer x 10^7
    uint64_t to;
    COLORREF colour;          // 0x00BBGGRR
    uint32_t opacity;         // 0..255
    uint32_t weekdayMask;     // bit d for weekday digit d, 0..6
    WCHAR name[78];
};

static_assert(sizeof(BackgroundProfile) == 232);
static_assert(offsetof(BackgroundProfile, enabled) == 0);
static_assert(offsetof(BackgroundProfile, fromDate) == 4);
static_assert(offsetof(BackgroundProfile, toDate) == 20);
static_assert(offsetof(BackgroundProfile, fromMinute) == 36);
static_assert(offsetof(BackgroundProfile, toMinute) == 40);
static_assert(offsetof(BackgroundProfile, padding0) == 44);
static_assert(offsetof(BackgroundProfile, from) == 48);
static_assert(offsetof(BackgroundProfile, to) == 56);
static_assert(offsetof(BackgroundProfile, colour) == 64);
static_assert(offsetof(BackgroundProfile, opacity) == 68);
static_assert(offsetof(BackgroundProfile, weekdayMask) == 72);
static_assert(offsetof(BackgroundProfile, name) == 76);

// Highlights per clock (keys profile1 .. profile12).
inline constexpr int kMaxBackgroundProfiles = 12;
