// Double-click actions of clocks, the clipboard text, the clock's URL and the
// city web page.
#include <gtest/gtest.h>

#include <windows.h>

#include "common/records/protocol.h"
#include "common/zones/city_list.h"
#include "common/records/clock_table.h"
#include "common/platform/text_bounds.h"
#include "tempovia/main/app_state.h"
#include "tempovia/tray/city_page.h"
#include "tempovia/tray/clock_actions.h"
#include "common/mainmenu/menu_ids.h"
#include "tests/tray/tray_fixture.h"

using namespace tray_test;

namespace {

class ActionTest : public TrayTest {
protected:
    ClockRecord WithAction(int action) {
        ClockRecord c = MakeClock(3);
        c.action = action;
        return c;
    }
    std::vector<WORD> Act(int index) {
        Log().commands.clear();
        ClockDefaultAction(main_, index);
        Pump();
        return Log().commands;
    }
};

TEST_F(ActionTest, ActionsPostTheirCommands) {
    UseClocks({WithAction(0), WithAction(3), WithAction(4), WithAction(6)});
    EXPECT_EQ(Act(0).front(), kCmdCalendar);
    EXPECT_EQ(Act(1).front(), kCmdTimeConverter);
    EXPECT_EQ(Act(2).front(), kCmdDateTimePanel);
    EXPECT_EQ(Act(3).front(), kCmdTimeTable);
    // The posted command is carried out like any other.
    EXPECT_NE(std::find(Log().messages.begin(), Log().messages.end(), MSG_SHOW_CALENDAR), Log().messages.end());
}

TEST_F(ActionTest, TimerActionStopsARunningTimerAndStartsAStoppedOne) {
    ClockRecord running = WithAction(7);
    running.kind = kClockTimer;
    running.running = 1;
    ClockRecord stopped = running;
    stopped.running = 0;
    ClockRecord plain = WithAction(7);
    UseClocks({running, stopped, plain});
    g_app.currentClock = 0;
    EXPECT_EQ(Act(0).front(), kCmdTimerStop);
    EXPECT_EQ(Act(1).front(), kCmdTimerStartPause);
    EXPECT_TRUE(Act(2).empty());
    EXPECT_TRUE(system_.shell.empty());
}

TEST_F(ActionTest, SettingsForActionTwoUnknownActionsAndBadIndexes) {
    UseClocks({WithAction(2), WithAction(99), WithAction(-1)});
    Act(0);
    ASSERT_EQ(system_.shell.size(), 1u);
    EXPECT_EQ(system_.shell[0].parameters, L" /3");
    for (int index : {1, 2, 3, -1, 1000}) {
        system_.shell.clear();
        Act(index);
        ASSERT_EQ(system_.shell.size(), 1u) << index;
        EXPECT_EQ(system_.shell[0].file, Folder() + L"settings.exe");
        EXPECT_EQ(system_.shell[0].parameters, L"(null)");
    }
    UseClocks({});
    system_.shell.clear();
    Act(0);
    EXPECT_EQ(system_.shell.size(), 1u);
}

TEST_F(ActionTest, UrlOpensAnAddressOrRunsACommandLine) {
    ClockRecord web = WithAction(1);
    CopyBounded(web.url, L"  https://example.org/a b");
    ClockRecord program = WithAction(1);
    const std::wstring exe = dir_.file(L"my tool.exe");
    ASSERT_TRUE(testing_support::WriteBytes(exe, "MZ"));
    CopyBounded(program.url, (exe + L" -x 1").c_str());
    ClockRecord nothing = WithAction(1);
    ClockRecord notFound = WithAction(1);
    CopyBounded(notFound.url, L"Z:\\no\\such\\program.exe now");
    UseClocks({web, program, nothing, notFound});

    Act(0);
    ASSERT_EQ(system_.shell.size(), 1u);
    EXPECT_EQ(system_.shell[0].verb, L"open");
    EXPECT_EQ(system_.shell[0].file, L"  https://example.org/a b");
    system_.shell.clear();

    Act(1);
    ASSERT_EQ(system_.shell.size(), 1u);
    EXPECT_EQ(system_.shell[0].file, exe);
    EXPECT_EQ(system_.shell[0].parameters, L"-x 1");
    system_.shell.clear();

    Act(2);
    Act(3);
    EXPECT_TRUE(system_.shell.empty());
    EXPECT_FALSE(OpenClockUrl(nullptr));
    EXPECT_FALSE(OpenClockUrl(L"://no-scheme"));
}

TEST_F(ActionTest, ClipboardTextOfClocksAndTimers) {
    ClockRecord clock = MakeClock(1);
    CopyBounded(clock.prefix, L"Oslo");
    clock.currentTime = SYSTEMTIME{2021, 3, 4, 4, 5, 6, 7, 0};
    EXPECT_EQ(ClockClipboardText(clock, SYSTEMTIME{}, true), L"Oslo 05:06:07 2021-03-04");

    // Not on the desktop: the time comes from UTC through the clock's zone.
    clock.zone.Bias = -60;
    const SYSTEMTIME utc = {2021, 3, 4, 4, 23, 30, 0, 0};
    EXPECT_EQ(ClockClipboardText(clock, utc, false), L"Oslo 00:30:00 2021-03-05");

    ClockRecord timer = MakeClock(2);
    timer.kind = kClockTimer | kClockCountdown;
    CopyBounded(timer.prefix, L"Tea");
    CopyBounded(timer.timerformat, L"%H:%02m:%02s");
    timer.elapsed = 65ULL * 10000000ULL;
    EXPECT_EQ(ClockClipboardText(timer, utc, false), L"Tea 0:01:05");

    // A prefix that fills its field has no terminator of its own.
    for (auto& ch : timer.prefix) ch = L'x';
    EXPECT_EQ(ClockClipboardText(timer, utc, false), std::wstring(32, L'x') + L" 0:01:05");
}

TEST_F(ActionTest, CopyActionPutsTheTextOnTheClipboard) {
    ClockRecord clock = WithAction(5);
    CopyBounded(clock.prefix, L"Here");
    clock.on_desktop = 1;
    clock.currentTime = SYSTEMTIME{2020, 1, 0, 2, 3, 4, 5, 0};
    UseClocks({clock});
    Act(0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    std::wstring text;
    if (data) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    EXPECT_EQ(text, L"Here 03:04:05 2020-01-02");
    EXPECT_FALSE(CopyTextToClipboard(nullptr));
}

TEST(CityPage, EncodingKeepsSafeCharactersOnly) {
    EXPECT_EQ(EncodeCityPathPart(L"New York"), L"new+york");
    EXPECT_EQ(EncodeCityPathPart(L"S\u00e3o Paulo"), L"s%C3%A3o+paulo");
    EXPECT_EQ(EncodeCityPathPart(L"C\u00f4te d'Ivoire"), L"c%C3%B4te+d%27ivoire");
    EXPECT_EQ(EncodeCityPathPart(L"a-b.c_d/e&f"), L"a-b.c_d%2Fe%26f");
    EXPECT_EQ(EncodeCityPathPart(nullptr), L"");
}

TEST_F(ActionTest, CityPageOfAKnownCityElseOfTheCountry) {
    CityRecord city = {};
    CopyBounded(city.city, L"New York");
    CopyBounded(city.region, L"United States");
    const CityTable saved = g_cities;
    g_cities.cities = &city;
    g_cities.count = 1;
    g_cities.capacity = 1;

    ClockRecord clock = MakeClock(1);
    CopyBounded(clock.location, L"New York, United States");
    ClockRecord elsewhere = MakeClock(2);
    CopyBounded(elsewhere.location, L"Atlantis, Nowhere");
    UseClocks({clock, elsewhere});
    g_app.currentClock = 0;
    SendMessageW(main_, WM_COMMAND, kCmdCityWebPage, 0);
    g_app.currentClock = 1;
    SendMessageW(main_, WM_COMMAND, kCmdCityWebPage, 0);
    g_app.currentClock = -1;
    SendMessageW(main_, WM_COMMAND, kCmdCityWebPage, 0);
    g_cities = saved;

    ASSERT_EQ(system_.shell.size(), 3u);
    EXPECT_EQ(system_.shell[0].verb, L"Open");
    EXPECT_EQ(system_.shell[0].file, std::wstring(kCityPagesBase) + L"united+states/new+york.htm");
    wchar_t country[161] = {};
    GetLocaleCountryName(country, 161);
    const std::wstring countryPage = std::wstring(kCityPagesBase) + EncodeCityPathPart(country) + L"/";
    EXPECT_EQ(system_.shell[1].file, countryPage);
    EXPECT_EQ(system_.shell[2].file, countryPage);
}

}  // namespace
