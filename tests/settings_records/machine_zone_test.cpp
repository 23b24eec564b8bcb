// Clocks that show the computer's own time, checked against the machine's
// conversion at fixed moments of both seasons. CI runs this program once per
// machine zone of its zone matrix (tests/CMakeLists.txt), so the same cases
// cover zones with and without daylight saving, north and south, and a
// half-hour offset.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/mainmenu/main_menu.h"
#include "common/mainmenu/menu_ids.h"
#include "common/settings/clock_sections.h"
#include "common/settings/global_settings_io.h"
#include "common/settings/ini_arrays.h"
#include "common/settings/ini_store.h"
#include "common/records/clock_table.h"
#include "common/zones/local_zone.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_time.h"
#include "common/zones/zone_updates.h"
#include "tests/alarms/alarm_fixtures.h"
#include "tests/settings_records/records_sandbox.h"
#include "tests/support/machine_zone.h"
#include "tests/support/program_folder.h"

using namespace records_test;
using testing_support::kSeasonMoments;
using testing_support::MachineTime;
using testing_support::MachineTimeMismatches;
using testing_support::MachineUtc;
using testing_support::TimeText;

namespace {

void NoReload() {}

// The shipped zone files with the changes due in 2026, and the real lookup
// of the computer's zone key, in place of the sandbox's small table.
class ShippedZones {
public:
    ShippedZones() : saved_(g_zones) {
        hooks_ = SetDefaultsHooks(DefaultsHooks{nullptr, nullptr, NoReload});
        g_zones = ZoneTables();
        loaded_ = LoadZoneDatabase(testing_support::SourcePath(L"data\\timezones.txt").c_str()) &&
                  LoadZoneUpdates(testing_support::SourcePath(L"data\\tz_changes.txt").c_str());
        ZoneUpdatesDue(kSeasonMoments[0]);
        RefreshLocalZone();
    }
    ~ShippedZones() {
        FreeClockArray();
        FreeZoneUpdates();
        FreeZoneTables();
        g_zones = saved_;
        SetDefaultsHooks(hooks_);
    }
    ShippedZones(const ShippedZones&) = delete;
    ShippedZones& operator=(const ShippedZones&) = delete;
    bool loaded() const { return loaded_; }

private:
    ZoneTables saved_;
    DefaultsHooks hooks_;
    bool loaded_ = false;
};

std::string Shipped() { return testing_support::ReadBytes(testing_support::SourcePath(L"data\\default.ini")); }

// The weekday alarm of the shipped first clock (07:30, Monday to Friday)
// fires at the UTC moment that is 07:30 on the machine, on a weekday of
// each season.
std::string AlarmMismatches(ClockRecord& clock) {
    std::string out;
    for (const SYSTEMTIME& moment : kSeasonMoments) {
        SYSTEMTIME local = MachineTime(moment);
        local.wHour = 7;
        local.wMinute = 30;
        const SYSTEMTIME due = MachineUtc(local);
        SYSTEMTIME before{}, after{};
        AddSecondsToSystemTime(due, -30, before);
        AddSecondsToSystemTime(due, 30, after);
        AlarmCheckState state{};
        state.previousCheck = before;
        alarm_fixtures::RecordingSink sink;
        CheckClockAlarms(clock, after, state, &sink);
        if (sink.calls.size() != 1 || sink.calls[0].reminder || TimeText(sink.calls[0].due) != TimeText(local))
            out += "no alarm at " + TimeText(due) + " UTC (" + TimeText(local) + " on the machine); ";
    }
    return out;
}

// Whether the menu opened on the clock offers to make its zone the
// computer's (with the option for that command on).
bool OffersToBecomeTheSystemZone(const ClockRecord& clock) {
    static HMODULE resources = LoadLibraryExW((testing_support::BinFolder() + L"res_en.dll").c_str(), nullptr,
                                              LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    HMENU menu = LoadMainMenu(resources);
    if (!menu) return true;
    MenuRequest request;
    request.clock = &clock;
    request.clockIndexValid = true;
    request.setLocalInMenu = true;
    PrepareMainMenu(menu, request, nullptr);
    const UINT state = GetMenuState(GetSubMenu(menu, 0), kCmdSetSystemZone, MF_BYCOMMAND);
    DestroyMenu(menu);
    return state == static_cast<UINT>(-1) || (state & MF_GRAYED) == 0;
}

}  // namespace

TEST(MachineZone, FirstRunClockShowsTheMachinesTimeAndKeepsDoingSo) {
    Sandbox sandbox(Shipped());
    ShippedZones zones;
    ASSERT_TRUE(zones.loaded());
    ASSERT_TRUE(LoadAllSettings());
    ASSERT_GE(g_clockCount, 1);
    ClockRecord& here = g_clocks[0];
    SCOPED_TRACE("zone " + std::string(here.zone.key, here.zone.key + wcsnlen(here.zone.key, 40)));

    EXPECT_EQ(MachineTimeMismatches(here), "");
    EXPECT_TRUE(IsSystemZone(here));
    EXPECT_FALSE(OffersToBecomeTheSystemZone(here));
    ASSERT_EQ(here.alarmCount, 1);
    here.alarms[0].enabled = 1;
    EXPECT_EQ(AlarmMismatches(here), "");

    // The computer's time changed (WM_TIMECHANGE): the clock still follows it.
    RefreshLocalZone();
    EXPECT_EQ(MachineTimeMismatches(here), "");
    EXPECT_TRUE(IsSystemZone(here));

    // What the first run stored reads the same on the next start.
    ClockRecord again;
    std::memset(&again, 0, sizeof again);
    ReadClockByIndex(L"tester", UserIniPath().c_str(), 1, again);
    EXPECT_EQ(MachineTimeMismatches(again), "");
    EXPECT_EQ(again.usedaylight, here.usedaylight);
    if (again.alarms) ResizeAlarmArray(again.alarms, 0);
}

TEST(MachineZone, ClockOfAZoneTheTableLacksShowsTheMachinesTimeUntilItIsBack) {
    Sandbox sandbox;
    ShippedZones zones;
    ASSERT_TRUE(zones.loaded());
    sandbox.WriteUserIni(
        "[tester:clock1]\r\nenabled=1\r\nzone=Atlantis Standard Time\r\ntimezone=(UTC-02:00) Atlantis\r\n"
        "usedaylight=0\r\n");
    ClockRecord clocks[1];
    std::memset(clocks, 0, sizeof clocks);
    ReadClockByIndex(L"tester", UserIniPath().c_str(), 1, clocks[0]);
    ClockRecord& atlantis = clocks[0];
    ASSERT_EQ(atlantis.zone.id, kMissingZoneId);
    EXPECT_EQ(MachineTimeMismatches(atlantis), "");
    EXPECT_TRUE(IsSystemZone(atlantis));

    // Rules left from before a change of the computer's zone are replaced
    // when the computer reports the change; key, name and choice stay.
    atlantis.zone.Bias += 120;
    atlantis.zone.DaylightDate = SYSTEMTIME{};
    {
        testing_support::ClockTableAs table(clocks, 1);
        RefreshLocalZone();
    }
    EXPECT_EQ(MachineTimeMismatches(atlantis), "");
    EXPECT_STREQ(atlantis.zone.key, L"Atlantis Standard Time");
    EXPECT_STREQ(atlantis.zone.displayName, L"(UTC-02:00) Atlantis");
    EXPECT_EQ(atlantis.zone.id, kMissingZoneId);
    EXPECT_EQ(atlantis.usedaylight, 0);
    if (atlantis.alarms) ResizeAlarmArray(atlantis.alarms, 0);

    // A zone table that has it again: the clock takes its own rules, without
    // daylight saving as the user chose (UTC-02:00 all year).
    const std::wstring file = sandbox.userIni() + L".zones.txt";
    testing_support::WriteBytes(file, "9001\tAtlantis Standard Time\t(UTC-02:00) Atlantis\t120\tAtlantis Standard\t0\t0"
                                      "\t10\t5\t0\t5\t2:00:00\tAtlantis Daylight\t-60\t0\t3\t5\t0\t5\t1:00:00\n");
    FreeZoneTables();
    ASSERT_TRUE(LoadZoneDatabase(file.c_str()));
    std::memset(&atlantis, 0, sizeof atlantis);
    ReadClockByIndex(L"tester", UserIniPath().c_str(), 1, atlantis);
    EXPECT_EQ(atlantis.zone.id, 9001);
    for (const SYSTEMTIME& utc : kSeasonMoments) {
        SYSTEMTIME shown{};
        ASSERT_TRUE(UtcToClockTime(utc, &shown, atlantis));
        EXPECT_EQ(shown.wHour, 10) << TimeText(utc);
    }
    if (atlantis.alarms) ResizeAlarmArray(atlantis.alarms, 0);
}
