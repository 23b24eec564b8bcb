// Single values, date-times, durations, key lists and sections through the
// real profile functions, on good and on damaged files.
#include <algorithm>
#include <iterator>
#include <string>

#include "common/settings/ini_store.h"
#include "tests/settings_store/store_fixture.h"

using store_test::StoreTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

class IniValues : public StoreTest {};

TEST_F(IniValues, DateTimesRoundTripAndBadOnesAreRefused) {
    SYSTEMTIME t = {};
    t.wYear = 2009;
    t.wMonth = 3;
    t.wDay = 29;
    t.wHour = 1;
    t.wMinute = 2;
    t.wSecond = 3;
    ASSERT_TRUE(WriteIniSystemTime(t, user(), L"bob:clock1", L"term"));
    ASSERT_TRUE(WriteIniSystemTime(t, user(), L"bob:clock1", L"start", L" Mon"));
    EXPECT_EQ(ReadIniText(user(), L"bob:clock1", L"term"), L"2009.03.29 01:02:03");

    SYSTEMTIME back = {};
    wchar_t word[8];
    ASSERT_TRUE(ReadIniSystemTime(user(), L"bob:clock1", L"start", back, word, 8));
    EXPECT_EQ(back.wYear, 2009);
    EXPECT_EQ(back.wMonth, 3);
    EXPECT_EQ(back.wDay, 29);
    EXPECT_EQ(back.wSecond, 3);
    EXPECT_EQ(back.wDayOfWeek, 0);  // normalised: 29 March 2009 was a Sunday
    EXPECT_STREQ(word, L"Mon");
    ASSERT_TRUE(ReadIniSystemTime(user(), L"bob:clock1", L"term", back, word, 8));
    EXPECT_STREQ(word, L"");

    const wchar_t* bad[] = {L"", L"garbage", L"2009.13.01 10:00:00", L"2009.02.30 10:00:00",
                            L"2009.01.01 24:00:00", L"2009.01.01 10:00", L"2009-01-01 10:00:00",
                            L"99999.01.01 10:00:00"};
    for (const wchar_t* text : bad) {
        SYSTEMTIME untouched = {};
        untouched.wYear = 1234;
        EXPECT_FALSE(ParseIniSystemTime(text, untouched)) << text;
        EXPECT_EQ(untouched.wYear, 1234) << text;
    }
    // A trailing word longer than the caller's buffer is cut, never spilled:
    // the caller says 3 characters of a longer array, the rest must stay.
    wchar_t word3[12];
    std::fill(std::begin(word3), std::end(word3), L'x');
    ASSERT_TRUE(ParseIniSystemTime(L"2010.05.06 07:08:09 Wednesday", back, word3, 3));
    EXPECT_EQ(std::wstring(word3, 12), std::wstring(L"We\0xxxxxxxxx", 12));
}

TEST_F(IniValues, DurationsAreMillisecondsAndOverflowIsRefused) {
    WriteUserIni(L"[t]\r\na=1500\r\nb=-20\r\nc=  12x\r\nd=abc\r\ne=99999999999999999999\r\n"
                 L"f=922337203685478\r\ng=\r\n");
    int64_t v = 7;
    ASSERT_TRUE(ReadIniDuration(user(), L"t", L"a", v));
    EXPECT_EQ(v, 15000000);
    ASSERT_TRUE(ReadIniDuration(user(), L"t", L"b", v));
    EXPECT_EQ(v, -200000);
    ASSERT_TRUE(ReadIniDuration(user(), L"t", L"c", v));
    EXPECT_EQ(v, 120000);
    v = 7;
    EXPECT_FALSE(ReadIniDuration(user(), L"t", L"d", v));
    EXPECT_FALSE(ReadIniDuration(user(), L"t", L"e", v));
    EXPECT_FALSE(ReadIniDuration(user(), L"t", L"f", v));  // fits as ms, not as 100 ns
    EXPECT_FALSE(ReadIniDuration(user(), L"t", L"g", v));
    EXPECT_FALSE(ReadIniDuration(user(), L"t", L"missing", v));
    EXPECT_EQ(v, 7);
    ASSERT_TRUE(WriteIniDuration(user(), L"t", L"h", 15000000));
    EXPECT_EQ(ReadIniText(user(), L"t", L"h"), L"1500");
}

