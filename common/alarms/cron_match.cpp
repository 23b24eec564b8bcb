#include "common/alarms/cron_match.h"

#include <cstdint>

#include "common/zones/system_time_steps.h"
#include "common/zones/date_math.h"

namespace {

constexpr uint32_t kAllHours = (1u << 24) - 1;
constexpr uint64_t kAllMinutes = (1ull << 60) - 1;

// Highest bit of mask at or below `top`; -1 when none.
int HighestBitAtOrBelow(uint64_t mask, int top) {
    if (top < 0) return -1;
    if (top < 63) mask &= (2ull << top) - 1;
    for (int b = top < 63 ? top : 63; b >= 0; --b) {
        if (mask & (1ull << b)) return b;
    }
    return -1;
}

// The last matching hour and minute of t's day not later than t's own time.
// Bits beyond hour 23 or minute 59 (only a damaged record has them) never match.
bool LastMatchingMinuteOfDay(const CronSchedule& cron, SYSTEMTIME& t) {
    const uint64_t hours = cron.hours ? (cron.hours & kAllHours) : kAllHours;
    const uint64_t minutes = cron.minutes ? (cron.minutes & kAllMinutes) : kAllMinutes;
    if (!hours || !minutes) return false;
    if (hours & (1ull << t.wHour)) {
        int m = HighestBitAtOrBelow(minutes, t.wMinute);
        if (m >= 0) {
            t.wMinute = static_cast<WORD>(m);
            return true;
        }
    }
    // An earlier hour of the day: any of its minutes is earlier than t.
    int h = HighestBitAtOrBelow(hours, static_cast<int>(t.wHour) - 1);
    if (h < 0) return false;
    t.wHour = static_cast<WORD>(h);
    t.wMinute = static_cast<WORD>(HighestBitAtOrBelow(minutes, 59));
    return true;
}

bool InMonthMask(uint32_t months, int month) { return month >= 0 && month < 32 && (months & (1u << month)) != 0; }

void StepBackOneDay(SYSTEMTIME& t) {
    if (!StepToPreviousDay(t)) StepToPreviousMonthEnd(t);
}

bool StillSearching(const SYSTEMTIME& t, const SYSTEMTIME& lower) {
    return t.wYear >= kCronFirstYear && CompareSystemTimes(t, lower) > 0;
}

}  // namespace

bool MatchCronSchedule(const CronSchedule& cron, const SYSTEMTIME& lower, SYSTEMTIME& t) {
    if (t.wYear < lower.wYear || t.wYear < kCronFirstYear) return false;
    SYSTEMTIME c = t;
    if (!FixWeekday(c)) return false;

    // Every pass either ends or moves c back by at least a day, and each pass
    // begins by checking the lower bound, so the walk always ends.
    for (;;) {
        if (!StillSearching(c, lower)) return false;

        if (cron.months) {
            while (!InMonthMask(cron.months, c.wMonth)) {
                StepToPreviousMonthEnd(c);
                if (!StillSearching(c, lower)) return false;
            }
        }

        if (cron.days > 0) {
            const uint32_t days = static_cast<uint32_t>(cron.days);
            bool leftMonth = false;
            while (!(days & (1u << ((c.wDay - 1) & 31)))) {
                if (!StepToPreviousDay(c)) {
                    StepToPreviousMonthEnd(c);
                    leftMonth = true;
                    break;
                }
            }
            if (leftMonth) continue;
        } else if (cron.days < 0) {
            const int64_t fromEnd = -static_cast<int64_t>(cron.days);
            const int64_t target = DaysInMonth(c.wMonth, c.wYear) - fromEnd + 1;
            if (target < 1 || c.wDay < target) {
                StepToPreviousMonthEnd(c);
                continue;
            }
            if (c.wDay > target) {
                // The whole target day lies before t.
                c.wDay = static_cast<WORD>(target);
                c.wHour = 23;
                c.wMinute = 59;
                c.wSecond = 59;
                FixWeekday(c);
            }
        }

        if (cron.weekdays && !(cron.weekdays & (1u << (c.wDayOfWeek & 31)))) {
            StepBackOneDay(c);
            continue;
        }

        if (LastMatchingMinuteOfDay(cron, c)) break;
        StepBackOneDay(c);
    }

    c.wSecond = 0;
    c.wMilliseconds = 0;
    if (CompareSystemTimes(c, lower) <= 0) return false;
    t = c;
    return true;
}
