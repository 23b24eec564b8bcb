// Menu commands driven through WM_COMMAND on a stand-in main window: which
// settings page starts with which switch, the messages posted, the timer
// commands, the system zone, the desktop toggle, and bad input.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/records/protocol.h"
#include "common/records/clock_table.h"
#include "tempovia/main/app_state.h"
#include "common/mainmenu/menu_ids.h"
#include "tempovia/tray/menu_commands.h"
#include "tempovia/tray/tray_icon.h"
#include "tempovia/tray/tray_links.h"
#include "tests/tray/tray_fixture.h"

using namespace tray_test;

namespace {

class CommandTest : public TrayTest {
protected:
    void Send(WORD id) {
        SendMessageW(main_, WM_COMMAND, id, 0);
        Pump();
    }
    // The parameters of the single shell call made since the last look.
    std::wstring OnlyParameters() {
        EXPECT_EQ(system_.shell.size(), 1u);
        std::wstring p = system_.shell.empty() ? L"(none)" : system_.shell.back().parameters;
        system_.shell.clear();
        return p;
    }
    bool Posted(UINT message) const {
        for (UINT m : Log().messages) {
            if (m == message) return true;
        }
        return false;
    }
};

TEST_F(CommandTest, SettingsStartsBesideTheProgramAtTheCurrentClock) {
    std::vector<ClockRecord> clocks = {MakeClock(1), MakeClock(3)};
    UseClocks(clocks);
    g_app.currentClock = 1;
    Send(kCmdSettings);
    ASSERT_EQ(system_.shell.size(), 1u);
    const ShellCall call = system_.shell[0];
    EXPECT_EQ(call.verb, L"Open");
    EXPECT_EQ(call.file, Folder() + L"settings.exe");
    EXPECT_EQ(call.parameters, L" /3");
    EXPECT_EQ(call.directory, Folder());
    EXPECT_EQ(call.show, SW_SHOWNORMAL);
    system_.shell.clear();

    g_app.currentClock = -1;
    Send(kCmdSettings);
    EXPECT_EQ(OnlyParameters(), L"(null)");
}

TEST_F(CommandTest, ClockPagesNeedAValidCurrentClock) {
    UseClocks({MakeClock(3)});
    g_app.currentClock = 0;
    const std::pair<WORD, const wchar_t*> pages[] = {
        {kCmdNewAlarm, L" /new_alarm3"}, {kCmdPageZone, L" /zone3"},   {kCmdPageSkin, L" /skin3"},
        {kCmdPageFormats, L" /formats3"}, {kCmdPageAlarms, L" /alarms3"}, {kCmdPageProfiles, L" /profiles3"}};
    for (const auto& [id, expected] : pages) {
        Send(id);
        EXPECT_EQ(OnlyParameters(), expected) << id;
    }
    for (int bad : {-1, 1, 30, 12345}) {
        g_app.currentClock = bad;
        Send(kCmdPageZone);
        EXPECT_TRUE(system_.shell.empty()) << bad;
    }
}

TEST_F(CommandTest, GeneralPagesAndNewEntriesNeedNoClock) {
    const std::pair<WORD, const wchar_t*> pages[] = {{kCmdPageTaskbar, L" /taskbar"}, {kCmdPageSync, L" /sync"},
                                                     {kCmdPageGeneral, L" /general"}, {kCmdPageNews, L" /rss"},
                                                     {kCmdNewClock, L" /new"},        {kCmdNewTimer, L" /new_timer"},
                                                     {kCmdNewStopwatch, L" /new_stopwatch"}};
    for (const auto& [id, expected] : pages) {
        Send(id);
        EXPECT_EQ(OnlyParameters(), expected) << id;
    }
}

TEST_F(CommandTest, AlarmAndProfileEntriesNameTheirRecords) {
    ClockRecord clock = MakeClock(3);
    std::vector<AlarmRecord> alarms(3);
    clock.alarms = alarms.data();
    clock.alarmCount = 3;
    clock.profileCount = 2;
    UseClocks({clock});
    g_app.currentClock = 0;
    Send(kCmdAlarmFirst + 2);
    EXPECT_EQ(OnlyParameters(), L" /alarm3.2");
    Send(kCmdProfileFirst + 1);
    EXPECT_EQ(OnlyParameters(), L" /profile3.1");
    // Entries past the clock's lists start nothing.
    Send(kCmdAlarmFirst + 5);
    Send(kCmdProfileFirst + 2);
    EXPECT_TRUE(system_.shell.empty());
}

TEST_F(CommandTest, WindowsAndPanelsAreOpenedOrAskedFor) {
    Send(kCmdDateTimePanel);
    ASSERT_EQ(system_.shell.size(), 1u);
    EXPECT_EQ(system_.shell[0].file, L"rundll32.exe");
    EXPECT_EQ(system_.shell[0].parameters, L"shell32.dll,Control_RunDLL TIMEDATE.CPL");

    Send(kCmdAlarmLog);
    Send(kCmdTimeConverter);
    Send(kCmdCalendar);
    EXPECT_TRUE(Posted(MSG_SHOW_LOG));
    EXPECT_TRUE(Posted(MSG_SHOW_TIME_CONVERTER));
    EXPECT_TRUE(Posted(MSG_SHOW_CALENDAR));

    static int tables = 0, news = 0, mapCity = -2;
    tables = news = 0;
    TrayLinks links;
    links.showTimeTable = [](HWND) { ++tables; };
    links.showNewsWindow = [] { ++news; };
    links.showWorldMap = [](HWND, int city) { mapCity = city; };
    SetTrayLinks(links);
    Send(kCmdTimeTable);
    Send(kCmdNewsWindow);
    Send(kCmdWorldMap);
    EXPECT_EQ(tables, 1);
    EXPECT_EQ(news, 1);
    EXPECT_EQ(mapCity, -1);
}

TEST_F(CommandTest, AboutBoxFailureIsReported) {
    static std::wstring text, caption;
    text.clear();
    SetTrayMessageFn([](HWND, const wchar_t* t, const wchar_t* c, UINT) {
        text = t;
        caption = c;
        return IDOK;
    });
    Send(kCmdAbout);
    EXPECT_EQ(text, L"Failed to create About dialog");
    EXPECT_EQ(caption, L"Tempovia Error");

    text.clear();
    TrayLinks links;
    links.runAboutDialog = []() -> INT_PTR { return 1; };
    SetTrayLinks(links);
    Send(kCmdAbout);
    EXPECT_TRUE(text.empty());
}

TEST_F(CommandTest, TimerCommandsActOnlyOnTimers) {
    ClockRecord watch = MakeClock(1);
    watch.kind = kClockTimer;  // stopwatch
    ClockRecord plain = MakeClock(2);
    UseClocks({watch, plain});
    g_app.currentClock = 0;
    Send(kCmdTimerStartPause);
    EXPECT_EQ(g_clocks[0].running, 1);
    EXPECT_NE(g_clocks[0].start, 0u);
    Send(kCmdTimerStartPause);
    EXPECT_EQ(g_clocks[0].running, 0);
    Send(kCmdTimerStartPause);
    Send(kCmdTimerStop);
    EXPECT_EQ(g_clocks[0].running, 0);
    g_clocks[0].elapsed = 1234;
    Send(kCmdTimerReset);
    EXPECT_EQ(g_clocks[0].elapsed, 0u);
    // The state went into the clock's section.
    const auto sections = ReadIniSectionNames(UserIniPath().c_str());
    EXPECT_NE(std::find(sections.begin(), sections.end(), L"tester:clock1"), sections.end());

    g_app.currentClock = 1;
    Send(kCmdTimerStartPause);
    EXPECT_EQ(g_clocks[1].running, 0);
    EXPECT_EQ(g_clocks[1].start, 0u);
}

TEST_F(CommandTest, SystemZoneIsRecordedNeverSet) {
    ClockRecord clock = MakeClock(1);
    clock.zone.Bias = -540;
    clock.usedaylight = 0;
    UseClocks({clock});
    g_app.currentClock = 0;
    Send(kCmdSetSystemZone);
    ASSERT_EQ(system_.zones.size(), 1u);
    EXPECT_EQ(system_.zones[0].Bias, -540);
    ASSERT_EQ(system_.privileges.size(), 1u);
    EXPECT_EQ(system_.privileges[0], L"SeTimeZonePrivilege");
    // The prefix applies daylight saving itself; the clock does not want it.
    ASSERT_EQ(system_.autoDaylight.size(), 1u);
    EXPECT_TRUE(system_.autoDaylight[0]);
    ASSERT_EQ(system_.broadcasts.size(), 1u);
    EXPECT_EQ(system_.broadcasts[0].first, L"intl");
    EXPECT_EQ(system_.broadcasts[0].second, 512u);
    EXPECT_TRUE(Posted(MSG_PUSH_TO_TRAY));
    EXPECT_TRUE(system_.beeps.empty());
}

TEST_F(CommandTest, RefusedSystemZoneOnlyBeeps) {
    UseClocks({MakeClock(1)});
    g_app.currentClock = 0;
    system_.zoneResult = FALSE;
    Send(kCmdSetSystemZone);
    ASSERT_EQ(system_.beeps.size(), 1u);
    EXPECT_EQ(system_.beeps[0], std::make_pair(DWORD{1500}, DWORD{100}));
    EXPECT_TRUE(system_.autoDaylight.empty());
    EXPECT_TRUE(system_.broadcasts.empty());
    EXPECT_FALSE(Posted(MSG_PUSH_TO_TRAY));

    // No clock: nothing at all.
    g_app.currentClock = 7;
    Send(kCmdSetSystemZone);
    EXPECT_EQ(system_.zones.size(), 1u);
}

TEST_F(CommandTest, ToggleOnDesktopWritesTheSectionAndMovesTheTrayIcon) {
    g_app.icon = LoadIconW(nullptr, IDI_APPLICATION);
    ClockRecord clock = MakeClock(2);
    clock.on_desktop = 1;
    UseClocks({clock});
    g_app.currentClock = 0;

    // Without the taskbar hook every clock stays on the desktop.
    Send(kCmdShowOnDesktop);
    EXPECT_EQ(g_clocks[0].on_desktop, 1);

    g_app.explorerProcessId = 4321;
    StandInTaskbar taskbar;
    TrayIconAdd(main_, 0);
    ASSERT_TRUE(IsTrayIconShown());
    Send(kCmdShowOnDesktop);
    EXPECT_EQ(g_clocks[0].on_desktop, 0);
    EXPECT_EQ(ReadIniText(UserIniPath().c_str(), L"tester:clock2", L"on_desktop"), L"0");
    EXPECT_EQ(g_app.taskbarClockCount, 1);
    EXPECT_FALSE(IsTrayIconShown());

    // Back on the desktop: no clock is left in the taskbar, so the icon returns.
    Send(kCmdShowOnDesktop);
    EXPECT_EQ(g_clocks[0].on_desktop, 1);
    EXPECT_EQ(ReadIniText(UserIniPath().c_str(), L"tester:clock2", L"on_desktop"), L"1");
    EXPECT_EQ(g_app.taskbarClockCount, 0);
    EXPECT_TRUE(IsTrayIconShown());
    Send(kCmdShowOnDesktop);
    EXPECT_FALSE(IsTrayIconShown());

    // A disabled clock moves without touching the count or the icon.
    g_clocks[0].enabled = 0;
    Send(kCmdShowOnDesktop);
    EXPECT_EQ(g_clocks[0].on_desktop, 1);
    EXPECT_EQ(ReadIniText(UserIniPath().c_str(), L"tester:clock2", L"on_desktop"), L"1");
    EXPECT_EQ(g_app.taskbarClockCount, 1);
    EXPECT_FALSE(IsTrayIconShown());
}

TEST_F(CommandTest, CommandsWithoutClocksOrUnknownIdsDoNothing) {
    for (WORD id : {kCmdGroup, kCmdOnTop, kCmdShowOnDesktop, kCmdSetSystemZone, kCmdTimerStartPause,
                    static_cast<WORD>(kCmdAlarmFirst), static_cast<WORD>(kCmdProfileFirst), kCmdPageZone}) {
        g_app.currentClock = 0;
        Send(id);
    }
    EXPECT_TRUE(system_.shell.empty());
    EXPECT_TRUE(system_.zones.empty());
    EXPECT_FALSE(RunTrayCommand(main_, 9999));
    EXPECT_FALSE(RunTrayCommand(main_, 0));
}

TEST_F(CommandTest, RefreshNewsFollowsTheSchedule) {
    // The command reaches the news module only when the schedule is on; the
    // module itself is not in this program, so no crash is what is seen.
    g_settings.runFlags = 0x2;
    EXPECT_TRUE(RunTrayCommand(main_, kCmdRefreshNews));
    g_settings.runFlags = 0;
    EXPECT_TRUE(RunTrayCommand(main_, kCmdRefreshNews));
}

}  // namespace
