// The SNTP request and how a reply's transmit time becomes the UTC time; a
// reply that carries no usable time never reaches the clock.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/velmora/loopback.h"
#include "velmora/sntp_packet.h"
#include "velmora/sync_codes.h"

using velmora_test::SntpReply;

namespace {

// 2024-02-29 12:34:56 UTC in seconds since 1900.
constexpr uint32_t kLeapDay = 3918198896u;

int Parse(const std::string& bytes, SYSTEMTIME& utc) {
    return SntpReplyTime(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), utc);
}

}  // namespace

TEST(SntpPacket, RequestIsVersionOneClientWithNothingElse) {
    unsigned char packet[kSntpPacketBytes];
    std::memset(packet, 0xCC, sizeof(packet));
    BuildSntpRequest(packet);
    EXPECT_EQ(packet[0], 0x0B);
    for (size_t i = 1; i < sizeof(packet); ++i) EXPECT_EQ(packet[i], 0) << i;
}

TEST(SntpPacket, TransmitTimeBecomesUtcWithMilliseconds) {
    SYSTEMTIME utc{};
    ASSERT_EQ(Parse(SntpReply(kLeapDay, 0x80000000u), utc), kSyncOk);
    EXPECT_EQ(utc.wYear, 2024);
    EXPECT_EQ(utc.wMonth, 2);
    EXPECT_EQ(utc.wDay, 29);
    EXPECT_EQ(utc.wDayOfWeek, 4);
    EXPECT_EQ(utc.wHour, 12);
    EXPECT_EQ(utc.wMinute, 34);
    EXPECT_EQ(utc.wSecond, 56);
    EXPECT_EQ(utc.wMilliseconds, 500);

    ASSERT_EQ(Parse(SntpReply(kLeapDay, 0xFFFFFFFFu), utc), kSyncOk);
    EXPECT_EQ(utc.wMilliseconds, 999);
    ASSERT_EQ(Parse(SntpReply(kLeapDay, 0x0041893u), utc), kSyncOk);
    EXPECT_EQ(utc.wMilliseconds, 0);
    // Server (4) and broadcast (5) modes, versions 1 to 4.
    EXPECT_EQ(Parse(SntpReply(kLeapDay, 0, 1, 5), utc), kSyncOk);
    EXPECT_EQ(Parse(SntpReply(kLeapDay, 0, 3, 4), utc), kSyncOk);
}

TEST(SntpPacket, LongerReplyWithExtensionsStillReads) {
    SYSTEMTIME utc{};
    EXPECT_EQ(Parse(SntpReply(kLeapDay, 0) + std::string(20, '\x7F'), utc), kSyncOk);
    EXPECT_EQ(utc.wSecond, 56);
}

TEST(SntpPacket, RepliesWithoutUsableTimeAreRefused) {
    SYSTEMTIME utc{};
    const std::string good = SntpReply(kLeapDay, 0);
    EXPECT_EQ(Parse(good.substr(0, 47), utc), kSyncNoTime);                 // short
    EXPECT_EQ(Parse(std::string(), utc), kSyncNoTime);                      // empty
    EXPECT_EQ(SntpReplyTime(nullptr, 48, utc), kSyncNoTime);                // none
    EXPECT_EQ(Parse(SntpReply(kLeapDay, 0, 4, 3), utc), kSyncNoTime);       // a client's request echoed
    EXPECT_EQ(Parse(SntpReply(kLeapDay, 0, 4, 1), utc), kSyncNoTime);       // symmetric active
    EXPECT_EQ(Parse(SntpReply(kLeapDay, 0, 0, 4), utc), kSyncNoTime);       // version 0
    EXPECT_EQ(Parse(SntpReply(kLeapDay, 0, 7, 4), utc), kSyncNoTime);       // version 7
    EXPECT_EQ(Parse(SntpReply(kLeapDay, 0, 4, 4, 0), utc), kSyncNoTime);    // kiss-of-death
    EXPECT_EQ(Parse(SntpReply(kLeapDay, 0, 4, 4, 2, 3), utc), kSyncNoTime); // unsynchronised
    EXPECT_EQ(Parse(SntpReply(0, 0), utc), kSyncNoTime);                    // no transmit time
}

TEST(SntpPacket, EraStartAndEndConvert) {
    SYSTEMTIME utc{};
    ASSERT_TRUE(NtpTimestampToSystemTime(1, 0, utc));
    EXPECT_EQ(utc.wYear, 1900);
    EXPECT_EQ(utc.wSecond, 1);
    ASSERT_TRUE(NtpTimestampToSystemTime(0xFFFFFFFFu, 0, utc));
    EXPECT_EQ(utc.wYear, 2036);
    EXPECT_EQ(utc.wMonth, 2);
    EXPECT_EQ(utc.wDay, 7);
}
