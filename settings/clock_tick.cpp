#include "settings/clock_tick.h"

#include "common/zones/zone_updates.h"

namespace {

void RestorePristine() { ResetZoneTables(); }
int ApplyDue(const SYSTEMTIME& utc) { return ZoneUpdatesDue(utc); }
void UpdateClocks() { ApplyZoneUpdatesToClocks(); }

const ZoneChangeOps kRealOps = {RestorePristine, ApplyDue, UpdateClocks};

}  // namespace

const ZoneChangeOps& RealZoneChangeOps() { return kRealOps; }

bool OnClockTick(const SYSTEMTIME& utc, ClockTickState& state, const ZoneChangeOps& ops) {
    const int32_t dayKey = utc.wYear * 512 + utc.wMonth * 32 + utc.wDay - 33;
    const int32_t second = utc.wHour * 3600 + utc.wMinute * 60 + utc.wSecond;
    if (dayKey == state.dayKey && second == state.second) return false;
    state.dayKey = dayKey;
    state.second = second;

    if (utc.wYear < state.year && ops.restorePristine) ops.restorePristine();
    state.year = utc.wYear;

    if (ops.applyDue && ops.applyDue(utc) > 0 && ops.updateClocks) ops.updateClocks();
    return true;
}
