#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "common/platform/url_text.h"

namespace {

std::wstring Encoded(const wchar_t* text, size_t capacity = 256) {
    wchar_t target[256];
    const size_t n = UrlEncode(text, target, capacity);
    EXPECT_EQ(n, std::wstring(target).size());
    return target;
}

TEST(UrlEncode, NamesInUrls) {
    EXPECT_EQ(Encoded(L"S\u00e3o Paulo"), L"S%E3o+Paulo");
    EXPECT_EQ(Encoded(L"a/b"), L"a%2Fb");
    EXPECT_EQ(Encoded(L"x-y_z.w"), L"x-y_z.w");
    EXPECT_EQ(Encoded(L"100% & more?"), L"100%25+%26+more%3F");
    // Beyond Latin-1: the UTF-8 bytes.
    EXPECT_EQ(Encoded(L"\u0141\u00f3d\u017a"), L"%C5%81%F3d%C5%BA");
    EXPECT_EQ(Encoded(L"\u6771\u4eac"), L"%E6%9D%B1%E4%BA%AC");
    EXPECT_EQ(Encoded(L"\U0001F600"), L"%F0%9F%98%80");
}

TEST(UrlEncode, CapacityIsNeverExceeded) {
    EXPECT_EQ(Encoded(L"a b", 4), L"a+b");
    EXPECT_EQ(Encoded(L"a b", 3), L"a+");
    EXPECT_EQ(Encoded(L"ab/c", 5), L"ab");   // "%2F" and the terminator do not fit
    EXPECT_EQ(Encoded(L"ab/c", 6), L"ab%2F");
    EXPECT_EQ(Encoded(L"\u6771x", 9), L"");  // the whole character or nothing
    EXPECT_EQ(Encoded(L"abc", 1), L"");

    wchar_t target[8] = L"unchngd";
    EXPECT_EQ(UrlEncode(nullptr, target, 8), 0u);
    EXPECT_EQ(UrlEncode(L"x", nullptr, 8), 0u);
    EXPECT_EQ(UrlEncode(L"x", target, 0), 0u);
    EXPECT_EQ(target[0], L'u');

    wchar_t guarded[12];
    std::fill(std::begin(guarded), std::end(guarded), L'#');
    UrlEncode(L"////////////", guarded, 10);
    EXPECT_EQ(std::wstring(guarded), L"%2F%2F%2F");
    EXPECT_EQ(guarded[10], L'#');
}

TEST(SubstitutePlaceholder, LongerShorterAndRepeated) {
    wchar_t buffer[64] = L"Version %v of %d (%v)";
    EXPECT_EQ(SubstitutePlaceholder(L'v', L"5.0.0", buffer, 64), 27u);
    EXPECT_EQ(std::wstring(buffer), L"Version 5.0.0 of %d (5.0.0)");
    EXPECT_EQ(SubstitutePlaceholder(L'd', L"", buffer, 64), 25u);
    EXPECT_EQ(std::wstring(buffer), L"Version 5.0.0 of  (5.0.0)");

    wchar_t one[16] = L"[%x]";
    EXPECT_EQ(SubstitutePlaceholder(L'x', L"1", one, 16), 3u);
    EXPECT_EQ(std::wstring(one), L"[1]");

    // The value is not scanned again.
    wchar_t self[32] = L"%a and %a";
    SubstitutePlaceholder(L'a', L"%a%a", self, 32);
    EXPECT_EQ(std::wstring(self), L"%a%a and %a%a");

    wchar_t none[16] = L"100%";
    EXPECT_EQ(SubstitutePlaceholder(L'x', nullptr, none, 16), 4u);
    EXPECT_EQ(SubstitutePlaceholder(L'x', L"y", nullptr, 16), 0u);
    wchar_t empty[16] = L"a%xb";
    SubstitutePlaceholder(L'x', nullptr, empty, 16);
    EXPECT_EQ(std::wstring(empty), L"ab");
}

TEST(SubstitutePlaceholder, TextThatWouldNotFitStaysTerminated) {
    wchar_t buffer[12];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    const wchar_t start[] = L"ab%zcd";
    std::copy(std::begin(start), std::end(start), buffer);
    const size_t n = SubstitutePlaceholder(L'z', L"0123456789", buffer, 10);
    EXPECT_EQ(std::wstring(buffer), L"ab0123456");
    EXPECT_EQ(n, 9u);
    EXPECT_EQ(buffer[10], L'#');

    wchar_t tail[10] = L"%z--tail";
    SubstitutePlaceholder(L'z', L"12345", tail, 10);
    EXPECT_EQ(std::wstring(tail), L"12345--ta");
}

}  // namespace
