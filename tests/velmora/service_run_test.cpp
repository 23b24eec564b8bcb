// The running service driven through its own entry and control handler with a
// platform recorder: start-up statuses, pause and continue, reload, sync on
// request against a responder of the test's own, and stop.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "common/settings/named_mutex.h"

#include "common/platform/sync_service_notify.h"
#include "tests/velmora/loopback.h"
#include "tests/velmora/service_fixture.h"
#include "tests/velmora/sync_fixture.h"
#include "velmora/command_line.h"
#include "velmora/service_run.h"
#include "velmora/sync_codes.h"

using namespace velmora_test;

namespace {
const uint32_t kServerTime = NtpSeconds(ServerMoment());
}

class ServiceRunTest : public SyncFixture {
protected:
    void SetUp() override {
        SyncFixture::SetUp();
        SetServicePlatform(&platform);
    }
    void TearDown() override {
        if (service.joinable()) {
            if (platform.handler) platform.handler(SERVICE_CONTROL_STOP);
            service.join();
        }
        if (platform.serviceThread.joinable()) platform.serviceThread.join();
        SetServicePlatform(nullptr);
        SyncFixture::TearDown();
    }
    // Service mode through a dispatcher that returns at STOPPED, after which
    // the engine is cleaned up at once, as in the real process.
    void Start() {
        platform.dispatch = true;
        service = std::thread([] { RunCommandLine(L"velmora.exe"); });
        ASSERT_TRUE(WaitFor([&] { return platform.LastState() == SERVICE_RUNNING; }, 5000));
    }
    void Control(DWORD code) { platform.handler(code); }

    RecordingPlatform platform;
    std::thread service;
};

