#include "common/zones/zone_time.h"

#include "common/records/clock_record.h"
#include "common/zones/clock_time.h"
#include "common/zones/date_math.h"
#include "common/zones/local_zone.h"
#include "common/zones/zone_rules.h"

bool UtcToZoneTime(const SYSTEMTIME& utc, SYSTEMTIME* out, const ZoneRecord& zone) {
    if (!out) return false;
    if (HasValidDstRule(zone)) {
        // The record starts with a TIME_ZONE_INFORMATION (pinned in zone_record.h).
        auto* tzi = reinterpret_cast<TIME_ZONE_INFORMATION*>(const_cast<ZoneRecord*>(&zone));
        SYSTEMTIME in = utc;
        return SystemTimeToTzSpecificLocalTime(tzi, &in, out) != FALSE;
    }
    *out = utc;
    AddMinutes(*out, -zone.Bias);
    int state = GetDstState(zone, *out);
    if (state == kDstStandard) AddMinutes(*out, -zone.StandardBias);
    if (state == kDstDaylight) AddMinutes(*out, -zone.DaylightBias);
    return true;
}

bool ZoneTimeToUtc(SYSTEMTIME* out, const ZoneRecord& zone, const SYSTEMTIME& local) {
    if (!out) return false;
    *out = local;
    // The transition day is found from the weekday; callers reading a date
    // from text leave it 0, so it comes from the date itself.
    const int64_t day = DaysSince1601(local);
    if (day > 0) out->wDayOfWeek = static_cast<WORD>(WeekdayOfDayNumber(day));
    int state = GetDstState(zone, *out);
    if (state != kDstNone) {
        int start = 0, end = 0;
        if (GetTransitionWindow(*out, zone, &start, &end) == 1) {
            // The first minute of the gap does not exist either: it too
            // becomes the first minute after the gap.
            int minuteOfDay = out->wHour * 60 + out->wMinute;
            if (minuteOfDay >= start && minuteOfDay < end) {
                out->wHour = static_cast<WORD>(end / 60);
                out->wMinute = static_cast<WORD>(end % 60);
            }
        }
    }
    int bias = state == kDstStandard ? zone.StandardBias : state == kDstDaylight ? zone.DaylightBias : 0;
    AddMinutes(*out, zone.Bias + bias);
    return true;
}

bool UtcToClockTime(const SYSTEMTIME& utc, SYSTEMTIME* out, const ClockRecord& clock) {
    if (!out) return false;
    if ((clock.kind & kClockTimer) && (clock.kind & (kClockTimer | kClockSetDate)) != (kClockTimer | kClockSetDate)) {
        *out = utc;
        return true;
    }
    return UtcToZoneTime(utc, out, ClockDisplayZone(clock));
}

namespace {
bool SameTransition(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour && a.wMinute == b.wMinute;
}

// A date key without its seconds (a day spans 100000 units of the key).
int64_t ToMinute(int64_t dateKey) {
    const int64_t second = dateKey % 100000;
    return dateKey - second + second / 60 * 60;
}

// The system may state its rule as this year's two dates rather than a
// recurring one (as Wine does for a zone its registry lacks): the clock's
// rule then matches when it falls on the same days and minutes that year.
bool SameTransitionsIn(int year, const ZoneRecord& a, const ZoneRecord& b) {
    int64_t aStandard = 0, aDaylight = 0, bStandard = 0, bDaylight = 0;
    if (!GetDstTransitions(year, a, &aStandard, &aDaylight) || !GetDstTransitions(year, b, &bStandard, &bDaylight))
        return false;
    return ToMinute(aStandard) == ToMinute(bStandard) && ToMinute(aDaylight) == ToMinute(bDaylight);
}

bool SameTransitions(const ZoneRecord& zone, const ZoneRecord& local) {
    // The clock's own year fields are not compared: only the system's dates
    // make a year count.
    if (local.DaylightDate.wYear != 0) return SameTransitionsIn(local.DaylightDate.wYear, zone, local);
    return SameTransition(zone.DaylightDate, local.DaylightDate) && SameTransition(zone.StandardDate, local.StandardDate);
}

// A dated change that ends daylight saving keeps the old rule's dates with a
// daylight bias equal to the standard one: the offset never changes.
bool HasDaylightShift(const ZoneRecord& zone) {
    return zone.DaylightDate.wMonth != 0 && zone.DaylightBias != zone.StandardBias;
}
}  // namespace

bool IsSystemZone(const ClockRecord& clock) {
    if (IsLocalZoneKey(clock.zone) || clock.zone.id == kMissingZoneId) return true;
    const ZoneRecord& local = LocalZone();
    const ZoneRecord& zone = clock.zone;
    bool clockObserves = clock.usedaylight != 0 && HasDaylightShift(zone);
    bool systemObserves = AutoDaylightActive() && HasDaylightShift(local);
    if (clockObserves != systemObserves) return false;
    if (zone.Bias != local.Bias) return false;
    if (!clockObserves) return true;
    return zone.StandardBias == local.StandardBias && zone.DaylightBias == local.DaylightBias &&
           SameTransitions(zone, local);
}
