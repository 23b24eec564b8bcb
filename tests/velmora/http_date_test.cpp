// The three date forms of HTTP, and dates that are not dates.
#include <gtest/gtest.h>

#include <string>

#include "velmora/http_date.h"

namespace {
std::string Read(const char* text) {
    SYSTEMTIME t{};
    if (!ParseHttpDate(text, t)) return "none";
    char out[40];
    snprintf(out, sizeof out, "%04u-%02u-%02u %02u:%02u:%02u w%u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond, t.wDayOfWeek);
    return out;
}
}  // namespace

TEST(HttpDate, ThreeForms) {
    EXPECT_EQ(Read("Sun, 06 Nov 1994 08:49:37 GMT"), "1994-11-06 08:49:37 w0");
    EXPECT_EQ(Read("Sunday, 06-Nov-94 08:49:37 GMT"), "1994-11-06 08:49:37 w0");
    EXPECT_EQ(Read("Sun Nov  6 08:49:37 1994"), "1994-11-06 08:49:37 w0");
    EXPECT_EQ(Read("Thu, 29 Feb 2024 23:59:59 GMT\r\n"), "2024-02-29 23:59:59 w4");
    EXPECT_EQ(Read("Mon, 01-Jan-30 00:00:00 GMT"), "2030-01-01 00:00:00 w2");
}

TEST(HttpDate, MalformedGivesNothing) {
    for (const char* bad : {"", "not a date at all", "Mon, 45 Foo 1994 99:99:99 GMT", "Fri, 30 Feb 2024 10:00:00 GMT",
                            "Sun, 06 Nov 1994 24:00:00 GMT", "Sun, 06 Nov 1994 08:49:37", "Sun, 06 Nov 1994 08:49:37 PST",
                            "Sun, 06 Nov 1994 08:49:37 GMT trailing", "Sun, 06 Nov 19945 08:49:37 GMT",
                            "Sun, 06 Nov 0001 08:49:37 GMT", "Sun, 006 Nov 1994 08:49:37 GMT", ",,,,"}) {
        EXPECT_EQ(Read(bad), "none") << bad;
    }
    SYSTEMTIME t{};
    EXPECT_FALSE(ParseHttpDate(nullptr, t));
}
