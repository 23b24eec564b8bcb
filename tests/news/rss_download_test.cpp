#include <gtest/gtest.h>

#include <ole2.h>

#include <mutex>
#include <string>
#include <vector>

#include "common/records/global_settings.h"
#include "common/records/clock_table.h"
#include "tempovia/news/http_download.h"
#include "tempovia/news/rss_channels.h"
#include "tempovia/news/rss_download.h"
#include "tests/support/http_responder.h"
#include "tests/support/test_support.h"

namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

// What the callback saw, copied while the record was valid.
struct Step {
    std::wstring url;
    std::wstring cacheFile;
    int status;
    int32_t result, jobNumber, feedIndex, feedCount;
};

std::mutex g_lock;
std::vector<Step> g_steps;
int g_stopAfter = 1000;

bool Record(int status, void* record) {
    const auto* p = static_cast<const RssProgress*>(record);
    std::lock_guard<std::mutex> hold(g_lock);
    g_steps.push_back({p->url, p->cacheFile, status, p->result, p->jobNumber, p->feedIndex, p->feedCount});
    if (p->feedIndex == 0 && g_stopAfter == -1) g_settings.runFlags |= kRunFlagExiting;
    return static_cast<int>(g_steps.size()) < g_stopAfter;
}

std::string Feed(const std::string& title) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\"><channel><title>" + title +
           "</title><link>http://127.0.0.1/</link><description>d</description><ttl>15</ttl>"
           "<item><title>First</title><guid>g1</guid></item></channel></rss>\n";
}

bool WaitIdle() {
    for (int i = 0; i < 1000; ++i) {
        if (RssDownloadsRunning() == 0) return true;
        Sleep(10);
    }
    return false;
}

class DownloadJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WaitIdle());
        DeleteRssChannels();
        SetRssCacheFolder(dir_.path().c_str());
        std::lock_guard<std::mutex> hold(g_lock);
        g_steps.clear();
        g_stopAfter = 1000;
        g_settings.runFlags &= ~kRunFlagExiting;
    }
    void TearDown() override {
        EXPECT_TRUE(WaitIdle());
        g_settings.runFlags &= ~kRunFlagExiting;
        DeleteRssChannels();
        SetRssCacheFolder(nullptr);
    }
    std::vector<Step> Steps() {
        std::lock_guard<std::mutex> hold(g_lock);
        return g_steps;
    }
    TempDir dir_;
};

}  // namespace