TEST_F(ServiceRunTest, StartsRunsAndStops) {
    Start();
    EXPECT_EQ(platform.registeredName, L"QXTime");
    const auto statuses = platform.Statuses();
    ASSERT_GE(statuses.size(), 2u);
    EXPECT_EQ(statuses[0].dwCurrentState, static_cast<DWORD>(SERVICE_START_PENDING));
    EXPECT_EQ(statuses[0].dwServiceType, 16u);
    EXPECT_EQ(statuses[0].dwControlsAccepted, 7u);
    EXPECT_EQ(statuses[0].dwCheckPoint, 1u);
    EXPECT_EQ(statuses[0].dwWaitHint, 2000u);
    const SERVICE_STATUS& running = statuses.back();
    EXPECT_EQ(running.dwCheckPoint, 0u);
    EXPECT_EQ(running.dwWaitHint, 0u);
    EXPECT_EQ(running.dwWin32ExitCode, 0u);

    // velmora.log is there, empty, and held open.
    const std::wstring log = dir.file(L"velmora.log");
    EXPECT_EQ(GetFileAttributesW(log.c_str()) != INVALID_FILE_ATTRIBUTES, true);
    EXPECT_FALSE(DeleteFileW(log.c_str()));

    Control(77);  // unknown: the status again
    EXPECT_EQ(platform.LastState(), static_cast<DWORD>(SERVICE_RUNNING));
    Control(SERVICE_CONTROL_STOP);
    service.join();
    EXPECT_EQ(platform.LastState(), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(CurrentServiceState(), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_TRUE(testing_support::ReadBytes(log).empty());
    EXPECT_TRUE(DeleteFileW(log.c_str()));
}

TEST_F(ServiceRunTest, SyncRequestWaitsForContinueAndReloadSwitchesServer) {
    SntpResponder first(SntpReply(kServerTime, 0));
    SntpResponder second(SntpReply(kServerTime, 0));
    SetSntpPort(first.port());
    ASSERT_TRUE(UseServer(L"127.0.0.1"));  // autosync off: only requests sync
    Start();

    Control(SYNC_CONTROL_SYNC_NOW);
    ASSERT_TRUE(WaitFor([&] { return first.requests() == 1 && LastResult() == 0; }, 5000));
    EXPECT_EQ(clock.calls.size(), 1u);

    Control(SERVICE_CONTROL_PAUSE);
    EXPECT_EQ(platform.LastState(), static_cast<DWORD>(SERVICE_PAUSED));
    Control(SYNC_CONTROL_SYNC_NOW);
    Sleep(1200);
    EXPECT_EQ(first.requests(), 1);  // remembered, not acted on
    Control(SERVICE_CONTROL_CONTINUE);
    EXPECT_EQ(platform.LastState(), static_cast<DWORD>(SERVICE_RUNNING));
    ASSERT_TRUE(WaitFor([&] { return first.requests() == 2; }, 5000));

    // Reload: the new server is used by the next request; nothing is due on its own.
    Common(L"server0", L"localhost");
    SetSntpPort(second.port());
    Control(SYNC_CONTROL_RELOAD);
    Sleep(700);
    EXPECT_EQ(second.requests(), 0);
    Control(SYNC_CONTROL_SYNC_NOW);
    ASSERT_TRUE(WaitFor([&] { return second.requests() == 1; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return clock.calls.size() == 3; }, 2000));
}

TEST_F(ServiceRunTest, StopDuringASyncIsPendingUntilTheSyncHasReported) {
    HttpResponder server(HttpResponder::Reply("200 OK", ""), 1500);
    ASSERT_TRUE(UseServer(LoopbackHttp(server.port())));
    Start();
    Control(SYNC_CONTROL_SYNC_NOW);
    ASSERT_TRUE(WaitFor([&] { return server.requests() == 1; }, 5000));
    Control(SERVICE_CONTROL_STOP);
    const SERVICE_STATUS pending = platform.Statuses().back();
    EXPECT_EQ(pending.dwCurrentState, static_cast<DWORD>(SERVICE_STOP_PENDING));
    EXPECT_GT(pending.dwWaitHint, kSyncTimeoutMs);
    EXPECT_EQ(LastResult(), kSyncInProgress);
    service.join();
    // STOPPED came once, last, after the sync wrote its result.
    const auto statuses = platform.Statuses();
    for (size_t i = 0; i + 1 < statuses.size(); ++i) EXPECT_NE(statuses[i].dwCurrentState, DWORD{SERVICE_STOPPED}) << i;
    EXPECT_EQ(statuses.back().dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(statuses.back().dwWaitHint, 0u);
    EXPECT_EQ(LastResult(), kSyncStopped);  // the request was given up
}

// From the first STOP_PENDING on, only STOP_PENDING and a last STOPPED.
void ExpectStopKept(const std::vector<SERVICE_STATUS>& statuses) {
    size_t i = 0;
    while (i < statuses.size() && statuses[i].dwCurrentState != SERVICE_STOP_PENDING) ++i;
    ASSERT_LT(i, statuses.size());
    for (; i + 1 < statuses.size(); ++i) EXPECT_EQ(statuses[i].dwCurrentState, DWORD{SERVICE_STOP_PENDING}) << i;
    EXPECT_EQ(statuses.back().dwCurrentState, DWORD{SERVICE_STOPPED});
}

TEST_F(ServiceRunTest, AStopRightAfterRegistrationIsHonoured) {
    platform.controlOnRegistration = SERVICE_CONTROL_STOP;
    service = std::thread([] { ServiceMain(0, nullptr); });
    ASSERT_TRUE(WaitFor([&] { return platform.LastState() == SERVICE_STOPPED; }, 5000));
    service.join();
    ExpectStopKept(platform.Statuses());
}

TEST_F(ServiceRunTest, ASlowManagerDuringTheStartUpHoldsNothingUp) {
    // The heartbeat's first report takes longer than a beat; it is waited for,
    // not cut off while it holds the status.
    platform.slowFirstStatusMs = 1500;
    service = std::thread([] { ServiceMain(0, nullptr); });
    if (!WaitFor([&] { return platform.LastState() == SERVICE_RUNNING; }, 5000)) {
        service.detach();  // its status lock is lost for good
        FAIL() << "the service never reported RUNNING";
    }
    Control(SERVICE_CONTROL_STOP);
    service.join();
    EXPECT_EQ(platform.LastState(), DWORD{SERVICE_STOPPED});
}

TEST_F(ServiceRunTest, AStopEndsTheServiceOnlyAfterTheSyncItCutShort) {
    SntpResponder server(SntpReply(kServerTime, 0));
    SetSntpPort(server.port());
    ASSERT_TRUE(UseServer(L"127.0.0.1"));
    Start();
    LockHolder other(12000);  // another program writes the settings
    const DWORD held = GetTickCount();
    Control(SYNC_CONTROL_SYNC_NOW);
    Sleep(5000);
    const DWORD asked = GetTickCount();
    Control(SERVICE_CONTROL_STOP);
    service.join();  // the dispatcher returned and the engine is gone
    EXPECT_LT(GetTickCount() - asked, kStopWaitHintMs);
    EXPECT_GE(GetTickCount() - held, 11900u);
    // The sync wrote that it was stopped before STOPPED; the file is whole.
    EXPECT_EQ(LastResult(), kSyncStopped);
    EXPECT_EQ(ReadIniText(UserIniPath().c_str(), L"common", L"server0"), L"127.0.0.1");
    EXPECT_EQ(ReadIniKeyList(UserIniPath().c_str(), L"common").size(), 3u);
    EXPECT_EQ(server.requests(), 0);
    ExpectStopKept(platform.Statuses());
}

TEST_F(ServiceRunTest, AReloadDuringASyncChangesOnlyTheNextOne) {
    SntpResponder server(SntpReply(kServerTime, 0));
    SetSntpPort(server.port());
    ASSERT_TRUE(UseServer(L"127.0.0.1"));
    Start();
    auto lock = std::make_unique<IniFileLock>();  // the sync waits to write "in progress"
    Control(SYNC_CONTROL_SYNC_NOW);
    Sleep(300);
    Common(L"server0", L"127.0.0.2");
    Control(SYNC_CONTROL_RELOAD);
    Sleep(700);
    lock.reset();
    ASSERT_TRUE(WaitFor([&] { return LastResult() == kSyncOk; }, 5000));
    EXPECT_EQ(server.requests(), 1);  // the server the sync started with
    EXPECT_TRUE(WaitFor([&] { return std::wstring(CurrentSyncSettings().serverText) == L"127.0.0.2"; }, 2000));
}

TEST_F(ServiceRunTest, AResultKeptOutByABusyFileIsReportedOnceTheFileIsFree) {
    SntpResponder server(SntpReply(kServerTime, 0));
    SetSntpPort(server.port());
    ASSERT_TRUE(UseServer(L"127.0.0.1"));
    Start();
    EventFired();
    {
        LockHolder other(kIniLockWaitMs + 3000);
        Control(SYNC_CONTROL_SYNC_NOW);
        // The clock does not wait for the file beyond the lock's wait.
        ASSERT_TRUE(WaitFor([&] { return clock.calls.size() == 1; }, kIniLockWaitMs + 2000));
        Sleep(300);
        EXPECT_FALSE(EventFired());
    }
    EXPECT_TRUE(WaitFor([&] { return LastResult() == kSyncFileBusy; }, 2000));
    EXPECT_TRUE(EventFired());
}

TEST_F(ServiceRunTest, WithoutServerRequestsDoNothing) {
    SntpResponder server(SntpReply(kServerTime, 0));
    SetSntpPort(server.port());
    Common(L"autosync", L"1");
    Start();
    Control(SYNC_CONTROL_SYNC_NOW);
    Sleep(800);
    EXPECT_EQ(server.requests(), 0);
    EXPECT_EQ(LastResult(), -1);
}

TEST_F(ServiceRunTest, ScheduledSyncAtFirstWake) {
    SntpResponder server(SntpReply(kServerTime, 0));
    SetSntpPort(server.port());
    Common(L"autosync", L"1");
    Common(L"synctype", L"1");
    ASSERT_TRUE(UseServer(L"127.0.0.1"));
    CleanupSync();
    ASSERT_TRUE(InitSync());  // a fresh start of the schedule
    Start();
    ASSERT_TRUE(WaitFor([&] { return server.requests() == 1; }, 3000));
    Sleep(1200);
    EXPECT_EQ(server.requests(), 1);  // not again within the hour
}

TEST_F(ServiceRunTest, UnwritableLogStopsWithItsError) {
    SetSettingsFolder(dir.file(L"missing"));
    service = std::thread([] { ServiceMain(0, nullptr); });
    service.join();
    const auto statuses = platform.Statuses();
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.back().dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(statuses.back().dwWin32ExitCode, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}
