#include <gtest/gtest.h>

#include <ole2.h>

#include <string>

#include "tempovia/news/rss_model.h"
#include "tempovia/news/rss_notify.h"
#include "tests/news/news_recorder.h"
#include "tests/support/http_responder.h"
#include "tests/support/test_support.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteBytes;

std::string Item(const std::string& guid, const std::string& title, const std::string& extra = "") {
    return "<item><title>" + title + "</title><link>http://127.0.0.1/" + guid + "</link><guid>" + guid +
           "</guid><pubDate>Tue, 03 Jun 2008 09:39:21 GMT</pubDate>" + extra + "</item>\n";
}

std::string Rss2(const std::string& items, const std::string& channelExtra = "") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\">\n<channel>\n"
           "<title>World &amp;amp; Time</title>\n<link>http://127.0.0.1/news</link>\n"
           "<description>All the news</description>\n" +
           channelExtra + items + "</channel>\n</rss>\n";
}

class RssChannelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        RSS::SetOleReady(true);
        list_.Add(recorder_.hwnd());
        channel_.owner = &list_;
    }
    void TearDown() override {
        channel_.ClearItems();
        RSS::SetOleReady(false);
        CoUninitialize();
    }

    // Writes the feed and parses it.
    bool Load(const std::string& text, bool initial = false, const wchar_t* name = L"feed.xml") {
        const std::wstring path = dir_.file(name);
        if (!WriteBytes(path, text)) return false;
        recorder_.Reset();
        return channel_.LoadFile(path.c_str(), initial);
    }
    std::vector<std::wstring> Titles() const {
        std::vector<std::wstring> titles;
        for (const RSS::Item* item : channel_.itemsInOrder) titles.push_back(item->title);
        return titles;
    }

    TempDir dir_;
    NewsRecorder recorder_;
    RssNotifyList list_;
    RSS::Channel channel_{L"http://127.0.0.1/feed"};
};

TEST_F(RssChannelTest, NewChannelDefaults) {
    RSS::Channel channel(L"http://127.0.0.1/x");
    EXPECT_EQ(channel.url, L"http://127.0.0.1/x");
    EXPECT_EQ(channel.seen, 1);
    EXPECT_EQ(channel.isNew, 1);
    EXPECT_EQ(channel.ttl, 60);
    EXPECT_EQ(channel.interval, -60);
    EXPECT_EQ(channel.enabled, 1);
    EXPECT_EQ(channel.loaded, 0);
    EXPECT_EQ(channel.expanded, 1);
    EXPECT_EQ(channel.CountNew(), 0);
}

TEST_F(RssChannelTest, Rss2FeedLoadsChannelAndItems) {
    const std::string items =
        Item("a1", "First &amp;eacute;t&amp;eacute;",
             "<description><![CDATA[<p>Tom & Jerry</p>]]></description>"
             "<enclosure url=\"http://127.0.0.1/a.mp3\" length=\"1\" type=\"audio/mpeg\"/>") +
        Item("a2", "Second", "<description>x &lt;b&gt;bold&lt;/b&gt; &#169;</description>") +
        "<item><description>Only a description</description></item>\n"
        "<item><link>http://127.0.0.1/empty</link></item>\n";
    ASSERT_TRUE(Load(Rss2(items, "<ttl>15</ttl><image><url>http://127.0.0.1/i.png</url></image>"), true));

    EXPECT_EQ(channel_.version, L"2.0");
    EXPECT_EQ(channel_.title, L"World & Time");
    EXPECT_EQ(channel_.link, L"http://127.0.0.1/news");
    EXPECT_EQ(channel_.description, L"All the news");
    EXPECT_EQ(channel_.ttl, 15);
    EXPECT_EQ(channel_.loaded, 1);
    EXPECT_EQ(channel_.seen, 1);

    // The item with neither title nor description is left out and takes no index.
    ASSERT_EQ(channel_.itemsInOrder.size(), 3u);
    const RSS::Item* first = channel_.itemsInOrder[0];
    EXPECT_EQ(first->title, L"First \u00e9t\u00e9");
    EXPECT_EQ(first->description, L"<p>Tom & Jerry</p>");
    EXPECT_EQ(first->link, L"http://127.0.0.1/a1");
    EXPECT_EQ(first->guid, L"a1");
    EXPECT_EQ(first->GetChannel(), &channel_);
    // Descriptions are not decoded: they are HTML for the browser.
    EXPECT_EQ(channel_.itemsInOrder[1]->description, L"x <b>bold</b> \u00a9");
    EXPECT_EQ(channel_.itemsInOrder[2]->description, L"Only a description");
    EXPECT_EQ(channel_.itemsInOrder[2]->GetKey(), L"Only a description");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(channel_.itemsInOrder[i]->position, i);

    // Read at start-up: nothing is new.
    EXPECT_EQ(channel_.CountNew(), 0);
    EXPECT_EQ(channel_.isNew, 0);
    EXPECT_EQ(recorder_.codes(), (std::vector<WPARAM>{1, 1, 1, 4}));
    EXPECT_EQ(recorder_.calls().back().second, reinterpret_cast<LPARAM>(&channel_));

    // The cache file's write time, in UTC, is taken as the download time.
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    ASSERT_TRUE(GetFileAttributesExW(dir_.file(L"feed.xml").c_str(), GetFileExInfoStandard, &attributes));
    SYSTEMTIME written{};
    ASSERT_TRUE(FileTimeToSystemTime(&attributes.ftLastWriteTime, &written));
    EXPECT_EQ(channel_.downloaded.wYear, written.wYear);
    EXPECT_EQ(channel_.downloaded.wDay, written.wDay);
    EXPECT_EQ(channel_.downloaded.wMinute, written.wMinute);
    EXPECT_EQ(channel_.downloaded.wSecond, written.wSecond);
}

