// The news page over real INI files: channels read by the settings reader,
// edited on the page through its messages, and written back renumbered.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/platform/lent_pointer.h"
#include "common/settings/global_settings_io.h"
#include "common/records/protocol.h"
#include "common/records/clock_table.h"
#include "settings/main_dialog.h"
#include "settings/page_news.h"
#include "settings/page_news_add.h"
#include "settings/page_news_channels.h"
#include "tests/support/test_support.h"
#include "tests/syncpages/page_fixture.h"

namespace syncpages_test {
namespace {

std::wstring g_answer;
INT_PTR Answer(HWND, AddChannelRequest& request) {
    if (g_answer.empty()) return IDCANCEL;
    wcsncpy_s(request.buffer, request.maxLength, g_answer.c_str(), _TRUNCATE);
    return IDOK;
}
int AlwaysYes(HWND, const wchar_t*, const wchar_t*) { return IDYES; }

class NewsPageTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        oldPrompt_ = SetChannelPrompt(Answer);
        oldConsumer_ = SetNewsChannelConsumer(AddRssChannel);
        oldHooks_ = DialogHooks();
        MainDialogHooks hooks = oldHooks_;
        hooks.askDelete = AlwaysYes;
        SetDialogHooks(hooks);
        g_answer.clear();
        oldSettings_ = g_settings;
    }
    void TearDown() override {
        if (page_) DestroyWindow(page_);
        RssChannelArray().clear();
        SetChannelPrompt(oldPrompt_);
        SetNewsChannelConsumer(oldConsumer_);
        SetDialogHooks(oldHooks_);
        g_settings = oldSettings_;
        PageTest::TearDown();
    }
    void ReadChannels() {
        GlobalSettings settings = {};
        ReadMainOptions(L"tester", settings);
        g_settings.ads = settings.ads;
        g_settings.notifications = settings.notifications;
        g_settings.fade_news = settings.fade_news;
    }
    void Open() {
        page_ = CreatePage(kNewsPageResource, NewsPageProc);
        ASSERT_NE(page_, nullptr);
        PageExchangeBlock block{nullptr, nullptr};
        SendWithPointer(page_, WM_PAGE_EXCHANGE, 0, &block);
    }
    HWND Store() {
        PageExchangeBlock block{nullptr, nullptr};
        SendWithPointer(page_, WM_PAGE_EXCHANGE, 1, &block);
        return block.failedControl;
    }
    HWND Item(int id) const { return GetDlgItem(page_, id); }
    void Click(int id) { SendMessageW(page_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id))); }
    void SelectItem(int index) {
        SendMessageW(Item(kChannelList), LB_SETCURSEL, index, 0);
        SendMessageW(page_, WM_COMMAND, MAKEWPARAM(kChannelList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(kChannelList)));
    }
    int Count() const { return static_cast<int>(SendMessageW(Item(kChannelList), LB_GETCOUNT, 0, 0)); }
    int Selected() const { return static_cast<int>(SendMessageW(Item(kChannelList), LB_GETCURSEL, 0, 0)); }
    std::wstring ListText(int i) const {
        wchar_t buffer[600] = {};
        SendMessageW(Item(kChannelList), LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    HWND page_ = nullptr;
    ChannelPrompt oldPrompt_ = nullptr;
    NewsChannelConsumer oldConsumer_ = nullptr;
    MainDialogHooks oldHooks_;
    GlobalSettings oldSettings_ = {};
};

constexpr char kThreeChannels[] =
    "[tester:main]\r\nrss_channels=3\r\nads=0\r\nnotifications=1\r\nfade_news=1\r\n"
    "[tester:rss1]\r\nurl=http://one.example/feed\r\nttl=30\r\nexpanded=0\r\nenabled=1\r\n"
    "[tester:rss2]\r\nurl=https://two.example/rss\r\nttl=-15\r\nexpanded=1\r\nenabled=0\r\n"
    "[tester:rss3]\r\nurl=http://three.example/x\r\nttl=20000\r\nexpanded=1\r\nenabled=1\r\n";

TEST(FeedAddress, NeedsSomethingAfterTheScheme) {
    EXPECT_TRUE(IsFeedAddress(L"https://a"));
    EXPECT_TRUE(IsFeedAddress(L"HTTP://a"));
    EXPECT_FALSE(IsFeedAddress(L"http://"));
    EXPECT_FALSE(IsFeedAddress(L"https://"));
    EXPECT_FALSE(IsFeedAddress(L"ftp://a.example"));
    EXPECT_FALSE(IsFeedAddress(nullptr));
}

TEST(ChannelIntervalCheck, RangeAndFollowingTheFeed) {
    int32_t ttl = 0;
    EXPECT_FALSE(ChannelInterval(L"2", false, ttl));
    ASSERT_TRUE(ChannelInterval(L"2", true, ttl));
    EXPECT_EQ(ttl, -60);
    ASSERT_TRUE(ChannelInterval(L"129600", false, ttl));
    EXPECT_EQ(ttl, 129600);
    EXPECT_FALSE(ChannelInterval(L"129601", false, ttl));
    EXPECT_FALSE(ChannelInterval(L"", false, ttl));
    EXPECT_FALSE(ChannelInterval(L"-99999999999999999999", false, ttl));
    ASSERT_TRUE(ChannelInterval(L"-45", true, ttl));
    EXPECT_EQ(ttl, -45);
}

TEST_F(NewsPageTest, LoadsChannelsAndOptionsAndWritesThemBackUnchanged) {
    WriteIni(kThreeChannels);
    ReadChannels();
    ASSERT_EQ(RssChannelArray().size(), 3u);
    Open();
    ASSERT_EQ(Count(), 3);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(TextOf(Item(kChannelUrlEdit)), L"http://one.example/feed");
    EXPECT_EQ(TextOf(Item(kChannelIntervalEdit)), L"30");
    EXPECT_EQ(IsDlgButtonChecked(page_, kFollowFeedCheck), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page_, kNoAdsCheck), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page_, kNoNotificationsCheck), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page_, kFadeNewsCheck), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(Item(kChannelUpButton)));
    EXPECT_TRUE(IsWindowEnabled(Item(kEnableAllButton)));
    EXPECT_TRUE(IsWindowEnabled(Item(kDisableAllButton)));

    // An interval above what the edit takes is shown in full.
    SelectItem(2);
    EXPECT_EQ(TextOf(Item(kChannelIntervalEdit)), L"20000");
    SelectItem(1);
    EXPECT_EQ(IsDlgButtonChecked(page_, kFollowFeedCheck), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(Item(kChannelIntervalEdit)));

    ASSERT_EQ(Store(), nullptr);
    ASSERT_TRUE(WriteNewsOptions());
    EXPECT_EQ(Read(L"tester:main", L"rss_channels"), L"3");
    EXPECT_EQ(Read(L"tester:main", L"ads"), L"0");
    EXPECT_EQ(Read(L"tester:rss2", L"url"), L"https://two.example/rss");
    EXPECT_EQ(Read(L"tester:rss2", L"ttl"), L"-15");
    EXPECT_EQ(Read(L"tester:rss2", L"enabled"), L"0");
    EXPECT_EQ(Read(L"tester:rss1", L"expanded"), L"0");
    EXPECT_EQ(Read(L"tester:rss3", L"ttl"), L"20000");
}

