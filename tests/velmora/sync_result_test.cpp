// The settings the service reads, and the results it writes back and signals,
// with and without the shipped defaults in force.
#include <gtest/gtest.h>

#include "tests/velmora/sync_fixture.h"
#include "velmora/sync_codes.h"

using namespace velmora_test;

class SyncSettingsTest : public SyncFixture {};

TEST_F(SyncSettingsTest, ReadsCommonOfUserFileWithDefaults) {
    EXPECT_FALSE(ReadSyncSettings());  // no file: no server, no fallback server
    SyncSettings s = CurrentSyncSettings();
    EXPECT_EQ(s.autosync, 0);
    EXPECT_EQ(s.synctype, kSyncHourly);
    EXPECT_EQ(s.httpSyncWait, 1000);
    EXPECT_EQ(s.server, 0);
    EXPECT_STREQ(s.serverText, L"");

    Common(L"autosync", L"1");
    Common(L"synctype", L"2");
    Common(L"http_sync_wait", L"250");
    Common(L"server", L"3");
    Common(L"server0", L"wrong.example");
    Common(L"server3", L"127.0.0.1");
    EXPECT_TRUE(ReadSyncSettings());
    s = CurrentSyncSettings();
    EXPECT_EQ(s.autosync, 1);
    EXPECT_EQ(s.synctype, 2);
    EXPECT_EQ(s.httpSyncWait, 250);
    EXPECT_EQ(s.server, 3);
    EXPECT_STREQ(s.serverText, L"127.0.0.1");

    Common(L"server3", L"");
    EXPECT_FALSE(ReadSyncSettings());
    Common(L"server3", std::wstring(300, L'a'));  // at most 127 characters
    EXPECT_TRUE(ReadSyncSettings());
    EXPECT_EQ(wcslen(CurrentSyncSettings().serverText), 127u);
}

TEST_F(SyncSettingsTest, DefaultsInForceOnlyForFourByteZero) {
    EXPECT_FALSE(SyncDefaultsInForce());  // no key
    DefaultsInForce(1);
    EXPECT_FALSE(SyncDefaultsInForce());
    DefaultsInForce(0);
    EXPECT_TRUE(SyncDefaultsInForce());

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kPolicyKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    const unsigned long long zero = 0;
    RegSetValueExW(key, L"no_preferences", 0, REG_QWORD, reinterpret_cast<const BYTE*>(&zero), sizeof(zero));
    RegCloseKey(key);
    EXPECT_FALSE(SyncDefaultsInForce());
}

TEST_F(SyncSettingsTest, DefaultsInForceReadDefaultCommonOfDefaultIni) {
    Common(L"server0", L"user.example");
    WriteIniString(DefaultIniPath().c_str(), L"default:common", L"server", L"1");
    WriteIniString(DefaultIniPath().c_str(), L"default:common", L"server1", L"http://127.0.0.1/");
    WriteIniString(DefaultIniPath().c_str(), L"default:common", L"synctype", L"0");
    DefaultsInForce(0);
    EXPECT_TRUE(ReadSyncSettings());
    EXPECT_STREQ(CurrentSyncSettings().serverText, L"http://127.0.0.1/");
    EXPECT_EQ(CurrentSyncSettings().synctype, 0);
}

TEST_F(SyncSettingsTest, ResultsAreWrittenStampedAndSignalled) {
    EventFired();
    WriteSyncResult(kSyncInProgress);
    EXPECT_EQ(LastResult(), 133);
    EXPECT_EQ(LastTime(), L"");
    EXPECT_TRUE(EventFired());
    EXPECT_FALSE(EventFired());  // auto-reset: one waiter per result

    for (int code : {kSyncOk, kSyncSetElsewhere}) {
        Common(L"synclasttime", L"");
        WriteSyncResult(code);
        EXPECT_EQ(LastResult(), code);
        const std::wstring stamp = LastTime();
        ASSERT_EQ(stamp.size(), 14u);
        EXPECT_EQ(stamp.find_first_not_of(L"0123456789"), std::wstring::npos);
        EXPECT_TRUE(EventFired());
    }
    WriteSyncResult(kSyncNoReply);  // a failure keeps the last good time
    EXPECT_EQ(LastResult(), 135);
    EXPECT_EQ(LastTime().size(), 14u);
}

TEST_F(SyncSettingsTest, NothingIsWrittenOrSignalledWhileDefaultsRule) {
    DefaultsInForce(0);
    EventFired();
    WriteSyncResult(kSyncOk);
    EXPECT_EQ(LastResult(), -1);
    EXPECT_EQ(LastTime(), L"");
    EXPECT_FALSE(EventFired());
}

TEST(SyncTimeText, FourteenDigits) {
    SYSTEMTIME t{2026, 1, 0, 5, 7, 8, 9, 999};
    EXPECT_EQ(FormatSyncTime(t), L"20260105070809");
}

TEST(SyncEngine, InitTwiceAndCleanupTwiceAreHarmless) {
    ASSERT_TRUE(InitSync());
    EXPECT_TRUE(InitSync());
    EXPECT_TRUE(SyncReady());
    EXPECT_NE(SyncEvent(), nullptr);
    CleanupSync();
    EXPECT_FALSE(SyncReady());
    EXPECT_EQ(SyncEvent(), nullptr);
    CleanupSync();
    EXPECT_EQ(SyncOnce(100), 131);  // no lock: nothing attempted
}
