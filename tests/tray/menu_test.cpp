// The main menu as each caller gets it: without a clock (tray icon), for a
// clock in the taskbar, for a desktop clock, for timers, and translated.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/settings/localisation.h"
#include "common/zones/local_zone.h"
#include "common/platform/text_bounds.h"
#include "common/mainmenu/main_menu.h"
#include "common/mainmenu/menu_ids.h"
#include "common/mainmenu/menu_translate.h"
#include "tests/tray/tray_fixture.h"

using namespace tray_test;

namespace {

bool Has(HMENU menu, UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND) != static_cast<UINT>(-1); }
bool Checked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
bool Grey(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }

std::wstring Text(HMENU menu, UINT id) {
    wchar_t text[260] = {};
    GetMenuStringW(menu, id, text, 260, MF_BYCOMMAND);
    return text;
}

bool IsSeparatorAt(HMENU menu, int position) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) && (info.fType & MFT_SEPARATOR);
}

// The submenu hung on an item of the popup whose first entry has this id.
HMENU SubmenuStartingWith(HMENU menu, UINT firstId) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (!sub) continue;
        if (GetMenuItemID(sub, 0) == firstId) return sub;
        if (HMENU deeper = SubmenuStartingWith(sub, firstId)) return deeper;
    }
    return nullptr;
}

class MenuTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (popup_) DestroyMenu(popup_);
    }
    HMENU Build(const MenuRequest& request, const LanguageStrings* language = nullptr) {
        if (popup_) DestroyMenu(popup_);
        popup_ = BuildMainPopup(ResourceLibrary(), request, language);
        return popup_;
    }
    HMENU popup_ = nullptr;
};

TEST_F(MenuTest, WithoutClockTheFirstEntryOpensTheSettings) {
    ASSERT_NE(ResourceLibrary(), nullptr);
    HMENU m = Build(MenuRequest{});
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(GetMenuItemID(m, 0), kCmdSettings);
    EXPECT_EQ(GetSubMenu(m, 0), nullptr);
    wchar_t first[64] = {};
    GetMenuStringW(m, 0, first, 64, MF_BYPOSITION);
    EXPECT_STREQ(first, L"&Settings");
    EXPECT_TRUE(Grey(m, kCmdNewAlarm));
    EXPECT_FALSE(Grey(m, kCmdNewClock));
    EXPECT_FALSE(Grey(m, kCmdNewTimer));
    EXPECT_FALSE(Grey(m, kCmdNewStopwatch));
    EXPECT_TRUE(Grey(m, kCmdWorldMap));
    for (UINT gone : {kCmdSetSystemZone, kCmdGroup, kCmdOnTop, kCmdShowOnDesktop, kCmdMoveToTaskbar, kCmdRefreshNews}) {
        EXPECT_FALSE(Has(m, gone)) << gone;
    }
    // Start, stop and reset stay for every clock (they act only on timers).
    for (UINT kept : {kCmdAbout, kCmdExit, kCmdCalendar, kCmdTimeConverter, kCmdTimeTable, kCmdAlarmLog,
                      kCmdDateTimePanel, kCmdCityWebPage, kCmdNewsWindow, kCmdTimerStartPause, kCmdTimerStop,
                      kCmdTimerReset}) {
        EXPECT_TRUE(Has(m, kept)) << kept;
    }
    // The menu's order is such that removed entries leave no separator at an
    // end or next to another.
    const int n = GetMenuItemCount(m);
    ASSERT_GT(n, 2);
    EXPECT_FALSE(IsSeparatorAt(m, 0));
    EXPECT_FALSE(IsSeparatorAt(m, n - 1));
    for (int i = 1; i < n; ++i) EXPECT_FALSE(IsSeparatorAt(m, i) && IsSeparatorAt(m, i - 1)) << i;
}

TEST_F(MenuTest, NewEntriesFollowTheClockLimitAndTheMapItsInstallation) {
    MenuRequest request;
    request.newClockAllowed = false;
    request.mapInitialised = true;
    HMENU m = Build(request);
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(Grey(m, kCmdNewClock));
    EXPECT_TRUE(Grey(m, kCmdNewTimer));
    EXPECT_TRUE(Grey(m, kCmdNewStopwatch));
    EXPECT_FALSE(Grey(m, kCmdWorldMap));
}

