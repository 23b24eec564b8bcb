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
// name); clocks on the computer's own zone key follow the flag as well.
void RefreshLocalZone();

// State of the last RefreshLocalZone (taken on first use when it never ran):
// the local record, and whether the system adjusts for daylight saving
// automatically (the zone has a daylight rule and it is not switched off).
const ZoneRecord& LocalZone();
bool AutoDaylightActive();

// The registry key of the computer's current zone (empty when the system's
// zone matches no key), looked up when first asked after each rebuild of the
// local record.
const wchar_t* LocalZoneKeyName();

// True when `key` names the computer's current zone.
bool IsComputerZoneKey(const wchar_t* key);

// True for a zone with a daylight rule under the computer's own key: a clock
// on it follows the system's daylight-saving choice rather than its own. The
// bias is compared first, which spares most zones the registry walk.
bool FollowsSystemDaylight(const ZoneRecord& zone);
