#include <gtest/gtest.h>

#include "common/platform/build_date.h"

TEST(BuildDate, ParsesTheCompilerForms) {
    SYSTEMTIME t;
    ASSERT_TRUE(ParseBuildDate("Dec  9 2026", "04:53:42", t));
    EXPECT_EQ(t.wYear, 2026);
    EXPECT_EQ(t.wMonth, 12);
    EXPECT_EQ(t.wDay, 9);
    EXPECT_EQ(t.wHour, 4);
    EXPECT_EQ(t.wMinute, 53);
    EXPECT_EQ(t.wSecond, 42);
    EXPECT_EQ(t.wDayOfWeek, 0);
    EXPECT_EQ(t.wMilliseconds, 0);
    ASSERT_TRUE(ParseBuildDate("Jan 31 1999", "23:59:59", t));
    EXPECT_EQ(t.wMonth, 1);
    EXPECT_EQ(t.wDay, 31);
}

TEST(BuildDate, RefusesOtherForms) {
    SYSTEMTIME t;
    EXPECT_FALSE(ParseBuildDate("2026-12-09", "04:53:42", t));
    EXPECT_FALSE(ParseBuildDate("Dec  9 2026", "4:53:42", t));
    EXPECT_FALSE(ParseBuildDate(nullptr, "04:53:42", t));
    EXPECT_EQ(t.wYear, 0);
    ASSERT_TRUE(ParseBuildDate("Xyz  9 2026", "04:53:42", t));
    EXPECT_EQ(t.wMonth, 0);
}

TEST(BuildDate, ThisProgramHasOne) {
    SYSTEMTIME t;
    GetBuildDate(t);
    EXPECT_GE(t.wYear, 2020);
    EXPECT_GE(t.wMonth, 1);
    EXPECT_LE(t.wMonth, 12);
}
