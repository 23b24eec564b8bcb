// The whole load: first run from the shipped defaults, clock counts and the
// enabled clocks, and a profile without any clock.
#include <gtest/gtest.h>

#include <string>

#include "common/settings/clock_sections.h"
#include "common/settings/global_settings_io.h"
#include "common/settings/ini_arrays.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "common/settings/resource_module.h"
#include "common/records/clock_table.h"
#include "tests/settings_records/records_sandbox.h"
#include "tests/support/program_folder.h"

using namespace records_test;

namespace {

std::string ShippedDefaults() { return testing_support::ReadBytes(testing_support::SourcePath(L"data\\default.ini")); }

std::string Clocks(int n, const char* enabled) {
    std::string ini;
    for (int k = 1; k <= n; ++k) {
        ini += "[tester:clock" + std::to_string(k) + "]\r\nenabled=" + enabled + "\r\nprefix=C" + std::to_string(k) +
               "\r\n";
    }
    return ini;
}

// Frees the table whatever a test leaves behind.
struct ClockTableGuard {
    ~ClockTableGuard() { FreeClockArray(); }
};

}  // namespace

TEST(LoadAllSettings, FirstRunSeedsTheShippedProfile) {
    Sandbox sandbox(ShippedDefaults());
    ClockTableGuard guard;
    ASSERT_TRUE(LoadAllSettings());
    ASSERT_EQ(6, g_clockCount);
    EXPECT_EQ(6, g_settings.clockCount);
    EXPECT_EQ(4, g_enabledClockCount);
    EXPECT_EQ(4, g_settings.enabledClocks);
    EXPECT_TRUE(g_canAddClock);
    EXPECT_TRUE(g_multipleClocks);

    // The first clock took the computer's zone (the sandbox says Tokyo).
    EXPECT_STREQ(L"Tokyo Standard Time", g_clocks[0].zone.key);
    EXPECT_EQ(L"Tokyo Standard Time", UserValue(L"tester:clock1", L"zone"));
    EXPECT_STREQ(L"Here", g_clocks[0].prefix);
    EXPECT_STREQ(L"ddd d MMM", g_clocks[0].dateformat);
    ASSERT_EQ(1, g_clocks[0].alarmCount);
    EXPECT_EQ(kAlarmWeekly, g_clocks[0].alarms[0].type);
    EXPECT_EQ(0, g_clocks[0].alarms[0].enabled);
    EXPECT_EQ(0x3Eu, g_clocks[0].alarms[0].weekdayMask);
    EXPECT_EQ(1, g_clocks[0].profileCount);

    EXPECT_STREQ(L"Tokyo", g_clocks[3].prefix);
    EXPECT_STREQ(L"Tokyo Standard Time", g_clocks[3].zone.key);
    EXPECT_STREQ(L"Pacific Standard Time", g_clocks[4].zone.key);
    EXPECT_EQ(1, g_clocks[4].zoneHasDaylight);
    for (int k = 0; k < g_clockCount; ++k) {
        EXPECT_EQ(k + 1, g_clocks[k].number);
        EXPECT_EQ(0u, g_clocks[k].firstColour);
        EXPECT_EQ(0x80000012u, g_clocks[k].secondColour);
        EXPECT_EQ(255, g_clocks[k].alpha);
    }

    // Nothing goes to the network by itself.
    EXPECT_EQ(0, g_settings.autosync);
    EXPECT_EQ(0, g_settings.vistrel);
    EXPECT_EQ(0, g_settings.ads);
    EXPECT_EQ(L"1", UserValue(L"tester:main", L"rss_channels"));
    EXPECT_EQ(L"0", UserValue(L"tester:rss1", L"enabled"));
    EXPECT_EQ(10, g_settings.trayclocks);
    EXPECT_EQ(0, g_settings.localzonehighlight.enabled);
    EXPECT_EQ(540, g_settings.localzonehighlight.fromMinute);

    // A second load finds the seeded profile and changes nothing of it.
    ASSERT_TRUE(LoadAllSettings());
    EXPECT_EQ(6, g_clockCount);
    EXPECT_EQ(1, g_clocks[0].alarmCount);
}

TEST(LoadAllSettings, FirstRunKeepsTheLanguageTheLibraryWasChosenFor) {
    Sandbox sandbox(ShippedDefaults());
    ClockTableGuard guard;
    const std::wstring folder = sandbox.defaultIni().substr(0, sandbox.defaultIni().rfind(L'\\') + 1);
    ASSERT_TRUE(CopyFileW((testing_support::BinFolder() + L"res_en.dll").c_str(), (folder + L"res_en.dll").c_str(),
                          FALSE));
    const std::wstring before = Language().languageCode();
    FreeResourceModule();
    ASSERT_TRUE(LoadResourceModule(folder.c_str()));
    const std::wstring chosen = Language().languageCode();
    EXPECT_EQ(chosen, L"en");
    ASSERT_TRUE(LoadAllSettings());
    EXPECT_EQ(Language().languageCode(), chosen);
    EXPECT_FALSE(Language().languageIniPath().empty());
    FreeResourceModule();
    Language().SetLanguage(before.c_str());
}

TEST(LoadAllSettings, WithEveryClockOffTheLastOneComesOn) {
    Sandbox sandbox;
    sandbox.WriteUserIni(Clocks(3, "0"));
    ClockTableGuard guard;
    LoadAllSettings();
    ASSERT_EQ(3, g_clockCount);
    EXPECT_EQ(0, g_clocks[0].enabled);
    EXPECT_EQ(0, g_clocks[1].enabled);
    EXPECT_EQ(1, g_clocks[2].enabled);
    EXPECT_EQ(1, g_enabledClockCount);
}

TEST(LoadAllSettings, ThirtyClocksLeaveNoRoomForAnother) {
    Sandbox sandbox;
    sandbox.WriteUserIni(Clocks(31, "1"));
    ClockTableGuard guard;
    EXPECT_FALSE(LoadAllSettings());
    EXPECT_EQ(30, g_clockCount);
    EXPECT_EQ(30, g_enabledClockCount);
    EXPECT_FALSE(g_canAddClock);
    EXPECT_STREQ(L"C30", g_clocks[29].prefix);
}

TEST(LoadAllSettings, AProfileWithoutClocksLoadsNone) {
    Sandbox sandbox;  // no default.ini, no user clocks
    ClockTableGuard guard;
    EXPECT_TRUE(LoadAllSettings());
    EXPECT_EQ(0, g_clockCount);
    EXPECT_EQ(nullptr, g_clocks);
    EXPECT_EQ(0, g_enabledClockCount);
    EXPECT_FALSE(g_multipleClocks);
}
