// The news notifier driven by its messages: filling, placement, fading,
// clicks and the model's removal notice.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/settings/ini_paths.h"
#include "common/records/protocol.h"
#include "common/records/clock_table.h"
#include "common/platform/system_seam.h"
#include "tempovia/browser/browser_window.h"
#include "tempovia/news/news_notify.h"
#include "tempovia/news/news_notify_draw.h"
#include "tempovia/news/news_window.h"
#include "tempovia/news/rss_channels.h"
#include "tempovia/news/rss_feed_reader.h"
#include "tempovia/news/rss_notify.h"
#include "tests/support/test_support.h"

namespace {

class RecordingSystem final : public SystemSeam {
public:
    HINSTANCE ShellExecuteOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*,
                               int show) override {
        verbs.push_back(verb ? verb : L"");
        opened.push_back(file ? file : L"");
        lastShow = show;
        return reinterpret_cast<HINSTANCE>(42);
    }
    SC_HANDLE OpenServiceManager(const wchar_t*, const wchar_t*, DWORD) override { return nullptr; }
    SC_HANDLE OpenServiceHandle(SC_HANDLE, const wchar_t*, DWORD) override { return nullptr; }
    BOOL SendServiceControl(SC_HANDLE, DWORD, SERVICE_STATUS*) override { return FALSE; }
    BOOL CloseServiceHandleOf(SC_HANDLE) override { return FALSE; }
    DWORD LastError() override { return 0; }
    std::vector<std::wstring> verbs;
    std::vector<std::wstring> opened;
    int lastShow = 0;
};

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

RECT WorkArea() {
    RECT work = {0, 0, 640, 480};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

class NewsNotifyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        static const bool registered = RegisterWindowClasses(GetModuleHandleW(nullptr));
        ASSERT_TRUE(registered);
        SetSettingsFolder(temp_.path());
        SetUserNameOverride(L"tester");
        previous_ = SetSystemSeam(&system_);
        saved_ = g_settings;
        g_settings.notifications = 1;
        g_settings.fade_news = 0;
        g_settings.ads = 0;
        SetRssNotifyStripPage(L"about:blank");
    }
    void TearDown() override {
        if (RssNotify()) DestroyWindow(RssNotify()->Handle());
        Pump();
        EXPECT_EQ(RssNotify(), nullptr);
        DeleteRssChannels();
        g_settings = saved_;
        SetRssNotifyStripPage(nullptr);
        SetSystemSeam(previous_);
        SetUserNameOverride(nullptr);
        ResetSettingsFolder();
        OleUninitialize();
    }
    // A loaded channel that job parsed last.
    static RSS::Channel* AddChannel(const wchar_t* url, const wchar_t* title, int job) {
        RSS::Channel* channel = FindOrCreateRssChannel(url, nullptr, GetRssChannelCount());
        channel->title = title;
        channel->loaded = 1;
        channel->lastJob = job;
        return channel;
    }
    static RSS::Item* AddItem(RSS::Channel* channel, const std::wstring& title, bool isNew) {
        auto item = std::make_unique<RSS::Item>();
        item->title = title;
        item->guid = L"g-" + title.substr(0, 40) + std::to_wstring(channel->itemsInOrder.size());
        item->link = L"http://127.0.0.1/" + std::to_wstring(channel->itemsInOrder.size());
        item->description = L"<p>text</p>";
        item->isNew = isNew ? 1 : 0;
        item->owner = channel;
        RSS::Item* raw = item.get();
        channel->itemsInOrder.push_back(raw);
        channel->itemsByKey[item->guid] = std::move(item);
        return raw;
    }
    static std::vector<std::wstring> Titles(const CRSSNotify* notify) {
        std::vector<std::wstring> titles;
        for (int i = 0; i < notify->EntryCount(); ++i) titles.push_back(notify->EntryItem(i)->title);
        return titles;
    }

    testing_support::TempDir temp_;
    RecordingSystem system_;
    SystemSeam* previous_ = nullptr;
    GlobalSettings saved_ = {};
};

