#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/settings/global_settings_io.h"
#include "common/settings/ini_paths.h"
#include "tempovia/news/crc32.h"
#include "tempovia/news/rss_channels.h"
#include "tempovia/news/rss_download.h"
#include "tests/support/test_support.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteBytes;

class ChannelListTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRssChannels();
        SetRssCacheFolder(dir_.path().c_str());
    }
    void TearDown() override {
        DeleteRssChannels();
        SetRssCacheFolder(nullptr);
    }
    TempDir dir_;
};

SYSTEMTIME Utc(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    SYSTEMTIME t = {};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    return t;
}

}  // namespace

TEST(Crc32, MatchesTheCommonCheckValues) {
    EXPECT_EQ(0xCBF43926u, Crc32(0, "123456789", 9));
    EXPECT_EQ(0u, Crc32(0, "", 0));
    EXPECT_EQ(0u, Crc32(0, nullptr, 5));
    // Continuing over two halves gives the whole.
    EXPECT_EQ(0xCBF43926u, Crc32(Crc32(0, "1234", 4), "56789", 5));
    // UTF-16LE of "123456789": every digit followed by a zero byte.
    const char wide[] = "1\0" "2\0" "3\0" "4\0" "5\0" "6\0" "7\0" "8\0" "9\0";
    EXPECT_EQ(Crc32(0, wide, 18), Crc32OfText(L"123456789"));
    EXPECT_EQ(0u, Crc32OfText(L""));
    EXPECT_EQ(0u, Crc32OfText(nullptr));
}

TEST(Crc32, NamesTheCacheFileByTheUrlsLittleEndianCodeUnits) {
    const wchar_t url[] = L"http://127.0.0.1/\x00e9t\x00e9.xml";
    std::string bytes;
    for (const wchar_t* p = url; *p; ++p) {
        bytes.push_back(static_cast<char>(*p & 0xFF));
        bytes.push_back(static_cast<char>((*p >> 8) & 0xFF));
    }
    const uint32_t crc = Crc32(0, bytes.data(), bytes.size());
    EXPECT_EQ(crc, Crc32OfText(url));
    // Known value of the UTF-16LE bytes of this address.
    EXPECT_EQ(0x91D64096u, Crc32OfText(L"http://example.com/rss.xml"));

    SetRssCacheFolder(L"C:\\Data\\Tempovia");
    wchar_t expected[64];
    swprintf(expected, 64, L"C:\\Data\\Tempovia\\rss-%08x.xml", static_cast<unsigned>(crc));
    EXPECT_EQ(expected, RssCacheFileName(url));
    SetRssCacheFolder(nullptr);
    EXPECT_EQ(L"", RssCacheFileName(url));
}