// Types into the real Add News Channel dialog once it is up, then presses a key.
UINT g_key = 0;
void CALLBACK TypeIntoChannelDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = GetActiveWindow();
    HWND edit = GetDlgItem(dialog, kAddChannelEdit);
    if (!edit) return;
    KillTimer(nullptr, timer);
    SetWindowTextW(edit, L"http://keyed.example/rss");
    SetFocus(edit);
    PostMessageW(edit, WM_KEYDOWN, g_key, 0);
}

TEST_F(NewsPageTest, EnterConfirmsAndEscCancelsTheAddChannelDialog) {
    Open();
    SetChannelPrompt(nullptr);
    for (UINT key : {VK_ESCAPE, VK_RETURN}) {
        g_key = key;
        SetTimer(nullptr, 0, 10, TypeIntoChannelDialog);
        Click(kAddChannelButton);
        ASSERT_EQ(Count(), key == VK_RETURN ? 1 : 0);
    }
    EXPECT_EQ(ListText(0), L"http://keyed.example/rss");
}

TEST_F(NewsPageTest, AddEditMoveDeleteRenumbersWithNothingLost) {
    WriteIni(kThreeChannels);
    ReadChannels();
    Open();
    // Added at the selection: before the first.
    g_answer = L"https://new.example/feed";
    Click(kAddChannelButton);
    ASSERT_EQ(Count(), 4);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(ListText(0), L"https://new.example/feed");
    EXPECT_EQ(IsDlgButtonChecked(page_, kFollowFeedCheck), BST_CHECKED);
    EXPECT_EQ(TextOf(Item(kChannelIntervalEdit)), L"60");

    // A whole address typed after the preset "http://" is taken alone.
    g_answer = L"http://http://typed.example/rss";
    Click(kAddChannelButton);
    ASSERT_EQ(Count(), 5);
    EXPECT_EQ(ListText(0), L"http://typed.example/rss");
    Click(kDeleteChannelButton);
    ASSERT_EQ(Count(), 4);

    // The same address again, in other case: a beep and nothing added.
    g_answer = L"HTTP://ONE.example/feed";
    Click(kAddChannelButton);
    EXPECT_EQ(Count(), 4);
    EXPECT_EQ(system_.beeps.size(), 1u);

    // Edit the url and interval of the new channel, then move it down twice.
    SetWindowTextW(Item(kChannelUrlEdit), L"https://renamed.example/feed");
    CheckDlgButton(page_, kFollowFeedCheck, BST_UNCHECKED);
    SetWindowTextW(Item(kChannelIntervalEdit), L"45");
    SelectItem(1);
    EXPECT_EQ(ListText(0), L"https://renamed.example/feed");
    SelectItem(0);
    Click(kChannelDownButton);
    Click(kChannelDownButton);
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(ListText(2), L"https://renamed.example/feed");

    // Delete the last of the list: the new last one is selected.
    SelectItem(3);
    Click(kDeleteChannelButton);
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(Selected(), 2);

    ASSERT_EQ(Store(), nullptr);
    ASSERT_TRUE(WriteNewsOptions());
    EXPECT_EQ(Read(L"tester:main", L"rss_channels"), L"3");
    EXPECT_EQ(Read(L"tester:rss1", L"url"), L"http://one.example/feed");
    EXPECT_EQ(Read(L"tester:rss2", L"url"), L"https://two.example/rss");
    EXPECT_EQ(Read(L"tester:rss3", L"url"), L"https://renamed.example/feed");
    EXPECT_EQ(Read(L"tester:rss3", L"ttl"), L"45");
    EXPECT_EQ(Read(L"tester:rss3", L"expanded"), L"1");
    EXPECT_EQ(Read(L"tester:rss3", L"enabled"), L"1");

    // Read back through the settings reader: the same three, in order.
    ReadChannels();
    ASSERT_EQ(RssChannelArray().size(), 3u);
    EXPECT_EQ(RssChannelArray()[2]->url, L"https://renamed.example/feed");
    EXPECT_EQ(RssChannelArray()[2]->ttl, 45);
}

