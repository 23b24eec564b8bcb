// What the map dialog's list shows: the filtered cities, and the time zones
// ordered from west to east.
#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "common/mapdialog/map_dialog.h"
#include "common/zones/city_list.h"
#include "common/zones/zone_database.h"

namespace mapwin {

namespace {

std::wstring Field(const wchar_t* text, size_t chars) { return std::wstring(text, wcsnlen(text, chars)); }

}  // namespace

bool StartsWithNoCase(const wchar_t* text, const wchar_t* prefix, size_t chars) {
    if (!text || !prefix) return false;
    const size_t n = std::min(wcsnlen(prefix, chars), chars);
    if (n == 0) return true;
    const size_t have = wcsnlen(text, n);
    if (have < n) return false;
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text, static_cast<int>(n), prefix,
                          static_cast<int>(n)) == CSTR_EQUAL;
}

std::vector<int> FilterCities(const wchar_t* countryFilter) {
    std::vector<int> out;
    out.reserve(static_cast<size_t>(std::max(g_cities.count, 0)));
    for (int i = 0; i < g_cities.count && g_cities.cities; ++i) {
        const std::wstring region = Field(g_cities.cities[i].region, kCityRegionChars);
        if (StartsWithNoCase(region.c_str(), countryFilter, kSearchChars + 1)) out.push_back(i);
    }
    return out;
}

std::vector<const ZoneRecord*> SortedZoneRows() {
    std::vector<const ZoneRecord*> rows;
    if (!g_zones.live || g_zones.count <= 0) return rows;
    rows.push_back(&g_zones.live[0]);
    std::vector<const ZoneRecord*> rest;
    for (int i = 1; i < g_zones.count; ++i) rest.push_back(&g_zones.live[i]);
    std::stable_sort(rest.begin(), rest.end(), [](const ZoneRecord* a, const ZoneRecord* b) {
        const long oa = a->Bias + a->StandardBias;
        const long ob = b->Bias + b->StandardBias;
        if (oa != ob) return oa > ob;
        const std::wstring na = Field(a->displayName, std::size(a->displayName));
        const std::wstring nb = Field(b->displayName, std::size(b->displayName));
        return lstrcmpW(na.c_str(), nb.c_str()) < 0;
    });
    for (const ZoneRecord* z : rest) {
        if (rows.size() >= static_cast<size_t>(kMaxZoneRows)) break;
        rows.push_back(z);
    }
    return rows;
}

ZoneRowText ZoneRowTexts(const ZoneRecord& zone) {
    ZoneRowText out;
    const std::wstring display = Field(zone.displayName, std::size(zone.displayName));
    out.zone = Field(zone.StandardName, std::size(zone.StandardName));
    const size_t close = display.find(L')');
    if (!display.empty() && display[0] == L'(' && close != std::wstring::npos) {
        out.offset = display.substr(1, close - 1);
        size_t start = close + 1;
        while (start < display.size() && display[start] == L' ') ++start;
        out.name = display.substr(start);
        return out;
    }
    out.name = display;
    out.offset = L"GMT";
    const long offset = zone.Bias + zone.StandardBias;
    if (offset != 0) {
        const long minutes = offset < 0 ? -offset : offset;
        wchar_t text[32] = {};
        std::swprintf(text, 32, L"%lc%2.2d:%2.2d", offset < 0 ? L'+' : L'-', static_cast<int>(minutes / 60),
                      static_cast<int>(minutes % 60));
        out.offset += text;
    }
    return out;
}

}  // namespace mapwin