TEST_F(MenuTest, TaskbarClockShowsItsPagesAlarmsAndProfiles) {
    ClockRecord clock = MakeClock(3);
    std::vector<AlarmRecord> alarms(25);
    for (size_t i = 0; i < alarms.size(); ++i) {
        CopyBounded(alarms[i].comment, (L"Alarm no. " + std::to_wstring(i + 1)).c_str());
    }
    alarms[1].comment[0] = L'\0';
    clock.alarms = alarms.data();
    clock.alarmCount = 25;
    clock.profileCount = 3;
    CopyBounded(clock.profiles[0].name, L"Work");
    CopyBounded(clock.profiles[2].name, L"Night");
    MenuRequest request;
    request.clock = &clock;
    request.clockIndexValid = true;
    HMENU m = Build(request);
    ASSERT_NE(m, nullptr);

    HMENU pages = GetSubMenu(m, 0);
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(GetMenuItemID(pages, 0), kCmdSettings);
    EXPECT_FALSE(Grey(m, kCmdNewAlarm));
    // The taskbar's skin is on the taskbar page.
    EXPECT_FALSE(Has(m, kCmdPageSkin));
    EXPECT_TRUE(Has(m, kCmdPageTaskbar));
    EXPECT_TRUE(Has(m, kCmdShowOnDesktop));
    EXPECT_EQ(Text(m, kCmdShowOnDesktop), L"Show on &Desktop");
    EXPECT_FALSE(Has(m, kCmdMoveToTaskbar));
    EXPECT_FALSE(Has(m, kCmdGroup));
    EXPECT_FALSE(Has(m, kCmdOnTop));
    EXPECT_TRUE(Has(m, kCmdTimerStartPause));

    // Alarms and profiles became submenus; their items lost the command.
    EXPECT_FALSE(Has(m, kCmdPageAlarms));
    EXPECT_FALSE(Has(m, kCmdPageProfiles));
    HMENU alarmList = SubmenuStartingWith(m, kCmdAlarmFirst);
    ASSERT_NE(alarmList, nullptr);
    EXPECT_EQ(GetMenuItemCount(alarmList), 20);
    EXPECT_EQ(GetMenuItemID(alarmList, 19), kCmdAlarmFirst + 19u);
    EXPECT_EQ(Text(alarmList, kCmdAlarmFirst), L"Alarm no. 1");
    EXPECT_FALSE(Text(alarmList, kCmdAlarmFirst + 1).empty());
    HMENU profileList = SubmenuStartingWith(m, kCmdProfileFirst);
    ASSERT_NE(profileList, nullptr);
    EXPECT_EQ(GetMenuItemCount(profileList), 3);
    EXPECT_EQ(Text(profileList, kCmdProfileFirst), L"Work");
    EXPECT_EQ(Text(profileList, kCmdProfileFirst + 2), L"Night");
    EXPECT_FALSE(Text(profileList, kCmdProfileFirst + 1).empty());
}

TEST_F(MenuTest, ClockWithoutAlarmsKeepsThePageCommands) {
    ClockRecord clock = MakeClock(1);
    clock.alarmCount = 4;  // a count without records is no list
    MenuRequest request;
    request.clock = &clock;
    HMENU m = Build(request);
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(Has(m, kCmdPageAlarms));
    EXPECT_TRUE(Has(m, kCmdPageProfiles));
    EXPECT_EQ(SubmenuStartingWith(m, kCmdAlarmFirst), nullptr);
}

TEST_F(MenuTest, DesktopClockOffersGroupOnTopAndTheWayBack) {
    ClockRecord clock = MakeClock(2);
    clock.on_desktop = 1;
    MenuRequest request;
    request.clock = &clock;
    request.clockIndexValid = true;
    request.group = true;
    request.onTop = false;
    HMENU m = Build(request);
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(Checked(m, kCmdGroup));
    EXPECT_FALSE(Checked(m, kCmdOnTop));
    EXPECT_TRUE(Has(m, kCmdPageSkin));
    EXPECT_FALSE(Has(m, kCmdPageTaskbar));
    EXPECT_FALSE(Has(m, kCmdMoveToTaskbar));
    ASSERT_TRUE(Has(m, kCmdShowOnDesktop));
    EXPECT_EQ(Text(m, kCmdShowOnDesktop), L"Show in the &Taskbar");
    EXPECT_FALSE(Grey(m, kCmdShowOnDesktop));

    request.group = false;
    request.onTop = true;
    request.hookInstalled = false;
    m = Build(request);
    EXPECT_FALSE(Checked(m, kCmdGroup));
    EXPECT_TRUE(Checked(m, kCmdOnTop));
    EXPECT_TRUE(Grey(m, kCmdShowOnDesktop));
}

TEST_F(MenuTest, TimersHaveTheirCommandsAndNeverTheSystemZone) {
    ClockRecord timer = MakeClock(4);
    timer.kind = kClockTimer | kClockCountdown;
    MenuRequest request;
    request.clock = &timer;
    request.clockIndexValid = true;
    request.setLocalInMenu = true;
    HMENU m = Build(request);
    ASSERT_NE(m, nullptr);
    EXPECT_FALSE(Has(m, kCmdSetSystemZone));
    EXPECT_TRUE(Has(m, kCmdTimerStartPause));
    EXPECT_TRUE(Has(m, kCmdTimerStop));
    EXPECT_TRUE(Has(m, kCmdTimerReset));
}

