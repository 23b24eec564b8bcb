#include "common/zones/clock_time.h"

#include "common/records/clock_record.h"
#include "common/zones/system_time_steps.h"
#include "common/zones/local_zone.h"
#include "common/zones/zone_rules.h"
#include "common/zones/zone_time.h"

bool ClockShowsUtc(const ClockRecord& clock) { return IsTimerClock(clock) && !HasSetDate(clock); }

ZoneRecord ClockDisplayZone(const ClockRecord& clock) {
    ZoneRecord zone = clock.zone;
    // A zone the table lacks runs on the computer's rules, biases and all.
    if (!IsLocalZoneKey(zone) && zone.id != kMissingZoneId && clock.usedaylight == 0) {
        zone.StandardBias = 0;
        zone.DaylightBias = 0;
    }
    return zone;
}

bool ClockTimeToUtc(const SYSTEMTIME& local, SYSTEMTIME* out, const ClockRecord& clock) {
    if (!out || !IsValidMoment(local)) return false;
    if (ClockShowsUtc(clock)) {
        *out = local;
        return true;
    }
    SYSTEMTIME in = local;
    FixWeekday(in);  // the transition rules read the weekday
    const ZoneRecord zone = ClockDisplayZone(clock);
    return ZoneTimeToUtc(out, zone, in);
}

bool PassedInFirstPass(const SYSTEMTIME& local, const SYSTEMTIME& checkedUtc, const ClockRecord& clock) {
    if (ClockShowsUtc(clock)) return false;
    SYSTEMTIME t = local;
    if (!FixWeekday(t)) return false;
    const ZoneRecord zone = ClockDisplayZone(clock);
    int start = 0, end = 0;
    if (GetTransitionWindow(t, zone, &start, &end) != 0 || end <= start) return false;
    const int minute = t.wHour * 60 + t.wMinute;
    if (minute < start || minute >= end) return false;
    // ZoneTimeToUtc reads a repeated time as standard time, the second pass;
    // the first pass came the length of the repeat earlier.
    SYSTEMTIME secondPass, firstPass;
    if (!ZoneTimeToUtc(&secondPass, zone, t)) return false;
    if (!AddSecondsToSystemTime(secondPass, -static_cast<int64_t>(end - start) * 60, firstPass)) return false;
    return CompareSystemTimes(firstPass, checkedUtc) <= 0;
}

SYSTEMTIME LatestClockTimeShown(const SYSTEMTIME& prevUtc, const SYSTEMTIME& nowUtc, const SYSTEMTIME& nowLocal,
                                const ClockRecord& clock) {
    if (ClockShowsUtc(clock)) return nowLocal;
    SYSTEMTIME day = nowLocal;
    if (!FixWeekday(day)) return nowLocal;
    const ZoneRecord zone = ClockDisplayZone(clock);
    int start = 0, end = 0;
    if (GetTransitionWindow(day, zone, &start, &end) != 0 || end <= start) return nowLocal;
    day.wHour = day.wMinute = day.wSecond = day.wMilliseconds = 0;
    // The repeat's first minute read as standard time is the switch itself.
    SYSTEMTIME repeatStart, switchUtc, lastBefore;
    if (!AddSecondsToSystemTime(day, static_cast<int64_t>(start) * 60, repeatStart) ||
        !ZoneTimeToUtc(&switchUtc, zone, repeatStart) ||
        !AddSecondsToSystemTime(day, static_cast<int64_t>(end) * 60 - 1, lastBefore)) {
        return nowLocal;
    }
    if (CompareSystemTimes(prevUtc, switchUtc) >= 0 || CompareSystemTimes(switchUtc, nowUtc) > 0) return nowLocal;
    return CompareSystemTimes(lastBefore, nowLocal) > 0 ? lastBefore : nowLocal;
}
