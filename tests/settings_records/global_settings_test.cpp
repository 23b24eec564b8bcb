// General options: every key, its default and its limits; the news channels;
// start with Windows.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/settings/global_settings_io.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "tests/settings_records/records_sandbox.h"

using namespace records_test;

namespace {

GlobalSettings Read(const wchar_t* section = nullptr) {
    GlobalSettings g;
    memset(&g, 0, sizeof(g));
    ReadMainOptions(kUser, g, section);
    return g;
}

std::string Main(const std::string& keys) { return "[tester:main]\r\n" + keys; }

struct Channel {
    std::wstring url;
    int ttl, index, expanded, enabled;
};
std::vector<Channel> g_channels;
int g_refuseIndex = -100;

bool Collect(const wchar_t* url, int ttl, int index, int expanded, int enabled) {
    g_channels.push_back({url ? url : L"<none>", ttl, index, expanded, enabled});
    return url && index != g_refuseIndex;
}

std::wstring RunValue() {
    wchar_t value[512] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, kTestRunKey, L"Tempovia", RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS) {
        return L"<none>";
    }
    return value;
}

}  // namespace

TEST(GeneralSettings, DefaultsOfAnEmptyProfile) {
    Sandbox sandbox;
    GlobalSettings g = Read();
    EXPECT_STREQ(L"", g.skin);
    EXPECT_EQ(1, g.skinIsFolder);
    EXPECT_EQ(0, g.classicStyle);
    EXPECT_EQ(0, g.transparentskin);
    EXPECT_EQ(1, g.overlayprefixes);
    EXPECT_EQ(10, g.trayclocks);
    EXPECT_EQ(0, g.tooltipkind);
    EXPECT_EQ(1, g.tooltips);
    EXPECT_EQ(1, g.vistrel);
    EXPECT_EQ(0xFFFF, g.autosync);
    EXPECT_EQ(1, g.synctype);
    EXPECT_STREQ(kDefaultTimeServer, g.timeServer);
    EXPECT_EQ(0, g.inet_scripts);
    EXPECT_EQ(0u, g.runFlags);
    EXPECT_EQ(0, g.localzonehighlight.enabled);
    EXPECT_EQ(1, g.initialized);
    EXPECT_EQ(0, g.iso_weeks);
    EXPECT_EQ(0, g.setlocalinmenu);
    EXPECT_EQ(0, g.newsChannels);
    EXPECT_EQ(1, g.ads);
    EXPECT_EQ(1, g.notifications);
    EXPECT_EQ(1, g.fade_news);
    EXPECT_EQ(SettingsFolder(), std::wstring(g.programFolder));
}

TEST(GeneralSettings, TaskbarClockCountIsKeptWithinOneToTwelve) {
    Sandbox sandbox;
    const std::pair<const char*, int> cases[] = {{"0", 10}, {"25", 12}, {"-3", 12}, {"12", 12},
                                                 {"11", 11}, {"1", 1},   {"x", 10}};
    for (const auto& [text, expected] : cases) {
        sandbox.WriteUserIni(Main(std::string("trayclocks=") + text + "\r\n"));
        EXPECT_EQ(expected, Read().trayclocks) << text;
    }
}

TEST(GeneralSettings, FlagsAreStoredAsZeroOrOne) {
    Sandbox sandbox;
    sandbox.WriteUserIni(Main("tooltipkind=7\r\ntooltips=0\r\nvistrel=-1\r\ninet_scripts=2\r\niso_weeks=5\r\n"
                              "setlocalinmenu=2\r\ntransparentskin=3\r\noverlayprefixes=4\r\nads=2\r\n") +
                         "[map]\r\ninitialized=9\r\n");
    GlobalSettings g = Read();
    EXPECT_EQ(1, g.tooltipkind);
    EXPECT_EQ(0, g.tooltips);
    EXPECT_EQ(1, g.vistrel);
    EXPECT_EQ(1, g.inet_scripts);
    EXPECT_EQ(1, g.iso_weeks);
    EXPECT_EQ(0, g.setlocalinmenu);  // only 1 turns it on
    EXPECT_EQ(3, g.transparentskin);  // kept as read
    EXPECT_EQ(4, g.overlayprefixes);
    EXPECT_EQ(2, g.ads);
    EXPECT_EQ(1, g.initialized);
}

TEST(GeneralSettings, SkinNamesOfTheBuiltInStyles) {
    Sandbox sandbox;
    sandbox.WriteUserIni(Main("skin=classic TEMPOVIA style\r\n"));
    GlobalSettings classic = Read();
    EXPECT_EQ(0, classic.skinIsFolder);
    EXPECT_EQ(1, classic.classicStyle);
    sandbox.WriteUserIni(Main("skin=Standard System Clock\r\n"));
    GlobalSettings system = Read();
    EXPECT_EQ(0, system.skinIsFolder);
    EXPECT_EQ(0, system.classicStyle);
    sandbox.WriteUserIni(Main("skin=" + std::string(300, 'n') + "\r\n"));
    GlobalSettings folder = Read();
    EXPECT_EQ(1, folder.skinIsFolder);
    EXPECT_EQ(79u, wcsnlen(folder.skin, ARRAYSIZE(folder.skin)));
}

