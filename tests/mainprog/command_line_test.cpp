// The command line of the main program: switches anywhere and in any letter
// case, quoted arguments with blanks, and words of any length.
#include <gtest/gtest.h>

#include <string>

#include "tempovia/main/command_line.h"

namespace {

std::wstring Arg(const char* position, std::size_t capacity = 513) {
    std::wstring buffer(capacity, L'#');
    MultiByteToWide(position, buffer.data(), capacity);
    return buffer.c_str();
}

TEST(CommandLine, EmptyAndNullGiveDefaults) {
    CommandLineOptions o;
    ParseCommandLine(nullptr, o);
    EXPECT_FALSE(o.exitRequested || o.restartRequested || o.noHook);
    EXPECT_EQ(o.importArg, nullptr);
    ParseCommandLine("", o);
    EXPECT_EQ(o.settingsSwitch[0], L'\0');
}

TEST(CommandLine, SwitchesInAnyLetterCaseAndAnyPlace) {
    CommandLineOptions o;
    ParseCommandLine("junk /EXIT", o);
    EXPECT_TRUE(o.exitRequested);
    ParseCommandLine("/ReStArT\t/nH", o);
    EXPECT_TRUE(o.restartRequested);
    EXPECT_TRUE(o.noHook);
    EXPECT_FALSE(o.exitRequested);
    ParseCommandLine("/exitnow /nhx /restart.", o);
    EXPECT_FALSE(o.exitRequested || o.noHook || o.restartRequested);
}

TEST(CommandLine, DigitSwitchIsKeptWholeAndTheLastWins) {
    CommandLineOptions o;
    ParseCommandLine("/3.2 /x /nh", o);
    EXPECT_STREQ(o.settingsSwitch, L"/3.2");
    EXPECT_TRUE(o.noHook);
    ParseCommandLine("/1 /7.12", o);
    EXPECT_STREQ(o.settingsSwitch, L"/7.12");
    ParseCommandLine("/x /y", o);
    EXPECT_STREQ(o.settingsSwitch, L"");
}

TEST(CommandLine, ImportAndExportInEitherOrderWithQuotedBlanks) {
    const char* text = "/export \"C:\\my dir\\out put.ini\" /import 'C:\\a b/c\\in.ini' /nh";
    CommandLineOptions o;
    ParseCommandLine(text, o);
    ASSERT_NE(o.importArg, nullptr);
    ASSERT_NE(o.exportArg, nullptr);
    EXPECT_EQ(Arg(o.exportArg), L"C:\\my dir\\out put.ini");
    EXPECT_EQ(Arg(o.importArg), L"C:\\a b/c\\in.ini");
    EXPECT_TRUE(o.noHook);  // switches behind the arguments are still seen
}

TEST(CommandLine, SlashesInsideAQuotedPathAreNotSwitches) {
    CommandLineOptions o;
    ParseCommandLine("/import \"x/exit/3.2\"", o);
    EXPECT_FALSE(o.exitRequested);
    EXPECT_STREQ(o.settingsSwitch, L"");
    EXPECT_EQ(Arg(o.importArg), L"x/exit/3.2");
}

TEST(CommandLine, MissingArgumentGivesNothing) {
    CommandLineOptions o;
    ParseCommandLine("/import", o);
    ASSERT_NE(o.importArg, nullptr);
    EXPECT_EQ(Arg(o.importArg), L"");
    // The word after /import is its argument, whatever it looks like.
    ParseCommandLine("/import   /exit /nh", o);
    EXPECT_FALSE(o.exitRequested);
    EXPECT_EQ(Arg(o.importArg), L"/exit");
    EXPECT_TRUE(o.noHook);
}

TEST(CommandLine, OverlongWordsAreBoundedAndTheirTailIsNoSwitch) {
    std::string text = "/9" + std::string(400, 'a') + "/exit";
    CommandLineOptions o;
    ParseCommandLine(text.c_str(), o);
    EXPECT_FALSE(o.exitRequested);
    EXPECT_EQ(std::wcslen(o.settingsSwitch), kSwitchWordMax);
    text = std::string(100000, '/') + " /nh";
    ParseCommandLine(text.c_str(), o);
    EXPECT_TRUE(o.noHook);
}

TEST(MultiByteToWide, QuotesBlanksAndPositions) {
    const char* text = "  \"a b\" rest";
    wchar_t buffer[16];
    const char* behind = MultiByteToWide(text, buffer, 16);
    EXPECT_STREQ(buffer, L"a b");
    EXPECT_EQ(behind, text + 6);  // the closing quote is not skipped
    EXPECT_EQ(*behind, '"');
    behind = MultiByteToWide("plain\tnext", buffer, 16);
    EXPECT_STREQ(buffer, L"plain");
    EXPECT_EQ(*behind, '\t');
    // An unterminated quote runs to the end.
    EXPECT_STREQ(Arg("'open end").c_str(), L"open end");
}

TEST(MultiByteToWide, NullEmptyAndTooLong) {
    EXPECT_EQ(MultiByteToWide(nullptr, nullptr, 0), nullptr);
    const char* empty = "   ";
    EXPECT_EQ(MultiByteToWide(empty, nullptr, 0), empty);
    const char* quotedEmpty = "\"\"";
    EXPECT_EQ(MultiByteToWide(quotedEmpty, nullptr, 0), quotedEmpty);
    // An argument that does not fit is refused, never cut to another name.
    const char* longArg = "abcdefghij";
    wchar_t small[5] = {L'x', L'x', L'x', L'x', L'x'};
    EXPECT_EQ(MultiByteToWide(longArg, small, 5), longArg);
    EXPECT_EQ(small[0], L'\0');
    EXPECT_EQ(small[4], L'x');
    // Without a buffer any length is just skipped.
    std::string huge(70000, 'z');
    EXPECT_EQ(MultiByteToWide(huge.c_str(), nullptr, 0), huge.c_str() + huge.size());
}

TEST(MultiByteToWide, BytesAboveAsciiConvertThroughTheAnsiCodePage) {
    const char text[] = "\xE9t\xE9";  // "été" in code page 1252
    wchar_t buffer[8];
    MultiByteToWide(text, buffer, 8);
    wchar_t expected[8] = {};
    MultiByteToWideChar(CP_ACP, 0, text, 3, expected, 8);
    EXPECT_STREQ(buffer, expected);
}

// What the taskbar clock's restart repeats: every switch but the imports and
// exports, whose files were dealt with once.
TEST(CommandLine, ARestartRepeatsNoImportOrExport) {
    EXPECT_EQ(WithoutFileSwitches("/import \"C:\\my dir\\in.ini\" /3.2 /EXPORT out.ini /nh"), "/3.2  /nh");
    EXPECT_EQ(WithoutFileSwitches("/Import 'a b.ini'"), "");
    EXPECT_EQ(WithoutFileSwitches("/importer x /nh"), "/importer x /nh");
    EXPECT_EQ(WithoutFileSwitches(nullptr), "");
}

}  // namespace
