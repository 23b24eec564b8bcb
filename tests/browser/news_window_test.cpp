// The news window driven by its messages: placement, tree, splitter,
// commands and the model's removal notice.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <exdispid.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/records/protocol.h"
#include "common/platform/system_seam.h"
#include "tempovia/news/news_window.h"
#include "tempovia/news/news_window_layout.h"
#include "tempovia/news/rss_channels.h"
#include "tests/browser/webf_fixture.h"
#include "tests/support/test_support.h"

namespace {

using namespace webf_test;

class RecordingSystem final : public SystemSeam {
public:
    HINSTANCE ShellExecuteOpen(HWND, const wchar_t*, const wchar_t* file, const wchar_t*, const wchar_t*,
                               int show) override {
        opened.push_back(file ? file : L"");
        lastShow = show;
        return reinterpret_cast<HINSTANCE>(42);
    }
    SC_HANDLE OpenServiceManager(const wchar_t*, const wchar_t*, DWORD) override { return nullptr; }
    SC_HANDLE OpenServiceHandle(SC_HANDLE, const wchar_t*, DWORD) override { return nullptr; }
    BOOL SendServiceControl(SC_HANDLE, DWORD, SERVICE_STATUS*) override { return FALSE; }
    BOOL CloseServiceHandleOf(SC_HANDLE) override { return FALSE; }
    DWORD LastError() override { return 0; }
    std::vector<std::wstring> opened;
    int lastShow = 0;
};

class NewsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        static const bool registered = RegisterWindowClasses(GetModuleHandleW(nullptr));  // once per program
        ASSERT_TRUE(registered);
        SetSettingsFolder(temp_.path());
        SetUserNameOverride(L"tester");
        previous_ = SetSystemSeam(&system_);
        Notices().clear();
        main_ = CreateParent();
        ASSERT_NE(main_, nullptr);
    }
    void TearDown() override {
        if (RssWindow()) DestroyWindow(RssWindow()->Handle());
        Pump();
        EXPECT_EQ(RssWindow(), nullptr);
        EXPECT_EQ(TWebf::LiveCount(), 0);  // the browser pane let its host go
        DeleteRssChannels();
        DestroyWindow(main_);
        Pump();
        SetSystemSeam(previous_);
        SetUserNameOverride(nullptr);
        ResetSettingsFolder();
        OleUninitialize();
    }
    std::wstring Ini(const wchar_t* section, const wchar_t* key) {
        return ReadIniText(UserIniPath().c_str(), section, key);
    }
    static RSS::Item* AddItem(RSS::Channel* channel, const wchar_t* title, bool isNew) {
        auto item = std::make_unique<RSS::Item>();
        item->title = title;
        item->guid = title;
        item->link = std::wstring(L"http://127.0.0.1/") + std::to_wstring(channel->itemsInOrder.size());
        item->description = L"<p>text</p>";
        item->isNew = isNew ? 1 : 0;
        item->owner = channel;
        RSS::Item* raw = item.get();
        channel->itemsInOrder.push_back(raw);
        channel->itemsByKey[item->guid] = std::move(item);
        return raw;
    }
    static std::wstring NodeText(HWND tree, HTREEITEM node) {
        wchar_t text[600] = {};
        TVITEMW tvi = {};
        tvi.mask = TVIF_TEXT | TVIF_HANDLE;
        tvi.hItem = node;
        tvi.pszText = text;
        tvi.cchTextMax = 600;
        TreeView_GetItem(tree, &tvi);
        return text;
    }

    testing_support::TempDir temp_;
    RecordingSystem system_;
    SystemSeam* previous_ = nullptr;
    HWND main_ = nullptr;
};