TEST(GeneralSettings, LanguageIsCutToTwoLowerCaseLetters) {
    Sandbox sandbox;
    sandbox.WriteUserIni(Main("language=German\r\n"));
    EXPECT_STREQ(L"ge", Read().language);
    EXPECT_EQ(L"ge", Language().languageCode());

    sandbox.WriteUserIni(Main("skin=x\r\n"));  // no language: the one in force stays
    EXPECT_STREQ(L"ge", Read().language);

    sandbox.WriteUserIni(Main("language=" + std::string(100, 'Q') + "\r\n"));
    EXPECT_STREQ(L"qq", Read().language);
    Language().SetLanguage(nullptr);
}

TEST(GeneralSettings, SyncSettingsComeFromTheDefaultsUntilTheUserHasHisOwn) {
    Sandbox sandbox("[default:common]\r\nautosync=0\r\nserver=2\r\nserver1=a.example\r\n"
                    "server2=b.example\r\nsynctype=3\r\n");
    sandbox.WriteUserIni("[common]\r\nserver=1\r\nserver1=mine.example\r\nsynctype=0\r\n");
    GlobalSettings shipped = Read();
    EXPECT_EQ(0, shipped.autosync);
    EXPECT_STREQ(L"b.example", shipped.timeServer);
    EXPECT_EQ(3, shipped.synctype);

    sandbox.WriteUserIni("[common]\r\nautosync=1\r\nserver=1\r\nserver1=mine.example\r\nsynctype=0\r\n");
    GlobalSettings own = Read();
    EXPECT_EQ(1, own.autosync);
    EXPECT_STREQ(L"mine.example", own.timeServer);
    EXPECT_EQ(0, own.synctype);

    sandbox.WriteUserIni("[common]\r\nautosync=1\r\nserver=7\r\nserver7=" + std::string(400, 'h') + "\r\n");
    GlobalSettings longName = Read();
    EXPECT_EQ(127u, wcsnlen(longName.timeServer, ARRAYSIZE(longName.timeServer)));

    wchar_t small[8];
    ReadTimeServer(UserIniPath().c_str(), nullptr, 7, small, ARRAYSIZE(small));
    EXPECT_STREQ(L"hhhhhhh", small);
}

TEST(GeneralSettings, LocalZoneHighlightThatDoesNotParseIsOnlySwitchedOff) {
    Sandbox sandbox;
    sandbox.WriteUserIni(Main("localzonehighlight=1, 09:00-18:00, FF0000, 7F, 06, Work\r\n"));
    GlobalSettings g;
    memset(&g, 0, sizeof(g));
    ReadMainOptions(kUser, g);
    EXPECT_EQ(1, g.localzonehighlight.enabled);
    EXPECT_EQ(COLORREF(0x0000FF), g.localzonehighlight.colour);
    EXPECT_EQ(540, g.localzonehighlight.fromMinute);

    sandbox.WriteUserIni(Main("localzonehighlight=1, 09:00-25:00, junk\r\n"));
    ReadMainOptions(kUser, g);
    EXPECT_EQ(0, g.localzonehighlight.enabled);
    EXPECT_EQ(COLORREF(0x0000FF), g.localzonehighlight.colour);
    EXPECT_STREQ(L"Work", g.localzonehighlight.name);
}

TEST(GeneralSettings, NewsChannelsGoToTheConsumer) {
    Sandbox sandbox;
    sandbox.WriteUserIni(Main("rss_channels=4\r\n") +
                         "[tester:rss1]\r\nurl=http://127.0.0.1/a.xml\r\nttl=-60\r\nexpanded=0\r\nenabled=1\r\n"
                         "[tester:rss2]\r\nttl=5\r\n"
                         "[tester:rss3]\r\nurl=http://127.0.0.1/c.xml\r\n"
                         "[tester:rss4]\r\nurl=http://127.0.0.1/d.xml\r\n");
    g_channels.clear();
    g_refuseIndex = 3;
    NewsChannelConsumer old = SetNewsChannelConsumer(Collect);
    GlobalSettings g = Read();
    SetNewsChannelConsumer(old);

    ASSERT_EQ(4u, g_channels.size());
    EXPECT_EQ(L"http://127.0.0.1/a.xml", g_channels[0].url);
    EXPECT_EQ(-60, g_channels[0].ttl);
    EXPECT_EQ(0, g_channels[0].index);
    EXPECT_EQ(0, g_channels[0].expanded);
    EXPECT_EQ(1, g_channels[0].enabled);
    // Channel 2 has no address and is skipped; 3 gets the defaults.
    EXPECT_EQ(2, g_channels[1].index);
    EXPECT_EQ(10, g_channels[1].ttl);
    EXPECT_EQ(1, g_channels[1].expanded);
    EXPECT_EQ(0, g_channels[1].enabled);
    EXPECT_EQ(3, g_channels[2].index);
    EXPECT_EQ(L"<none>", g_channels[3].url);
    EXPECT_EQ(-1, g_channels[3].index);
    EXPECT_EQ(2, g.newsChannels);  // the consumer refused channel 4
}

