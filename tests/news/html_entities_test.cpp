#include <gtest/gtest.h>

#include "tempovia/news/html_entities.h"
#include "tempovia/news/html_entity_names.h"

namespace {

std::wstring Decoded(std::wstring text) {
    DecodeHtmlEntities(text);
    return text;
}

TEST(HtmlEntities, DecodesNamedAndNumericReferences) {
    EXPECT_EQ(Decoded(L"Tom &amp;amp; Jerry"), L"Tom &amp; Jerry");
    EXPECT_EQ(Decoded(L"&#65;&#x42;&#X43;"), L"ABC");
    EXPECT_EQ(Decoded(L"caf&eacute; &euro;5 &lt;b&gt; &quot;x&quot;"), L"caf\u00e9 \u20ac5 <b> \"x\"");
    EXPECT_EQ(Decoded(L"&Alpha;&omega;&hearts;&sup1;&sup;"), L"\u0391\u03c9\u2665\u00b9\u2283");
    EXPECT_EQ(Decoded(L"&#xD7;&#215;"), L"\u00d7\u00d7");
}

TEST(HtmlEntities, LeavesUnknownAndIncompleteReferences) {
    EXPECT_EQ(Decoded(L"a&nbsp;b"), L"a&nbsp;b");
    EXPECT_EQ(Decoded(L"x &bogus; y"), L"x &bogus; y");
    EXPECT_EQ(Decoded(L"R&D"), L"R&D");
    EXPECT_EQ(Decoded(L"salt & pepper"), L"salt & pepper");
    EXPECT_EQ(Decoded(L"&#; &#x; &#12 &#xZZ;"), L"&#; &#x; &#12 &#xZZ;");
    EXPECT_EQ(Decoded(L"&AMP; is not &amp;"), L"&AMP; is not &");
    // Too close to the end to be a reference at all.
    EXPECT_EQ(Decoded(L"ab&lt"), L"ab&lt");
    EXPECT_EQ(Decoded(L"&"), L"&");
    EXPECT_EQ(Decoded(L""), L"");
    // A bad reference does not swallow the good one after it.
    EXPECT_EQ(Decoded(L"&&amp;"), L"&&");
    EXPECT_EQ(Decoded(L"&#&#65;"), L"&#A");
}

TEST(HtmlEntities, ReferencesBeyondTheBasicPlaneAndAbsurdNumbers) {
    EXPECT_EQ(Decoded(L"&#x1F600;"), L"\U0001F600");
    EXPECT_EQ(Decoded(L"&#128512;!"), L"\U0001F600!");
    // Kept as one code unit; never a crash or an overrun.
    const std::wstring huge = L"&#" + std::wstring(5000, L'9') + L";";
    EXPECT_EQ(Decoded(huge).size(), 1u);
    EXPECT_EQ(Decoded(L"&#x110041;"), std::wstring(1, static_cast<wchar_t>(0x0041)));
}

TEST(HtmlEntities, TableHoldsTheHtml401NamesOnce) {
    ASSERT_EQ(kHtmlEntityNameCount, 251u);
    for (size_t i = 0; i < kHtmlEntityNameCount; ++i) {
        const std::wstring name = kHtmlEntityNames[i].name;
        EXPECT_EQ(name.back(), L';') << i;
        EXPECT_NE(name, L"nbsp;");
        for (size_t j = i + 1; j < kHtmlEntityNameCount; ++j) EXPECT_NE(name, kHtmlEntityNames[j].name);
    }
}

TEST(HtmlEntities, LongTextDecodesInOnePass) {
    std::wstring text;
    for (int i = 0; i < 20000; ++i) text += L"&amp;x";
    DecodeHtmlEntities(text);
    ASSERT_EQ(text.size(), 40000u);
    EXPECT_EQ(text.substr(0, 4), L"&x&x");
}

}  // namespace