TEST_F(NewsWindowTest, AStoredPlaceTooSmallOrOnNoMonitorFallsBackToTheWorkAreaCorner) {
    WriteIniString(UserIniPath().c_str(), L"tester:main", L"rss_wnd_pos", L"10, 10, 60, 400");
    CRSSWindow* window = ShowRssWindow(main_);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ShowRssWindow(main_), window);  // one window only
    RECT work = {0, 0, 640, 480};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT expected = DefaultRssWindowRect(work);
    RECT rect = {};
    GetWindowRect(window->Handle(), &rect);
    EXPECT_EQ(rect.left, expected.left);
    EXPECT_EQ(rect.top, expected.top);
    EXPECT_EQ(rect.right, expected.right);
    EXPECT_EQ(rect.bottom, expected.bottom);
    EXPECT_EQ(window->BrowserHeight(), 120);
    EXPECT_EQ(GetDlgCtrlID(window->Tree()), kRssTreeId);
    EXPECT_EQ(GetDlgCtrlID(window->BrowserWindow()), kRssBrowserId);
    EXPECT_EQ(GetDlgCtrlID(window->Toolbar()), kRssToolbarId);
    EXPECT_EQ(SendMessageW(window->Toolbar(), TB_BUTTONCOUNT, 0, 0), 2);
    // Both button pictures come from the program's bitmaps (linked into this test).
    auto* images = reinterpret_cast<HIMAGELIST>(SendMessageW(window->Toolbar(), TB_GETIMAGELIST, 0, 0));
    EXPECT_EQ(images ? ImageList_GetImageCount(images) : 0, 2);

    // Placement and pane height go back to the INI when the window closes.
    MoveWindow(window->Handle(), 20, 30, 400, 300, TRUE);
    DestroyWindow(window->Handle());
    EXPECT_EQ(RssWindow(), nullptr);
    EXPECT_EQ(NewsWindowTest::Ini(L"tester:main", L"rss_wnd_pos"), L"20, 30, 420, 330");
    EXPECT_EQ(NewsWindowTest::Ini(L"tester:main", L"rss_browser_height"), L"120");

    // The stored rectangle is used next time.
    window = ShowRssWindow(main_);
    ASSERT_NE(window, nullptr);
    GetWindowRect(window->Handle(), &rect);
    EXPECT_EQ(rect.left, 20);
    EXPECT_EQ(rect.bottom, 330);

    // One reaching in from a monitor on the left is read in full; one on no
    // monitor at all gives the default place.
    const std::pair<const wchar_t*, LONG> stored[] = {{L"-1000, 10, 300, 400", -1000},
                                                      {L"-1600, 10, -1100, 400", expected.left}};
    for (const auto& [text, left] : stored) {
        DestroyWindow(window->Handle());
        WriteIniString(UserIniPath().c_str(), L"tester:main", L"rss_wnd_pos", text);
        window = ShowRssWindow(main_);
        ASSERT_NE(window, nullptr);
        GetWindowRect(window->Handle(), &rect);
        EXPECT_EQ(rect.left, left) << text;
    }
}

