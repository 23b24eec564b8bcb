// A synchronisation against an SNTP responder of the test's own on
// 127.0.0.1: the clock recorder sees the time of a good reply, and nothing
// for a bad one or for silence.
#include <gtest/gtest.h>

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

// Times a server cannot have: before this program was built, or years on.
TEST_F(SntpSyncTest, TimesBeforeTheBuildOrYearsAfterItNeverReachTheClock) {
    ASSERT_TRUE(UseServer(L"127.0.0.1"));
    for (const SYSTEMTIME& t : {ServerMoment(-2), ServerMoment(1, kServerTimeYearsAfterBuild),
                                ServerMoment(0, -25), ServerMoment(0, 14)}) {
        SntpResponder server(SntpReply(NtpSeconds(t), 0));
        SetSntpPort(server.port());
        EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncNoTime) << Stamp(t);
    }
    EXPECT_TRUE(clock.calls.empty());
    // Within the bounds: the day of the build, and the last day of the years after it.
    for (const SYSTEMTIME& t : {ServerMoment(0), ServerMoment(-2, kServerTimeYearsAfterBuild)}) {
        SntpResponder server(SntpReply(NtpSeconds(t), 0));
        SetSntpPort(server.port());
        EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncOk) << Stamp(t);
    }
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
