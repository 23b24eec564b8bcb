// The clock page's location: a city label or a zone's display name, and the
// daylight-saving box that follows it.
#include <windows.h>

#include "common/zones/city_list.h"
#include "common/zones/local_zone.h"
#include "common/platform/text_bounds.h"
#include "common/zones/zone_database.h"
#include "settings/page_clock.h"
#include "settings/page_clock_tables.h"
#include "settings/page_controls.h"

namespace {

const ZoneRecord* ZoneAt(int index) {
    if (!g_zones.live || index < 0 || index >= g_zones.count) return nullptr;
    return &g_zones.live[index];
}

const ZoneRecord* CityZone(const CityRecord& city) {
    if (city.zone) return city.zone;
    return ZoneAt(FindZoneById(city.zoneId));
}

const CityRecord* CityAt(int index) {
    if (!g_cities.cities || index < 0 || index >= g_cities.count) return nullptr;
    return &g_cities.cities[index];
}

// The zone the text names, and the city when it is a city label.
const ZoneRecord* ZoneForText(const wchar_t* text, const CityRecord** city) {
    if (city) *city = nullptr;
    if (!text) return nullptr;
    if (const CityRecord* c = CityAt(FindCity(text))) {
        if (const ZoneRecord* zone = CityZone(*c)) {
            if (city) *city = c;
            return zone;
        }
    }
    return ZoneAt(FindZoneByDisplayName(text));
}

}  // namespace

bool ResolveLocation(const wchar_t* text, wchar_t* location, size_t locationChars, ZoneRecord* zone) {
    const CityRecord* city = nullptr;
    const ZoneRecord* found = ZoneForText(text, &city);
    if (found) {
        CopyBounded(location, locationChars, city ? text : L"");
        if (city) {
            // The label as the table spells it, whatever case was typed.
            wchar_t label[kCityLabelChars];
            FormatCityLabel(*city, label, kCityLabelChars);
            CopyBounded(location, locationChars, label);
        }
        if (zone) *zone = *found;
        return true;
    }
    CopyBounded(location, locationChars, L"");
    if (zone) GetLocalZoneRecord(zone);
    return false;
}

void UpdateDaylightCheck(HWND page) {
    const std::wstring text = ControlText(page, IDC_CLOCK_LOCATION, kCityLabelChars - 1);
    const ZoneRecord* zone = ZoneForText(text.c_str(), nullptr);
    if (!zone) return;
    if (IsLocalZoneKey(*zone)) {
        // The system decides for its own zone; the box only shows it.
        ZoneRecord local = {};
        GetLocalZoneRecord(&local);
        SetChecked(page, IDC_CLOCK_DAYLIGHT, local.DaylightBias != 0);
        EnableControl(page, IDC_CLOCK_DAYLIGHT, false);
    } else {
        EnableControl(page, IDC_CLOCK_DAYLIGHT, zone->StandardDate.wMonth != 0);
    }
}
