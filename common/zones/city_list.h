// The city list of cities.txt: each clock's location, with its zone. One
// table per process, owned by the GUI thread; lookups search from the first.
#pragma once

#include <cstddef>

#include "common/records/city_record.h"

// A label is the city name, ", " and the region: room for 79 + 2 + 80
// characters, the size of a clock's location text.
inline constexpr int kCityLabelChars = 162;
inline constexpr int kCityLineMaxChars = 1023;
// Cities kept from cities.txt (the suite ships about 2,000). The whole table
// goes to the taskbar clock in one WM_COPYDATA block, which must stay well
// below the 2 MB a cross-process block can reliably carry.
inline constexpr int kMaxCities = 4096;

struct CityTable {
    CityRecord* cities = nullptr;  // heap array; handed to the map plug-in in place
    int count = 0;
    int capacity = 0;
};

extern CityTable g_cities;

// Frees any previous list, resets every live zone's city count and reads the
// file, up to kMaxCities cities. True when at least one city was read. Lines whose zone key is not in
// the live zone table are dropped, so the zone database must be loaded first.
bool LoadCityList(const wchar_t* path);
void FreeCityList();

// "<city>, <region>", cut to the buffer; nothing when the buffer is missing.
void FormatCityLabel(const CityRecord& city, wchar_t* buffer, size_t chars);
// Index of the first city whose label equals the text, ignoring case; -1 when
// none, or when the table or the text is missing.
int FindCity(const wchar_t* label);

// The country name of the user's default locale, at most 160 characters;
// true when the system returned text.
bool GetLocaleCountryName(wchar_t* buffer, size_t chars);
