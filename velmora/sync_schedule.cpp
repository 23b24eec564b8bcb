#include "velmora/sync_schedule.h"

namespace {

DWORD PeriodOf(int synctype) {
    switch (synctype) {
        case kSyncDaily: return kDayMs;
        case kSyncHourly: return kHourMs;
        case kSyncQuarterHourly: return kQuarterHourMs;
        default: return 0;
    }
}

}  // namespace

bool IsSyncDueAt(SyncSchedule& schedule, const SyncSettings& settings, DWORD now) {
    const DWORD elapsed = now - schedule.startTick;
    const DWORD previous = schedule.lastCheckTick;
    schedule.lastCheckTick = now;

    bool due = false;
    if (!settings.autosync) {
        schedule.seen = true;
        return false;
    }
    if (const DWORD period = PeriodOf(settings.synctype)) {
        due = !schedule.seen || (previous - schedule.startTick) / period != elapsed / period;
    } else if (settings.synctype == kSyncOnceAfterStart) {
        due = !schedule.seen && elapsed / 60000 >= kOnceAfterMinutes;
    } else {
        schedule.seen = true;
    }
    if (due) schedule.seen = true;
    return due;
}
