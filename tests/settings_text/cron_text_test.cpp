#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "common/settings/cron_text.h"

namespace {

std::wstring Format(const CronSchedule& c) {
    wchar_t buf[kCronTextChars];
    FormatCronText(c, buf, kCronTextChars);
    return buf;
}

TEST(CronText, ParsesAndFormatsBackTheSameText) {
    CronSchedule c{};
    ASSERT_TRUE(ParseCronText(L"0,30;8-17;*;*;2-6", c));
    EXPECT_EQ(c.minutes, (1ULL << 0) | (1ULL << 30));
    EXPECT_EQ(c.hours, 0x3FF00u);
    EXPECT_EQ(c.weekdays, 0x3Eu);  // Monday..Friday with Sunday as bit 0
    EXPECT_EQ(Format(c), L"0,30;8-17;*;*;2-6");

    ASSERT_TRUE(ParseCronText(L"1,2;3;4;5;6", c));
    EXPECT_EQ(c.days, 1 << 3);  // day 4
    EXPECT_EQ(Format(c), L"1,2;3;4;5;6");
    ASSERT_TRUE(ParseCronText(L" 5 , 7-9 ; * ;1-31;1-12;1-7 trailing", c));
    EXPECT_EQ(Format(c), L"5,7-9;*;1-31;1-12;1-7");

    wchar_t buf[32];
    FormatCronField(0xEULL, buf, 32);
    EXPECT_STREQ(buf, L"1-3");
    FormatCronField((1ULL << 63) | (1ULL << 62) | 1, buf, 32);
    EXPECT_STREQ(buf, L"0,62,63");
}

TEST(CronText, DaysFromTheEndOfTheMonth) {
    CronSchedule c{};
    ASSERT_TRUE(ParseCronText(L"0;0;-31;*;*", c));
    EXPECT_EQ(c.days, -31);
    EXPECT_EQ(Format(c), L"0;0;-31;*;*");
    for (const wchar_t* bad : {L"0;0;-0;*;*", L"0;0;-32;*;*", L"0;0;-;*;*", L"0;0;-99999999999999999999;*;*"})
        EXPECT_FALSE(ParseCronText(bad, c)) << bad;
    EXPECT_EQ(c.days, -31);  // refused texts leave the record alone
}

TEST(CronText, RefusesBadFieldsAndAcceptsEmptyOnes) {
    CronSchedule c{};
    for (const wchar_t* bad : {L"60;*;*;*;*", L"*;24;*;*;*", L"*;*;0;*;*", L"*;*;*;13;*", L"*;*;*;*;8", L"5-3;*;*;*;*",
                               L"5-;*;*;*;*", L"*;*;*;*", L"x;*;*;*;*", L"", L"4294967296;*;*;*;*"})
        EXPECT_FALSE(ParseCronText(bad, c)) << bad;
    EXPECT_FALSE(ParseCronText(nullptr, c));

    c.minutes = 99;
    ASSERT_TRUE(ParseCronText(L";;;;", c));
    CronSchedule zero{};
    EXPECT_EQ(std::memcmp(&c, &zero, sizeof c), 0);

    uint64_t mask = 7;
    EXPECT_EQ(ParseCronField(L"1", mask, 0, 64), nullptr);
    EXPECT_EQ(mask, 0u);
}

TEST(CronText, LongestTextRoundTripsAndShortBuffersHold) {
    CronSchedule c{};
    for (int m = 0; m < 60; m += 2) c.minutes |= 1ULL << m;
    c.hours = 0x555555;
    c.days = 0x15555555;
    c.months = 0x1554;
    c.weekdays = 0x55;
    CronSchedule back{};
    ASSERT_TRUE(ParseCronText(Format(c).c_str(), back));
    EXPECT_EQ(std::memcmp(&c, &back, sizeof c), 0);

    wchar_t small[12];
    wmemset(small, L'#', 12);
    FormatCronText(c, small, 8);
    EXPECT_LE(wcslen(small), 7u);
    EXPECT_EQ(small[8], L'#');
}

}  // namespace