TEST(GeneralSettings, NewsChannelCountIsBounded) {
    Sandbox sandbox;
    std::string ini = Main("rss_channels=100000\r\n");
    for (int i = 1; i <= 130; ++i) {
        ini += "[tester:rss" + std::to_string(i) + "]\r\nurl=http://127.0.0.1/" + std::to_string(i) + "\r\n";
    }
    sandbox.WriteUserIni(ini);
    g_channels.clear();
    g_refuseIndex = -100;
    NewsChannelConsumer old = SetNewsChannelConsumer(Collect);
    GlobalSettings g = Read();
    EXPECT_EQ(128, g.newsChannels);

    sandbox.WriteUserIni(Main("rss_channels=-4\r\n"));
    g_channels.clear();
    EXPECT_EQ(0, Read().newsChannels);
    EXPECT_EQ(1u, g_channels.size());  // only the end call
    SetNewsChannelConsumer(old);

    EXPECT_EQ(0, Read().newsChannels);  // without a consumer nothing is read
}

TEST(GeneralSettings, AutostartQuotesTheProgramPath) {
    Sandbox sandbox;
    // A folder with a blank and no tempovia.ini: autostart defaults to on.
    SetSettingsFolder(L"C:\\Program Files\\Tempovia");
    GlobalSettings on = Read();
    EXPECT_EQ(L"\"C:\\Program Files\\Tempovia\\tempovia.exe\"", RunValue());
    EXPECT_STREQ(L"C:\\Program Files\\Tempovia\\", on.programFolder);

    EXPECT_EQ(L"\"tempovia.exe\"", AutostartCommand(nullptr));
    EXPECT_TRUE(ApplyAutostart(false, L"C:\\x\\"));
    EXPECT_EQ(L"<none>", RunValue());
    EXPECT_FALSE(ApplyAutostart(false, L"C:\\x\\"));  // nothing left to delete
}

TEST(GeneralSettings, AutostartOffRemovesTheValue) {
    Sandbox sandbox;
    sandbox.WriteUserIni(Main("autostart=1\r\n"));
    Read();
    EXPECT_NE(L"<none>", RunValue());
    sandbox.WriteUserIni(Main("autostart=0\r\n"));
    Read();
    EXPECT_EQ(L"<none>", RunValue());
    sandbox.WriteUserIni(Main("autostart=2\r\n"));
    Read();
    EXPECT_EQ(L"<none>", RunValue());
}

TEST(GeneralSettings, WrittenOptionsReadBackEqual) {
    Sandbox sandbox;
    sandbox.WriteUserIni(Main("autostart=0\r\n"));
    GlobalSettings e = Read();
    e.transparentskin = 1;
    e.overlayprefixes = 0;
    e.trayclocks = 7;
    e.tooltipkind = 1;
    e.tooltips = 0;
    e.vistrel = 0;
    CopyBounded(e.skin, L" Neon Night ");
    e.skinIsFolder = 1;
    e.classicStyle = 0;
    e.inet_scripts = 1;
    e.iso_weeks = 1;
    e.setlocalinmenu = 1;
    e.localzonehighlight = BackgroundProfile{};
    e.localzonehighlight.enabled = 1;
    e.localzonehighlight.fromMinute = 8 * 60 + 30;
    e.localzonehighlight.toMinute = 17 * 60 + 45;
    e.localzonehighlight.colour = 0x00FFFF;
    e.localzonehighlight.opacity = 0x40;
    e.localzonehighlight.weekdayMask = 0x3E;
    CopyBounded(e.localzonehighlight.name, L"Office");
    CopyBounded(e.language, L"fr");
    e.initialized = 0;
    e.ads = 0;
    e.notifications = 0;
    e.fade_news = 0;
    ASSERT_TRUE(WriteMainOptions(kUser, e));

    GlobalSettings back = Read();
    EXPECT_EQ(0, memcmp(&e, &back, sizeof(e))) << DifferingRanges(&e, &back, sizeof(e));
    EXPECT_STREQ(e.skin, back.skin);
    EXPECT_STREQ(e.language, back.language);

    memset(e.skin, 0, sizeof(e.skin));
    memset(e.language, 0, sizeof(e.language));
    e.localzonehighlight.enabled = 0;
    e.localzonehighlight.weekdayMask = 0;
    memset(e.localzonehighlight.name, 0, sizeof(e.localzonehighlight.name));
    e.initialized = 1;
    e.ads = 1;
    e.notifications = 1;
    e.fade_news = 1;
    e.trayclocks = 12;
    ASSERT_TRUE(WriteMainOptions(kUser, e));
    back = Read();
    EXPECT_EQ(0, memcmp(&e, &back, sizeof(e))) << DifferingRanges(&e, &back, sizeof(e));
    Language().SetLanguage(nullptr);
}
