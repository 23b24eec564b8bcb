// The news window's pages and its placement arithmetic.
#include <gtest/gtest.h>

#include <string>

#include "tests/browser/webf_fixture.h"
#include "tempovia/news/news_window_layout.h"
#include "tempovia/news/news_window_page.h"

namespace {

TEST(NewsPage, ItemPageInOrder) {
    NewsPageFont font;
    font.face = L"Tahoma";
    font.points = 9;
    const std::wstring style = L"font-family: Tahoma, Helvetica; font-size: 9pt";
    const std::wstring head =
        L"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\r\n"
        L"<style type=\"text/css\">\r\n"
        L"body {" + style + L"; margin: 4px }\r\n"
        L".p {" + style + L"}\r\n"
        L"</style></head>\r\n"
        L"<body>\r\n";
    EXPECT_EQ(BuildItemHtml(L"Plain <b>text</b>", nullptr, font, L"More"),
              head + L"Plain <b>text</b>\r\n</body></html>\r\n");
    EXPECT_EQ(BuildItemHtml(L"T", L"http://n.invalid/a?x=1&y=2", font, L"Read more"),
              head + L"T <a href=\"http://n.invalid/a?x=1&amp;y=2\" title=\"Read more\">"
                     L"&nbsp;&gt;&gt;&gt;&nbsp;</a>\r\n</body></html>\r\n");
    // No title string: no title attribute. A quote in a feed's link stays inside it.
    EXPECT_EQ(BuildItemHtml(L"", L"x\"><script>", font, L""),
              head + L" <a href=\"x&quot;&gt;&lt;script&gt;\">&nbsp;&gt;&gt;&gt;&nbsp;</a>\r\n</body></html>\r\n");
}

TEST(NewsPage, MessagePageAndDialogFont) {
    EXPECT_EQ(BuildNewsMessageHtml(L"No channel"),
              L"<table width=\"100%\" height=\"100%\"><tr><td align=\"center\" valign=\"center\" "
              L"style=\"font-size: 10pt\">No channel</td></tr></table>");
    const NewsPageFont font = DefaultNewsPageFont();
    EXPECT_FALSE(font.face.empty());
    EXPECT_NE(font.face, L"MS Shell Dlg");
    EXPECT_GT(font.points, 0);
    EXPECT_LT(font.points, 40);
}

TEST(NewsPage, WritingNeedsADocument) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    ASSERT_TRUE(RegisterBrowserClass(GetModuleHandleW(nullptr)));
    EXPECT_FALSE(WriteNewsPage(nullptr, L"<p>x</p>"));
    HWND parent = webf_test::CreateParent();
    HWND browser = CreateWindowExW(0, kBrowserClassName, L"about:blank", WS_CHILD, 0, 0, 100, 100, parent, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(browser, nullptr);
    // The tests' prefix switches the HTML engine off, so the control has no
    // document: writing is refused, and nothing is leaked.
    IHTMLDocument2* doc = reinterpret_cast<IHTMLDocument2*>(SendMessageW(browser, WBM_GET_DOCUMENT, 0, 0));
    if (doc) doc->Release();
    ASSERT_EQ(doc, nullptr) << "an HTML engine is present; the prefix is meant to run without one";
    EXPECT_FALSE(WriteNewsPage(browser, BuildNewsMessageHtml(L"x")));
    DestroyWindow(parent);
    webf_test::Pump();
    EXPECT_EQ(TWebf::LiveCount(), 0);
    OleUninitialize();
}

TEST(NewsLayout, StoredRectangleNeedsRoom) {
    RECT r = {};
    ASSERT_TRUE(ParseRssWindowRect(L"  10,   20,  400,  300", &r));
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.bottom, 300);
    EXPECT_TRUE(ParseRssWindowRect(L"0, 0, 51, 33", &r));
    EXPECT_FALSE(ParseRssWindowRect(L"0, 0, 50, 300", &r));  // 50 wide
    EXPECT_FALSE(ParseRssWindowRect(L"0, 0, 300, 32", &r));  // 32 high
    EXPECT_FALSE(ParseRssWindowRect(L"1, 2, 3", &r));
    EXPECT_FALSE(ParseRssWindowRect(L"", &r));
    EXPECT_FALSE(ParseRssWindowRect(nullptr, &r));
    EXPECT_EQ(FormatRssWindowRect(RECT{-5, 20, 400, 300}), L"-5, 20, 400, 300");
    ASSERT_TRUE(ParseRssWindowRect(FormatRssWindowRect(RECT{-5, 20, 400, 300}).c_str(), &r));
    EXPECT_EQ(r.left, -5);

    const RECT d = DefaultRssWindowRect(RECT{0, 0, 1024, 738});
    EXPECT_EQ(d.left, 512);
    EXPECT_EQ(d.top, 492);
    EXPECT_EQ(d.right, 1024);
    EXPECT_EQ(d.bottom, 738);
}

TEST(NewsLayout, SplitterStaysBetweenToolbarAndBottom) {
    // Client 400 high, toolbar 30: at most 361 pixels of browser.
    EXPECT_EQ(DraggedRssBrowserHeight(400, 2, 0, 30), 361);   // dragged to the top edge
    EXPECT_EQ(DraggedRssBrowserHeight(400, 2, 397, 30), 4);   // 1 pixel left: the minimum
    EXPECT_EQ(DraggedRssBrowserHeight(400, 2, 394, 30), 4);   // 4 exactly
    EXPECT_EQ(DraggedRssBrowserHeight(400, 2, 300, 30), 98);
    EXPECT_EQ(ClampRssBrowserHeight(120, 50, 30), 11);
    EXPECT_EQ(ClampRssBrowserHeight(120, 20, 30), 4);  // no room at all: still 4

    const RssPaneLayout l = LayoutRssPanes(500, 400, 30, 120);
    EXPECT_EQ(l.browserHeight, 120);
    EXPECT_EQ(l.toolbar.bottom, 30);
    EXPECT_EQ(l.tree.top, 30);
    EXPECT_EQ(l.tree.bottom, 275);
    EXPECT_EQ(l.splitter.top, 275);
    EXPECT_EQ(l.splitter.bottom, 280);
    EXPECT_EQ(l.browser.top, 280);
    EXPECT_EQ(l.browser.bottom, 400);
    EXPECT_EQ(l.browser.right, 500);
}

TEST(NewsLayout, TitlesBecomeOneTreeLine) {
    EXPECT_EQ(RssNodeText(L"Line one\r\nline\ttwo"), L"Line one  line two");
    EXPECT_EQ(RssNodeText(std::wstring(600, L'x')).size(), 511u);
}

}  // namespace
