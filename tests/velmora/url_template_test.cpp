// A server URL used as a template: its fields are filled, anything else in it
// passes unchanged, and no template can read past the arguments.
#include <gtest/gtest.h>

#include <string>

#include "velmora/http_head.h"

namespace {
const ProgramVersion kVersion{5, 1, 23};
}

TEST(UrlTemplate, PlainUrlPassesUnchanged) {
    EXPECT_EQ(ExpandUrlTemplate("http://127.0.0.1:8080/time?x=1", kVersion), "http://127.0.0.1:8080/time?x=1");
    EXPECT_EQ(ExpandUrlTemplate("", kVersion), "");
    EXPECT_EQ(ExpandUrlTemplate(nullptr, kVersion), "");
}

TEST(UrlTemplate, FieldsTakeZeroDateBlankAndVersion) {
    EXPECT_EQ(ExpandUrlTemplate("http://h/?d=%04d%02d%02d%s%02d%02d%02d&v=%d.%d.%d", kVersion),
              "http://h/?d=00000000%20000000&v=5.1.23");
    EXPECT_EQ(ExpandUrlTemplate("http://h/%%d%i", kVersion), "http://h/%d0");
    EXPECT_EQ(ExpandUrlTemplate("http://h/%x-%X-%u-%ld-%hd-%-3d|", kVersion), "http://h/0-0-0-%20-0-0  |");
}

TEST(UrlTemplate, EscapesAndStrayFieldsAreKeptAsWritten) {
    EXPECT_EQ(ExpandUrlTemplate("http://h/a%20b%2Fc", kVersion), "http://h/a%20b%2Fc");
    // Fields the URL cannot mean stay; a text field takes its number.
    EXPECT_EQ(ExpandUrlTemplate("http://h/%s%n%p", kVersion), "http://h/0%n%p");
    EXPECT_EQ(ExpandUrlTemplate("http://h/%", kVersion), "http://h/%");
    EXPECT_EQ(ExpandUrlTemplate("%999999999d", kVersion), "%999999999d");
    // More fields than arguments: the rest stay as written.
    EXPECT_EQ(ExpandUrlTemplate("%d%d%d%s%d%d%d%d%d%d%d%s", kVersion), "000%200005123%d%s");
}

TEST(UrlTemplate, ResultIsBounded) {
    const std::string longUrl = "http://h/" + std::string(3000, 'a');
    EXPECT_EQ(ExpandUrlTemplate(longUrl.c_str(), kVersion).size(), kHeadUrlBytes - 1);
    std::string manyFields = "http://h/";
    for (int i = 0; i < 500; ++i) manyFields += "%-99d";
    EXPECT_LE(ExpandUrlTemplate(manyFields.c_str(), kVersion).size(), kHeadUrlBytes - 1);
}