TEST_F(ChannelListTest, RegistrationClampsTheIntervalAndRefusesBadChannels) {
    EXPECT_TRUE(RegisterRssChannel(L"http://127.0.0.1/a", 1, 0, 0, 1));
    EXPECT_TRUE(RegisterRssChannel(L"http://127.0.0.1/b", 200000, 1, 1, 1));
    EXPECT_TRUE(RegisterRssChannel(L"http://127.0.0.1/c", -10, 2, 1, 1));
    EXPECT_TRUE(RegisterRssChannel(L"http://127.0.0.1/d", -1, 3, 1, 1));
    EXPECT_TRUE(RegisterRssChannel(L"http://127.0.0.1/e", INT32_MIN, 4, 1, 1));
    EXPECT_EQ(3, FindRssChannel(L"http://127.0.0.1/a")->interval);
    EXPECT_EQ(0, FindRssChannel(L"http://127.0.0.1/a")->expanded);
    EXPECT_EQ(129600, FindRssChannel(L"http://127.0.0.1/b")->interval);
    EXPECT_EQ(-10, FindRssChannel(L"http://127.0.0.1/c")->interval);
    EXPECT_EQ(-3, FindRssChannel(L"http://127.0.0.1/d")->interval);
    EXPECT_EQ(-129600, FindRssChannel(L"http://127.0.0.1/e")->interval);
    EXPECT_EQ(dir_.path() + L"\\rss-" + [] {
        wchar_t hex[16];
        swprintf(hex, 16, L"%08x", static_cast<unsigned>(Crc32OfText(L"http://127.0.0.1/a")));
        return std::wstring(hex);
    }() + L".xml", FindRssChannel(L"http://127.0.0.1/a")->cacheFile);

    EXPECT_FALSE(RegisterRssChannel(L"http://127.0.0.1/f", 60, -1, 1, 1));
    EXPECT_FALSE(RegisterRssChannel(L"", 60, 5, 1, 1));
    EXPECT_FALSE(RegisterRssChannel(nullptr, 0, 0, 0, 0));  // the reader's "clear" call
    EXPECT_FALSE(RegisterRssChannel(nullptr, 0, -1, 0, 0));  // the reader's "end" call
    EXPECT_FALSE(RegisterRssChannel(L"http://127.0.0.1/g", 60, 5, 1, 0));
    EXPECT_FALSE(RegisterRssChannel((L"http://127.0.0.1/" + std::wstring(495, L'x')).c_str(), 60, 5, 1, 1));
    EXPECT_TRUE(RegisterRssChannel((L"http://127.0.0.1/" + std::wstring(494, L'x')).c_str(), 60, 5, 1, 1));
    EXPECT_EQ(6, GetRssChannelCount());
    EXPECT_EQ(nullptr, GetRssChannel(6));
    EXPECT_EQ(nullptr, GetRssChannel(-1));
    EXPECT_EQ(nullptr, FindOrCreateRssChannel(L"", nullptr, 0));
}

TEST_F(ChannelListTest, SameUrlTwiceIsOneChannelWithTheLaterPosition) {
    ASSERT_TRUE(RegisterRssChannel(L"http://127.0.0.1/a", 60, 0, 1, 1));
    ASSERT_TRUE(RegisterRssChannel(L"http://127.0.0.1/b", 60, 1, 1, 1));
    ASSERT_TRUE(RegisterRssChannel(L"http://127.0.0.1/a", 60, 2, 1, 1));
    ASSERT_EQ(2, GetRssChannelCount());
    EXPECT_EQ(L"http://127.0.0.1/b", GetRssChannel(0)->url);
    EXPECT_EQ(L"http://127.0.0.1/a", GetRssChannel(1)->url);
    EXPECT_EQ(2, GetRssChannel(1)->position);
    // A different case is a different address.
    ASSERT_TRUE(RegisterRssChannel(L"HTTP://127.0.0.1/a", 60, 3, 1, 1));
    EXPECT_EQ(3, GetRssChannelCount());
    EXPECT_EQ(0, CountNewRssItems());
}

TEST_F(ChannelListTest, ReloadKeepsRegisteredChannelsAndDropsTheRest) {
    ASSERT_TRUE(RegisterRssChannel(L"http://127.0.0.1/a", 60, 0, 1, 1));
    ASSERT_TRUE(RegisterRssChannel(L"http://127.0.0.1/b", 60, 1, 1, 1));
    RSS::Channel* kept = FindRssChannel(L"http://127.0.0.1/b");
    kept->lastJob = 7;
    ResetRssChannelSeenFlags();
    ASSERT_TRUE(RegisterRssChannel(L"http://127.0.0.1/b", 30, 0, 1, 1));
    RemoveUnseenRssChannels();
    ASSERT_EQ(1, GetRssChannelCount());
    EXPECT_EQ(kept, GetRssChannel(0));
    EXPECT_EQ(7, kept->lastJob);
    EXPECT_EQ(30, kept->interval);
    EXPECT_EQ(nullptr, FindRssChannel(L"http://127.0.0.1/a"));
}

