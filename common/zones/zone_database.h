// The table of time zones loaded from timezones.txt. Entry 0 is always the
// computer's own zone ("Local System Time"). Only the GUI thread touches the
// tables, so there is no lock.
#pragma once

#include <windows.h>

#include <string>

#include "common/records/zone_record.h"

struct ZoneTables {
    ZoneRecord* live = nullptr;      // entries, zero-filled global memory; null until loaded
    ZoneRecord* pristine = nullptr;  // copy of `live` taken at the end of loading
    int count = 0;                   // entries in both tables
    int capacity = 0;                // records allocated for `live`
    std::wstring errors;             // one line per line of the file that loading refused
};

// The tables of this process.
extern ZoneTables g_zones;

// Builds both tables from the file. True when at least one zone besides entry
// 0 was read. Does nothing and answers false when the live table exists. A
// line whose id is 0 or below is refused: its file line goes to `errors` and
// to the debugger's output.
bool LoadZoneDatabase(const wchar_t* path);

// Frees both tables and sets the count to 0.
void FreeZoneTables();

// Lookups search from the last entry to the first, so a later line of the
// file wins over an earlier one with the same key or id.
// Index of the entry whose key equals `key` exactly (case-sensitive); -1 if
// none; 0 when the table or the text is missing.
int FindZoneByName(const wchar_t* key);
// Index of the entry with that id; -1 if none or the table is missing.
int FindZoneById(int id);
int FindZoneById(const ZoneRecord* table, int count, int id);
// Index of the entry whose display name equals `text` exactly; -1 if none; 0
// when the table or the text is missing.
int FindZoneByDisplayName(const wchar_t* text);
