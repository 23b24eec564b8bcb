// Dated zone-rule changes of tz_changes.txt: each replaces a zone's rule from
// a moment (UTC) on. The live zone table takes the changes as their moments
// pass; the converter and the time table rebuild any other date from the
// pristine table. One table per process, owned by the GUI thread.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/records/zone_record.h"

struct ClockRecord;

struct ZoneUpdateRecord {
    ZoneRecord* live;        // entry of the live table to overwrite; null once applied
    ZoneRecord replacement;  // the zone as it is from the moment on
    SYSTEMTIME moment;       // UTC; weekday and milliseconds 0
    int64_t key;             // DateKey of the moment
};

struct ZoneUpdateTable {
    ZoneUpdateRecord* entries = nullptr;  // zero-filled global memory, in file order
    int count = 0;
    int capacity = 0;
};

extern ZoneUpdateTable g_zoneUpdates;

inline constexpr int kZoneUpdateMaxChars = 2047;

// Reads the file; needs the live zone table. False when the file cannot be
// opened or the table cannot be allocated; true otherwise, also when no line
// was usable. The file lists changes in ascending order of their moments:
// the walks below stop at the first later entry.
bool LoadZoneUpdates(const wchar_t* path);

// Applies to the live table, once each, the changes whose moment is not
// later than `utc`; answers how many were applied. Callers then give the
// clocks their new records (ApplyZoneUpdatesToClocks).
int ZoneUpdatesDue(const SYSTEMTIME& utc);

// Overwrites the record with the last change of its id whose moment is not
// later than `utc`, keeping the record's city count. False when no change was
// found.
bool ApplyZoneUpdatesAt(ZoneRecord* record, const SYSTEMTIME& utc);

// Overwrites the record with the pristine record of its id, keeping its city
// count; false when the pristine table has no such id.
bool RestoreZoneRecord(ZoneRecord* record);

// Copies into each clock the live record of its zone id, as the clock shows
// it (ClockDisplayZone).
void ApplyZoneUpdatesToClocks(ClockRecord* clocks, int count);
// The same over the program's own clock table.
void ApplyZoneUpdatesToClocks();

// After the computer's clock went back a year: the pristine rules return to
// the live table, every change is due again, the clocks get the records.
void ResetZoneTables();

void FreeZoneUpdates();