TEST_F(NewsNotifyTest, EntryTextNamesTheChannelFirst) {
    RSS::Channel* channel = AddChannel(L"http://127.0.0.1/a.xml", L"World", 1);
    RSS::Item* item = AddItem(channel, L"Headline", true);
    EXPECT_EQ(NotifyEntryText(*item), L"World.\nHeadline");
    RSS::Item orphan;
    orphan.title = L"Alone";
    EXPECT_EQ(NotifyEntryText(orphan), L"Alone");

    // An "&" is drawn and measured as itself, not as a mnemonic.
    item->title = L"&&&&&&&&&&&&";
    HDC screen = GetDC(nullptr);
    HGDIOBJ oldFont = SelectObject(screen, GetStockObject(DEFAULT_GUI_FONT));
    SIZE ink = {};
    GetTextExtentPoint32W(screen, item->title.c_str(), static_cast<int>(item->title.size()), &ink);
    SelectObject(screen, oldFont);
    ReleaseDC(nullptr, screen);
    MEASUREITEMSTRUCT measure = {};
    measure.itemData = reinterpret_cast<ULONG_PTR>(item);
    MeasureNotifyEntry(nullptr, &measure);
    EXPECT_GE(static_cast<LONG>(measure.itemWidth), ink.cx);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(400, 60, 1, 32, nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT draw = {};
    draw.hDC = dc;
    draw.itemData = measure.itemData;
    draw.rcItem = {0, 0, 400, 60};
    DrawNotifyEntry(&draw);
    const COLORREF back = GetSysColor(COLOR_INFOBK);
    LONG right = 0;
    for (int y = 5; y < 55; ++y)
        for (int x = 5; x < 390; ++x)
            if (GetPixel(draw.hDC, x, y) != back) right = std::max<LONG>(right, x);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EXPECT_GE(right, 5 + ink.cx * 9 / 10);
}

TEST_F(NewsNotifyTest, ShowsTheJobsNewItemsAtTheRightEdgeOfTheWorkArea) {
    RSS::Channel* channel = AddChannel(L"http://127.0.0.1/a.xml", L"World", 3);
    AddItem(channel, L"First", true);
    AddItem(channel, L"Old", false);
    AddItem(channel, L"", true);  // nothing to show
    AddItem(channel, L"Second", true);
    RSS::Channel* stale = AddChannel(L"http://127.0.0.1/b.xml", L"Stale", 2);
    AddItem(stale, L"From an earlier job", true);

    ShowRssNotify(3);
    CRSSNotify* notify = RssNotify();
    ASSERT_NE(notify, nullptr);
    EXPECT_TRUE(IsWindowVisible(notify->Handle()));
    EXPECT_EQ(Titles(notify), (std::vector<std::wstring>{L"First", L"Second"}));
    EXPECT_EQ(GetDlgCtrlID(notify->List()), kNotifyListId);
    EXPECT_EQ(notify->Strip(), nullptr);
    EXPECT_EQ(notify->Timer(), 0u);  // no fading
    EXPECT_EQ(notify->Alpha(), 255);
    const LONG_PTR ex = GetWindowLongPtrW(notify->Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);

    const RECT work = WorkArea();
    RECT rect = {};
    GetWindowRect(notify->Handle(), &rect);
    EXPECT_EQ(rect.right, work.right);
    EXPECT_EQ(rect.bottom, work.bottom);
    EXPECT_GE(rect.top, work.top);
    RECT client = {};
    GetClientRect(notify->Handle(), &client);
    EXPECT_GE(client.right, kNotifyClientWidth);
    // Fitted to the two entries: no strip, so the list fills the client area.
    const int entries = static_cast<int>(SendMessageW(notify->List(), LB_GETITEMHEIGHT, 0, 0) +
                                         SendMessageW(notify->List(), LB_GETITEMHEIGHT, 1, 0));
    EXPECT_EQ(client.bottom, std::max(entries + 2 * GetSystemMetrics(SM_CYEDGE), kNotifyClientHeight));
    RECT list = {};
    GetWindowRect(notify->List(), &list);
    EXPECT_EQ(list.bottom - list.top, client.bottom);

    // A narrower pop-up is refused.
    SetWindowPos(notify->Handle(), nullptr, 0, 0, 50, 300, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    GetClientRect(notify->Handle(), &client);
    EXPECT_GE(client.right, kNotifyClientWidth);
}

TEST_F(NewsNotifyTest, NothingNewShowsNothingAndAHiddenPopupComesBackForAJobsNewItem) {
    RSS::Channel* channel = AddChannel(L"http://127.0.0.1/a.xml", L"World", 1);
    RSS::Item* item = AddItem(channel, L"Old", false);
    ShowRssNotify(1);
    EXPECT_EQ(RssNotify(), nullptr);

    item->isNew = 1;
    ShowRssNotify(1);
    ASSERT_NE(RssNotify(), nullptr);
    SendMessageW(RssNotify()->Handle(), WM_CLOSE, 0, 0);  // notifications on: only hidden
    ASSERT_NE(RssNotify(), nullptr);
    EXPECT_FALSE(IsWindowVisible(RssNotify()->Handle()));
    // Job 2 parsed nothing: the channel's items are from job 1.
    ShowRssNotify(2);
    EXPECT_FALSE(IsWindowVisible(RssNotify()->Handle()));
    // A later job that brings another item shows the pop-up again.
    channel->lastJob = 3;
    ShowRssNotify(3);
    EXPECT_FALSE(IsWindowVisible(RssNotify()->Handle()));  // the same item again: nothing added
    AddItem(channel, L"Fresh", true);
    ShowRssNotify(3);
    EXPECT_TRUE(IsWindowVisible(RssNotify()->Handle()));

    // Closed again; job 4's first feed brings an item, its last feed nothing,
    // in the order the main window hands them on: the pop-up comes back.
    SendMessageW(RssNotify()->Handle(), WM_CLOSE, 0, 0);
    channel->lastJob = 4;
    AddItem(channel, L"Midway", true);
    RefreshRssNotify(2, 4);
    ShowRssNotify(4);
    EXPECT_TRUE(IsWindowVisible(RssNotify()->Handle()));
    EXPECT_EQ(Titles(RssNotify()).front(), L"Midway");
}

TEST_F(NewsNotifyTest, WithoutFadingItemsAccumulateOnceEachNewestFirst) {
    RSS::Channel* channel = AddChannel(L"http://127.0.0.1/a.xml", L"World", 1);
    AddItem(channel, L"A", true);
    AddItem(channel, L"B", true);
    ShowRssNotify(1);
    CRSSNotify* notify = RssNotify();
    ASSERT_NE(notify, nullptr);
    channel->lastJob = 2;
    AddItem(channel, L"C", true);
    AddItem(channel, L"D", true);
    EXPECT_EQ(notify->ShowItems(2), 2);
    EXPECT_EQ(Titles(notify), (std::vector<std::wstring>{L"C", L"D", L"A", L"B"}));
    EXPECT_EQ(notify->ShowItems(2), 0);  // reported again: listed once
    EXPECT_EQ(notify->EntryCount(), 4);
}

TEST_F(NewsNotifyTest, WithFadingEachShowingReplacesTheList) {
    g_settings.fade_news = 1;
    RSS::Channel* channel = AddChannel(L"http://127.0.0.1/a.xml", L"World", 1);
    RSS::Item* a = AddItem(channel, L"A", true);
    ShowRssNotify(1);
    CRSSNotify* notify = RssNotify();
    ASSERT_NE(notify, nullptr);
    EXPECT_NE(notify->Timer(), 0u);
    a->isNew = 0;
    AddItem(channel, L"B", true);
    channel->lastJob = 2;
    EXPECT_EQ(notify->ShowItems(2), 1);
    EXPECT_EQ(Titles(notify), (std::vector<std::wstring>{L"B"}));
}

TEST_F(NewsNotifyTest, FadeWaitsFiveSecondsThenStepsDownAndCloses) {
    g_settings.fade_news = 1;
    AddItem(AddChannel(L"http://127.0.0.1/a.xml", L"World", 1), L"A", true);
    ShowRssNotify(1);
    CRSSNotify* notify = RssNotify();
    ASSERT_NE(notify, nullptr);
    KillTimer(notify->Handle(), kNotifyFadeTimer);  // the test drives the ticks
    if (GetForegroundWindow() == notify->Handle()) SetForegroundWindow(GetDesktopWindow());
    if (GetForegroundWindow() == notify->Handle()) GTEST_SKIP() << "pop-up stays in the foreground here";

    for (int i = 0; i < kNotifyFadeDelayTicks; ++i) notify->FadeTick();
    EXPECT_EQ(notify->Alpha(), 255);
    EXPECT_EQ(notify->FadeDelay(), 0);
    notify->FadeTick();
    EXPECT_EQ(notify->Alpha(), 251);

    // Activation (the user is back) starts over.
    SendMessageW(notify->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(notify->Alpha(), 255);
    EXPECT_EQ(notify->FadeDelay(), kNotifyFadeDelayTicks);
    if (GetForegroundWindow() == notify->Handle()) SetForegroundWindow(GetDesktopWindow());

    for (int i = 0; i < kNotifyFadeDelayTicks; ++i) notify->FadeTick();
    int ticks = 0;
    while (notify->Alpha() >= kNotifyCloseAlpha + kNotifyFadeStep && ticks < 100) {
        notify->FadeTick();
        ++ticks;
    }
    EXPECT_EQ(ticks, (255 - 15) / kNotifyFadeStep);  // 255 down to 15
    EXPECT_TRUE(IsWindowVisible(notify->Handle()));
    notify->FadeTick();  // 11 would be below 13: close instead
    Pump();
    ASSERT_EQ(RssNotify(), notify);  // notifications on: hidden, kept
    EXPECT_FALSE(IsWindowVisible(notify->Handle()));
    const int alpha = notify->Alpha();
    notify->FadeTick();  // a hidden pop-up does not fade
    EXPECT_EQ(notify->Alpha(), alpha);

    // Fading turned off: full opacity and no timer.
    g_settings.fade_news = 0;
    notify->FadeTick();
    EXPECT_EQ(notify->Alpha(), 255);
    EXPECT_EQ(notify->Timer(), 0u);
}

TEST_F(NewsNotifyTest, ForegroundPopupNeverFades) {
    g_settings.fade_news = 1;
    AddItem(AddChannel(L"http://127.0.0.1/a.xml", L"World", 1), L"A", true);
    ShowRssNotify(1);
    CRSSNotify* notify = RssNotify();
    ASSERT_NE(notify, nullptr);
    KillTimer(notify->Handle(), kNotifyFadeTimer);
    SetForegroundWindow(notify->Handle());
    if (GetForegroundWindow() != notify->Handle()) GTEST_SKIP() << "no foreground window here";
    for (int i = 0; i < 3 * kNotifyFadeDelayTicks; ++i) notify->FadeTick();
    EXPECT_EQ(notify->Alpha(), 255);
    EXPECT_EQ(notify->FadeDelay(), kNotifyFadeDelayTicks);
}

TEST_F(NewsNotifyTest, DoubleClickOpensTheLinkAndClearsTheNewFlag) {
    g_settings.fade_news = 1;
    RSS::Channel* channel = AddChannel(L"http://127.0.0.1/a.xml", L"World", 1);
    AddItem(channel, L"A", true);
    RSS::Item* b = AddItem(channel, L"B", true);
    ShowRssNotify(1);
    CRSSNotify* notify = RssNotify();
    ASSERT_NE(notify, nullptr);
    KillTimer(notify->Handle(), kNotifyFadeTimer);
    notify->SetAlpha(100);
    SendMessageW(notify->List(), LB_SETCURSEL, 1, 0);
    SendMessageW(notify->Handle(), WM_COMMAND, MAKEWPARAM(kNotifyListId, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(notify->List()));
    ASSERT_EQ(system_.opened.size(), 1u);
    EXPECT_EQ(system_.opened[0], b->link);
    EXPECT_EQ(system_.verbs[0], L"open");
    EXPECT_EQ(system_.lastShow, SW_SHOW);
    EXPECT_EQ(b->isNew, 0);
    EXPECT_EQ(notify->Alpha(), 255);

    // An item whose link is a file or a program, or no link, opens nothing;
    // no selection opens nothing.
    b->link = L"file:///C:/windows/system32/calc.exe";
    SendMessageW(notify->Handle(), WM_COMMAND, MAKEWPARAM(kNotifyListId, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(notify->List()));
    b->link.clear();
    SendMessageW(notify->Handle(), WM_COMMAND, MAKEWPARAM(kNotifyListId, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(notify->List()));
    SendMessageW(notify->List(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageW(notify->Handle(), WM_COMMAND, MAKEWPARAM(kNotifyListId, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(notify->List()));
    EXPECT_EQ(system_.opened.size(), 1u);
}

TEST_F(NewsNotifyTest, RemovedItemsLeaveTheList) {
    RSS::Channel* channel = AddChannel(L"http://127.0.0.1/a.xml", L"World", 1);
    RSS::Item* a = AddItem(channel, L"A", true);
    AddItem(channel, L"B", true);
    ShowRssNotify(1);
    CRSSNotify* notify = RssNotify();
    ASSERT_NE(notify, nullptr);
    EXPECT_EQ(g_rssNotifyList.Count(), 1);

    SendMessageW(notify->Handle(), MSG_RSS_UPDATED, RSS::kItemChanged, reinterpret_cast<LPARAM>(a));
    EXPECT_EQ(notify->EntryCount(), 2);
    SendMessageW(notify->Handle(), MSG_RSS_UPDATED, RSS::kItemRemoved, reinterpret_cast<LPARAM>(a));
    EXPECT_EQ(Titles(notify), (std::vector<std::wstring>{L"B"}));
    SendMessageW(notify->Handle(), MSG_RSS_UPDATED, RSS::kItemRemoved, 0);  // no item: ignored
    // An address no channel holds, as another program may send it: not read.
    SendMessageW(notify->Handle(), MSG_RSS_UPDATED, RSS::kItemRemoved, 0x10);
    EXPECT_EQ(Titles(notify), (std::vector<std::wstring>{L"B"}));
    // A new parse that no longer carries B destroys it and tells every window first.
    RSS::ParsedFeed feed;
    feed.title = L"World";
    RSS::Item c;
    c.title = L"C";
    c.guid = L"c-guid";
    feed.items.push_back(c);
    channel->Merge(feed, false);
    EXPECT_EQ(notify->EntryCount(), 0);
    ClearRssNotify();
    RedrawWindow(notify->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    DestroyWindow(notify->Handle());
    EXPECT_EQ(RssNotify(), nullptr);
    EXPECT_EQ(g_rssNotifyList.Count(), 0);
}

TEST_F(NewsNotifyTest, NotificationsOffDestroysThePopup) {
    AddItem(AddChannel(L"http://127.0.0.1/a.xml", L"World", 1), L"A", true);
    ShowRssNotify(1);
    ASSERT_NE(RssNotify(), nullptr);
    g_settings.notifications = 0;
    RefreshRssNotify(2, 1);
    EXPECT_EQ(RssNotify(), nullptr);
    ShowRssNotify(1);
    EXPECT_EQ(RssNotify(), nullptr);

    g_settings.notifications = 1;
    ShowRssNotify(1);
    ASSERT_NE(RssNotify(), nullptr);
    g_settings.notifications = 0;
    SendMessageW(RssNotify()->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(RssNotify(), nullptr);
}

TEST_F(NewsNotifyTest, OverLongTitlesKeepEntriesWithinTheListAndWorkArea) {
    RSS::Channel* channel = AddChannel(L"http://127.0.0.1/a.xml", std::wstring(5000, L'c').c_str(), 1);
    for (int i = 0; i < 40; ++i) AddItem(channel, std::wstring(20000, static_cast<wchar_t>(L'a' + i % 26)), true);
    ShowRssNotify(1);
    CRSSNotify* notify = RssNotify();
    ASSERT_NE(notify, nullptr);
    EXPECT_EQ(notify->EntryCount(), 40);
    const LRESULT height = SendMessageW(notify->List(), LB_GETITEMHEIGHT, 0, 0);
    EXPECT_GT(height, 10);
    EXPECT_LE(height, kNotifyMaxEntryHeight);
    const RECT work = WorkArea();
    RECT rect = {};
    GetWindowRect(notify->Handle(), &rect);
    EXPECT_EQ(rect.top, work.top);
    EXPECT_EQ(rect.bottom, work.bottom);
    RedrawWindow(notify->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The strip's own window procedure, watched for the document requests that
// every page written into it begins with.
WNDPROC g_stripProc = nullptr;
int g_documentAsks = 0;
LRESULT CALLBACK CountingStrip(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WBM_GET_DOCUMENT) ++g_documentAsks;
    return CallWindowProcW(g_stripProc, window, message, wParam, lParam);
}

TEST_F(NewsNotifyTest, SettingsChangeStartsFadingAndStripTakesItsBand) {
    AddItem(AddChannel(L"http://127.0.0.1/a.xml", L"World", 1), L"A", true);
    ShowRssNotify(1);
    CRSSNotify* notify = RssNotify();
    ASSERT_NE(notify, nullptr);
    EXPECT_EQ(notify->Timer(), 0u);
    notify->SetAlpha(50);
    g_settings.fade_news = 1;
    g_settings.ads = 1;
    SendMessageW(notify->Handle(), MSG_SETTINGS_CHANGED, 0, 0);
    EXPECT_NE(notify->Timer(), 0u);
    EXPECT_EQ(notify->Alpha(), 255);
    ASSERT_NE(notify->Strip(), nullptr);
    EXPECT_EQ(GetDlgCtrlID(notify->Strip()), kNotifyStripId);
    RECT strip = {}, list = {};
    GetWindowRect(notify->Strip(), &strip);
    GetWindowRect(notify->List(), &list);
    EXPECT_EQ(strip.bottom - strip.top, kNotifyStripHeight);
    EXPECT_EQ(list.top, strip.bottom);

    // The fitted height makes room for the strip.
    notify->FitToList();
    RECT client = {};
    GetClientRect(notify->Handle(), &client);
    const int entry = static_cast<int>(SendMessageW(notify->List(), LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(client.bottom, std::max(entry + kNotifyStripHeight + 2 * GetSystemMetrics(SM_CYEDGE), kNotifyClientHeight));

    // The strip's page failed: the notifier writes the first entry's page
    // into the strip, which starts by asking the strip for its document.
    // Other codes from the strip write nothing.
    g_documentAsks = 0;
    g_stripProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(notify->Strip(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingStrip)));
    SendMessageW(notify->Handle(), WM_COMMAND, MAKEWPARAM(kNotifyStripId, 3),
                 reinterpret_cast<LPARAM>(notify->Strip()));
    EXPECT_EQ(g_documentAsks, 0);
    SendMessageW(notify->Handle(), WM_COMMAND, MAKEWPARAM(kNotifyStripId, 4),
                 reinterpret_cast<LPARAM>(notify->Strip()));
    EXPECT_EQ(g_documentAsks, 1);
    SetWindowLongPtrW(notify->Strip(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_stripProc));

    g_settings.ads = 0;
    SendMessageW(notify->Handle(), MSG_SETTINGS_CHANGED, 0, 0);
    EXPECT_FALSE(IsWindowVisible(notify->Strip()));
    GetWindowRect(notify->List(), &list);
    GetClientRect(notify->Handle(), &client);
    EXPECT_EQ(list.bottom - list.top, client.bottom);
}

TEST_F(NewsNotifyTest, TheStripLoadsItsOwnPageWithoutOpeningIt) {
    g_settings.ads = 1;
    SetRssNotifyStripPage(L"http://127.0.0.1:1/ad/site.htm");
    AddItem(AddChannel(L"http://127.0.0.1/a.xml", L"World", 1), L"A", true);
    ShowRssNotify(1);
    CRSSNotify* notify = RssNotify();
    ASSERT_NE(notify, nullptr);
    ASSERT_NE(notify->Strip(), nullptr);
    // The page is really asked for (nothing answers there), and never handed
    // to the user's browser as a followed link.
    LRESULT error = 0;
    for (int i = 0; i < 250 && error == 0; ++i) {
        Pump();
        Sleep(20);
        error = SendMessageW(notify->Strip(), WBM_GET_LAST_ERROR, 0, 0);
    }
    EXPECT_NE(error, 0);
    EXPECT_TRUE(system_.opened.empty());
}

TEST_F(NewsNotifyTest, DoubleClickUnboldsTheItemInAnOpenNewsWindow) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    RSS::Channel* channel = AddChannel(L"http://127.0.0.1/a.xml", L"World", 1);
    RSS::Item* item = AddItem(channel, L"A", true);
    CRSSWindow* news = ShowRssWindow(nullptr);
    ASSERT_NE(news, nullptr);
    ShowRssNotify(1);
    CRSSNotify* notify = RssNotify();
    ASSERT_NE(notify, nullptr);
    EXPECT_EQ(g_rssNotifyList.Count(), 2);

    SendMessageW(notify->List(), LB_SETCURSEL, 0, 0);
    SendMessageW(notify->Handle(), WM_COMMAND, MAKEWPARAM(kNotifyListId, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(notify->List()));
    ASSERT_EQ(system_.opened.size(), 1u);
    HTREEITEM root = TreeView_GetRoot(news->Tree());
    HTREEITEM node = TreeView_GetChild(news->Tree(), root);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(TreeView_GetItemState(news->Tree(), node, TVIS_BOLD) & TVIS_BOLD, 0u);
    EXPECT_EQ(TreeView_GetSelection(news->Tree()), node);
    EXPECT_EQ(item->isNew, 0);
    DestroyWindow(news->Handle());
    Pump();
}

}  // namespace
