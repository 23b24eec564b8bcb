#include <gtest/gtest.h>

#include "settings/page_clock_tables.h"

TEST(ClockPageTables, DurationSplitsIntoFields) {
    const DurationFields d = SplitDuration(2 * 86400 + 5 * 3600 + 7 * 60 + 9);
    EXPECT_EQ(d.days, 2u);
    EXPECT_EQ(d.hours, 5u);
    EXPECT_EQ(d.minutes, 7u);
    EXPECT_EQ(d.seconds, 9u);
}

TEST(ClockPageTables, DurationFieldsAreCheckedOneByOne) {
    uint32_t total = 7;
    EXPECT_TRUE(ParseDuration(L"999", L"0", L"0", L"1", &total));
    EXPECT_EQ(total, 999u * 86400 + 1);
    total = 7;
    EXPECT_FALSE(ParseDuration(L"1000", L"0", L"0", L"0", &total)) << "days end at 999";
    EXPECT_FALSE(ParseDuration(L"0", L"+1", L"0", L"0", &total));
    EXPECT_FALSE(ParseDuration(L"0", L"0", nullptr, L"0", &total));
    EXPECT_FALSE(ParseDuration(L"0", L"999999", L"99999999", L"9999999999", &total));
    EXPECT_EQ(total, 7u);
}

TEST(ClockPageTables, CityPrefixStopsAtCommaAndThirtyCharacters) {
    EXPECT_EQ(CityPrefix(L"Paris"), L"Paris");
    EXPECT_EQ(CityPrefix(L"Washington, D.C."), L"Washington");
    EXPECT_EQ(CityPrefix(L"Llanfairpwllgwyngyllgogerychwyrndrobwll"), L"Llanfairpwllgwyngyllgogerychwy");
    EXPECT_EQ(CityPrefix(nullptr), L"");
}

TEST(ClockPageTables, ActionsOutsideTheListSelectTheFirst) {
    EXPECT_EQ(ActionItemForRecord(7), 7);
    EXPECT_EQ(ActionItemForRecord(8), 0);
    EXPECT_EQ(ActionItemForRecord(-1), 0);
}
