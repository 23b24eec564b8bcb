// The data the main program loads at start and the zone-rule maintenance of
// the tick, in the form the main window uses them.
#pragma once

#include <windows.h>

#include <cstddef>

// Loads timezones.txt, then (only when that succeeded) tz_changes.txt, applies
// the dated changes valid now, and loads cities.txt, all from the folder
// (ending in a backslash). False when any of the three failed.
bool LoadDataFiles(const wchar_t* folder);
// Frees the city table, the dated changes and the zone tables.
void FreeDataFiles();

// The city table as it is shipped to the taskbar clock.
const void* CityTableBytes(std::size_t& count);
int CityCount();

// Rebuilds the "Local System Time" zone.
void RebuildLocalZone();
// The year went backwards: the zone tables go back to their loaded state and
// the clocks take their zones again. True when anything was restored.
bool RestorePristineZones();
// Applies dated zone-rule changes that have become valid at `utc` to the
// tables and the clocks; true when any did.
bool ApplyDueZoneChanges(const SYSTEMTIME& utc);

// Advances a timer or stopwatch clock to the moment `utc`.
void AdvanceTimerClock(int index, const SYSTEMTIME& utc);

// Frees the clock table with its alarm lists (counts become 0).
void FreeClockTable();
