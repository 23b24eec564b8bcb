// The lines of http_log.txt: an en-US stamp, the text, CR LF; a session's
// first line starts the file anew.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>

#include "common/settings/http_log.h"
#include "tests/support/test_support.h"

TEST(HttpLog, StampIsEnglishDayMonthYearAndTime) {
    SYSTEMTIME t{2024, 3, 0, 7, 9, 5, 2, 0};
    EXPECT_EQ(HttpLogStamp(t), "07 Mar 24 09:05:02 ");
}

TEST(HttpLog, LinesOfLatestSessionOnly) {
    wchar_t path[MAX_PATH];
    ASSERT_TRUE(GetHttpLogPath(path, MAX_PATH));
    EXPECT_NE(std::wstring(path).find(L"\\http_log.txt"), std::wstring::npos);
    EXPECT_FALSE(GetHttpLogPath(nullptr, MAX_PATH));
    EXPECT_FALSE(GetHttpLogPath(path, 5));

    CHttpSession first;
    OpenHttpSession(first);
    HttpLogLine(first, "one");
    HttpLogLine(first, nullptr);
    HttpLogLine(first, "two");
    CloseHttpSession(first);
    const std::string text = testing_support::ReadBytes(path);
    const std::regex lines(
        "\\d\\d [A-Z][a-z][a-z] \\d\\d \\d\\d:\\d\\d:\\d\\d one\r\n"
        "\\d\\d [A-Z][a-z][a-z] \\d\\d \\d\\d:\\d\\d:\\d\\d \r\n"
        "\\d\\d [A-Z][a-z][a-z] \\d\\d \\d\\d:\\d\\d:\\d\\d two\r\n");
    EXPECT_TRUE(std::regex_match(text, lines)) << text;

    CHttpSession second;
    OpenHttpSession(second);
    HttpLogLine(second, "three");
    CloseHttpSession(second);
    const std::string after = testing_support::ReadBytes(path);
    EXPECT_EQ(after.find("one"), std::string::npos);
    EXPECT_NE(after.find(" three\r\n"), std::string::npos);
}

TEST(HttpLog, SessionOpensWithDefaults) {
    CHttpSession s;
    std::memset(&s, 0x5A, sizeof(s));
    ASSERT_TRUE(OpenHttpSession(s));
    EXPECT_EQ(s.requestFlags, 0x8400F700u);
    EXPECT_STREQ(s.acceptTypes[0], "application/octet-stream");
    EXPECT_EQ(s.acceptTypes[1], nullptr);
    EXPECT_EQ(s.extraHeaders, nullptr);
    EXPECT_EQ(s.logFile, nullptr);
    EXPECT_EQ(s.status, 0);
    CloseHttpSession(s);
    CloseHttpSession(s);  // twice is harmless
    const ProgramVersion v = ModuleVersion();
    EXPECT_EQ(v.major, 5);
    EXPECT_EQ(HttpUserAgent(), L"Tempovia 5.0.0 64-bit");
}
