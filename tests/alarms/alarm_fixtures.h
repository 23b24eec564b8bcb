// Alarms, clocks and a recording sink for the alarm tests.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/records/alarm_record.h"
#include "common/records/clock_record.h"
#include "common/alarms/alarm_schedule_check.h"
#include "common/zones/system_time_steps.h"
#include "tests/time/zone_fixtures.h"

namespace alarm_fixtures {

using zone_fixtures::Dated;

inline AlarmRecord Alarm(int type) {
    AlarmRecord a;
    std::memset(&a, 0, sizeof a);
    a.type = type;
    a.enabled = 1;
    return a;
}

inline AlarmRecord Once(const SYSTEMTIME& t) {
    AlarmRecord a = Alarm(kAlarmOnce);
    a.onceTime = t;
    return a;
}

inline AlarmRecord Daily(const SYSTEMTIME& start, int every) {
    AlarmRecord a = Alarm(kAlarmDaily);
    a.dailyStart = start;
    a.dailyInterval = every;
    return a;
}

inline AlarmRecord Weekly(const SYSTEMTIME& start, int every, uint32_t mask) {
    AlarmRecord a = Alarm(kAlarmWeekly);
    a.weeklyStart = start;
    a.weeklyInterval = every;
    a.weekdayMask = mask;
    return a;
}

inline AlarmRecord MonthlyDay(uint32_t day, uint32_t seconds, int every = 1, uint32_t startMonth = 1,
                              uint32_t startYear = 2000) {
    AlarmRecord a = Alarm(kAlarmMonthly);
    a.monthlyDay = day;
    a.monthlyTime = seconds;
    a.monthlyInterval = every;
    a.monthlyStartMonth = startMonth;
    a.monthlyStartYear = startYear;
    return a;
}

inline AlarmRecord MonthlyWeekday(uint32_t which, uint32_t weekday, uint32_t seconds) {
    AlarmRecord a = MonthlyDay(0, seconds);
    a.monthlyByWeekday = 1;
    a.monthlyWhich = which;
    a.monthlyWeekday = weekday;
    return a;
}

inline AlarmRecord Yearly(uint32_t month, uint32_t day, uint32_t seconds) {
    AlarmRecord a = Alarm(kAlarmYearly);
    a.yearlyMonth = month;
    a.yearlyDay = day;
    a.yearlyTime = seconds;
    return a;
}

inline AlarmRecord Cron(const CronSchedule& cron) {
    AlarmRecord a = Alarm(kAlarmCron);
    a.cron = cron;
    return a;
}

inline bool Same(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return CompareSystemTimes(a, b) == 0 && a.wMilliseconds == b.wMilliseconds;
}

// A clock of a zone owning its alarm list.
struct TestClock {
    ClockRecord record;
    std::vector<AlarmRecord> alarms;

    explicit TestClock(const ZoneRecord& zone) {
        std::memset(&record, 0, sizeof record);
        record.zone = zone;
        record.enabled = 1;
        record.usedaylight = 1;
        record.alarmsEnabled = 1;
    }
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;

    void Add(const AlarmRecord& alarm) {
        alarms.push_back(alarm);
        record.alarms = alarms.data();
        record.alarmCount = static_cast<int>(alarms.size());
    }
};

struct Fired {
    bool reminder;
    SYSTEMTIME due;
    std::wstring comment;
};

class RecordingSink : public AlarmSink {
public:
    std::vector<Fired> calls;
    void OnAlarmDue(const AlarmRecord& alarm, const SYSTEMTIME& due, ClockRecord*) override {
        calls.push_back({false, due, alarm.comment});
    }
    void OnReminderDue(ClockRecord*, const AlarmRecord& alarm, const SYSTEMTIME& due) override {
        calls.push_back({true, due, alarm.comment});
    }
};

// Runs the tick's check once a `step` seconds from `fromUtc` (the previous
// check) up to and including `toUtc`, as the main window does.
inline void RunTicks(ClockRecord& clock, const SYSTEMTIME& fromUtc, const SYSTEMTIME& toUtc, int step,
                     AlarmCheckState& state, AlarmSink& sink, std::vector<SYSTEMTIME>* fireTicks = nullptr) {
    state.previousCheck = fromUtc;
    SYSTEMTIME now = fromUtc;
    for (;;) {
        SYSTEMTIME next;
        if (!AddSecondsToSystemTime(now, step, next) || CompareSystemTimes(next, toUtc) > 0) break;
        now = next;
        size_t before = static_cast<RecordingSink&>(sink).calls.size();
        CheckClockAlarms(clock, now, state, &sink);
        if (fireTicks && static_cast<RecordingSink&>(sink).calls.size() != before) fireTicks->push_back(now);
        state.previousCheck = now;
    }
}

}  // namespace alarm_fixtures