TEST_F(DownloadJobTest, EveryFeedIsStoredAndReportedInOrder) {
    HttpResponder good(HttpResponder::Reply("200 OK", Feed("Good")));
    HttpResponder missing(HttpResponder::Reply("404 Not Found", "gone"));
    HttpResponder broken(HttpResponder::Reply("500 Internal Server Error", "oops"));
    HttpResponder malformed(HttpResponder::Reply("200 OK", "<rss><channel><title>cut"));
    const std::string closed = "http://127.0.0.1:" + std::to_string(UnusedTcpPort()) + "/feed.xml";
    const std::vector<std::string> urls = {good.url("/a.xml"), missing.url("/b.xml"), broken.url("/c.xml"),
                                           malformed.url("/d.xml"), closed};
    for (size_t i = 0; i < urls.size(); ++i) {
        const std::wstring url(urls[i].begin(), urls[i].end());
        ASSERT_TRUE(RegisterRssChannel(url.c_str(), 60, static_cast<int>(i), 1, 1));
    }
    // A failed download keeps what the cache held.
    const std::wstring missingCache = FindRssChannel(std::wstring(urls[1].begin(), urls[1].end()).c_str())->cacheFile;
    ASSERT_TRUE(WriteBytes(missingCache, Feed("Old")));

    ASSERT_TRUE(RssRefresh(false, Record));
    EXPECT_FALSE(RssRefresh(false, Record));  // one job at a time
    ASSERT_TRUE(WaitIdle());

    const std::vector<Step> steps = Steps();
    ASSERT_EQ(5u, steps.size());
    const int32_t job = steps[0].jobNumber;
    EXPECT_GE(job, 1);
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(std::wstring(urls[i].begin(), urls[i].end()), steps[i].url);
        EXPECT_EQ(GetRssChannel(static_cast<int>(i))->cacheFile, steps[i].cacheFile);
        EXPECT_EQ(static_cast<int32_t>(i), steps[i].feedIndex);
        EXPECT_EQ(5, steps[i].feedCount);
        EXPECT_EQ(job, steps[i].jobNumber);
        EXPECT_EQ(steps[i].status, steps[i].result);
    }
    EXPECT_EQ(200, steps[0].result);
    EXPECT_EQ(404, steps[1].result);
    EXPECT_EQ(500, steps[2].result);
    EXPECT_EQ(200, steps[3].result);
    EXPECT_LT(steps[4].result, 0);
    // Stored beside the cache until the main window has read it.
    EXPECT_EQ(Feed("Good"), ReadBytes(RssPartialFile(steps[0].cacheFile)));
    EXPECT_EQ(0xFFFFFFFFu, GetFileAttributesW(steps[0].cacheFile.c_str()));
    EXPECT_EQ(Feed("Old"), ReadBytes(missingCache));
    EXPECT_EQ(0xFFFFFFFFu, GetFileAttributesW(steps[2].cacheFile.c_str()));

    const std::string request = good.lastRequest();
    EXPECT_NE(request.find("GET /a.xml HTTP/1."), std::string::npos) << request;
    EXPECT_NE(request.find(RssAcceptLanguageHeader() + "\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("application/xml"), std::string::npos) << request;

    // The main window's side: parse after 200 only, keep the job number.
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    RSS::SetOleReady(true);
    for (size_t i = 0; i < steps.size(); ++i) {
        RssProgress p{steps[i].url.c_str(), steps[i].cacheFile.c_str(), steps[i].result,
                      steps[i].jobNumber, steps[i].feedIndex, steps[i].feedCount};
        const RssDownloadOutcome outcome = HandleRssDownloaded(steps[i].status, &p);
        EXPECT_EQ(i == 4, outcome.lastFeed);
        EXPECT_EQ(i == 0, outcome.parsed != nullptr) << i;
    }
    RSS::Channel* first = GetRssChannel(0);
    EXPECT_EQ(Feed("Good"), ReadBytes(steps[0].cacheFile));
    EXPECT_EQ(0xFFFFFFFFu, GetFileAttributesW(RssPartialFile(steps[0].cacheFile).c_str()));
    EXPECT_EQ(job, first->lastJob);
    EXPECT_EQ(L"Good", first->title);
    EXPECT_EQ(15, first->ttl);
    EXPECT_EQ(1, first->loaded);
    EXPECT_EQ(0, GetRssChannel(1)->lastJob);
    EXPECT_EQ(0, GetRssChannel(3)->loaded);  // malformed: reported, not parsed
    EXPECT_EQ(1, CountNewRssItems());
    EXPECT_EQ(RssDownloadOutcome{}.parsed, HandleRssDownloaded(200, nullptr).parsed);

    // Scheduled: the fresh channel is not due, the rest (never loaded) are.
    g_steps.clear();
    ASSERT_TRUE(RssRefresh(true, Record));
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(4u, Steps().size());
    EXPECT_EQ(GetRssChannel(1)->url, Steps()[0].url);
    EXPECT_GT(Steps()[0].jobNumber, job);

    // LoadRssCache parses what is on disk, and passes over folders.
    DeleteRssChannels();
    const std::wstring again(urls[1].begin(), urls[1].end());
    ASSERT_TRUE(RegisterRssChannel(again.c_str(), 60, 0, 1, 1));
    ASSERT_TRUE(RegisterRssChannel(L"http://127.0.0.1/folder", 60, 1, 1, 1));
    ASSERT_TRUE(CreateDirectoryW(GetRssChannel(1)->cacheFile.c_str(), nullptr));
    LoadRssCache();
    EXPECT_EQ(L"Old", GetRssChannel(0)->title);
    EXPECT_EQ(0, GetRssChannel(0)->CountNew());  // initial parse: nothing new
    EXPECT_EQ(0, GetRssChannel(1)->loaded);
    RemoveDirectoryW(GetRssChannel(1)->cacheFile.c_str());
    DeleteRssChannels();
    RSS::SetOleReady(false);
    CoUninitialize();
}

TEST_F(DownloadJobTest, CallbackRefusalAndExitingFlagEndTheJob) {
    HttpResponder server(HttpResponder::Reply("200 OK", Feed("X")));
    for (int i = 0; i < 3; ++i) {
        std::string path = "/";
        path += std::to_string(i);
        path += ".xml";
        const std::string url = server.url(path);
        ASSERT_TRUE(RegisterRssChannel(std::wstring(url.begin(), url.end()).c_str(), 60, i, 1, 1));
    }
    g_stopAfter = 1;  // the main window is gone after the first feed
    ASSERT_TRUE(RssRefresh(false, Record));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(1u, Steps().size());

    g_steps.clear();
    g_stopAfter = -1;  // the program starts exiting during the first feed
    ASSERT_TRUE(RssRefresh(false, Record));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(1u, Steps().size());

    g_steps.clear();
    ASSERT_TRUE(RssRefresh(false, Record));  // still exiting: nothing fetched
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(0u, Steps().size());
}

TEST_F(DownloadJobTest, NothingDueStartsNothing) {
    EXPECT_FALSE(RssRefresh(false, Record));  // no channel
    HttpResponder server(HttpResponder::Reply("200 OK", Feed("X")));
    const std::string url = server.url("/a.xml");
    ASSERT_TRUE(RegisterRssChannel(std::wstring(url.begin(), url.end()).c_str(), 60, 0, 1, 1));
    RSS::Channel* channel = GetRssChannel(0);
    channel->loaded = 1;
    SYSTEMTIME now = {};
    now.wYear = 2026;
    now.wMonth = 5;
    now.wDay = 1;
    now.wHour = 12;
    channel->downloaded = now;
    channel->downloaded.wHour = 11;
    channel->downloaded.wMinute = 1;
    EXPECT_FALSE(RssRefreshAt(true, Record, now));
    channel->downloaded.wMinute = 0;
    EXPECT_TRUE(RssRefreshAt(true, Record, now));
    ASSERT_TRUE(WaitIdle());
    channel->enabled = 0;
    EXPECT_FALSE(RssRefreshAt(false, Record, now));
    // Without a cache folder a channel has nowhere to be stored.
    channel->enabled = 1;
    channel->cacheFile.clear();
    EXPECT_FALSE(RssRefreshAt(false, Record, now));
    // Nor where its path would not fit a job: a cut path is some other file.
    DeleteRssChannels();
    const std::wstring deep = dir_.path() + L"\\" + std::wstring(250, L'd');
    SetRssCacheFolder(deep.c_str());
    ASSERT_TRUE(RegisterRssChannel(std::wstring(url.begin(), url.end()).c_str(), 60, 0, 1, 1));
    EXPECT_GT(GetRssChannel(0)->cacheFile.size(), kRssCachePathChars);
    EXPECT_FALSE(RssRefreshAt(false, Record, now));
    EXPECT_EQ(1u, Steps().size());
}

TEST_F(DownloadJobTest, AddressesTheCodePageCannotHoldWholeAreReportedNotFetched) {
    HttpResponder server(HttpResponder::Reply("200 OK", Feed("X")));
    // 511 characters fit the job, but the code page has none of these: the
    // address would go out with "?" in their place.
    std::string base = server.url("/");
    std::wstring url(base.begin(), base.end());
    url += std::wstring(kRssUrlChars - url.size(), L'\x4e2d');
    ASSERT_TRUE(RegisterRssChannel(url.c_str(), 60, 0, 1, 1));
    ASSERT_TRUE(RssRefresh(false, Record));
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(1u, Steps().size());
    EXPECT_NE(200, Steps()[0].result);
    EXPECT_EQ(0, server.requests());
}

TEST_F(DownloadJobTest, DamagedReplyKeepsTheGoodCachedFeed) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    RSS::SetOleReady(true);
    for (const char* body : {"<rss><channel><title>cut", "<html>login</html>"}) {
        HttpResponder server(HttpResponder::Reply("200 OK", body));
        const std::string address = server.url("/feed.xml");
        const std::wstring url(address.begin(), address.end());
        ASSERT_TRUE(RegisterRssChannel(url.c_str(), 60, 0, 1, 1));
        RSS::Channel* channel = FindRssChannel(url.c_str());
        ASSERT_TRUE(WriteBytes(channel->cacheFile, Feed("Kept")));
        LoadRssCache();
        ASSERT_EQ(1, channel->loaded);

        {
            std::lock_guard<std::mutex> hold(g_lock);
            g_steps.clear();
        }
        ASSERT_TRUE(RssRefresh(false, Record));
        ASSERT_TRUE(WaitIdle());
        ASSERT_EQ(1u, Steps().size());
        const Step step = Steps()[0];
        EXPECT_EQ(200, step.result);
        RssProgress p{step.url.c_str(), step.cacheFile.c_str(), step.result, step.jobNumber, 0, 1};
        EXPECT_EQ(nullptr, HandleRssDownloaded(step.status, &p).parsed);

        EXPECT_EQ(Feed("Kept"), ReadBytes(channel->cacheFile));
        EXPECT_EQ(1, channel->loaded);
        EXPECT_EQ(L"Kept", channel->title);
        EXPECT_EQ(1u, channel->itemsInOrder.size());
        // Still on its hourly schedule, not due on every tick.
        EXPECT_FALSE(RssRefresh(true, Record));
        EXPECT_EQ(0xFFFFFFFFu, GetFileAttributesW(RssPartialFile(channel->cacheFile).c_str()));
        DeleteRssChannels();
    }
    RSS::SetOleReady(false);
    CoUninitialize();
}

TEST_F(DownloadJobTest, AtExitTheDownloadUnderWayIsGivenUpAndTheThreadJoined) {
    // The first feed trickles in for a quarter of a minute; a second waits.
    HttpResponder slow(HttpResponder::Reply("200 OK", Feed("Slow")), 0, 60);
    HttpResponder next(HttpResponder::Reply("200 OK", Feed("Next")));
    for (const HttpResponder* server : {&slow, &next}) {
        const std::string url = server->url("/feed.xml");
        ASSERT_TRUE(RegisterRssChannel(std::wstring(url.begin(), url.end()).c_str(), 60, 0, 1, 1));
    }
    ASSERT_TRUE(RssRefresh(false, Record));
    for (int i = 0; i < 500 && slow.requests() == 0; ++i) Sleep(10);
    ASSERT_EQ(1, slow.requests());
    Sleep(300);  // well into the body

    const DWORD start = GetTickCount();
    StopRssDownloads();
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_EQ(0, RssDownloadsRunning());
    EXPECT_TRUE(Steps().empty());  // nobody left to tell
    EXPECT_EQ(0, next.requests());
}
