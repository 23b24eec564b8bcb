// MSG_RSS_DOWNLOADED through the main window procedure: only the download
// worker's own record is read.
#include <gtest/gtest.h>

#include <ole2.h>

#include <string>

#include "common/records/protocol.h"
#include "tempovia/main/app_state.h"
#include "tempovia/main/main_window.h"
#include "tempovia/news/rss_channels.h"
#include "tempovia/news/rss_download.h"
#include "tests/support/http_responder.h"
#include "tests/support/test_support.h"

namespace {

std::string Feed(const std::string& title) {
    return "<rss version=\"2.0\"><channel><title>" + title +
           "</title><link>http://127.0.0.1/</link><description>d</description>"
           "<item><title>One</title><guid>g1</guid></item></channel></rss>";
}

TEST(MainWindowNews, DownloadNoticeIsReadOnlyFromTheProgramsOwnWorker) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    RSS::SetOleReady(true);
    testing_support::TempDir dir;
    SetRssCacheFolder(dir.path().c_str());
    HttpResponder server(HttpResponder::Reply("200 OK", Feed("Fresh")));
    const std::string address = server.url("/feed.xml");
    const std::wstring url(address.begin(), address.end());
    ASSERT_TRUE(RegisterRssChannel(url.c_str(), 60, 0, 1, 1));
    RSS::Channel* channel = FindRssChannel(url.c_str());

    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const LONG_PTR own = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainWndProc));

    // A record made up by someone else, however plausible, is not read.
    ASSERT_TRUE(testing_support::WriteBytes(RssPartialFile(channel->cacheFile), Feed("Forged")));
    RssProgress forged{channel->url.c_str(), channel->cacheFile.c_str(), 200, 99, 0, 1};
    SendMessageW(window, MSG_RSS_DOWNLOADED, 200, reinterpret_cast<LPARAM>(&forged));
    EXPECT_EQ(0, channel->loaded);
    EXPECT_EQ(0, channel->lastJob);
    SendMessageW(window, MSG_RSS_DOWNLOADED, 200, 0x10);
    SendMessageW(window, MSG_RSS_DOWNLOADED, 0, static_cast<LPARAM>(-8));
    EXPECT_EQ(0, channel->loaded);

    // The worker's own notice is.
    g_app.mainWindow = window;
    ASSERT_TRUE(RssRefresh(false, OnRssDownloadProgress));
    MSG msg;
    for (int i = 0; i < 1000 && RssDownloadsRunning() != 0; ++i) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    }
    EXPECT_EQ(0, RssDownloadsRunning());
    EXPECT_EQ(1, channel->loaded);
    EXPECT_EQ(L"Fresh", channel->title);
    EXPECT_GT(channel->lastJob, 0);

    g_app.mainWindow = nullptr;
    SetWindowLongPtrW(window, GWLP_WNDPROC, own);
    DestroyWindow(window);
    DeleteRssChannels();
    SetRssCacheFolder(nullptr);
    RSS::SetOleReady(false);
    CoUninitialize();
}

}  // namespace