TEST_F(NewsWindowTest, ToolbarShowsTheWindowFaceAroundItsButtons) {
    CRSSWindow* window = ShowRssWindow(main_);
    ASSERT_NE(window, nullptr);
    RedrawWindow(window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const testing_support::ShownPixels bar(window->Toolbar());
    ASSERT_GT(bar.Width(), 40);
    // Right of the two buttons the flat toolbar has nothing of its own.
    EXPECT_EQ(bar.At(bar.Width() - 4, bar.Height() / 2), GetSysColor(COLOR_BTNFACE));
}

TEST_F(NewsWindowTest, BackgroundRefreshLeavesTheActiveWindowAlone) {
    RSS::Channel* channel = FindOrCreateRssChannel(L"http://127.0.0.1/c.xml", L"c.xml", 0);
    channel->loaded = 1;
    channel->title = L"C";
    AddItem(channel, L"One", true);
    CRSSWindow* window = ShowRssWindow(main_);
    ASSERT_NE(window, nullptr);
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    ASSERT_EQ(GetActiveWindow(), other);
    AddItem(channel, L"Two", true);
    RefreshRssWindows(1, 1);
    Pump();
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_NE(GetFocus(), window->Tree());
    DestroyWindow(other);
}

TEST_F(NewsWindowTest, TreeShowsLoadedChannelsAndTheirItems) {
    CRSSWindow* window = ShowRssWindow(main_);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(TreeView_GetCount(window->Tree()), 0u);
    EXPECT_EQ(window->CurrentItem(), nullptr);

    RSS::Channel* unloaded = FindOrCreateRssChannel(L"http://127.0.0.1/a.xml", L"a.xml", 0);
    RSS::Channel* channel = FindOrCreateRssChannel(L"http://127.0.0.1/b.xml", L"b.xml", 1);
    ASSERT_NE(unloaded, nullptr);
    ASSERT_NE(channel, nullptr);
    window->Refresh();
    EXPECT_EQ(TreeView_GetCount(window->Tree()), 0u);  // nothing loaded yet

    channel->loaded = 1;
    channel->title = L"World";
    channel->expanded = 1;
    RSS::Item* first = AddItem(channel, L"Two\r\nlines\there", true);
    RSS::Item* second = AddItem(channel, L"Old", false);
    RefreshRssWindows(1, 0);
    HWND tree = window->Tree();
    ASSERT_EQ(TreeView_GetCount(tree), 3u);
    HTREEITEM root = TreeView_GetRoot(tree);
    EXPECT_EQ(NodeText(tree, root), L"World");
    HTREEITEM a = TreeView_GetChild(tree, root);
    HTREEITEM b = TreeView_GetNextSibling(tree, a);
    EXPECT_EQ(NodeText(tree, a), L"Two  lines here");
    EXPECT_NE(TreeView_GetItemState(tree, a, TVIS_BOLD) & TVIS_BOLD, 0u);
    EXPECT_EQ(TreeView_GetItemState(tree, b, TVIS_BOLD) & TVIS_BOLD, 0u);
    // An expanded first channel selects its first item.
    EXPECT_EQ(TreeView_GetSelection(tree), a);
    EXPECT_EQ(window->CurrentItem(), first);

    // The selected item is selected again after a rebuild.
    TreeView_SelectItem(tree, b);
    EXPECT_EQ(window->CurrentItem(), second);
    window->Refresh();
    EXPECT_EQ(NodeText(tree, TreeView_GetSelection(tree)), L"Old");

    // Collapsing stores the channel's flag under its own section.
    // (TVM_EXPAND sends no notice: the user's click is played here.)
    NMTREEVIEWW change = {};
    change.hdr.hwndFrom = tree;
    change.hdr.idFrom = kRssTreeId;
    change.hdr.code = TVN_ITEMEXPANDEDW;
    change.action = TVE_COLLAPSE;
    change.itemNew.hItem = TreeView_GetRoot(tree);
    SendMessageW(window->Handle(), WM_NOTIFY, kRssTreeId, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(channel->expanded, 0);
    EXPECT_EQ(Ini(L"tester:rss2", L"expanded"), L"0");

    // A removed item leaves the tree before it is destroyed.
    TreeView_SelectItem(tree, TreeView_GetChild(tree, TreeView_GetRoot(tree)));
    ASSERT_EQ(window->CurrentItem(), first);
    SendMessageW(window->Handle(), MSG_RSS_UPDATED, RSS::kItemRemoved, reinterpret_cast<LPARAM>(first));
    EXPECT_EQ(window->CurrentItem(), nullptr);
    EXPECT_EQ(TreeView_GetCount(tree), 2u);

    // A new flag cleared elsewhere shows in the node.
    second->isNew = 1;
    window->UpdateItemNode(second);
    HTREEITEM node = TreeView_GetSelection(tree);
    EXPECT_EQ(NodeText(tree, node), L"Old");
    EXPECT_NE(TreeView_GetItemState(tree, node, TVIS_BOLD) & TVIS_BOLD, 0u);

    ClearRssWindows();
    EXPECT_EQ(TreeView_GetCount(tree), 0u);
    EXPECT_EQ(window->CurrentItem(), nullptr);
}

TEST_F(NewsWindowTest, SplitterDragStopsAtBothEnds) {
    CRSSWindow* window = ShowRssWindow(main_);
    ASSERT_NE(window, nullptr);
    HWND w = window->Handle();
    RECT client = {};
    GetClientRect(w, &client);
    RECT bar = {};
    GetWindowRect(window->Toolbar(), &bar);
    const int toolbar = bar.bottom - bar.top;
    const int bandY = client.bottom - window->BrowserHeight() - 3;

    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, bandY));
    EXPECT_TRUE(window->Dragging());
    SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 0));
    EXPECT_EQ(window->BrowserHeight(), client.bottom - toolbar - 9);
    SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, client.bottom + 50));
    EXPECT_EQ(window->BrowserHeight(), 4);
    RECT browser = {};
    GetWindowRect(window->BrowserWindow(), &browser);
    EXPECT_EQ(browser.bottom - browser.top, 4);
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(20, client.bottom + 50));
    EXPECT_FALSE(window->Dragging());
    // Outside the band a press starts nothing.
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, toolbar + 2));
    EXPECT_FALSE(window->Dragging());
    DestroyWindow(w);
    EXPECT_EQ(Ini(L"tester:main", L"rss_browser_height"), L"4");
}

