// The settings program's switch grammar: keyword order, letter case, the
// whole-text keywords, numbers, ".m", quoting and junk.
#include <gtest/gtest.h>

#include <string>

#include "common/records/protocol.h"
#include "settings/command_line.h"

namespace {

constexpr wchar_t kProgram[] = L"\"C:\\Program Files\\Tempovia\\settings.exe\"";

SettingsCommand Parse(const std::wstring& arguments) {
    const std::wstring line = std::wstring(kProgram) + L" " + arguments;
    return ParseSettingsCommandLine(line.c_str());
}

struct Case {
    const wchar_t* arguments;
    unsigned int page, clock, item;
};

void Expect(const Case& c) {
    const SettingsCommand r = Parse(c.arguments);
    const std::string text(c.arguments, c.arguments + wcslen(c.arguments));
    EXPECT_EQ(r.page, c.page) << text;
    EXPECT_EQ(r.clock, c.clock) << text;
    EXPECT_EQ(r.item, c.item) << text;
    EXPECT_FALSE(r.install) << text;
}

TEST(SettingsCommandLine, EveryKeywordGivesItsPageAndNumbers) {
    const Case cases[] = {
        {L"/del4", SETTINGS_PAGE_DELETE_CLOCK, 4, 0},
        {L"/new_alarm3", SETTINGS_PAGE_NEW_ALARM, 3, 0},
        {L"/new_timer", SETTINGS_PAGE_NEW_COUNTDOWN, 0, 0},
        {L"/new_stopwatch", SETTINGS_PAGE_NEW_STOPWATCH, 0, 0},
        {L"/new", SETTINGS_PAGE_NEW_CLOCK, 0, 0},
        {L"/new2", SETTINGS_PAGE_NEW_CLOCK, 2, 0},
        {L"/zone5", SETTINGS_PAGE_CLOCK_ZONE, 5, 0},
        {L"/skin6", SETTINGS_PAGE_CLOCK_DESKTOP, 6, 0},
        {L"/formats7", SETTINGS_PAGE_CLOCK_FORMATS, 7, 0},
        {L"/alarms2", SETTINGS_PAGE_ALARMS, 2, 0},
        {L"/alarm2.3", SETTINGS_PAGE_ALARM, 2, 3},
        {L"/profiles9", SETTINGS_PAGE_PROFILES, 9, 0},
        {L"/profile9.12", SETTINGS_PAGE_PROFILE, 9, 12},
        {L"/taskbar", SETTINGS_PAGE_TASKBAR, 0, 0},
        {L"/sync", SETTINGS_PAGE_SYNC, 0, 0},
        {L"/general", SETTINGS_PAGE_GENERAL, 0, 0},
        {L"/rss", SETTINGS_PAGE_NEWS, 0, 0},
        {L"/7", SETTINGS_PAGE_CLOCK, 7, 0},
        {L"/30.2", SETTINGS_PAGE_CLOCK, 30, 2},
    };
    for (const Case& c : cases) Expect(c);
}

TEST(SettingsCommandLine, KeywordsIgnoreLetterCase) {
    const Case cases[] = {
        {L"/Del4", SETTINGS_PAGE_DELETE_CLOCK, 4, 0},      {L"/NEW_ALARM1", SETTINGS_PAGE_NEW_ALARM, 1, 0},
        {L"/New_Timer", SETTINGS_PAGE_NEW_COUNTDOWN, 0, 0}, {L"/NEW_STOPWATCH", SETTINGS_PAGE_NEW_STOPWATCH, 0, 0},
        {L"/ZoNe3", SETTINGS_PAGE_CLOCK_ZONE, 3, 0},       {L"/ALARM1.2", SETTINGS_PAGE_ALARM, 1, 2},
        {L"/Profiles4", SETTINGS_PAGE_PROFILES, 4, 0},     {L"/GENERAL", SETTINGS_PAGE_GENERAL, 0, 0},
        {L"/RsS", SETTINGS_PAGE_NEWS, 0, 0},
    };
    for (const Case& c : cases) Expect(c);
    EXPECT_TRUE(Parse(L"/INST").install);
    EXPECT_TRUE(Parse(L"/Inst").install);
}

TEST(SettingsCommandLine, ShortKeywordsArePrefixTestsAndNumbersFollowTheirLength) {
    // "del" and "new" look at three letters only; the number starts behind them.
    Expect({L"/delete", SETTINGS_PAGE_DELETE_CLOCK, 0, 0});
    Expect({L"/delete5", SETTINGS_PAGE_DELETE_CLOCK, 0, 0});
    Expect({L"/del12x", SETTINGS_PAGE_DELETE_CLOCK, 12, 0});
    Expect({L"/newclock", SETTINGS_PAGE_NEW_CLOCK, 0, 0});
    Expect({L"/new_alarmsX", SETTINGS_PAGE_NEW_ALARM, 0, 0});
    Expect({L"/zones", SETTINGS_PAGE_CLOCK_ZONE, 0, 0});
    Expect({L"/generally7", SETTINGS_PAGE_GENERAL, 0, 0});
    Expect({L"/synchronise", SETTINGS_PAGE_SYNC, 0, 0});
    Expect({L"/rssfeeds", SETTINGS_PAGE_NEWS, 0, 0});
    // "alarms" is tried before "alarm", "profiles" before "profile".
    Expect({L"/alarms2.5", SETTINGS_PAGE_ALARMS, 2, 5});
    Expect({L"/alarm", SETTINGS_PAGE_ALARM, 0, 0});
    Expect({L"/alarmx3", SETTINGS_PAGE_ALARM, 0, 0});
    Expect({L"/profile", SETTINGS_PAGE_PROFILE, 0, 0});
    const SettingsCommand inst = Parse(L"/installation3");
    EXPECT_TRUE(inst.install);
    EXPECT_EQ(inst.page, 0u);
}

TEST(SettingsCommandLine, WholeTextKeywordsFallThroughToNewWithAnythingBehind) {
    Expect({L"/new_timer 3", SETTINGS_PAGE_NEW_CLOCK, 0, 0});
    Expect({L"/new_timer3", SETTINGS_PAGE_NEW_CLOCK, 0, 0});
    Expect({L"/new_timer ", SETTINGS_PAGE_NEW_CLOCK, 0, 0});
    Expect({L"/new_stopwatch2", SETTINGS_PAGE_NEW_CLOCK, 0, 0});
    Expect({L"/new_stop", SETTINGS_PAGE_NEW_CLOCK, 0, 0});
    Expect({L"/new_time", SETTINGS_PAGE_NEW_CLOCK, 0, 0});
}

TEST(SettingsCommandLine, NoSwitchZeroAndJunkGiveNoPage) {
    EXPECT_EQ(ParseSettingsCommandLine(kProgram).page, 0u);
    EXPECT_EQ(ParseSettingsCommandLine(L"").page, 0u);
    EXPECT_EQ(ParseSettingsCommandLine(nullptr).page, 0u);
    Expect({L"/0", 0, 0, 0});
    Expect({L"/00.7", 0, 0, 7});
    Expect({L"/", 0, 0, 0});
    Expect({L"/x7", 0, 0, 0});
    Expect({L"/-3", 0, 0, 0});
    Expect({L"/de", 0, 0, 0});
    Expect({L"/ne", 0, 0, 0});
    Expect({L"/profil", 0, 0, 0});
    Expect({L"/ 7", 0, 0, 0});
    // A dot without a digit behind it ends the number.
    Expect({L"/alarm4.", SETTINGS_PAGE_ALARM, 4, 0});
    Expect({L"/alarm4.x9", SETTINGS_PAGE_ALARM, 4, 0});
    Expect({L"/5..2", SETTINGS_PAGE_CLOCK, 5, 0});
    Expect({L"/alarm4.2.9", SETTINGS_PAGE_ALARM, 4, 2});
    // A slash that does not follow a blank or tab is not a switch.
    EXPECT_EQ(ParseSettingsCommandLine(L"settings.exe/general").page, 0u);
    EXPECT_EQ(ParseSettingsCommandLine(L"settings.exe\t/general").page, SETTINGS_PAGE_GENERAL);
    EXPECT_EQ(ParseSettingsCommandLine(L"settings.exe  /general").page, SETTINGS_PAGE_GENERAL);
}

TEST(SettingsCommandLine, OnlyTheFirstBlankSlashOutsideQuotesStartsTheSwitch) {
    EXPECT_EQ(ParseSettingsCommandLine(L"\"C:\\a /del3\\settings.exe\" /general").page, SETTINGS_PAGE_GENERAL);
    EXPECT_EQ(ParseSettingsCommandLine(L"\"C:\\a /del3\\settings.exe\"").page, 0u);
    // Two quoted parts: the blank-slash pair between them counts.
    const SettingsCommand r = ParseSettingsCommandLine(L"\"a /b\" /zone2 \"c /del9\"");
    EXPECT_EQ(r.page, SETTINGS_PAGE_CLOCK_ZONE);
    EXPECT_EQ(r.clock, 2u);
    // An unclosed quote hides everything behind it.
    EXPECT_EQ(ParseSettingsCommandLine(L"\"settings.exe /general").page, 0u);
    // The first switch wins over later ones.
    EXPECT_EQ(ParseSettingsCommandLine(L"settings.exe /sync /general").page, SETTINGS_PAGE_SYNC);
}

TEST(SettingsCommandLine, NumbersStopAtTheirLimitAndPackIntoTheMessage) {
    const SettingsCommand big = Parse(L"/alarm99999999999999999999.4294967297");
    EXPECT_EQ(big.page, SETTINGS_PAGE_ALARM);
    EXPECT_EQ(big.clock, kSwitchNumberMax);
    EXPECT_EQ(big.item, kSwitchNumberMax);
    EXPECT_EQ(PackPageTarget(big), 0xFFFFFFFFul);
    const SettingsCommand small = Parse(L"/alarm2.3");
    EXPECT_EQ(PackPageTarget(small), (3ul << 16) | 2ul);
    EXPECT_EQ(PackPageTarget(Parse(L"/65535.65535")), 0xFFFFFFFFul);
    EXPECT_EQ(PackPageTarget(Parse(L"/65534.1")), 0x1FFFEul);
}

TEST(SettingsCommandLine, VeryLongLinesAreReadWithoutTrouble) {
    std::wstring quoted = L"\"" + std::wstring(100000, L'q') + L" /del1\"";
    EXPECT_EQ(ParseSettingsCommandLine(quoted.c_str()).page, 0u);
    std::wstring digits = L"settings.exe /zone" + std::wstring(50000, L'9') + L"." + std::wstring(50000, L'8');
    const SettingsCommand r = ParseSettingsCommandLine(digits.c_str());
    EXPECT_EQ(r.page, SETTINGS_PAGE_CLOCK_ZONE);
    EXPECT_EQ(r.clock, kSwitchNumberMax);
    EXPECT_EQ(r.item, kSwitchNumberMax);
    std::wstring tail = L"settings.exe /new_timer" + std::wstring(70000, L' ');
    EXPECT_EQ(ParseSettingsCommandLine(tail.c_str()).page, SETTINGS_PAGE_NEW_CLOCK);
}

}  // namespace
