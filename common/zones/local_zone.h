// The computer's own zone: entry 0 of the zone tables, "Local System Time",
// and the automatic daylight-saving flag that goes with it.
#pragma once

#include "common/records/zone_record.h"

// Fills a record for the computer's zone: key and display name "Local System
// Time", the TIME_ZONE_INFORMATION of the system, the weeks of recurring
// transitions (wDay, or -1 for the last week), id 0.
void GetLocalZoneRecord(ZoneRecord* record);

// True when the record's key is "Local System Time".
bool IsLocalZoneKey(const ZoneRecord& zone);

// Rebuilds the local record and spreads it: over entry 0 of both zone tables
// and into every clock of the clock table whose zone is "Local System Time",
// whose `usedaylight` then follows the automatic daylight-saving flag. Clocks
// whose zone the table lacks take the local rules (keeping their key and
// name); a clock on a named key, the computer's own included, keeps its
// user's daylight-saving choice.
void RefreshLocalZone();

// State of the last RefreshLocalZone (taken on first use when it never ran):
// the local record, and whether the system adjusts for daylight saving
// automatically (the zone has a daylight rule and it is not switched off).
const ZoneRecord& LocalZone();
bool AutoDaylightActive();
