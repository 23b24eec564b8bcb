// Layout and hit testing of link texts, measured with a stock font in a memory DC.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/platform/hyperlink_text.h"

namespace {

class LinkLayout : public ::testing::Test {
protected:
    void SetUp() override {
        dc_ = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc_, nullptr);
        old_ = SelectObject(dc_, GetStockObject(DEFAULT_GUI_FONT));
    }
    void TearDown() override {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    SIZE Extent(const wchar_t* text) {
        SIZE s{};
        GetTextExtentPoint32W(dc_, text, static_cast<int>(wcslen(text)), &s);
        return s;
    }
    int Layout(std::wstring& text, POINT origin = {5, 7}, int max = kMaxLinkSegments) {
        text.push_back(L'\0');
        return LayoutLinkText(text.data(), origin, dc_, segs_, max);
    }
    std::wstring Seg(int i) const { return std::wstring(segs_[i].text, segs_[i].length); }

    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
    LinkSegment segs_[kMaxLinkSegments] = {};
};

TEST_F(LinkLayout, PlainTextIsOneSegmentAtTheOrigin) {
    std::wstring text = L"Plain words only";
    ASSERT_EQ(Layout(text), 1);
    SIZE s = Extent(L"Plain words only");
    EXPECT_EQ(Seg(0), L"Plain words only");
    EXPECT_EQ(segs_[0].target, nullptr);
    EXPECT_EQ(segs_[0].box.left, 5);
    EXPECT_EQ(segs_[0].box.top, 7);
    EXPECT_EQ(segs_[0].box.right, 5 + s.cx);
    EXPECT_EQ(segs_[0].box.bottom, 7 + s.cy);
}

TEST_F(LinkLayout, LineBreakStartsANewLineAtTheOriginX) {
    std::wstring text = L"First<br>Second";
    ASSERT_EQ(Layout(text), 2);
    SIZE first = Extent(L"First");
    EXPECT_EQ(Seg(0), L"First");
    EXPECT_EQ(Seg(1), L"Second");
    EXPECT_EQ(segs_[1].box.left, 5);
    EXPECT_EQ(segs_[1].box.top, 7 + first.cy);
}

TEST_F(LinkLayout, LinksBetweenPlainTextFollowOnAndKeepTheirTarget) {
    std::wstring text = L"See <a href=\"https://example.invalid/a\">the site</a> now";
    ASSERT_EQ(Layout(text), 3);
    EXPECT_EQ(Seg(0), L"See ");
    EXPECT_EQ(Seg(1), L"the site");
    EXPECT_EQ(Seg(2), L" now");
    EXPECT_EQ(segs_[0].target, nullptr);
    ASSERT_NE(segs_[1].target, nullptr);
    EXPECT_STREQ(segs_[1].target, L"https://example.invalid/a");
    EXPECT_EQ(segs_[2].target, nullptr);
    EXPECT_EQ(segs_[1].box.left, segs_[0].box.right);
    EXPECT_EQ(segs_[2].box.left, segs_[1].box.right);
    EXPECT_EQ(segs_[1].box.right - segs_[1].box.left, Extent(L"the site").cx);
}

TEST_F(LinkLayout, BrokenLinkTagsEndTheLayoutBeforeTheLink) {
    const wchar_t* broken[] = {
        L"Go <a href=\"https://example.invalid/>site</a> rest",  // no closing quote
        L"Go <a href=\"https://example.invalid/\" site</a> rest",  // the only ">" is that of "</a>"
        L"Go <a href=\"https://example.invalid/\">site",           // no "</a>"
    };
    for (const wchar_t* b : broken) {
        std::wstring text = b;
        ASSERT_EQ(Layout(text), 1);
        EXPECT_EQ(Seg(0), L"Go ");
    }
    std::wstring onlyLink = L"<a href=\"x";
    EXPECT_EQ(Layout(onlyLink), 0);
}

TEST_F(LinkLayout, LineBreaksInsideLinksAndEmptyLinesKeepTheLineHeight) {
    std::wstring text = L"<br><br><a href=\"t\">one<br>two</a>";
    ASSERT_EQ(Layout(text, {0, 0}), 4);
    int h = Extent(L" ").cy;
    EXPECT_EQ(segs_[0].length, 0);
    EXPECT_EQ(segs_[0].box.right, 0);
    EXPECT_EQ(segs_[0].box.bottom, h);
    EXPECT_EQ(segs_[1].box.top, h);
    EXPECT_EQ(Seg(2), L"one");
    EXPECT_EQ(segs_[2].box.top, 2 * h);
    EXPECT_EQ(Seg(3), L"two");
    EXPECT_EQ(segs_[3].box.left, 0);
    EXPECT_EQ(segs_[3].box.top, 2 * h + Extent(L"one").cy);
    EXPECT_STREQ(segs_[2].target, L"t");
    EXPECT_STREQ(segs_[3].target, L"t");
}

TEST_F(LinkLayout, SegmentCountStopsAtTheLimit) {
    std::wstring text;
    for (int i = 0; i < 100; ++i) text += L"x<br>";
    EXPECT_EQ(Layout(text, {0, 0}, 3), 3);
    std::wstring again;
    for (int i = 0; i < 100; ++i) again += L"x<br>";
    EXPECT_EQ(Layout(again), kMaxLinkSegments);
}

TEST_F(LinkLayout, ExtentOfEmptyTextHasHeightButNoWidth) {
    SIZE s{-1, -1};
    EXPECT_TRUE(GetTextExtentSafe(nullptr, 0, dc_, &s));
    EXPECT_EQ(s.cx, 0);
    EXPECT_EQ(s.cy, Extent(L" ").cy);
    EXPECT_TRUE(GetTextExtentSafe(L"", 3, dc_, &s));
    EXPECT_EQ(s.cx, 0);
    EXPECT_TRUE(GetTextExtentSafe(L"ab", 1, dc_, &s));
    EXPECT_EQ(s.cx, Extent(L"a").cx);
}

TEST_F(LinkLayout, HitTestFindsOnlyLinksWithInclusiveTopLeft) {
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring source = L"a <a href=\"one\">first</a> b <a href=\"two\">second</a>";
    auto hit = [&](int x, int y) {
        std::wstring copy = source + L'\0';
        return HitTestLinkText(dc_, font, {10, 10}, copy.data(), x, y, segs_);
    };
    std::wstring copy = source;
    ASSERT_EQ(Layout(copy, {10, 10}), 4);
    RECT first = segs_[1].box;
    RECT second = segs_[3].box;
    EXPECT_EQ(hit(first.left, first.top), 1);
    EXPECT_EQ(hit(first.right - 1, first.bottom - 1), 1);
    EXPECT_EQ(hit(second.left + 1, second.top + 1), 3);
    EXPECT_STREQ(segs_[3].target, L"two");
    // The next pixel to the right of "first" is the plain " b ".
    EXPECT_EQ(hit(first.right, first.top), -1);
    EXPECT_EQ(hit(first.left, first.bottom), -1);
    EXPECT_EQ(hit(segs_[0].box.left, segs_[0].box.top), -1);
    EXPECT_EQ(hit(0, 0), -1);
}

}  // namespace
