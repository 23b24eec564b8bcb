// Alarms and reminders of a clock. The layouts are binary contracts: alarm lists
// are shipped whole to the taskbar clock.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// A cron-like rule; a mask of 0 means any value.
struct CronSchedule {
    uint64_t minutes;   // bit m for minute m, 0..59
    uint32_t hours;     // bit h for hour h, 0..23
    int32_t days;       // negative: -1..-31 counts from the month's end; else bit d-1 for day d
    uint32_t months;    // bit m for month m, 1..12 (bit 0 never set)
    uint32_t weekdays;  // bit w-1 for weekday w, 1..7
};

static_assert(sizeof(CronSchedule) == 24);
static_assert(offsetof(CronSchedule, minutes) == 0);
static_assert(offsetof(CronSchedule, hours) == 8);
static_assert(offsetof(CronSchedule, days) == 12);
static_assert(offsetof(CronSchedule, months) == 16);
static_assert(offsetof(CronSchedule, weekdays) == 20);

// Schedule kinds of AlarmRecord::type.
enum AlarmType : int32_t {
    kAlarmOnce = 0,
    kAlarmDaily = 1,
    kAlarmWeekly = 2,
    kAlarmMonthly = 3,
    kAlarmYearly = 4,
    kAlarmCron = 5,
};

struct AlarmRecord {
    int32_t type;               // AlarmType; always 0 in a timer clock
    int32_t enabled;            // 0 or 1
    WCHAR comment[78];
    int32_t reminder;           // signed minutes before the alarm
    int32_t action;             // 0..8
    WCHAR text[260];            // message, sound, program, document or address
    SYSTEMTIME onceTime;        // in the clock's zone
    uint32_t timerOffset;       // seconds on a timer clock's run
    SYSTEMTIME dailyStart;
    int32_t dailyInterval;      // every N days (0: working days)
    SYSTEMTIME weeklyStart;
    int32_t weeklyInterval;     // every N weeks
    uint32_t weekdayMask;       // one bit a day
    uint32_t monthlyTime;       // seconds of the day
    uint8_t monthlyByWeekday;   // 0 fixed day, 1 n-th weekday
    uint8_t padding0[3];
    uint32_t monthlyDay;
    uint32_t monthlyWhich;      // 1..5, 5 = last
    uint32_t monthlyWeekday;
    int32_t monthlyInterval;    // below 1 counts as 1
    uint32_t monthlyStartMonth; // 1..12
    uint32_t monthlyStartYear;
    uint32_t yearlyTime;        // seconds of the day
    uint8_t yearlyByWeekday;
    uint8_t padding1[3];
    uint32_t yearlyMonth;       // 1..12
    uint32_t yearlyDay;
    uint32_t yearlyWhich;       // 1..5
    uint32_t yearlyWeekday;
    uint32_t padding2;
    CronSchedule cron;
};

static_assert(sizeof(AlarmRecord) == 840);
static_assert(offsetof(AlarmRecord, type) == 0);
static_assert(offsetof(AlarmRecord, enabled) == 4);
static_assert(offsetof(AlarmRecord, comment) == 8);
static_assert(offsetof(AlarmRecord, reminder) == 164);
static_assert(offsetof(AlarmRecord, action) == 168);
static_assert(offsetof(AlarmRecord, text) == 172);
static_assert(offsetof(AlarmRecord, onceTime) == 692);
static_assert(offsetof(AlarmRecord, timerOffset) == 708);
static_assert(offsetof(AlarmRecord, dailyStart) == 712);
static_assert(offsetof(AlarmRecord, dailyInterval) == 728);
static_assert(offsetof(AlarmRecord, weeklyStart) == 732);
static_assert(offsetof(AlarmRecord, weeklyInterval) == 748);
static_assert(offsetof(AlarmRecord, weekdayMask) == 752);
static_assert(offsetof(AlarmRecord, monthlyTime) == 756);
static_assert(offsetof(AlarmRecord, monthlyByWeekday) == 760);
static_assert(offsetof(AlarmRecord, monthlyDay) == 764);
static_assert(offsetof(AlarmRecord, monthlyWhich) == 768);
static_assert(offsetof(AlarmRecord, monthlyWeekday) == 772);
static_assert(offsetof(AlarmRecord, monthlyInterval) == 776);
static_assert(offsetof(AlarmRecord, monthlyStartMonth) == 780);
static_assert(offsetof(AlarmRecord, monthlyStartYear) == 784);
static_assert(offsetof(AlarmRecord, yearlyTime) == 788);
static_assert(offsetof(AlarmRecord, yearlyByWeekday) == 792);
static_assert(offsetof(AlarmRecord, yearlyMonth) == 796);
static_assert(offsetof(AlarmRecord, yearlyDay) == 800);
static_assert(offsetof(AlarmRecord, yearlyWhich) == 804);
static_assert(offsetof(AlarmRecord, yearlyWeekday) == 808);
static_assert(offsetof(AlarmRecord, padding2) == 812);
static_assert(offsetof(AlarmRecord, cron) == 816);

// Alarm sections per clock (<clock section>:alarm1 .. :alarm20).
inline constexpr int kMaxAlarmsPerClock = 20;