TEST_F(RssChannelTest, Rss1FeedWithItemsBesideTheChannelLoads) {
    const std::string text =
        "<?xml version=\"1.0\"?>\n"
        "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" xmlns=\"http://purl.org/rss/1.0/\""
        " xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
        "<channel rdf:about=\"http://127.0.0.1/\"><title>RDF news</title><link>http://127.0.0.1/</link>"
        "<description>one</description><items><rdf:Seq><rdf:li resource=\"http://127.0.0.1/1\"/></rdf:Seq>"
        "</items></channel>\n"
        "<item rdf:about=\"http://127.0.0.1/1\"><title>Item one</title><link>http://127.0.0.1/1</link>"
        "<dc:date>2008-06-03T09:39:21Z</dc:date></item>\n"
        "<item rdf:about=\"http://127.0.0.1/2\"><title>Item two</title><link>http://127.0.0.1/2</link></item>\n"
        "</rdf:RDF>\n";
    ASSERT_TRUE(Load(text));
    EXPECT_EQ(channel_.version, L"");
    EXPECT_EQ(channel_.title, L"RDF news");
    EXPECT_EQ(channel_.ttl, 60);
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"Item one", L"Item two"}));
    EXPECT_EQ(channel_.itemsInOrder[0]->GetKey(), L"http://127.0.0.1/1");
    // After a download everything unknown is new.
    EXPECT_EQ(channel_.CountNew(), 2);
    EXPECT_EQ(channel_.isNew, 1);
}

TEST_F(RssChannelTest, ReloadChangeAndRemoval) {
    ASSERT_TRUE(Load(Rss2(Item("g1", "One") + Item("g2", "Two") + Item("g3", "Three"))));
    EXPECT_EQ(channel_.CountNew(), 3);
    RSS::Item* two = channel_.itemsInOrder[1];

    // The same file again: nothing new, only the channel is announced.
    ASSERT_TRUE(Load(Rss2(Item("g1", "One") + Item("g2", "Two") + Item("g3", "Three"))));
    EXPECT_EQ(recorder_.codes(), (std::vector<WPARAM>{4}));
    EXPECT_EQ(channel_.CountNew(), 0);
    EXPECT_EQ(channel_.isNew, 0);
    EXPECT_EQ(channel_.itemsInOrder[1], two);

    // g2 retitled (same guid, so the same object), g1 gone, g4 added in front.
    ASSERT_TRUE(Load(Rss2(Item("g4", "Four") + Item("g2", "Two, updated") + Item("g3", "THREE"))));
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"Four", L"Two, updated", L"Three"}));
    ASSERT_EQ(recorder_.calls().size(), 4u);
    EXPECT_EQ(recorder_.codes(), (std::vector<WPARAM>{1, 3, 2, 4}));
    EXPECT_EQ(recorder_.calls()[1].second, reinterpret_cast<LPARAM>(two));
    EXPECT_EQ(channel_.itemsInOrder[1], two);
    EXPECT_EQ(two->isNew, 1);
    EXPECT_EQ(two->position, 1);
    // A change of case only is not a change.
    EXPECT_EQ(channel_.itemsInOrder[2]->isNew, 0);
    EXPECT_EQ(channel_.CountNew(), 2);
    EXPECT_EQ(channel_.itemsByKey.size(), 3u);
    EXPECT_EQ(channel_.itemsByKey.count(L"g1"), 0u);
}

