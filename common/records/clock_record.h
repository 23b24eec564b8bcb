// One clock's settings and its running timer state. The layout is a binary
// contract: the record is shipped whole to the taskbar clock by WM_COPYDATA.
// Fields that one INI key fills carry that key's name.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "common/records/alarm_record.h"
#include "common/records/background_profile.h"
#include "common/records/zone_record.h"

// ClockRecord::kind bits.
inline constexpr uint32_t kClockTimer = 0x1;      // a timer clock; alone: stopwatch
inline constexpr uint32_t kClockCountdown = 0x2;  // with kClockTimer: countdown
inline constexpr uint32_t kClockSetDate = 0x4;    // countdown to a date / stopwatch from a set start

inline constexpr int kMaxClocks = 30;

struct ClockRecord {
    int32_t number;               // N of <prefix>:clock<N>, 1..30
    uint32_t kind;                // kClockTimer | kClockCountdown | kClockSetDate
    int32_t enabled;
    // A timer clock's format needs 100 characters and reuses the room of the
    // time and date formats, which it has no use for.
    union {
        WCHAR timerformat[100];
        struct {
            WCHAR timeformat[32];
            WCHAR dateformat[32];
        };
    };
    WCHAR label[78];              // tooltip of a timer, else a copy of the prefix
    WCHAR location[162];
    SYSTEMTIME currentTime;       // run time: local time of the last update
    ZoneRecord zone;
    WCHAR skin[80];
    RECT clockRect;               // run time: the face in the window showing it
    COLORREF firstColour;
    COLORREF secondColour;        // bit 31: system colour index in the low 24 bits
    uint8_t alpha;                // 10..255, desktop clock opacity
    uint8_t padding0[3];
    int32_t transparent;
    int32_t on_desktop;
    int32_t showsSeconds;         // derived from the time or timer format
    int32_t seconds_hand;
    int32_t suffix;               // AM/PM suffix
    int32_t usedaylight;          // the user's choice
    int32_t zoneHasDaylight;      // the zone has a daylight rule
    WCHAR prefix[32];
    int32_t action;               // what a click on the clock does
    WCHAR url[512];
    int32_t running;
    uint32_t runtimeArea;         // run time only
    uint32_t duration;            // countdown seconds; 0 for a countdown to a date
    SYSTEMTIME targetTime;        // in the clock's zone: `term` or `start_at`
    uint64_t start;               // UTC FILETIME value: timer start, or the moment it runs to
    uint64_t elapsed;             // 100 ns: elapsed (stopwatch) or remaining (countdown)
    int32_t exec_action;
    int32_t profilesEnabled;      // key `profiles`
    int32_t profileCount;         // 0..12
    uint32_t padding1;
    BackgroundProfile profiles[kMaxBackgroundProfiles];
    int32_t alarmsEnabled;        // key `alarms`
    int32_t alarmCount;
    AlarmRecord* alarms;          // owning process only
    int32_t expanded;             // settings tree: bit 0 clock, 1 alarms, 2 backgrounds
    uint32_t padding2;
};

static_assert(sizeof(void*) == 8, "the record layout is that of the 64-bit programs");
static_assert(sizeof(ClockRecord) == 5408);
static_assert(offsetof(ClockRecord, number) == 0);
static_assert(offsetof(ClockRecord, kind) == 4);
static_assert(offsetof(ClockRecord, enabled) == 8);
static_assert(offsetof(ClockRecord, timerformat) == 12);
static_assert(offsetof(ClockRecord, timeformat) == 12);
static_assert(offsetof(ClockRecord, dateformat) == 76);
static_assert(offsetof(ClockRecord, label) == 212);
static_assert(offsetof(ClockRecord, location) == 368);
static_assert(offsetof(ClockRecord, currentTime) == 692);
static_assert(offsetof(ClockRecord, zone) == 708);
static_assert(offsetof(ClockRecord, skin) == 1232);
static_assert(offsetof(ClockRecord, clockRect) == 1392);
static_assert(offsetof(ClockRecord, firstColour) == 1408);
static_assert(offsetof(ClockRecord, secondColour) == 1412);
static_assert(offsetof(ClockRecord, alpha) == 1416);
static_assert(offsetof(ClockRecord, transparent) == 1420);
static_assert(offsetof(ClockRecord, on_desktop) == 1424);
static_assert(offsetof(ClockRecord, showsSeconds) == 1428);
static_assert(offsetof(ClockRecord, seconds_hand) == 1432);
static_assert(offsetof(ClockRecord, suffix) == 1436);
static_assert(offsetof(ClockRecord, usedaylight) == 1440);
static_assert(offsetof(ClockRecord, zoneHasDaylight) == 1444);
static_assert(offsetof(ClockRecord, prefix) == 1448);
static_assert(offsetof(ClockRecord, action) == 1512);
static_assert(offsetof(ClockRecord, url) == 1516);
static_assert(offsetof(ClockRecord, running) == 2540);
static_assert(offsetof(ClockRecord, runtimeArea) == 2544);
static_assert(offsetof(ClockRecord, duration) == 2548);
static_assert(offsetof(ClockRecord, targetTime) == 2552);
static_assert(offsetof(ClockRecord, start) == 2568);
static_assert(offsetof(ClockRecord, elapsed) == 2576);
static_assert(offsetof(ClockRecord, exec_action) == 2584);
static_assert(offsetof(ClockRecord, profilesEnabled) == 2588);
static_assert(offsetof(ClockRecord, profileCount) == 2592);
static_assert(offsetof(ClockRecord, profiles) == 2600);
static_assert(offsetof(ClockRecord, alarmsEnabled) == 5384);
static_assert(offsetof(ClockRecord, alarmCount) == 5388);
static_assert(offsetof(ClockRecord, alarms) == 5392);
static_assert(offsetof(ClockRecord, expanded) == 5400);

inline bool IsTimerClock(const ClockRecord& c) { return (c.kind & kClockTimer) != 0; }
inline bool IsCountdown(const ClockRecord& c) {
    return (c.kind & (kClockTimer | kClockCountdown)) == (kClockTimer | kClockCountdown);
}
inline bool IsStopwatch(const ClockRecord& c) {
    return (c.kind & (kClockTimer | kClockCountdown)) == kClockTimer;
}
// A countdown to a date or a stopwatch from a set start time.
inline bool HasSetDate(const ClockRecord& c) {
    return (c.kind & (kClockTimer | kClockSetDate)) == (kClockTimer | kClockSetDate);
}
