// The data files shipped beside the programs: every line of them loads, the
// changes are in order, and the cities cover the zones.
#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/zones/city_list.h"
#include "common/zones/date_math.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_updates.h"
#include "tests/support/test_support.h"

using testing_support::ReadBytes;
using testing_support::SourcePath;

namespace {

// The lines of a data file that are neither comments nor empty.
std::vector<std::string> DataLines(const wchar_t* relative) {
    std::istringstream in(ReadBytes(SourcePath(relative)));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        lines.push_back(line);
    }
    return lines;
}

class ShippedFiles : public ::testing::Test {
protected:
    void SetUp() override {
        FreeCityList();
        FreeZoneUpdates();
        FreeZoneTables();
        ASSERT_TRUE(LoadZoneDatabase(SourcePath(L"data/timezones.txt").c_str()));
        ASSERT_TRUE(LoadZoneUpdates(SourcePath(L"data/tz_changes.txt").c_str()));
        ASSERT_TRUE(LoadCityList(SourcePath(L"data/cities.txt").c_str()));
    }
    void TearDown() override {
        FreeCityList();
        FreeZoneUpdates();
        FreeZoneTables();
    }
};

}  // namespace

TEST_F(ShippedFiles, EveryZoneLineLoadsWithItsOwnId) {
    std::vector<std::string> lines = DataLines(L"data/timezones.txt");
    ASSERT_EQ(lines.size(), 139u);
    ASSERT_EQ(g_zones.count, 140);
    std::set<int> ids;
    std::set<std::wstring> keys;
    for (int i = 1; i < g_zones.count; ++i) {
        const ZoneRecord& z = g_zones.live[i];
        EXPECT_GT(z.id, 0);
        EXPECT_TRUE(ids.insert(z.id).second) << z.id;
        EXPECT_TRUE(keys.insert(z.key).second);
        EXPECT_EQ(FindZoneById(z.id), i);
        EXPECT_EQ(FindZoneByName(z.key), i);
        EXPECT_NE(z.displayName[0], L'\0');
        // Rules are recurring or absent, so the platform converts them.
        EXPECT_EQ(z.StandardDate.wYear, 0);
        EXPECT_EQ(z.DaylightDate.wYear, 0);
        EXPECT_EQ(z.StandardDate.wMonth == 0, z.DaylightDate.wMonth == 0) << i;
    }
    for (const wchar_t* key : {L"Pacific Standard Time", L"GMT Standard Time", L"UTC", L"Dateline Standard Time",
                               L"Tokyo Standard Time", L"Morocco Standard Time", L"Lord Howe Standard Time"})
        EXPECT_GT(FindZoneByName(key), 0) << key;
}

TEST_F(ShippedFiles, ChangesAreOrderedAndEveryLineLoads) {
    std::vector<std::string> lines = DataLines(L"data/tz_changes.txt");
    ASSERT_GT(lines.size(), 0u);
    ASSERT_EQ(g_zoneUpdates.count, static_cast<int>(lines.size()));
    // The walks stop at the first later entry: one change out of order would
    // hold back every change after it.
    for (int i = 0; i < g_zoneUpdates.count; ++i) {
        const ZoneUpdateRecord& u = g_zoneUpdates.entries[i];
        ASSERT_NE(u.live, nullptr) << lines[i];
        if (i > 0) {
            ASSERT_LE(g_zoneUpdates.entries[i - 1].key, u.key) << lines[i];
        }
        // The moment text orders the same way as the keys: check it on the raw text too.
        std::string moment = lines[i].substr(lines[i].find('\t') + 1, 19);
        if (i > 0) {
            std::string before = lines[i - 1].substr(lines[i - 1].find('\t') + 1, 19);
            ASSERT_LE(before, moment);
        }
        EXPECT_GE(u.moment.wYear, 2000);
        EXPECT_LE(u.moment.wYear, 2037);
    }
    SYSTEMTIME end{};
    end.wYear = 2038;
    end.wMonth = 1;
    end.wDay = 1;
    EXPECT_EQ(ZoneUpdatesDue(end), g_zoneUpdates.count);
}

TEST_F(ShippedFiles, CitiesCoverTheZonesWithDistinctLabels) {
    std::vector<std::string> lines = DataLines(L"data/cities.txt");
    ASSERT_GE(g_cities.count, 2000);
    ASSERT_EQ(g_cities.count, static_cast<int>(lines.size()));  // no line dropped
    std::set<std::wstring> labels;
    for (int i = 0; i < g_cities.count; ++i) {
        const CityRecord& c = g_cities.cities[i];
        wchar_t label[kCityLabelChars];
        FormatCityLabel(c, label, kCityLabelChars);
        std::wstring lower(label);
        for (auto& ch : lower) ch = static_cast<wchar_t>(std::towlower(ch));
        EXPECT_TRUE(labels.insert(lower).second) << i;
        ASSERT_NE(c.zone, nullptr);
        EXPECT_EQ(c.zone->id, c.zoneId);
    }
    // Every zone with a populated place has a city; these two have none.
    for (int i = 1; i < g_zones.count; ++i) {
        std::wstring key = g_zones.live[i].key;
        if (key == L"Dateline Standard Time" || key == L"UTC") continue;
        EXPECT_GT(g_zones.live[i].cityCount, 0) << i;
    }
    EXPECT_GE(FindCity(L"paris, france"), 0);
    EXPECT_GE(FindCity(L"Z\u00FCrich, Switzerland"), 0);
    EXPECT_GE(FindCity(L"Tokyo, Japan"), 0);

    std::string attribution = ReadBytes(SourcePath(L"data/cities_attribution.txt"));
    EXPECT_NE(attribution.find("GeoNames"), std::string::npos);
    EXPECT_NE(attribution.find("Creative Commons Attribution"), std::string::npos);
}
