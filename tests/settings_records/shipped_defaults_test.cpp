// The shipped default.ini: its sections read as clocks, its zones exist, and
// nothing in it points beyond this computer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/settings/clock_sections.h"
#include "common/settings/ini_arrays.h"
#include "common/settings/ini_store.h"
#include "common/zones/city_list.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_registry.h"
#include "tests/settings_records/records_sandbox.h"

using namespace records_test;

namespace {

std::string Shipped() { return testing_support::ReadBytes(testing_support::SourcePath(L"data\\default.ini")); }

bool IsWindowsZoneKey(const std::wstring& key) {
    HKEY h = nullptr;
    std::wstring path = std::wstring(kTimeZonesKey) + L"\\" + key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

}  // namespace

TEST(ShippedDefaults, EveryDefaultSectionIsThere) {
    Sandbox sandbox(Shipped());
    const wchar_t* file = DefaultIniPath().c_str();
    for (const wchar_t* section : {L"default:main", L"default:common", L"default:clocks", L"default:clock1",
                                   L"default:clock1:alarm1", L"default:rss1", L"default:newclock",
                                   L"default:newtimer", L"default:newcountdown"}) {
        EXPECT_FALSE(ReadIniKeyList(file, section).empty()) << section;
    }
    // No language key: the language chosen from the locale stays in force.
    EXPECT_FALSE(IniKeyExists(file, L"default:main", L"language"));
    for (const wchar_t* key : {L"skin", L"transparentskin", L"overlayprefixes", L"trayclocks",
                               L"tooltipkind", L"tooltips", L"vistrel", L"inet_scripts", L"iso_weeks",
                               L"setlocalinmenu", L"localzonehighlight", L"autostart", L"ads", L"notifications",
                               L"fade_news"}) {
        EXPECT_TRUE(IniKeyExists(file, L"default:main", key)) << key;
    }
    for (const wchar_t* key : {L"autosync", L"synctype", L"server", L"server1"}) {
        EXPECT_TRUE(IniKeyExists(file, L"default:common", key)) << key;
    }
}

TEST(ShippedDefaults, ClocksAndNewClocksReadAsTheyShould) {
    Sandbox sandbox(Shipped());
    const wchar_t* file = DefaultIniPath().c_str();
    for (int n = 1;; ++n) {
        std::wstring section = ClockSectionName(L"default", n);
        if (ReadIniKeyList(file, section.c_str()).empty()) break;
        std::wstring zone = ReadIniText(file, section.c_str(), L"zone");
        if (!zone.empty()) {
            EXPECT_TRUE(IsWindowsZoneKey(zone)) << zone;
        }
        ClockRecord c;
        memset(&c, 0, sizeof(c));
        ReadClockRecord(section.c_str(), file, c, true);
        EXPECT_EQ(0u, c.kind) << n;
        EXPECT_EQ(255, c.alpha) << n;
        if (c.alarms) ResizeAlarmArray(c.alarms, 0);
    }

    ClockRecord timer;
    memset(&timer, 0, sizeof(timer));
    ReadClockRecord(L"default:newtimer", file, timer, false);
    EXPECT_EQ(kClockTimer, timer.kind);
    EXPECT_EQ(0, timer.running);
    EXPECT_STREQ(L"Stopwatch", timer.label);

    ClockRecord countdown;
    memset(&countdown, 0, sizeof(countdown));
    ReadClockRecord(L"default:newcountdown", file, countdown, false);
    EXPECT_EQ(kClockTimer | kClockCountdown, countdown.kind);
    EXPECT_EQ(300u, countdown.duration);
    EXPECT_EQ(0, countdown.running);

    ClockRecord fresh;
    memset(&fresh, 0, sizeof(fresh));
    EXPECT_EQ(1, ReadClockRecord(L"default:newclock", file, fresh, false));
    EXPECT_STREQ(kLocalSystemTimeKey, fresh.zone.key);
    EXPECT_EQ(1, fresh.enabled);
}

TEST(ShippedDefaults, NoAddressLeavesThisComputer) {
    std::string text = Shipped();
    size_t at = 0;
    int addresses = 0;
    while ((at = text.find("://", at)) != std::string::npos) {
        ++addresses;
        EXPECT_EQ(0u, text.compare(at, 13, "://127.0.0.1/")) << text.substr(at, 40);
        at += 3;
    }
    EXPECT_GE(addresses, 1);
    EXPECT_NE(std::string::npos, text.find("autosync=0"));
    EXPECT_NE(std::string::npos, text.find("vistrel=0"));
    EXPECT_NE(std::string::npos, text.find("ads=0"));
}

TEST(ShippedDefaults, EveryClockLocationIsACityOfTheListInTheClocksZone) {
    ASSERT_TRUE(LoadZoneDatabase(testing_support::SourcePath(L"data\\timezones.txt").c_str()));
    ASSERT_TRUE(LoadCityList(testing_support::SourcePath(L"data\\cities.txt").c_str()));
    const std::wstring file = testing_support::SourcePath(L"data\\default.ini");
    int located = 0;
    for (int n = 1;; ++n) {
        const std::wstring section = ClockSectionName(L"default", n);
        if (ReadIniKeyList(file.c_str(), section.c_str()).empty()) break;
        const std::wstring location = ReadIniText(file.c_str(), section.c_str(), L"location");
        if (location.empty()) continue;  // the computer's own zone
        ++located;
        const int city = FindCity(location.c_str());
        ASSERT_GE(city, 0) << std::string(location.begin(), location.end());
        const ZoneRecord* zone = g_cities.cities[city].zone;
        ASSERT_NE(zone, nullptr);
        EXPECT_EQ(ReadIniText(file.c_str(), section.c_str(), L"zone"), zone->key) << n;
        // As the clock page stores it: daylight saving only where the zone has it.
        EXPECT_EQ(ReadIniText(file.c_str(), section.c_str(), L"usedaylight"), zone->DaylightDate.wMonth ? L"1" : L"0")
            << n;
    }
    EXPECT_GE(located, 5);
    FreeCityList();
    FreeZoneTables();
}