TEST_F(RssChannelTest, RefusedFeedsKeepTheOldItems) {
    ASSERT_TRUE(Load(Rss2(Item("k1", "Kept") + Item("k2", "Also kept"))));
    const std::string noLink =
        "<rss version=\"2.0\"><channel><title>t</title><description>d</description>" + Item("x", "x") +
        "</channel></rss>";
    std::string linkless = noLink;
    for (size_t at; (at = linkless.find("<link>")) != std::string::npos;) {
        linkless.erase(at, linkless.find("</link>") + 7 - at);
    }
    const std::string cases[] = {
        linkless,
        Rss2(""),                                                        // no item
        "<rss version=\"2.0\"><title>t</title><channel><title>t</title></channel></rss>",  // first child not channel
        "<rss version=\"2.0\"><channel/></rss>",                          // channel without children
        "<rss version=\"2.0\"/>",                                         // no children at all
        "<rss><channel><title>t</title><link>l</link><description>d</description><item>",  // malformed
        "",                                                               // empty file
        std::string("\x00\xff\xfe\x01\x02<rss>\x80\x81", 11),             // binary bytes
        "<rss><channel><title>&undefined;</title></channel></rss>",
        "<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>Atom</title><link href=\"http://127.0.0.1/\"/>"
        "<entry><title>e</title><id>urn:e</id></entry></feed>",                // Atom is not read
        "<!-- lead --><rss version=\"2.0\"><!-- first --><channel><title>t</title><link>l</link>"
        "<description>d</description><item><title>i</title></item></channel></rss>",
    };
    for (const std::string& text : cases) {
        EXPECT_FALSE(Load(text)) << text;
        EXPECT_EQ(channel_.loaded, 0);
        EXPECT_TRUE(recorder_.calls().empty());
        EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"Kept", L"Also kept"}));
        EXPECT_EQ(channel_.title, L"World & Time");
    }
    EXPECT_FALSE(channel_.LoadFile(dir_.file(L"missing.xml").c_str(), false));
    EXPECT_FALSE(channel_.LoadFile(nullptr, false));
    EXPECT_FALSE(channel_.LoadFile(L"", false));
    EXPECT_EQ(channel_.itemsByKey.size(), 2u);
}

TEST_F(RssChannelTest, DeclaredEncodingsAreHonoured) {
    const std::string latin1 = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>"
                               "<rss version=\"0.91\"><channel><title>Caf\xe9</title><link>l</link>"
                               "<description>d</description><item><title>Cr\xe8me &amp;amp; br\xfbl\xe9" "e</title>"
                               "</item></channel></rss>";
    ASSERT_TRUE(Load(latin1));
    EXPECT_EQ(channel_.version, L"0.91");
    EXPECT_EQ(channel_.title, L"Caf\u00e9");
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"Cr\u00e8me & br\u00fbl\u00e9e"}));
    EXPECT_EQ(channel_.itemsInOrder[0]->GetKey(), L"Cr\u00e8me & br\u00fbl\u00e9e");

    const std::string utf8 = "\xef\xbb\xbf<rss version=\"2.0\"><channel><title>\xe6\x9d\xb1\xe4\xba\xac</title>"
                             "<link>l</link><description>d</description><item><title><![CDATA[a &amp;lt; b]]></title>"
                             "</item></channel></rss>";
    ASSERT_TRUE(Load(utf8));
    EXPECT_EQ(channel_.title, L"\u6771\u4eac");
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"a &lt; b"}));
}

TEST_F(RssChannelTest, DocumentTypesAndOutsideEntitiesAreRefused) {
    ASSERT_TRUE(Load(Rss2(Item("g1", "Kept"))));
    HttpResponder server(HttpResponder::Reply("200 OK", "<!ENTITY e 'remote'>", "Content-Type: text/plain\r\n"));
    const std::wstring secret = dir_.file(L"secret.txt");
    ASSERT_TRUE(WriteBytes(secret, "local file"));
    const std::string secretUrl = "file:///" + std::string(secret.begin(), secret.end());
    const std::string declarations[] = {
        "<!DOCTYPE rss [<!ENTITY x SYSTEM \"" + secretUrl + "\">]>",
        "<!-- a note --><!DOCTYPE rss SYSTEM \"" + server.url("/rss.dtd") + "\">",
        "<!DOCTYPE rss [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>",
    };
    for (const std::string& doctype : declarations) {
        const std::string feed = "<?xml version=\"1.0\"?>\n" + doctype +
                                 "<rss version=\"2.0\"><channel><title>T</title><link>l</link><description>d"
                                 "</description><item><title>&x;&b;</title><guid>g2</guid></item></channel></rss>";
        EXPECT_FALSE(Load(feed)) << doctype;
        EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"Kept"}));
    }
    // The same in UTF-16.
    const std::wstring wide = L"\xFEFF<?xml version=\"1.0\" encoding=\"utf-16\"?><!DOCTYPE rss []><rss><channel>"
                              L"<title>T</title><link>l</link><description>d</description><item><title>w</title>"
                              L"</item></channel></rss>";
    EXPECT_FALSE(Load(std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2)));
    EXPECT_EQ(server.requests(), 0);
    // Markup that only looks like one inside the content is no declaration.
    ASSERT_TRUE(Load(Rss2(Item("g3", "<![CDATA[<!DOCTYPE html>]]>"))));
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"<!DOCTYPE html>"}));
}

