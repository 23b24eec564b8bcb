#include "common/zones/city_list.h"

#include <windows.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "common/platform/data_fields.h"
#include "common/platform/data_file_lines.h"
#include "common/platform/text_bounds.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_key_index.h"

CityTable g_cities;

namespace {

constexpr int kCityFields = 6;
constexpr int kInitialRecords = 16;
constexpr int kZoneKeyKept = 63;
constexpr int kLocaleCountryChars = 160;

// A decimal number from the start of the field, in the C locale whatever the
// process locale is: blanks, sign, digits with one optional point, optional
// exponent. Infinite or not-a-number texts are no coordinates.
bool ParseCoordinate(DataField f, double* out) {
    const char* p = f.p;
    int n = f.n;
    char text[64];
    int i = 0;
    while (i < n && (p[i] == ' ' || p[i] == '\v' || p[i] == '\f')) ++i;
    int len = 0;
    if (i < n && (p[i] == '+' || p[i] == '-')) text[len++] = p[i++];
    int digits = 0;
    bool point = false;
    while (i < n && len < 48 && ((p[i] >= '0' && p[i] <= '9') || (p[i] == '.' && !point))) {
        if (p[i] == '.') point = true;
        else ++digits;
        text[len++] = p[i++];
    }
    if (digits == 0) return false;
    if (i + 1 < n && (p[i] == 'e' || p[i] == 'E')) {
        int j = i + 1, mark = len;
        text[len++] = 'e';
        if (j < n && (p[j] == '+' || p[j] == '-')) text[len++] = p[j++];
        int expDigits = 0;
        while (j < n && len < 60 && p[j] >= '0' && p[j] <= '9') {
            text[len++] = p[j++];
            ++expDigits;
        }
        if (expDigits == 0) len = mark;
    }
    text[len] = '\0';
    // Only digits, sign, point and exponent reach strtod, so the locale's
    // decimal separator could only matter for the point: swap it in.
    const char* dp = localeconv() && localeconv()->decimal_point ? localeconv()->decimal_point : ".";
    if (dp[0] != '.' && dp[0] != '\0' && dp[1] == '\0')
        for (int k = 0; k < len; ++k)
            if (text[k] == '.') text[k] = dp[0];
    double v = std::strtod(text, nullptr);
    if (!std::isfinite(v)) return false;
    *out = v;
    return true;
}

// Doubles the room (never past kMaxCities), so that the shipped ~2,000
// cities are copied a few times in all rather than once per 16 lines.
bool GrowTable() {
    const int doubled = g_cities.capacity > 0 ? g_cities.capacity * 2 : kInitialRecords;
    size_t capacity = static_cast<size_t>(doubled < kMaxCities ? doubled : kMaxCities);
    void* grown = std::realloc(g_cities.cities, capacity * sizeof(CityRecord));
    if (!grown) return false;
    g_cities.cities = static_cast<CityRecord*>(grown);
    g_cities.capacity = static_cast<int>(capacity);
    return true;
}

// Reads one line into the next free record; true when the city stays.
bool ReadCityLine(const char* line, const ZoneKeyIndex& zones, CityRecord& city) {
    DataField f[kCityFields + 1];
    if (SplitFields(line, f, kCityFields + 1) != kCityFields) return false;

    CopyFieldText(f[0], city.city, kCityNameChars);
    CopyFieldText(f[2], city.region, kCityRegionKept + 1);
    wchar_t key[kZoneKeyKept + 1];
    CopyFieldText(f[5], key, kZoneKeyKept + 1);
    int zone = zones.Find(key);
    if (zone < 0 || !g_zones.live || zone >= g_zones.count) return false;
    ZoneRecord& record = g_zones.live[zone];
    city.zone = &record;
    city.zoneId = record.id;
    // The zone counts the line even when its coordinates fail below.
    ++record.cityCount;

    double latitude = 0, longitude = 0;
    if (f[3].empty() || !ParseCoordinate(f[3], &latitude)) return false;
    if (f[4].empty() || !ParseCoordinate(f[4], &longitude)) return false;
    // The map places every city on the globe: a point off the Earth is a bad line.
    if (latitude < -90 || latitude > 90 || longitude < -180 || longitude > 180) return false;
    city.latitude = latitude;
    city.longitude = longitude;
    return true;
}

}  // namespace

bool LoadCityList(const wchar_t* path) {
    FreeCityList();
    if (g_zones.live)
        for (int i = 0; i < g_zones.count; ++i) g_zones.live[i].cityCount = 0;

    DataFileLines lines(path, kCityLineMaxChars);
    if (!lines.IsOpen()) return false;
    const ZoneKeyIndex zones;
    lines.ForEach([&zones](const char* line) {
        if (g_cities.count == kMaxCities) return false;
        if (g_cities.count == g_cities.capacity && !GrowTable()) return false;
        CityRecord& city = g_cities.cities[g_cities.count];
        std::memset(&city, 0, sizeof city);
        if (ReadCityLine(line, zones, city)) ++g_cities.count;
        return true;
    });
    return g_cities.count > 0;
}

void FreeCityList() {
    std::free(g_cities.cities);
    g_cities = CityTable();
}

void FormatCityLabel(const CityRecord& city, wchar_t* buffer, size_t chars) {
    if (!buffer || chars == 0) return;
    size_t n = CopyBounded(buffer, chars, city.city);
    if (n + 1 < chars) n += CopyBounded(buffer + n, chars - n, L", ");
    if (n + 1 < chars) CopyBounded(buffer + n, chars - n, city.region);
}

int FindCity(const wchar_t* label) {
    if (!g_cities.cities || !label) return -1;
    for (int i = 0; i < g_cities.count; ++i) {
        wchar_t text[kCityLabelChars];
        FormatCityLabel(g_cities.cities[i], text, kCityLabelChars);
        if (CompareStringOrdinal(text, -1, label, -1, TRUE) == CSTR_EQUAL) return i;
    }
    return -1;
}

bool GetLocaleCountryName(wchar_t* buffer, size_t chars) {
    if (!buffer || chars == 0) return false;
    int room = chars > kLocaleCountryChars ? kLocaleCountryChars + 1 : static_cast<int>(chars);
    buffer[0] = L'\0';
    int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SCOUNTRY, buffer, room);
    if (n <= 0) {
        buffer[0] = L'\0';
        return false;
    }
    return buffer[0] != L'\0';
}
