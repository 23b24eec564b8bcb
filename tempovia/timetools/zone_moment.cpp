#include "tempovia/timetools/zone_moment.h"

#include "common/zones/clock_time.h"
#include "common/zones/date_math.h"
#include "common/platform/text_bounds.h"
#include "common/zones/zone_time.h"
#include "common/zones/zone_updates.h"

namespace {

bool ValidColumn(const std::vector<ClockRecord>& clocks, int k) {
    return k >= 0 && static_cast<size_t>(k) < clocks.size();
}

bool ValidDate(int year, int month, int day) {
    return year >= 1601 && year <= 30826 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(month, year);
}

// The UTC moment of the clock's local time, with the rules the clock holds.
bool LocalToMoment(const ClockRecord& clock, const SYSTEMTIME& local, SYSTEMTIME* utc) {
    SYSTEMTIME out{};
    if (!ZoneTimeToUtc(&out, ClockDisplayZone(clock), local)) return false;
    out.wMilliseconds = 0;
    *utc = out;
    return true;
}

}  // namespace

void ApplyZoneRulesForDate(ClockRecord& clock, const SYSTEMTIME& utc) {
    // Always from the pristine rule: a change that lies after the moment
    // must not survive from an earlier, later date. A zone the tables do not
    // know keeps the rules it holds.
    if (RestoreZoneRecord(&clock.zone)) ApplyZoneUpdatesAt(&clock.zone, utc);
    clock.zone = ClockDisplayZone(clock);
}

void ApplyRulesToClocks(std::vector<ClockRecord>& clocks, const SYSTEMTIME& utc) {
    for (ClockRecord& clock : clocks) ApplyZoneRulesForDate(clock, utc);
}

SYSTEMTIME ConverterOpeningMoment(const SYSTEMTIME& utcNow) {
    SYSTEMTIME moment = utcNow;
    moment.wMinute = 0;
    moment.wSecond = 0;
    moment.wMilliseconds = 0;
    // After 23:00 the next hour is on the next day.
    AddMinutes(moment, 60);
    return moment;
}

std::vector<ClockRecord> CopyConverterClocks(const ClockRecord* clocks, int count, bool transparent) {
    std::vector<ClockRecord> copies;
    if (!clocks || count <= 0) return copies;
    if (count > kMaxClocks) count = kMaxClocks;
    for (int i = 0; i < count; ++i) {
        const ClockRecord& clock = clocks[i];
        if (!clock.enabled || IsTimerClock(clock)) continue;
        ClockRecord copy = clock;
        CopyBounded(copy.timeformat, L"Default");
        CopyBounded(copy.dateformat, L"None");
        copy.showsSeconds = 0;
        copy.seconds_hand = 0;
        copy.alarms = nullptr;  // the main table owns the alarm lists
        copy.alarmCount = 0;
        copy.transparent = transparent ? 1 : 0;
        copies.push_back(copy);
    }
    return copies;
}

bool ConverterLocalTime(const ClockRecord& clock, const SYSTEMTIME& utc, SYSTEMTIME* local) {
    if (!local) return false;
    SYSTEMTIME out{};
    if (!UtcToClockTime(utc, &out, clock)) return false;
    // Weekday from the date itself, whichever way the platform filled it.
    const int64_t day = DaysSince1601(out);
    if (day > 0 || (out.wYear == 1601 && out.wMonth == 1 && out.wDay == 1))
        out.wDayOfWeek = static_cast<WORD>(WeekdayOfDayNumber(day));
    *local = out;
    return true;
}

bool ConvertPickedDate(std::vector<ClockRecord>& clocks, int k, const SYSTEMTIME& date, SYSTEMTIME& moment) {
    if (!ValidColumn(clocks, k) || !ValidDate(date.wYear, date.wMonth, date.wDay)) return false;
    ClockRecord& clock = clocks[k];
    SYSTEMTIME local{};
    if (!ConverterLocalTime(clock, moment, &local)) return false;
    local.wYear = date.wYear;
    local.wMonth = date.wMonth;
    local.wDay = date.wDay;
    local.wSecond = 0;
    local.wMilliseconds = 0;
    SYSTEMTIME utc{};
    // A first estimate with the rules held, then again with the column's
    // rules of the new moment.
    if (!LocalToMoment(clock, local, &utc)) return false;
    ApplyZoneRulesForDate(clock, utc);
    if (!LocalToMoment(clock, local, &utc)) return false;
    moment = utc;
    ApplyRulesToClocks(clocks, moment);
    return true;
}

bool ConvertPickedTime(std::vector<ClockRecord>& clocks, int k, const SYSTEMTIME& time, SYSTEMTIME& moment) {
    if (!ValidColumn(clocks, k) || time.wHour > 23 || time.wMinute > 59) return false;
    ClockRecord& clock = clocks[k];
    SYSTEMTIME before{};
    if (!ConverterLocalTime(clock, moment, &before)) return false;
    SYSTEMTIME local = before;
    local.wHour = time.wHour;
    local.wMinute = time.wMinute;
    local.wSecond = 0;
    local.wMilliseconds = 0;
    const int moved = (local.wHour * 60 + local.wMinute) - (before.wHour * 60 + before.wMinute);
    SYSTEMTIME utc{};
    if (!LocalToMoment(clock, local, &utc)) return false;
    // The picked time may lie on the other side of a dated change.
    ApplyZoneRulesForDate(clock, utc);
    if (!LocalToMoment(clock, local, &utc)) return false;
    // A picked time the zone skips has no moment of its own: the column's
    // clock would jump elsewhere, so the common moment moves by what the
    // user moved the picker instead.
    SYSTEMTIME shown{};
    if (moved != 0 && ConverterLocalTime(clock, utc, &shown) &&
        (shown.wHour != local.wHour || shown.wMinute != local.wMinute)) {
        utc = moment;
        AddMinutes(utc, moved);
    }
    moment = utc;
    ApplyRulesToClocks(clocks, moment);
    return true;
}
