// A synchronisation against an SNTP responder of the test's own on
// 127.0.0.1: the clock recorder sees the time of a good reply, and nothing
// for a bad one or for silence.
#include <gtest/gtest.h>

#include <thread>

#include "tests/velmora/loopback.h"
#include "tests/velmora/sync_fixture.h"
#include "velmora/sync_codes.h"

using namespace velmora_test;

namespace {
const SYSTEMTIME kMoment = ServerMoment();
const uint32_t kServerTime = NtpSeconds(kMoment);
}

class SntpSyncTest : public SyncFixture {};

TEST_F(SntpSyncTest, GoodReplySetsClockAndReports) {
    SntpResponder server(SntpReply(kServerTime, 0x80000000u));
    SetSntpPort(server.port());
    ASSERT_TRUE(UseServer(L"127.0.0.1"));
    EventFired();
    EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncOk);

    ASSERT_EQ(clock.calls.size(), 1u);
    EXPECT_EQ(Stamp(clock.calls[0]), Stamp(kMoment));
    EXPECT_EQ(LastResult(), 0);
    EXPECT_EQ(LastTime().size(), 14u);
    EXPECT_TRUE(EventFired());

    const std::string request = server.lastRequest();
    ASSERT_EQ(request.size(), 48u);
    EXPECT_EQ(request[0], '\x0B');
}

TEST_F(SntpSyncTest, AllOnesOrAnAnswerToNoRequestNeverReachTheClock) {
    ASSERT_TRUE(UseServer(L"127.0.0.1"));
    SntpResponder allOnes(SntpReply(0xFFFFFFFFu, 0xFFFFFFFFu));
    SetSntpPort(allOnes.port());
    EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncNoTime);
    SntpResponder foreign(SntpReply(kServerTime, 0), false);
    SetSntpPort(foreign.port());
    EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncNoTime);
    EXPECT_EQ(LastResult(), 134);
    EXPECT_TRUE(clock.calls.empty());
}

TEST_F(SntpSyncTest, ADatagramFromElsewhereIsPassedOverForTheServersReply) {
    SntpResponder server(SntpReply(kServerTime, 0));
    server.ForgeFirst(SntpReply(kServerTime + 3600, 0));
    SetSntpPort(server.port());
    ASSERT_TRUE(UseServer(L"127.0.0.1"));
    EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncOk);
    ASSERT_EQ(clock.calls.size(), 1u);
    EXPECT_EQ(clock.calls[0].wHour, 12);  // the server's time, not the forger's
}

// Times a server cannot have: before this program was built, or years ahead
// of a computer clock that is itself on or after the build.
TEST_F(SntpSyncTest, ServerTimesAreCheckedAgainstTheBuildAndTheComputersClock) {
    ASSERT_TRUE(UseServer(L"127.0.0.1"));
    const SYSTEMTIME era{2036, 2, 5, 8, 6, 28, 20, 500};  // the second NTP era
    const struct {
        SYSTEMTIME machine, server;
        int code;
    } cases[] = {
        {ServerMoment(0, 6), ServerMoment(1, 6), kSyncOk},
        {era, era, kSyncOk},
        {ServerMoment(0, -25), ServerMoment(1, 6), kSyncOk},  // a clock reset to the past
        {ServerMoment(0, 6), ServerMoment(0, 6 + kServerTimeYearsAhead), kSyncNoTime},
        {ServerMoment(0, 6), ServerMoment(-2), kSyncNoTime},
        {ServerMoment(0), ServerMoment(0, -25), kSyncNoTime},
        {ServerMoment(0), ServerMoment(0), kSyncOk},
    };
    for (const auto& c : cases) {
        clock.now = FileTimeOf(c.machine);
        SntpResponder server(SntpReply(NtpSeconds(c.server), 0x80000000u));
        SetSntpPort(server.port());
        const size_t calls = clock.calls.size();
        EXPECT_EQ(SyncOnce(kSyncTimeoutMs), c.code) << Stamp(c.machine) << " " << Stamp(c.server);
        if (c.code == kSyncOk) {
            ASSERT_EQ(clock.calls.size(), calls + 1);
            EXPECT_EQ(Stamp(clock.calls.back()), Stamp(c.server));
        }
    }
}