TEST_F(NewsPageTest, BadValuesAreNamedAndHoldTheSelection) {
    WriteIni(kThreeChannels);
    ReadChannels();
    Open();
    SetWindowTextW(Item(kChannelIntervalEdit), L"2");
    EXPECT_EQ(Store(), Item(kChannelIntervalEdit));
    CheckDlgButton(page_, kFollowFeedCheck, BST_CHECKED);
    EXPECT_EQ(Store(), nullptr);
    EXPECT_EQ(RssChannelArray()[0]->ttl, -60);

    SetWindowTextW(Item(kChannelUrlEdit), L"http://");
    EXPECT_EQ(Store(), Item(kChannelUrlEdit));
    SelectItem(2);
    EXPECT_EQ(Selected(), 0);
    EXPECT_FALSE(system_.beeps.empty());
    // Nothing of the program-wide list was lost by the failed stores.
    EXPECT_EQ(RssChannelArray().size(), 3u);
}

TEST_F(NewsPageTest, EnableAllDisableAllAndTheCheckImageToggle) {
    WriteIni(kThreeChannels);
    ReadChannels();
    Open();
    Click(kEnableAllButton);
    EXPECT_FALSE(IsWindowEnabled(Item(kEnableAllButton)));
    Click(kDisableAllButton);
    EXPECT_FALSE(IsWindowEnabled(Item(kDisableAllButton)));

    // A press and release on the first item's check image turns it on.
    ShowWindow(owner_, SW_SHOWNA);
    ShowWindow(page_, SW_SHOWNA);
    RECT item = {};
    SendMessageW(Item(kChannelList), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 3, (item.top + item.bottom) / 2);
    SendMessageW(Item(kChannelList), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(Item(kChannelList), WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(IsWindowEnabled(Item(kDisableAllButton)));

    // The third too; the second stays off. Neither is selected: the second
    // shows an empty box, the third a tick (no stroke in the box's top left,
    // where a cross would start).
    SendMessageW(Item(kChannelList), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    const LPARAM third = MAKELPARAM(item.left + 3, (item.top + item.bottom) / 2);
    SendMessageW(Item(kChannelList), WM_LBUTTONDOWN, MK_LBUTTON, third);
    SendMessageW(Item(kChannelList), WM_LBUTTONUP, 0, third);
    const testing_support::ShownPixels shown(Item(kChannelList));
    auto dark = [&](int index, int right, int bottom) {
        RECT r = {};
        SendMessageW(Item(kChannelList), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        const int top = (r.top + r.bottom - 13) / 2;
        int n = 0;
        for (int y = top + 3; y < top + bottom; ++y) {
            for (int x = r.left + 5; x < r.left + right; ++x) {
                const COLORREF c = shown.At(x, y);
                n += GetRValue(c) + GetGValue(c) + GetBValue(c) < 300;
            }
        }
        return n;
    };
    RECT second = {};
    SendMessageW(Item(kChannelList), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    const RECT box = {second.left + 2, (second.top + second.bottom - 13) / 2, second.left + 15,
                      (second.top + second.bottom + 13) / 2};
    EXPECT_GT(shown.CountOther(box, GetSysColor(COLOR_WINDOW)), 12) << "the empty box shows its frame";
    EXPECT_EQ(dark(1, 13, 11), 0);
    EXPECT_GT(dark(2, 13, 11), 4) << "a mark in the enabled channel's box";
    EXPECT_EQ(dark(2, 8, 6), 0) << "a tick, not a cross";

    ASSERT_EQ(Store(), nullptr);
    EXPECT_EQ(RssChannelArray()[0]->enabled, 1);
    EXPECT_EQ(RssChannelArray()[1]->enabled, 0);
    EXPECT_EQ(RssChannelArray()[2]->enabled, 1);
}

TEST_F(NewsPageTest, ReaderConsumerRefusesEndCallsAndEmptyAddresses) {
    EXPECT_TRUE(AddRssChannel(L"http://a.example", 10, 0, 1, 1));
    EXPECT_TRUE(AddRssChannel(L"http://b.example", 10, 1, 1, 1));
    EXPECT_FALSE(AddRssChannel(nullptr, 0, -1, 0, 0));
    EXPECT_EQ(RssChannelArray().size(), 2u);
    EXPECT_FALSE(AddRssChannel(nullptr, 0, 0, 0, 0));
    EXPECT_TRUE(RssChannelArray().empty());
}

}  // namespace
}  // namespace syncpages_test