TEST_F(IniValues, TextsKeepTheirBlanksAndQuotes) {
    WriteUserIni(L"");
    ASSERT_TRUE(WriteIniText(user(), L"s", L"blank", L"  HH:mm "));
    ASSERT_TRUE(WriteIniText(user(), L"s", L"quoted", L"\"x\""));
    ASSERT_TRUE(WriteIniText(user(), L"s", L"plain", L"a b"));
    ASSERT_TRUE(WriteIniQuoted(user(), L"s", L"always", L"Default"));
    EXPECT_EQ(ReadIniText(user(), L"s", L"blank"), L"  HH:mm ");
    EXPECT_EQ(ReadIniText(user(), L"s", L"quoted"), L"\"x\"");
    EXPECT_EQ(ReadIniText(user(), L"s", L"plain"), L"a b");
    EXPECT_EQ(ReadIniText(user(), L"s", L"always"), L"Default");
    ASSERT_TRUE(WriteIniInt(user(), L"s", L"n", -1));
    EXPECT_EQ(ReadIniInt(user(), L"s", L"n", 5), -1);
    EXPECT_TRUE(IniKeyExists(user(), L"s", L"n"));
    ASSERT_TRUE(DeleteIniKey(user(), L"s", L"n"));
    EXPECT_FALSE(IniKeyExists(user(), L"s", L"n"));
    // The file stays UTF-16 once it begins with the byte-order mark.
    EXPECT_EQ(ReadBytes(UserIniPath()).substr(0, 2), "\xFF\xFE");
}

TEST_F(IniValues, LongValuesAreCutAtTheBufferAndTerminated) {
    std::wstring longText(5000, L'a');
    WriteUserIni(L"[s]\r\nk=" + longText + L"\r\n");
    wchar_t buf[8];
    buf[7] = L'#';
    EXPECT_EQ(ReadIniString(user(), L"s", L"k", L"", buf, 7), 6u);
    EXPECT_EQ(std::wstring(buf), L"aaaaaa");
    EXPECT_EQ(buf[7], L'#');
    EXPECT_EQ(ReadIniText(user(), L"s", L"k").size(), 255u);
    wchar_t one[1] = {L'z'};
    EXPECT_EQ(ReadIniString(user(), L"s", L"k", L"", one, 1), 0u);
    EXPECT_EQ(one[0], 0);
}

TEST_F(IniValues, LongKeyListsAndSectionsAreReadWhole) {
    std::wstring text = L"[big]\r\n";
    for (int i = 0; i < 400; ++i) text += L"key_number_" + std::to_wstring(i) + L"=" + std::wstring(100, L'v') + L"\r\n";
    WriteUserIni(text);
    auto keys = ReadIniKeyList(user(), L"big");
    ASSERT_EQ(keys.size(), 400u);  // far past the 2048 characters of one read
    EXPECT_EQ(keys.back(), L"key_number_399");
    std::wstring section = ReadIniSection(user(), L"big");
    EXPECT_GT(section.size(), 0x7FFFu);
    std::wstring copy = dir.file(L"copy.ini");
    ASSERT_TRUE(WriteBytes(copy, store_test::Utf16File(L"")));
    ASSERT_TRUE(WriteIniSection(copy.c_str(), L"big", section));
    EXPECT_EQ(ReadIniKeyList(copy.c_str(), L"big").size(), 400u);
    EXPECT_EQ(ReadIniText(copy.c_str(), L"big", L"key_number_399"), std::wstring(100, L'v'));
}

TEST_F(IniValues, DamagedFilesGiveDefaults) {
    const std::string files[] = {
        std::string("\x00\x01\x02\xFF\xFE\x00garbage\x7F", 12),
        "[main\r\nlanguage=de",                      // unclosed section header
        "[bob:main]\r\nlanguage=d\xE9\r\nx",         // 8-bit text, last line cut
        std::string("\xFF\xFE[\0b\0o\0", 8),         // UTF-16 cut in a section name
        std::string("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0", 17),  // odd number of bytes
        "",
    };
    for (const std::string& bytes : files) {
        ASSERT_TRUE(WriteBytes(UserIniPath(), bytes));
        EXPECT_EQ(ReadIniInt(user(), L"bob:clock1", L"enabled", 3), 3);
        EXPECT_EQ(ReadIniText(user(), L"bob:clock1", L"zone", L"dflt"), L"dflt");
        int64_t d = 1;
        EXPECT_FALSE(ReadIniDuration(user(), L"bob:clock1", L"elapsed", d));
        SYSTEMTIME t = {};
        EXPECT_FALSE(ReadIniSystemTime(user(), L"bob:clock1", L"term", t));
        ReadIniKeyList(user(), L"bob:main");
        ReadIniSectionNames(user());
    }
    // The 8-bit file still reads as such.
    ASSERT_TRUE(WriteBytes(UserIniPath(), "[bob:main]\r\nlanguage=de\r\nx"));
    EXPECT_EQ(ReadIniText(user(), L"bob:main", L"language"), L"de");
    // No file at all.
    DeleteFileW(UserIniPath().c_str());
    EXPECT_EQ(ReadIniInt(user(), L"bob:main", L"trayclocks", 10), 10);
    EXPECT_TRUE(ReadIniSectionNames(user()).empty());
}

TEST(IniCopyBounded, NeverPassesTheBuffer) {
    wchar_t buf[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_EQ(CopyBounded(buf, 3, L"abcdef"), 2u);
    EXPECT_STREQ(buf, L"ab");
    EXPECT_EQ(buf[3], L'x');
    EXPECT_EQ(CopyBounded(buf, L"abcdef"), 3u);
    EXPECT_EQ(CopyBounded(buf, nullptr), 0u);
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(CopyBounded(buf, 0, L"a"), 0u);
}

}  // namespace