TEST_F(MenuTest, SystemZoneEntryFollowsOptionIndexAndZone) {
    ClockRecord clock = MakeClock(1);
    MenuRequest request;
    request.clock = &clock;
    request.clockIndexValid = true;
    HMENU m = Build(request);
    EXPECT_FALSE(Has(m, kCmdSetSystemZone));  // option off

    request.setLocalInMenu = true;
    m = Build(request);
    ASSERT_TRUE(Has(m, kCmdSetSystemZone));
    EXPECT_FALSE(Grey(m, kCmdSetSystemZone));

    request.clockIndexValid = false;
    EXPECT_TRUE(Grey(Build(request), kCmdSetSystemZone));
    request.clockIndexValid = true;

    // The computer's own zone, by key or by rules.
    ClockRecord local = clock;
    CopyBounded(local.zone.key, kLocalSystemTimeKey);
    request.clock = &local;
    EXPECT_TRUE(Grey(Build(request), kCmdSetSystemZone));
    ClockRecord same = clock;
    same.zone.Bias = LocalZone().Bias;
    same.zone.DaylightDate = LocalZone().DaylightDate;
    same.zone.StandardDate = LocalZone().StandardDate;
    same.zone.StandardBias = LocalZone().StandardBias;
    same.zone.DaylightBias = LocalZone().DaylightBias;
    same.usedaylight = AutoDaylightActive() ? 1 : 0;
    request.clock = &same;
    EXPECT_TRUE(Grey(Build(request), kCmdSetSystemZone));

    // A daylight start without an end is no rule the system can apply.
    ClockRecord broken = clock;
    broken.zone.DaylightDate.wMonth = 3;
    broken.zone.DaylightDate.wDay = 5;
    broken.zone.daylightWeek = 5;
    request.clock = &broken;
    EXPECT_TRUE(Grey(Build(request), kCmdSetSystemZone));
}

TEST(MenuKeyName, KeepsKeyCharactersAndTurnsBlanksIntoUnderscores) {
    wchar_t a[32] = L"Time Zone...";
    MakeIniKeyName(a, 32);
    EXPECT_STREQ(a, L"Time_Zone...");
    wchar_t b[32] = L"&Neu (gr\u00f6\u00dfer)";
    MakeIniKeyName(b, 32);
    EXPECT_STREQ(b, L"Neu_grer");
    wchar_t c[4] = L"a b";
    MakeIniKeyName(c, 4);
    EXPECT_STREQ(c, L"a_b");
}

TEST_F(MenuTest, TranslatedFromTheLanguageFileElseTheEnglishOne) {
    testing_support::TempDir dir;
    ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"tempovia_de.ini"),
                                            "[MENU_Main]\r\n408=&Kalender\r\nSettings=&Einstellungen\r\n105=\r\n"));
    ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"tempovia_en.ini"),
                                            "[MENU_Main]\r\n105=&Quit\r\n408=&Calendar EN\r\n"));
    LanguageStrings language;
    language.SetLanguageFolder(dir.path().c_str());
    language.SetLanguageFileBase(L"tempovia");
    language.SetLanguage(L"de");
    ASSERT_FALSE(language.languageIniPath().empty());

    ClockRecord clock = MakeClock(1);
    MenuRequest request;
    request.clock = &clock;
    HMENU m = Build(request, &language);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(Text(m, kCmdCalendar), L"&Kalender");
    EXPECT_EQ(Text(m, kCmdExit), L"&Quit");             // empty in German: the English text
    EXPECT_EQ(Text(m, kCmdAbout), L"A&bout Tempovia");  // in neither: the library's
    wchar_t first[64] = {};
    GetMenuStringW(m, 0, first, 64, MF_BYPOSITION);
    EXPECT_STREQ(first, L"&Einstellungen");

    // Without a clock the translated text moves to the settings command.
    m = Build(MenuRequest{}, &language);
    EXPECT_EQ(Text(m, kCmdSettings), L"&Einstellungen");
}

TEST(MainMenuLoad, MissingLibraryOrMenuGivesNone) {
    EXPECT_EQ(LoadMainMenu(nullptr), nullptr);
    EXPECT_EQ(BuildMainPopup(nullptr, MenuRequest{}, nullptr), nullptr);
    // A library without the menu.
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    EXPECT_EQ(BuildMainPopup(kernel, MenuRequest{}, nullptr), nullptr);
}

}  // namespace
