// The shared line reader and field readers of the data files, on their own:
// lines cut and their rest dropped, comments skipped, numbers read inside
// their field only.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/platform/data_fields.h"
#include "common/platform/data_file_lines.h"
#include "tests/support/test_support.h"

using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

std::vector<std::string> ReadAll(const std::wstring& path, int maxChars) {
    std::vector<std::string> lines;
    DataFileLines(path.c_str(), maxChars).ForEach([&](const char* line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

DataField FieldOf(const char* text) { return DataField{text, static_cast<int>(std::char_traits<char>::length(text))}; }

TEST(DataFileLines, SkipsCommentsAndEmptyLinesAndCutsLongOnes) {
    TempDir dir;
    std::wstring path = dir.file(L"lines.txt");
    std::string text = "# comment\r\n; other\r\n\r\n\nfirst\r\n" + std::string(12, 'x') + "TAIL\r\nlast";
    ASSERT_TRUE(WriteBytes(path, text));
    std::vector<std::string> lines = ReadAll(path, 12);
    // Text mode turns CR LF into LF; the tail of the long line is no line.
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "first");
    EXPECT_EQ(lines[1], std::string(12, 'x'));
    EXPECT_EQ(lines[2], "last");
}

TEST(DataFileLines, StopsWhenTheCallerSaysSoAndMissingFilesGiveNothing) {
    TempDir dir;
    std::wstring path = dir.file(L"lines.txt");
    ASSERT_TRUE(WriteBytes(path, "a\nb\nc\n"));
    int calls = 0;
    DataFileLines(path.c_str()).ForEach([&](const char*) { return ++calls < 2; });
    EXPECT_EQ(calls, 2);

    DataFileLines missing(dir.file(L"none.txt").c_str());
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.Next(), nullptr);
    DataFileLines none(nullptr);
    EXPECT_FALSE(none.IsOpen());
    EXPECT_EQ(none.Next(), nullptr);
}

TEST(DataFields, NumbersAreReadInsideTheirFieldOnly) {
    // The field is "12" of "12\t34": the digits after the TAB are no part of it.
    const char* line = "12\t34";
    long value = 0;
    EXPECT_TRUE(ParseFieldLong(DataField{line, 2}, &value));
    EXPECT_EQ(value, 12);
    EXPECT_FALSE(ParseFieldLong(DataField{line + 2, 0}, &value));
    EXPECT_FALSE(ParseFieldLong(FieldOf(" -"), &value));
    EXPECT_FALSE(ParseFieldLong(FieldOf("99999999999"), &value));
    EXPECT_TRUE(ParseFieldLong(FieldOf(" -2147483648x"), &value));
    EXPECT_EQ(value, -2147483648L);

    WORD word = 7;
    EXPECT_FALSE(ParseFieldWord(FieldOf("-1"), &word));
    EXPECT_FALSE(ParseFieldWord(FieldOf("65536"), &word));
    EXPECT_EQ(word, 7);
    EXPECT_TRUE(ParseFieldWord(FieldOf("+65535"), &word));
    EXPECT_EQ(word, 65535);
}

TEST(DataFields, TimesOfDayAndMoments) {
    SYSTEMTIME t{};
    EXPECT_TRUE(ParseFieldTimeOfDay(FieldOf("2:05:09"), &t));
    EXPECT_EQ(t.wHour, 2);
    EXPECT_EQ(t.wMinute, 5);
    EXPECT_EQ(t.wSecond, 9);
    EXPECT_FALSE(ParseFieldTimeOfDay(FieldOf("24:00:00"), &t));
    // Two digits at most for the minute: "123" reads 12, then no colon.
    EXPECT_FALSE(ParseFieldTimeOfDay(FieldOf("1:123:00"), &t));
    // The seconds of "1:02:03" are cut off by the field's end.
    EXPECT_FALSE(ParseFieldTimeOfDay(DataField{"1:02:03", 5}, &t));
    EXPECT_EQ(t.wHour, 2);

    SYSTEMTIME m{};
    EXPECT_TRUE(ParseFieldMoment(FieldOf("2031.03.30 01:30"), &m));
    EXPECT_EQ(m.wYear, 2031);
    EXPECT_EQ(m.wMonth, 3);
    EXPECT_EQ(m.wDay, 30);
    EXPECT_EQ(m.wHour, 1);
    EXPECT_EQ(m.wMinute, 30);
    EXPECT_EQ(m.wSecond, 0);
    EXPECT_TRUE(ParseFieldMoment(FieldOf("2031.3.5"), &m));
    EXPECT_EQ(m.wHour, 0);
    EXPECT_FALSE(ParseFieldMoment(FieldOf("1999.01.01"), &m));
    EXPECT_FALSE(ParseFieldMoment(FieldOf("2031.13.01"), &m));
    EXPECT_FALSE(ParseFieldMoment(FieldOf("2031.01"), &m));
    EXPECT_FALSE(ParseFieldMoment(FieldOf("2031.01.01 24:00"), &m));
}

TEST(DataFields, TextIsCutToItsBuffer) {
    wchar_t out[4];
    CopyFieldText(FieldOf("\xE9t\xE9s"), out, 4);
    EXPECT_STREQ(out, L"\x00E9t\x00E9");
    CopyFieldText(DataField{"abc\tdef", 3}, out, 4);
    EXPECT_STREQ(out, L"abc");
    CopyFieldText(DataField{}, out, 4);
    EXPECT_STREQ(out, L"");
}

TEST(DataFields, SplitIntoFieldsKeepsThoseBeyondTheCountEmpty) {
    DataField f[4];
    EXPECT_EQ(SplitFields("a\t\tccc\r\n", f, 4), 3);
    EXPECT_EQ(std::string(f[0].p, f[0].n), "a");
    EXPECT_TRUE(f[1].empty());
    EXPECT_EQ(std::string(f[2].p, f[2].n), "ccc");
    EXPECT_TRUE(f[3].empty());
    EXPECT_EQ(SplitFields(nullptr, f, 4), 0);
}

}  // namespace
