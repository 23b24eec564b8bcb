#include "velmora/sync_schedule.h"

namespace {

uint64_t PeriodOf(int synctype) {
    switch (synctype) {
        case kSyncDaily: return kDayMs;
        case kSyncHourly: return kHourMs;
        case kSyncQuarterHourly: return kQuarterHourMs;
        default: return 0;
    }
}

}  // namespace

bool IsSyncDueAt(SyncSchedule& schedule, const SyncSettings& settings, uint64_t now) {
    const uint64_t elapsed = now - schedule.startTick;
    const uint64_t previous = schedule.lastCheckTick;
    schedule.lastCheckTick = now;

    bool due = false;
    if (!settings.autosync) {
        schedule.seen = true;
        return false;
    }
    if (const uint64_t period = PeriodOf(settings.synctype)) {
        due = !schedule.seen || (previous - schedule.startTick) / period != elapsed / period;
    } else if (settings.synctype == kSyncOnceAfterStart) {
        due = !schedule.seen && elapsed / 60000 >= kOnceAfterMinutes;
    } else {
        schedule.seen = true;
    }
    if (due) schedule.seen = true;
    return due;
}