TEST_F(ChannelListTest, ChannelsComeFromTheUsersNewsSections) {
    TempDir settings;
    SetSettingsFolder(settings.path());
    SetUserNameOverride(L"tester");
    AutostartLocation where{HKEY_CURRENT_USER, L"Software\\TempoviaNewsTest\\Run", L"Tempovia"};
    SetAutostartLocation(&where);
    ASSERT_TRUE(WriteBytes(settings.file(L"tempovia.ini"),
                           "[tester:main]\r\nrss_channels=5\r\n"
                           "[tester:rss1]\r\nurl=http://127.0.0.1/one.xml\r\nttl=-30\r\nexpanded=0\r\nenabled=1\r\n"
                           "[tester:rss2]\r\nurl=http://127.0.0.1/off.xml\r\nenabled=0\r\n"
                           "[tester:rss3]\r\nttl=5\r\nenabled=1\r\n"
                           "[tester:rss4]\r\nurl=http://127.0.0.1/four.xml\r\nttl=1\r\nenabled=1\r\n"
                           "[tester:rss5]\r\nurl=http://127.0.0.1/one.xml\r\nttl=45\r\nenabled=1\r\n"));
    NewsChannelConsumer old = SetNewsChannelConsumer(RegisterRssChannel);
    GlobalSettings g;
    std::memset(&g, 0, sizeof(g));
    ReadMainOptions(L"tester", g);
    SetNewsChannelConsumer(old);
    SetAutostartLocation(nullptr);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TempoviaNewsTest");
    SetUserNameOverride(nullptr);

    EXPECT_EQ(3, g.newsChannels);
    ASSERT_EQ(2, GetRssChannelCount());
    // rss5 names rss1's address again: one channel, at the later place.
    EXPECT_EQ(L"http://127.0.0.1/four.xml", GetRssChannel(0)->url);
    EXPECT_EQ(3, GetRssChannel(0)->position);
    EXPECT_EQ(3, GetRssChannel(0)->interval);
    EXPECT_EQ(L"http://127.0.0.1/one.xml", GetRssChannel(1)->url);
    EXPECT_EQ(4, GetRssChannel(1)->position);
    EXPECT_EQ(45, GetRssChannel(1)->interval);
    EXPECT_EQ(1, GetRssChannel(1)->expanded);
}

TEST(RssSchedule, FollowsIntervalOrTtlAcrossMidnight) {
    RSS::Channel channel(L"http://127.0.0.1/a");
    channel.loaded = 1;
    channel.interval = 20;
    channel.downloaded = Utc(2026, 3, 31, 23, 50);
    EXPECT_TRUE(RssChannelDue(channel, Utc(2026, 4, 1, 0, 10)));
    EXPECT_FALSE(RssChannelDue(channel, Utc(2026, 4, 1, 0, 5)));
    // Same day.
    channel.downloaded = Utc(2026, 4, 1, 8, 0);
    EXPECT_FALSE(RssChannelDue(channel, Utc(2026, 4, 1, 8, 19)));
    EXPECT_TRUE(RssChannelDue(channel, Utc(2026, 4, 1, 8, 20)));
    // Following the feed: ttl decides.
    channel.interval = -10;
    channel.ttl = 90;
    EXPECT_FALSE(RssChannelDue(channel, Utc(2026, 4, 1, 9, 29)));
    EXPECT_TRUE(RssChannelDue(channel, Utc(2026, 4, 1, 9, 30)));
    // Several days ago, across a year.
    channel.downloaded = Utc(2025, 12, 30, 23, 0);
    EXPECT_TRUE(RssChannelDue(channel, Utc(2026, 1, 1, 0, 0)));
    // A date in the future is never due on schedule.
    channel.downloaded = Utc(2026, 4, 2, 0, 0);
    EXPECT_FALSE(RssChannelDue(channel, Utc(2026, 4, 1, 23, 59)));
    channel.downloaded = Utc(2030, 1, 1, 0, 0);
    EXPECT_FALSE(RssChannelDue(channel, Utc(2026, 4, 1, 23, 59)));
    // A stamp that is no date cannot stop the feed for good.
    channel.downloaded = Utc(2026, 13, 40, 0, 0);
    EXPECT_TRUE(RssChannelDue(channel, Utc(2026, 4, 1, 0, 0)));
}
