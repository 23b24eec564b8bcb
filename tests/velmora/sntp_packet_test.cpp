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

// The request's transmit time that the replies below answer (none: 0).
int Parse(const std::string& bytes, SYSTEMTIME& utc, NtpTimestamp sent = 0) {
    return SntpReplyTime(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), sent, 8000, utc);
}

std::string With64(std::string reply, size_t offset, uint64_t value) {
    for (int i = 7; i >= 0; --i, value >>= 8) reply[offset + i] = static_cast<char>(value);
    return reply;
}

}  // namespace

TEST(SntpPacket, RequestIsVersionOneClientWithItsTransmitTime) {
    unsigned char packet[kSntpPacketBytes];
    std::memset(packet, 0xCC, sizeof(packet));
    BuildSntpRequest(packet, 0x0102030405060708ULL);
    EXPECT_EQ(packet[0], 0x0B);
    for (size_t i = 1; i < kSntpTransmitOffset; ++i) EXPECT_EQ(packet[i], 0) << i;
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(packet[kSntpTransmitOffset + i], i + 1) << i;
    // 2024-02-29 12:34:56.5 UTC as a FILETIME.
    const SYSTEMTIME leapDay{2024, 2, 4, 29, 12, 34, 56, 500};
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&leapDay, &ft));
    EXPECT_EQ(NtpTimestampOfFileTime((uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime),
              (uint64_t(kLeapDay) << 32) | 0x80000000u);
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
    EXPECT_EQ(SntpReplyTime(nullptr, 48, 0, 8000, utc), kSyncNoTime);               // none
    EXPECT_EQ(Parse(SntpReply(kLeapDay, 0, 4, 3), utc), kSyncNoTime);       // a client's request echoed
    EXPECT_EQ(Parse(SntpReply(kLeapDay, 0, 4, 1), utc), kSyncNoTime);       // symmetric active
    EXPECT_EQ(Parse(SntpReply(kLeapDay, 0, 0, 4), utc), kSyncNoTime);       // version 0
    EXPECT_EQ(Parse(SntpReply(kLeapDay, 0, 7, 4), utc), kSyncNoTime);       // version 7
    EXPECT_EQ(Parse(SntpReply(kLeapDay, 0, 4, 4, 0), utc), kSyncNoTime);    // kiss-of-death
    EXPECT_EQ(Parse(SntpReply(kLeapDay, 0, 4, 4, 2, 3), utc), kSyncNoTime); // unsynchronised
    EXPECT_EQ(Parse(SntpReply(0, 0), utc), kSyncNoTime);                    // no transmit time
}

TEST(SntpPacket, ImplausibleTimesAndForeignRepliesAreRefused) {
    SYSTEMTIME utc{};
    const NtpTimestamp sent = 0x1234567887654321ULL;
    const std::string good = With64(SntpReply(kLeapDay, 0), kSntpOriginateOffset, sent);
    ASSERT_EQ(Parse(good, utc, sent), kSyncOk);
    EXPECT_EQ(Parse(good, utc, sent + 1), kSyncNoTime);  // answers another request
    const uint64_t ones = ~uint64_t{0};
    EXPECT_EQ(Parse(With64(good, kSntpTransmitOffset, ones), utc, sent), kSyncNoTime);
    EXPECT_EQ(Parse(With64(good, kSntpReceiveOffset, ones), utc, sent), kSyncNoTime);
    EXPECT_EQ(Parse(With64(good, kSntpReceiveOffset, 0), utc, sent), kSyncNoTime);
    // The reply left the server long after the request reached it, or before.
    const uint64_t received = uint64_t(kLeapDay) << 32;
    EXPECT_EQ(Parse(With64(good, kSntpTransmitOffset, received + (uint64_t(9) << 32)), utc, sent), kSyncNoTime);
    EXPECT_EQ(Parse(With64(good, kSntpReceiveOffset, received + 1), utc, sent), kSyncNoTime);
    EXPECT_EQ(Parse(With64(good, kSntpTransmitOffset, received + (uint64_t(7) << 32)), utc, sent), kSyncOk);
}

TEST(SntpPacket, TimesFromFebruary2036OnAreInTheNextEra) {
    SYSTEMTIME utc{};
    ASSERT_TRUE(NtpTimestampToSystemTime(0x80000000u, 0, utc));  // the oldest time taken
    EXPECT_EQ(utc.wYear, 1968);
    ASSERT_TRUE(NtpTimestampToSystemTime(0xFFFFFFFFu, 0, utc));
    EXPECT_EQ(utc.wYear, 2036);
    EXPECT_EQ(utc.wMonth, 2);
    EXPECT_EQ(utc.wDay, 7);
    EXPECT_EQ(utc.wHour, 6);
    EXPECT_EQ(utc.wMinute, 28);
    EXPECT_EQ(utc.wSecond, 15);
    ASSERT_TRUE(NtpTimestampToSystemTime(1, 0, utc));
    EXPECT_EQ(utc.wYear, 2036);
    EXPECT_EQ(utc.wSecond, 17);
    // 2040-01-01 00:00:00 UTC.
    ASSERT_TRUE(NtpTimestampToSystemTime(123010304u, 0, utc));
    EXPECT_EQ(utc.wYear, 2040);
    EXPECT_EQ(utc.wMonth, 1);
    EXPECT_EQ(utc.wDay, 1);
    EXPECT_EQ(utc.wHour, 0);
}
