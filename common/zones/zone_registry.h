// The Windows time-zone registry: localised zone names, the zone key of a
// standard-time name, and the switch that turns automatic daylight saving off.
#pragma once

#include <windows.h>

#include "common/records/zone_record.h"

inline constexpr wchar_t kTimeZonesKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
inline constexpr wchar_t kTimeZoneInformationKey[] = L"SYSTEM\\CurrentControlSet\\Control\\TimeZoneInformation";

// DisableAutoDaylightTimeSet; 0 when the key or value is missing or the value
// is not 4 bytes long.
DWORD ReadAutoDaylightDisabled();

// Reads a string value under HKLM into a buffer of `chars` characters; the
// number of bytes read, or 0 and an empty buffer on any failure (a value that
// does not fit or is not a string included).
int ReadRegistryString(const wchar_t* subkey, const wchar_t* value, wchar_t* buffer, int chars);

// Where the registry knows the record's key, its "Display", "Std" and "Dlt"
// texts replace the record's display, standard and daylight names. True when
// the key has a non-empty display text.
bool ReadZoneRegistryNames(ZoneRecord& record);

// The texts of one zone key as ReadZoneRegistryNames takes them, already cut
// to the record's fields.
struct ZoneRegistryNames {
    bool hasDisplay = false;  // a non-empty "Display"; without it nothing else is read
    bool hasStandard = false;
    bool hasDaylight = false;
    WCHAR displayName[sizeof(ZoneRecord::displayName) / sizeof(WCHAR)] = {};
    WCHAR standardName[sizeof(ZoneRecord::StandardName) / sizeof(WCHAR)] = {};
    WCHAR daylightName[sizeof(ZoneRecord::DaylightName) / sizeof(WCHAR)] = {};
};

// Reads the texts of an open zone key (a null key has none).
ZoneRegistryNames ReadZoneNamesOfKey(HKEY zone);

// Puts the texts into the record as ReadZoneRegistryNames does; its answer.
bool ApplyZoneRegistryNames(const ZoneRegistryNames& names, ZoneRecord& record);

// Finds the zone whose "Std" value equals `name` exactly (subkeys enumerated
// from the first). The buffer receives that zone's value `valueName` when one
// is given, else the zone's key name; it is empty when no zone matches.
// Returns the length of the result.
int FindZoneKeyByStdName(const wchar_t* name, wchar_t* buffer, int chars, const wchar_t* valueName = nullptr);

// The same lookup for the standard name of the computer's current zone; -1
// (and an empty buffer) when the system reports no zone.
int GetCurrentZoneKeyName(wchar_t* buffer, int chars, const wchar_t* valueName = nullptr);
