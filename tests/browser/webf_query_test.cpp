#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tempovia/browser/webf_query.h"

namespace {

// Splits a pair list back into its texts, stopping at the empty name.
std::vector<std::wstring> Texts(const std::wstring& list) {
    std::vector<std::wstring> out;
    const wchar_t* p = list.c_str();
    while (*p) {
        out.emplace_back(p);
        p += out.back().size() + 1;
        out.emplace_back(p);
        p += out.back().size() + 1;
    }
    return out;
}

using V = std::vector<std::wstring>;

TEST(WebfQuery, SplitsPairsAndDecodesValues) {
    EXPECT_EQ(Texts(webf::ParseQueryList(L"http://x/y?a=1&b=x+y%21")), (V{L"a", L"1", L"b", L"x y!"}));
    // Only the first "?" starts the query.
    EXPECT_EQ(Texts(webf::ParseQueryList(L"p?go=a?b&n=%41%6a")), (V{L"go", L"a?b", L"n", L"Aj"}));
    // Names are taken as written.
    EXPECT_EQ(Texts(webf::ParseQueryList(L"?a+b=1")), (V{L"a+b", L"1"}));
}

TEST(WebfQuery, OddInputStaysSafe) {
    EXPECT_EQ(webf::ParseQueryList(L"about:blank"), std::wstring(1, L'\0'));
    EXPECT_EQ(webf::ParseQueryList(nullptr), std::wstring(1, L'\0'));
    EXPECT_EQ(webf::ParseQueryList(L"x?"), std::wstring(1, L'\0'));
    // "%00" would end the value early, short or bad escapes are kept.
    EXPECT_EQ(Texts(webf::ParseQueryList(L"?a=%00&b=%4&c=%zz1%")), (V{L"a", L"%00", L"b", L"%4", L"c", L"%zz1%"}));
    // A pair without "=" has an empty value; one without a name is dropped
    // so that it cannot end the list early.
    EXPECT_EQ(Texts(webf::ParseQueryList(L"?flag&=lost&&k=v")), (V{L"flag", L"", L"k", L"v"}));
}

TEST(WebfQuery, FindsTheFirstExactName) {
    const std::wstring list = webf::ParseQueryList(L"?id=7&ID=8&id=9&e=");
    ASSERT_NE(webf::FindQueryValue(list.c_str(), L"id"), nullptr);
    EXPECT_STREQ(webf::FindQueryValue(list.c_str(), L"id"), L"7");
    EXPECT_STREQ(webf::FindQueryValue(list.c_str(), L"ID"), L"8");
    EXPECT_STREQ(webf::FindQueryValue(list.c_str(), L"e"), L"");
    EXPECT_EQ(webf::FindQueryValue(list.c_str(), L"i"), nullptr);
    EXPECT_EQ(webf::FindQueryValue(list.c_str(), nullptr), nullptr);
    EXPECT_EQ(webf::FindQueryValue(nullptr, L"id"), nullptr);
}

}  // namespace
