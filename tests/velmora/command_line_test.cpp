// The command line: switch parsing, the usage text, /sync without a server,
// and service mode handed to the dispatcher.
#include <gtest/gtest.h>

#include "tests/velmora/loopback.h"
#include "tests/velmora/service_fixture.h"
#include "tests/velmora/sync_fixture.h"
#include "velmora/command_line.h"
#include "velmora/service_install.h"
#include "velmora/service_messages.h"

using namespace velmora_test;

TEST(ServiceSwitches, PrefixesCaseAndLastInstallSwitchWins) {
    bool blank = false;
    ServiceSwitches s = ParseServiceSwitches(L"velmora.exe", &blank);
    EXPECT_FALSE(blank);
    EXPECT_EQ(s.count, 0);

    s = ParseServiceSwitches(L"\"C:\\x y\\velmora.exe\" /INSTALL /Start", &blank);
    EXPECT_TRUE(blank);
    EXPECT_EQ(s.action, ServiceAction::Install);
    EXPECT_TRUE(s.start);
    EXPECT_EQ(s.count, 2);

    s = ParseServiceSwitches(L"v /install /uninstall /auto /synchronise /quiet", nullptr);
    EXPECT_EQ(s.action, ServiceAction::AutoInstall);
    EXPECT_TRUE(s.sync);
    EXPECT_TRUE(s.quiet);
    EXPECT_FALSE(s.unknown);
    EXPECT_EQ(s.count, 5);

    s = ParseServiceSwitches(L"v /auto /UNINSTALL", nullptr);
    EXPECT_EQ(s.action, ServiceAction::Uninstall);

    s = ParseServiceSwitches(L"v /x /inst", nullptr);  // "/inst" is not "/install"
    EXPECT_TRUE(s.unknown);
    EXPECT_EQ(s.action, ServiceAction::None);
    EXPECT_EQ(s.count, 2);

    s = ParseServiceSwitches(L"v  plain words /", nullptr);
    EXPECT_TRUE(s.unknown);
    EXPECT_EQ(s.count, 1);
    s = ParseServiceSwitches(nullptr, &blank);
    EXPECT_FALSE(blank);
}

class CommandLineTest : public SyncFixture {
protected:
    void SetUp() override {
        SyncFixture::SetUp();
        CleanupSync();  // the command line sets up the engine itself
        SetServicePlatform(&platform);
        SetServiceNameOverride(L"QXTimeVelmoraTest");
    }
    void TearDown() override {
        SetServiceNameOverride(nullptr);
        SetServicePlatform(nullptr);
        SyncFixture::TearDown();
    }
    RecordingPlatform platform;
};

TEST_F(CommandLineTest, UnknownSwitchShowsUsageAndActsOnNothing) {
    EXPECT_EQ(RunCommandLine(L"velmora.exe /x"), kExitUsage);
    EXPECT_EQ(RunCommandLine(L"velmora.exe /install /x"), kExitUsage);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0], L"Command line options are: /INSTALL, /AUTO, /UNINSTALL, /SYNC.");
    EXPECT_EQ(platform.messageFlags[0], static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(platform.dispatcherRuns, 0);
    EXPECT_FALSE(SyncReady());
}

TEST_F(CommandLineTest, SyncWithoutServerExitsTenWithoutClock) {
    EXPECT_EQ(RunCommandLine(L"velmora.exe /sync"), kExitSyncFailed);
    EXPECT_EQ(RunCommandLine(L"velmora.exe /SYNC /q"), kExitSyncFailed);
    EXPECT_TRUE(clock.calls.empty());
    EXPECT_EQ(LastResult(), -1);
    EXPECT_EQ(platform.dispatcherRuns, 0);
}

TEST_F(CommandLineTest, SyncWithTheSettingsFileKeptBusyEndsWithinTheLocksWait) {
    SntpResponder server(SntpReply(NtpSeconds(ServerMoment()), 0));
    SetSntpPort(server.port());
    ASSERT_TRUE(UseServer(L"127.0.0.1"));
    LockHolder other(kIniLockWaitMs + 3000);
    const DWORD t0 = GetTickCount();
    EXPECT_EQ(RunCommandLine(L"velmora.exe /sync"), kExitSyncFileBusy);
    EXPECT_LT(GetTickCount() - t0, kIniLockWaitMs + 1000);
    EXPECT_EQ(platform.dispatcherRuns, 0);
}

TEST_F(CommandLineTest, ServiceModeRunsDispatcher) {
    EXPECT_EQ(RunCommandLine(L"velmora.exe"), kExitOk);
    EXPECT_EQ(RunCommandLine(L"velmora.exe "), kExitOk);
    EXPECT_EQ(RunCommandLine(L"velmora.exe /q"), kExitOk);  // a single switch goes on to service mode
    EXPECT_EQ(platform.dispatcherRuns, 3);
    EXPECT_EQ(platform.dispatcherName, L"QXTime");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(SyncReady());  // cleaned up when the dispatcher returned
}

TEST_F(CommandLineTest, UninstallOfMissingServiceSucceeds) {
    EXPECT_EQ(RunCommandLine(L"velmora.exe /uninstall"), kExitOk);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0], L"Service has been deleted.");
    EXPECT_EQ(RunCommandLine(L"velmora.exe /uninstall /q"), kExitOk);
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.dispatcherRuns, 0);
}

TEST(ServiceMessages, StringTableOfTheProgram) {
    EXPECT_EQ(ServiceString(1), L"Can not open SCM. Access denied.");
    EXPECT_EQ(ServiceString(2), L"Can not open SCM. ");
    EXPECT_EQ(ServiceString(8), L"Can not open key HKLM\\System\\CurrentControlSet\\Services\\QXTime.");
    EXPECT_EQ(ServiceString(14), L"Can not start service");
    EXPECT_EQ(ServiceString(54), L"Service has been started.");
    EXPECT_EQ(ServiceString(101), L"Synchronizes computer time with Internet time servers.");
    EXPECT_EQ(ServiceString(999), L"");
}
