// First-run seeding and completion of a user's profile from default.ini.
#include <string>

#include "common/settings/ini_defaults.h"
#include "common/settings/ini_store.h"
#include "common/platform/registry_utils.h"
#include "tests/settings_store/store_fixture.h"

using store_test::StoreTest;

namespace {

int g_reloads = 0;
// What tempovia.ini, where the service reads it, held at the last request.
std::wstring g_serverAtReload;
std::wstring FakeZoneKey() { return L"Tokyo Standard Time"; }
std::wstring FakeZoneName() { return L"(UTC+09:00) Osaka, Sapporo, Tokyo"; }
void CountReload() {
    ++g_reloads;
    wchar_t server[64];
    GetPrivateProfileStringW(L"common", L"server0", L"", server, 64, UserIniPath().c_str());
    g_serverAtReload = server;
}

const wchar_t kShipped[] =
    L"[default:main]\r\nlanguage=\r\ntrayclocks=4\r\n"
    L"[default:common]\r\nsynctype=1\r\nserver0=time.example\r\n"
    L"[default:clocks]\r\nenabled=1\r\nzone=\r\ntimezone=\r\nalpha=200\r\nprefix=\" x \"\r\n"
    L"[default:clock1]\r\nenabled=1\r\nzone=\r\ntimezone=\r\nprefix=Home\r\n"
    L"[default:clock1:alarm1]\r\ntype=1\r\n"
    L"[default:clock1:alarm2]\r\ntype=2\r\n"
    L"[default:clock1:alarm4]\r\ntype=4\r\n"
    L"[default:clock2]\r\nenabled=0\r\nzone=GMT Standard Time\r\n"
    L"[default:clock3]\r\nenabled=1\r\nzone=W. Europe Standard Time\r\n"
    L"[default:rss1]\r\nurl=http://127.0.0.1/a.xml\r\n"
    L"[default:rss2]\r\nurl=http://127.0.0.1/b.xml\r\n"
    L"[default:rss4]\r\nurl=http://127.0.0.1/d.xml\r\n";

class IniDefaults : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        DefaultsHooks hooks;
        hooks.currentZoneKey = FakeZoneKey;
        hooks.currentZoneDisplayName = FakeZoneName;
        hooks.reloadTimeService = CountReload;
        old_ = SetDefaultsHooks(hooks);
        g_reloads = 0;
    }
    void TearDown() override {
        SetDefaultsHooks(old_);
        StoreTest::TearDown();
    }
    DefaultsHooks old_;
};

TEST_F(IniDefaults, NewUserGetsEveryShippedClockWithAlarmsAndChannels) {
    WriteDefaultIni(kShipped);
    WriteUserIni(L"[carol:main]\r\nlanguage=fr\r\n");
    int count = -1;
    EXPECT_EQ(InitUserSettings(L"bob", count), 2);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(g_reloads, 1);

    EXPECT_EQ(ReadIniText(user(), L"common", L"server0"), L"time.example");
    EXPECT_EQ(ReadIniInt(user(), L"bob:main", L"trayclocks", 0), 4);
    EXPECT_EQ(ReadIniText(user(), L"bob:clock1", L"prefix"), L"Home");
    // Empty shipped zones become the computer's own.
    EXPECT_EQ(ReadIniText(user(), L"bob:clock1", L"zone"), L"Tokyo Standard Time");
    EXPECT_EQ(ReadIniText(user(), L"bob:clock1", L"timezone"), L"(UTC+09:00) Osaka, Sapporo, Tokyo");
    EXPECT_EQ(ReadIniText(user(), L"bob:clock2", L"zone"), L"GMT Standard Time");
    // Alarms are seeded up to the first gap.
    EXPECT_EQ(ReadIniInt(user(), L"bob:clock1:alarm2", L"type", 0), 2);
    EXPECT_TRUE(ReadIniKeyList(user(), L"bob:clock1:alarm4").empty());
    // default:clocks is not mixed into seeded clocks.
    EXPECT_FALSE(IniKeyExists(user(), L"bob:clock1", L"alpha"));
    EXPECT_EQ(ReadIniInt(user(), L"bob:main", L"rss_channels", -1), 2);
    EXPECT_EQ(ReadIniText(user(), L"bob:rss2", L"url"), L"http://127.0.0.1/b.xml");
    EXPECT_TRUE(ReadIniKeyList(user(), L"bob:rss4").empty());
    // Another user's sections stay as they were.
    EXPECT_EQ(ReadIniKeyList(user(), L"carol:main").size(), 1u);
}