TEST_F(RssChannelTest, WithoutOleNothingIsParsed) {
    RSS::SetOleReady(false);
    EXPECT_FALSE(Load(Rss2(Item("a", "a"))));
    EXPECT_TRUE(channel_.itemsInOrder.empty());
    RSS::SetOleReady(true);
}

TEST_F(RssChannelTest, TtlFromTheFeed) {
    ASSERT_TRUE(Load(Rss2(Item("a", "a"), "<ttl>1</ttl>")));
    EXPECT_EQ(channel_.ttl, 3);
    ASSERT_TRUE(Load(Rss2(Item("a", "a"), "<ttl>not a number</ttl>")));
    EXPECT_EQ(channel_.ttl, 3);
    ASSERT_TRUE(Load(Rss2(Item("a", "a"), "<ttl>99999999999999</ttl>")));
    EXPECT_EQ(channel_.ttl, INT32_MAX);
    ASSERT_TRUE(Load(Rss2(Item("a", "a"), "<ttl> 120 </ttl>")));
    EXPECT_EQ(channel_.ttl, 120);
    ASSERT_TRUE(Load(Rss2(Item("a", "a"))));
    EXPECT_EQ(channel_.ttl, 60);
}

TEST_F(RssChannelTest, RepeatedItemIsListedOnce) {
    ASSERT_TRUE(Load(Rss2(Item("d", "Dup") + Item("e", "Other") + Item("d", "Dup again"))));
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"Dup", L"Other"}));
    EXPECT_EQ(recorder_.codes(), (std::vector<WPARAM>{1, 1, 4}));
    EXPECT_EQ(channel_.itemsInOrder[1]->position, 1);
}

TEST_F(RssChannelTest, ManyItemsAndLongTexts) {
    std::string items;
    for (int i = 0; i < 3000; ++i) {
        std::string guid = "n", title = "Title ";
        guid += std::to_string(i);
        title += std::to_string(i);
        items += Item(guid, title);
    }
    const std::string longText(300000, 'x');
    items += "<item><title>" + longText + "</title></item>";
    ASSERT_TRUE(Load(Rss2(items), true));
    ASSERT_EQ(channel_.itemsInOrder.size(), 3001u);
    EXPECT_EQ(channel_.itemsInOrder[2999]->title, L"Title 2999");
    EXPECT_EQ(channel_.itemsInOrder[3000]->title.size(), longText.size());
    EXPECT_EQ(channel_.itemsInOrder[3000]->position, 3000);
    ASSERT_TRUE(Load(Rss2(Item("n5", "Title 5"))));
    EXPECT_EQ(channel_.itemsInOrder.size(), 1u);
    EXPECT_EQ(channel_.itemsByKey.size(), 1u);
    EXPECT_EQ(recorder_.codes().size(), 3001u);
}

TEST(RssItem, KeySameAndAssign) {
    RSS::Item item;
    item.description = L"d";
    EXPECT_EQ(item.GetKey(), L"d");
    item.title = L"t";
    EXPECT_EQ(item.GetKey(), L"t");
    item.link = L"l";
    EXPECT_EQ(item.GetKey(), L"l");
    item.guid = L"g";
    EXPECT_EQ(item.GetKey(), L"g");

    RSS::Item other;
    other.guid = L"G";
    other.title = L"T";
    EXPECT_TRUE(item.IsSame(other));
    other.title = L"T2";
    EXPECT_FALSE(item.IsSame(other));
    EXPECT_TRUE(item.IsSame(item));

    other.seen = 0;
    other.isNew = 0;
    other.position = 9;
    item.Assign(other);
    EXPECT_EQ(item.title, L"T2");
    EXPECT_EQ(item.guid, L"G");
    EXPECT_EQ(item.link, L"");
    EXPECT_EQ(item.seen, 0);
    EXPECT_EQ(item.isNew, 0);
    EXPECT_EQ(item.position, 0);  // not copied
}

}  // namespace
