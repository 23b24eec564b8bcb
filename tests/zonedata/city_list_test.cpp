// The city list: the file format, its bad lines, and the lookups.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/zones/city_list.h"
#include "tests/zonedata/zone_test_tables.h"

using zonedata_tests::ZoneTablesFixture;

namespace {

std::string Line(const std::string& city, const std::string& region, const std::string& lat, const std::string& lon,
                 const std::string& key) {
    return city + "\tXX\t" + region + "\t" + lat + "\t" + lon + "\t" + key + "\r\n";
}

}  // namespace

TEST(CityList, ReadsCitiesWithTheirZones) {
    ZoneTablesFixture zones;
    ASSERT_TRUE(zones.loaded());
    std::string text = "# comment\r\n; another\r\n\r\n" + Line("Paris", "France", "48.85341", "2.3488", "Test Flat") +
                       Line("Z\xFCrich", "Switzerland", "47.36667", "8.55", "Test North") +
                       Line("Sydney", "Australia", "-33.86785", "151.20732", "Test South");
    ASSERT_TRUE(LoadCityList(zones.Write(L"cities.txt", text).c_str()));
    ASSERT_EQ(g_cities.count, 3);
    const CityRecord& paris = g_cities.cities[0];
    EXPECT_STREQ(paris.city, L"Paris");
    EXPECT_STREQ(paris.region, L"France");
    EXPECT_DOUBLE_EQ(paris.latitude, 48.85341);
    EXPECT_DOUBLE_EQ(paris.longitude, 2.3488);
    EXPECT_EQ(paris.zoneId, 8);
    EXPECT_EQ(paris.zone, &zones.Live(8));
    EXPECT_EQ(paris.padding, 0);
    const unsigned char* area = reinterpret_cast<const unsigned char*>(&paris.map);
    for (size_t i = 0; i < sizeof paris.map; ++i) ASSERT_EQ(area[i], 0) << i;
    // Each byte is one character: Latin-1 text.
    EXPECT_STREQ(g_cities.cities[1].city, L"Z\u00FCrich");
    EXPECT_DOUBLE_EQ(g_cities.cities[2].latitude, -33.86785);
    EXPECT_EQ(zones.Live(7).cityCount, 1);
    EXPECT_EQ(zones.Live(8).cityCount, 1);
    EXPECT_EQ(zones.Live(9).cityCount, 1);
    // The pristine table keeps its records as they were loaded.
    EXPECT_EQ(zones.Pristine(8).cityCount, 0);
}

TEST(CityList, DropsBadLinesAndCountsZonesAsTheFormatSays) {
    ZoneTablesFixture zones;
    std::string text =
        "Five\tXX\tFields\t1.0\t2.0\r\n"                               // 5 fields
        "Seven\tXX\tFields\t1.0\t2.0\tTest Flat\textra\r\n"            // 7 fields
        "Trailing\tXX\tTab\t1.0\t2.0\tTest Flat\t\r\n"                 // empty last field: 6 fields
        + Line("Unknown", "Key", "1.0", "2.0", "No Such Zone") +       //
        Line("Lower", "Case", "1.0", "2.0", "test flat") +             // keys are case-sensitive
        Line("NoLat", "X", "", "2.0", "Test North") +                  // counted for the zone, dropped
        Line("BadLat", "X", "north", "2.0", "Test North") +            //
        Line("BadLon", "X", "1.0", "east", "Test North") +             //
        Line("NaN", "X", "nan", "2.0", "Test North") +                 //
        Line("OffEarth", "X", "91.0", "2.0", "Test North") +           //
        Line("OffEarth2", "X", "1.0", "-180.5", "Test North") +        //
        Line("Good", "X", " -12.5e0", "+180", "Test North");
    ASSERT_TRUE(LoadCityList(zones.Write(L"cities.txt", text).c_str()));
    ASSERT_EQ(g_cities.count, 2);
    EXPECT_STREQ(g_cities.cities[0].city, L"Trailing");
    EXPECT_STREQ(g_cities.cities[1].city, L"Good");
    EXPECT_DOUBLE_EQ(g_cities.cities[1].latitude, -12.5);
    EXPECT_DOUBLE_EQ(g_cities.cities[1].longitude, 180.0);
    // Lines dropped for their coordinates still count for their zone.
    EXPECT_EQ(zones.Live(7).cityCount, 7);
    EXPECT_EQ(zones.Live(8).cityCount, 1);
}

TEST(CityList, CutsLongTextsAndLines) {
    ZoneTablesFixture zones;
    std::string longName(90, 'n'), longRegion(100, 'r');
    std::string longLine = Line("Long", "Line", "1.0", "2.0", "Test Flat");
    longLine.insert(0, 1100, 'x');  // a line over 1023 characters is cut, its rest dropped
    std::string text = Line(longName, longRegion, "1.0", "2.0", "Test Flat") + longLine +
                       Line("After", "Line", "3.0", "4.0", "Test Flat");
    ASSERT_TRUE(LoadCityList(zones.Write(L"cities.txt", text).c_str()));
    ASSERT_EQ(g_cities.count, 2);
    EXPECT_EQ(std::wstring(g_cities.cities[0].city), std::wstring(79, L'n'));
    EXPECT_EQ(std::wstring(g_cities.cities[0].region), std::wstring(80, L'r'));
    EXPECT_STREQ(g_cities.cities[1].city, L"After");
}