TEST_F(IniDefaults, ExistingUserGetsOnlyMissingKeysFromTheCommonClockDefaults) {
    WriteDefaultIni(kShipped);
    WriteUserIni(L"[bob:main]\r\nrss_channels=0\r\ntrayclocks=7\r\n"
                 L"[bob:clock1]\r\nenabled=0\r\nzone=GMT Standard Time\r\n"
                 L"[bob:clock2]\r\nenabled=1\r\n");
    int count = 0;
    EXPECT_EQ(InitUserSettings(L"bob", count), 1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(ReadIniInt(user(), L"bob:main", L"trayclocks", 0), 7);
    EXPECT_EQ(ReadIniText(user(), L"bob:clock1", L"zone"), L"GMT Standard Time");
    EXPECT_EQ(ReadIniInt(user(), L"bob:clock1", L"alpha", 0), 200);
    EXPECT_EQ(ReadIniText(user(), L"bob:clock1", L"prefix"), L" x ");  // blanks survive the copy
    EXPECT_EQ(ReadIniText(user(), L"bob:clock2", L"zone"), L"Tokyo Standard Time");
    EXPECT_TRUE(ReadIniKeyList(user(), L"bob:clock3").empty());
    EXPECT_TRUE(ReadIniKeyList(user(), L"bob:clock1:alarm1").empty());
    EXPECT_TRUE(ReadIniKeyList(user(), L"bob:rss1").empty());
}

TEST_F(IniDefaults, TimeServiceIsAskedToRereadOnlyWhenCommonGotKeys) {
    WriteDefaultIni(kShipped);
    // A first run seeds into a copy: the service is asked once the copy is
    // tempovia.ini, and finds the new keys there.
    WriteUserIni(L"[common]\r\nsynctype=0\r\n");
    int count = 0;
    InitUserSettings(L"bob", count);
    EXPECT_EQ(g_reloads, 1);
    EXPECT_EQ(g_serverAtReload, L"time.example");
    EXPECT_EQ(ReadIniInt(user(), L"common", L"synctype", -1), 0);

    // Nothing missing any more: nothing for the service to read again.
    InitUserSettings(L"bob", count);
    EXPECT_EQ(g_reloads, 1);
}

TEST_F(IniDefaults, FillingReportsWhetherTheDefaultSectionExists) {
    std::wstring url(900, L'u');
    WriteDefaultIni(L"[default:newtimer]\r\nurl=" + url + L"\r\n");
    WriteUserIni(L"");
    EXPECT_TRUE(FillMissingFromDefaults(L"bob", L":newtimer", true));
    EXPECT_EQ(ReadIniText(user(), L"bob:newtimer", L"url", L"", 2048), url);  // not cut at 255
    EXPECT_FALSE(FillMissingFromDefaults(L"bob", L":clock9", true));
    EXPECT_TRUE(ReadIniSectionNames(user()).size() == 1);
}

TEST_F(IniDefaults, NoDefaultsFileLeavesAnEmptyProfile) {
    WriteUserIni(L"");
    int count = 5;
    EXPECT_EQ(InitUserSettings(L"bob", count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(ReadIniInt(user(), L"bob:main", L"rss_channels", -1), 0);
}

TEST_F(IniDefaults, ThirtyClocksAtMost) {
    std::wstring shipped;
    for (int i = 1; i <= 31; ++i) shipped += L"[default:clock" + std::to_wstring(i) + L"]\r\nenabled=1\r\n";
    WriteDefaultIni(shipped);
    WriteUserIni(L"");
    int count = 0;
    EXPECT_EQ(InitUserSettings(L"bob", count), 30);
    EXPECT_EQ(count, 30);
    EXPECT_TRUE(ReadIniKeyList(user(), L"bob:clock31").empty());
}

TEST_F(IniDefaults, EmptyShippedZoneBecomesTheSystemsZoneKeyFromTheRegistry) {
    SetDefaultsHooks(DefaultsHooks{nullptr, nullptr, CountReload});  // the real zone lookup
    WriteDefaultIni(L"[default:clocks]\r\nzone=\r\ntimezone=\r\n");
    WriteUserIni(L"[bob:clock1]\r\nenabled=1\r\n");
    ASSERT_TRUE(FillMissingFromDefaults(L"bob", L":clock1", false));
    std::wstring key = ReadIniText(user(), L"bob:clock1", L"zone");
    ASSERT_FALSE(key.empty());
    std::wstring sub = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\" + key;
    wchar_t stdName[256], display[256];
    RegReadString(HKEY_LOCAL_MACHINE, sub.c_str(), L"Std", stdName, 256, L"");
    RegReadString(HKEY_LOCAL_MACHINE, sub.c_str(), L"Display", display, 256, L"");
    TIME_ZONE_INFORMATION tzi = {};
    GetTimeZoneInformation(&tzi);
    EXPECT_STREQ(stdName, tzi.StandardName);
    EXPECT_EQ(ReadIniText(user(), L"bob:clock1", L"timezone"), display);
}

}  // namespace
