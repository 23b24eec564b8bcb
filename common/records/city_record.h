// One city of cities.txt as the programs exchange it. The layout is a binary
// contract: the whole array travels to the taskbar clock by WM_COPYDATA and
// is handed to the map plug-in, which works in each record's last 80 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/records/zone_record.h"

inline constexpr int kCityNameChars = 80;    // at most 79 characters kept
inline constexpr int kCityRegionChars = 84;  // at most 80 characters kept
inline constexpr int kCityRegionKept = 80;

// The map plug-in's per-city data; hosts zero it when loading and leave it
// alone while the plug-in holds the array.
struct CityMapArea {
    double position[4];    // on the globe: x, y, z, w = 1
    double projected[4];   // window projection: x, y, depth, w
    double distance2;      // squared distance to the last point searched without a result list
    uint8_t withinRadius;  // 1 when within the label radius of the last searched point
    uint8_t nearest;       // 1 for the nearest city of the last search
    uint8_t unused[6];
};

struct CityRecord {
    wchar_t city[kCityNameChars];
    wchar_t region[kCityRegionChars];  // region or country
    double latitude;                   // degrees, north positive
    double longitude;                  // degrees, east positive
    int32_t zoneId;
    int32_t padding;                   // zero
    ZoneRecord* zone;                  // entry of the loading process's live zone table; others clear it
    CityMapArea map;
};

static_assert(sizeof(CityMapArea) == 80);
static_assert(offsetof(CityMapArea, projected) == 32);
static_assert(offsetof(CityMapArea, distance2) == 64);
static_assert(offsetof(CityMapArea, withinRadius) == 72);
static_assert(offsetof(CityMapArea, nearest) == 73);
static_assert(offsetof(CityMapArea, unused) == 74);

static_assert(sizeof(CityRecord) == 440);
static_assert(offsetof(CityRecord, city) == 0);
static_assert(offsetof(CityRecord, region) == 160);
static_assert(offsetof(CityRecord, latitude) == 328);
static_assert(offsetof(CityRecord, longitude) == 336);
static_assert(offsetof(CityRecord, zoneId) == 344);
static_assert(offsetof(CityRecord, padding) == 348);
static_assert(offsetof(CityRecord, zone) == 352);
static_assert(offsetof(CityRecord, map) == 360);
static_assert(offsetof(CityRecord, map) + offsetof(CityMapArea, projected) == 392);
static_assert(offsetof(CityRecord, map) + offsetof(CityMapArea, distance2) == 424);
static_assert(offsetof(CityRecord, map) + offsetof(CityMapArea, withinRadius) == 432);