TEST_F(NewsWindowTest, CommandsAndLinks) {
    CRSSWindow* window = ShowRssWindow(main_);
    ASSERT_NE(window, nullptr);
    SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(kRssCmdDownload, 0),
                 reinterpret_cast<LPARAM>(window->Toolbar()));
    ASSERT_EQ(Notices().size(), 1u);
    EXPECT_EQ(Notices()[0].id, kRssCmdDownload);
    EXPECT_EQ(Notices()[0].from, window->Toolbar());
    Notices().clear();

    auto* host = reinterpret_cast<TWebf*>(GetWindowLongPtrW(window->BrowserWindow(), GWLP_USERDATA));
    ASSERT_NE(host, nullptr) << "the WebBrowser control could not be set up";
    IDispatch* top = nullptr;
    ASSERT_EQ(host->Browser()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&top)), S_OK);
    // The user's click in the page, then the navigation it makes in a frame.
    auto follow = [&](const wchar_t* link, IDispatch* frame) {
        PostMessageW(window->BrowserWindow(), WM_LBUTTONUP, 0, 0);
        Pump();
        BSTR url = SysAllocString(link);
        VARIANT urlValue;
        VariantInit(&urlValue);
        urlValue.vt = VT_BSTR;
        urlValue.bstrVal = url;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT args[7];
        for (VARIANT& a : args) VariantInit(&a);
        args[0].vt = VT_BOOL | VT_BYREF;
        args[0].pboolVal = &cancel;
        args[5].vt = VT_VARIANT | VT_BYREF;
        args[5].pvarVal = &urlValue;
        args[6].vt = VT_DISPATCH;
        args[6].pdispVal = frame;
        DISPPARAMS params = {args, nullptr, 7, 0};
        host->dispatch.Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr,
                              nullptr);
        SysFreeString(url);
        Pump();
    };
    follow(L"TEMPOVIA:Prefs-RSS", top);
    ASSERT_EQ(Notices().size(), 1u);
    EXPECT_EQ(Notices()[0].id, kRssCmdSettings);
    EXPECT_TRUE(system_.opened.empty());
    Notices().clear();

    // Any other link opens outside and marks the shown item read.
    RSS::Channel* channel = FindOrCreateRssChannel(L"http://127.0.0.1/c.xml", L"c.xml", 0);
    channel->loaded = 1;
    channel->title = L"C";
    RSS::Item* item = AddItem(channel, L"Fresh", true);
    window->Refresh();
    ASSERT_EQ(window->CurrentItem(), item);
    // Links to files, programs and other schemes, and a frame of the page
    // loading whatever it likes, open nothing.
    follow(L"file:///C:/windows/system32/calc.exe", top);
    follow(L"ms-settings:privacy", top);
    follow(L"  http://127.0.0.1/spaced", top);
    follow(L"http://127.0.0.1/framed", &host->dispatch);
    EXPECT_TRUE(system_.opened.empty());
    EXPECT_EQ(item->isNew, 1);
    follow(L"http://127.0.0.1/story?id=5", top);
    follow(L"MAILTO:news@example.com", top);
    ASSERT_EQ(system_.opened.size(), 2u);
    EXPECT_EQ(system_.opened[0], L"http://127.0.0.1/story?id=5");
    EXPECT_EQ(system_.opened[1], L"MAILTO:news@example.com");
    EXPECT_EQ(system_.lastShow, SW_SHOW);
    EXPECT_EQ(item->isNew, 0);
    HWND tree = window->Tree();
    EXPECT_EQ(TreeView_GetItemState(tree, TreeView_GetSelection(tree), TVIS_BOLD) & TVIS_BOLD, 0u);
    EXPECT_TRUE(Notices().empty());

    // The item's own link, double-clicked in the tree, likewise.
    item->link = L"\\\\127.0.0.1\\share\\run.exe";
    NMHDR dbl = {tree, static_cast<UINT_PTR>(kRssTreeId), static_cast<UINT>(NM_DBLCLK)};
    SendMessageW(window->Handle(), WM_NOTIFY, kRssTreeId, reinterpret_cast<LPARAM>(&dbl));
    EXPECT_EQ(system_.opened.size(), 2u);
    top->Release();
}

}  // namespace
