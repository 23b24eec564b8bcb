// The frame's 300 ms tick: it follows the UTC date and second so that dated
// zone-rule changes reach the zone table and the clocks as their moments pass.
#pragma once

#include <windows.h>

#include <cstdint>

struct ClockTickState {
    int32_t dayKey = -1;  // year * 512 + month * 32 + day - 33 of the last tick
    int32_t second = -1;  // second of that day
    int year = 0;         // year of the last tick
};

// What the tick does to the zone tables; tests put recorders in.
struct ZoneChangeOps {
    void (*restorePristine)();                // tables back to their loaded state, changes due again
    int (*applyDue)(const SYSTEMTIME& utc);   // applies changes valid at utc; how many
    void (*updateClocks)();                   // clocks take the updated zone records
};
// The real operations over the program's zone tables and clock table.
const ZoneChangeOps& RealZoneChangeOps();

// One tick at `utc`. Nothing happens when the day and second equal the last
// tick's. A year earlier than the last one (the clock was set back) restores
// the pristine zones first. Returns true when the zone step ran.
bool OnClockTick(const SYSTEMTIME& utc, ClockTickState& state, const ZoneChangeOps& ops = RealZoneChangeOps());