TEST_F(SntpSyncTest, AWaitForTheSettingsFileNeitherCutsTheExchangeNorWakesWithoutAResult) {
    SntpResponder server(SntpReply(kServerTime, 0));
    SetSntpPort(server.port());
    ASSERT_TRUE(UseServer(L"127.0.0.1"));
    EventFired();
    {
        LockHolder other(1500);  // longer than the exchange may take
        EXPECT_EQ(SyncOnce(700), kSyncOk);
    }
    EXPECT_EQ(LastResult(), kSyncOk);
    EXPECT_TRUE(EventFired());
    LockHolder other(2000);
    EXPECT_EQ(SyncOnce(700, GetTickCount64() + 500), kSyncFileBusy);
    EXPECT_EQ(clock.calls.size(), 2u);
    EXPECT_FALSE(EventFired());
}

namespace {
HANDLE g_lookupRelease = CreateEventW(nullptr, TRUE, FALSE, nullptr);
bool HangingLookup(const char*, in_addr&) {
    WaitForSingleObject(g_lookupRelease, 20000);
    return false;
}
}  // namespace

TEST_F(SntpSyncTest, AHangingNameLookUpIsLeftBehindAtAStopOrTheTimeOut) {
    SetNameLookup(HangingLookup);
    ASSERT_TRUE(UseServer(L"time.example"));
    std::thread stopper([] {
        Sleep(300);
        StopSync(1000);
    });
    const DWORD t0 = GetTickCount();
    EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncStopped);
    EXPECT_LT(GetTickCount() - t0, 2000u);
    stopper.join();
    EXPECT_EQ(LastResult(), kSyncStopped);
    ResumeSync();
    EXPECT_EQ(SyncOnce(700), kSyncBadServer);
    SetEvent(g_lookupRelease);
}

TEST_F(SntpSyncTest, HostNameIsResolved) {
    SntpResponder server(SntpReply(kServerTime, 0));
    SetSntpPort(server.port());
    ASSERT_TRUE(UseServer(L"localhost"));
    EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncOk);
    EXPECT_EQ(server.requests(), 1);
}

TEST_F(SntpSyncTest, RefusedClockGives250) {
    SntpResponder server(SntpReply(kServerTime, 0));
    SetSntpPort(server.port());
    ASSERT_TRUE(UseServer(L"127.0.0.1"));
    clock.refuse = true;
    EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncSetFailed);
    EXPECT_EQ(LastResult(), 250);
    EXPECT_EQ(LastTime(), L"");
}

TEST_F(SntpSyncTest, BadRepliesNeverReachTheClock) {
    const std::string good = SntpReply(kServerTime, 0);
    const std::string bad[] = {
        good.substr(0, 20), std::string(1, '\x24'), SntpReply(kServerTime, 0, 4, 3), SntpReply(kServerTime, 0, 0, 4),
        SntpReply(kServerTime, 0, 4, 4, 0), SntpReply(0, 0), SntpReply(kServerTime, 0, 4, 4, 1, 3),
    };
    ASSERT_TRUE(UseServer(L"127.0.0.1"));
    for (const std::string& reply : bad) {
        SntpResponder server(reply);
        SetSntpPort(server.port());
        EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncNoTime) << reply.size();
        EXPECT_EQ(LastResult(), 134);
    }
    EXPECT_TRUE(clock.calls.empty());
}

TEST_F(SntpSyncTest, SilentServerTimesOutThroughTheWatchdog) {
    SntpResponder server{std::string()};
    SetSntpPort(server.port());
    ASSERT_TRUE(UseServer(L"127.0.0.1"));
    const DWORD t0 = GetTickCount();
    EXPECT_EQ(SyncOnce(700), kSyncNoReply);
    const DWORD took = GetTickCount() - t0;
    EXPECT_GE(took, 600u);
    EXPECT_LT(took, 3000u);
    EXPECT_EQ(server.requests(), 1);
    EXPECT_EQ(LastResult(), 135);
    EXPECT_TRUE(clock.calls.empty());

    // The engine is whole again afterwards.
    SntpResponder good(SntpReply(kServerTime, 0));
    SetSntpPort(good.port());
    EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncOk);
}

TEST_F(SntpSyncTest, ClosedPortIsNoReply) {
    SetSntpPort(ClosedUdpPort());
    ASSERT_TRUE(UseServer(L"127.0.0.1"));
    const int code = SyncOnce(700);
    // Wine reports a time-out; Windows may report the port unreachable.
    EXPECT_EQ(code, kSyncNoReply);
    EXPECT_TRUE(clock.calls.empty());
}

TEST_F(SntpSyncTest, WithoutNetworkLayerNothingIsSent) {
    CleanupSync();
    EXPECT_EQ(SyncBySntp(L"127.0.0.1", 500), kSyncNoNetwork);
    EXPECT_EQ(LastResult(), 131);
    ASSERT_TRUE(InitSync());
}