TEST(CityList, LaterZoneLineWinsForADuplicateKeyAndTheTableGrows) {
    std::string zoneText = std::string(zonedata_tests::kTestZones) +
                           "10\tTest Flat\t(UTC+04:00) Flat again\t-240\tFlat Standard\t0\t0\t0\t0\t0\t0\t0:00:00\t"
                           "Flat Daylight\t0\t0\t0\t0\t0\t0\t0:00:00\n";
    ZoneTablesFixture zones(zoneText.c_str());
    std::string text;
    for (int i = 0; i < 40; ++i) text += Line("City" + std::to_string(i), "X", "1", "2", i % 2 ? "Test Flat" : "Test North");
    ASSERT_TRUE(LoadCityList(zones.Write(L"cities.txt", text).c_str()));
    ASSERT_EQ(g_cities.count, 40);
    EXPECT_STREQ(g_cities.cities[39].city, L"City39");
    EXPECT_EQ(g_cities.cities[39].zoneId, 10);
    EXPECT_EQ(zones.Live(10).cityCount, 20);
    EXPECT_EQ(zones.Live(8).cityCount, 0);
    EXPECT_EQ(zones.Live(7).cityCount, 20);
}

TEST(CityList, FindsLabelsIgnoringCase) {
    ZoneTablesFixture zones;
    std::string text = Line("Paris", "France", "48.8", "2.3", "Test Flat") +
                       Line("Paris", "United States", "33.6", "-95.5", "Test North") +
                       Line("Paris", "France", "0", "0", "Test Flat");
    ASSERT_TRUE(LoadCityList(zones.Write(L"cities.txt", text).c_str()));
    EXPECT_EQ(FindCity(L"paris, france"), 0);
    EXPECT_EQ(FindCity(L"PARIS, UNITED STATES"), 1);
    EXPECT_EQ(FindCity(L"Paris,France"), -1);
    EXPECT_EQ(FindCity(L"Paris"), -1);
    EXPECT_EQ(FindCity(nullptr), -1);

    wchar_t label[kCityLabelChars];
    FormatCityLabel(g_cities.cities[1], label, kCityLabelChars);
    EXPECT_STREQ(label, L"Paris, United States");
    wchar_t small[8];
    FormatCityLabel(g_cities.cities[1], small, 8);
    EXPECT_STREQ(small, L"Paris, ");
    FormatCityLabel(g_cities.cities[1], nullptr, 8);  // nothing to write to

    FreeCityList();
    EXPECT_EQ(g_cities.count, 0);
    EXPECT_EQ(FindCity(L"paris, france"), -1);
}

TEST(CityList, ReloadingCountsZonesAgain) {
    ZoneTablesFixture zones;
    std::wstring path = zones.Write(L"cities.txt", Line("A", "X", "1", "2", "Test Flat") + Line("B", "X", "1", "2", "Test Flat"));
    ASSERT_TRUE(LoadCityList(path.c_str()));
    ASSERT_TRUE(LoadCityList(path.c_str()));
    EXPECT_EQ(g_cities.count, 2);
    EXPECT_EQ(zones.Live(8).cityCount, 2);
    std::wstring other = zones.Write(L"other.txt", Line("C", "X", "1", "2", "Test South"));
    ASSERT_TRUE(LoadCityList(other.c_str()));
    EXPECT_EQ(zones.Live(8).cityCount, 0);
    EXPECT_EQ(zones.Live(9).cityCount, 1);
}

TEST(CityList, FailsWithoutFileCitiesOrZones) {
    ZoneTablesFixture zones;
    EXPECT_FALSE(LoadCityList(zones.Write(L"empty.txt", "# nothing\r\n").c_str()));
    EXPECT_FALSE(LoadCityList(zones.Write(L"unknown.txt", Line("A", "X", "1", "2", "Nowhere")).c_str()));
    EXPECT_FALSE(LoadCityList(L"Z:\\no\\such\\cities.txt"));
    EXPECT_FALSE(LoadCityList(nullptr));
    // Without a zone table no key can be looked up.
    std::wstring path = zones.Write(L"cities.txt", Line("A", "X", "1", "2", "Test Flat"));
    FreeZoneTables();
    EXPECT_FALSE(LoadCityList(path.c_str()));
    EXPECT_EQ(g_cities.count, 0);
}

TEST(CityList, LocaleCountryName) {
    wchar_t buffer[161];
    EXPECT_TRUE(GetLocaleCountryName(buffer, 161));
    EXPECT_GT(wcslen(buffer), 0u);
    wchar_t tiny[1];
    EXPECT_FALSE(GetLocaleCountryName(tiny, 1));
    EXPECT_FALSE(GetLocaleCountryName(nullptr, 10));
}
