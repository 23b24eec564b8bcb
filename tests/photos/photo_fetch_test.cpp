#include "tests/photos/photo_fixture.h"

#include "common/records/global_settings.h"
#include "common/records/protocol.h"
#include "common/records/clock_table.h"
#include "tempovia/news/http_download.h"
#include "tempovia/photos/photo_service.h"
#include "tempovia/photos/photo_worker.h"

namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

const std::string kJpeg = std::string("\xFF\xD8\xFF\xE0", 4) + "not really a picture";

class FetchTest : public PhotoTest {
protected:
    void SetUp() override {
        PhotoTest::SetUp();
        ASSERT_TRUE(QueuePhotoRequest(0, window_));  // makes the root
        StopStandInWorker();
        ASSERT_NE(session_.internet, nullptr);
    }
    // Index files from one server, photos from another.
    void Serve(HttpResponder& index, HttpResponder& photos) {
        SetPhotoService(index.url("/cms/"), photos.url(""));
    }
    std::wstring berlin() const { return cityFolder(L"Germany", L"Berlin"); }

    ScopedHttpSession scope_;
    CHttpSession& session_ = scope_.get();
};

TEST_F(FetchTest, AnIndexADaySoOldIsFetchedAgain) {
    const std::string fresh = "1\t-\t/p/1.jpg\tnew\n";
    HttpResponder index(HttpResponder::Reply("200 OK", fresh, "Content-Type: text/plain\r\n"));
    HttpResponder photos(HttpResponder::Reply("404 Not Found", ""));
    Serve(index, photos);
    ASSERT_TRUE(CreateDirectoryW((root() + L"\\Germany").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(berlin().c_str(), nullptr));
    const std::wstring file = berlin() + L"\\index.tsv";
    WriteDated(file, "old\n", kTestEpoch);

    now_ = kTestEpoch + 86399 * kSecond;
    EXPECT_TRUE(FetchPhotoIndex(session_, Request(0)));
    EXPECT_EQ(index.requests(), 0);
    EXPECT_EQ(ReadBytes(file), "old\n");
    EXPECT_TRUE(TakeReplies().empty());

    now_ = kTestEpoch + 86400 * kSecond;
    EXPECT_TRUE(FetchPhotoIndex(session_, Request(0)));
    EXPECT_EQ(index.requests(), 1);
    EXPECT_EQ(index.lastRequest().rfind("GET /cms/Germany/Berlin/index.tsv HTTP/1.", 0), 0u) << index.lastRequest();
    EXPECT_NE(index.lastRequest().find("text/plain"), std::string::npos);
    EXPECT_EQ(index.lastRequest().find("Accept-Language"), std::string::npos);
    EXPECT_EQ(ReadBytes(file), fresh);
    const auto replies = TakeReplies();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].message, MSG_PHOTO_INDEX_READY);
    EXPECT_EQ(replies[0].wParam, 0);
    EXPECT_EQ(replies[0].lParam, 0);
}

TEST_F(FetchTest, AMissingIndexThatCannotBeFetchedKeepsWhatWasThere) {
    HttpResponder index(HttpResponder::Reply("404 Not Found", "gone"));
    HttpResponder photos(HttpResponder::Reply("404 Not Found", ""));
    Serve(index, photos);
    EXPECT_FALSE(FetchPhotoIndex(session_, Request(-1)));  // folder made, nothing stored
    EXPECT_EQ(index.lastRequest().rfind("GET /cms/Germany/index.tsv ", 0), 0u) << index.lastRequest();
    EXPECT_EQ(GetFileAttributesW((root() + L"\\Germany\\index.tsv").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((root() + L"\\Germany\\index.tsv$").c_str()), INVALID_FILE_ATTRIBUTES);

    // A stale index stays when the refresh fails.
    WriteDated(root() + L"\\Germany\\index.tsv", "kept\n", kTestEpoch - 2 * 86400 * kSecond);
    EXPECT_FALSE(FetchPhotoIndex(session_, Request(-1)));
    EXPECT_EQ(ReadBytes(root() + L"\\Germany\\index.tsv"), "kept\n");
    EXPECT_TRUE(TakeReplies().empty());
    // An index that is a folder is never read.
    ASSERT_TRUE(CreateDirectoryW((root() + L"\\France").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((root() + L"\\France\\index.tsv").c_str(), nullptr));
    now_ = kTestEpoch;
    EXPECT_FALSE(FetchPhotoIndex(session_, Request(-3)));
}

TEST_F(FetchTest, TheFirstMissingPhotoIsDownloaded) {
    HttpResponder index(HttpResponder::Reply("404 Not Found", ""));
    HttpResponder photos(HttpResponder::Reply("200 OK", kJpeg, "Content-Type: image/jpeg\r\n"));
    Serve(index, photos);
    ASSERT_TRUE(CreateDirectoryW((root() + L"\\Germany").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(berlin().c_str(), nullptr));
    WriteDated(berlin() + L"\\index.tsv",
               "# photos of Berlin\r\n"
               "\r\n"
               "1\t-\t/p/1.jpg\tGate\t/w/1.htm\r\n"
               "2\t-\t/p/two.jpg\tTower\t/w/2.htm\r\n"
               "3\t-\t/p/3.jpg\tWall\t/w/3.htm\r\n",
               kTestEpoch);
    ASSERT_TRUE(WriteBytes(berlin() + L"\\1.jpg", "cached"));

    const DWORD flags = session_.requestFlags;
    EXPECT_EQ(FetchPhotos(session_, Request(0)), 1);
    EXPECT_EQ(session_.requestFlags, flags);
    EXPECT_EQ(photos.requests(), 1);
    const std::string request = photos.lastRequest();
    EXPECT_EQ(request.rfind("GET /p/two.jpg HTTP/1.", 0), 0u) << request;
    EXPECT_NE(request.find("image/jpeg"), std::string::npos) << request;
    EXPECT_EQ(ReadBytes(berlin() + L"\\2.jpg"), kJpeg);
    EXPECT_EQ(ReadBytes(berlin() + L"\\1.jpg"), "cached");
    EXPECT_EQ(GetFileAttributesW((berlin() + L"\\3.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((berlin() + L"\\2.jpg$").c_str()), INVALID_FILE_ATTRIBUTES);
    const auto replies = TakeReplies();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].message, MSG_PHOTO_READY);
    EXPECT_EQ(replies[0].wParam, 0);
    EXPECT_EQ(replies[0].lParam, 2);

    // The next serving takes the next photo; with all on disk nothing is asked.
    EXPECT_EQ(FetchPhotos(session_, Request(0)), 1);
    EXPECT_EQ(FetchPhotos(session_, Request(0)), 0);
    EXPECT_EQ(photos.requests(), 2);
}

TEST_F(FetchTest, AFailedPhotoMovesOnAndBadLinesAreSafe) {
    HttpResponder index(HttpResponder::Reply("404 Not Found", ""));
    HttpResponder photos(HttpResponder::Reply("404 Not Found", "no"));
    Serve(index, photos);
    ASSERT_TRUE(CreateDirectoryW((root() + L"\\Germany").c_str(), nullptr));
    std::string list = "4\tHamburg\t-\t/p/4.jpg\tHarbour\n";
    list += "5\t..\t-\t/p/5.jpg\tUp\n";                       // would be the country folder's parent
    list += "6\t..\\..\\..\\Windows\t-\t/p/6.jpg\tFar\n";     // made safe: stays below the country
    list += "7\t" + std::string(20000, 'x') + "\n";           // cut; its rest is no line
    list += "8\tHamburg\t-\t/p/8.jpg\n";                      // too short: the reading ends
    list += "9\tHamburg\t-\t/p/9.jpg\tLate\n";
    WriteDated(root() + L"\\Germany\\index.tsv", list, kTestEpoch);

    EXPECT_EQ(FetchPhotos(session_, Request(-1)), 0);
    // Lines 4 and 6 were tried; the long line has too few fields.
    EXPECT_EQ(photos.requests(), 2);
    EXPECT_EQ(photos.lastRequest().rfind("GET /p/6.jpg ", 0), 0u) << photos.lastRequest();
    EXPECT_NE(GetFileAttributesW((root() + L"\\Germany\\......Windows").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((dir_.path() + L"\\Dravik\\5.jpg$").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((root() + L"\\5.jpg$").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(TakeReplies().empty());
}

TEST_F(FetchTest, ACountryRequestFilesEachPhotoUnderItsCity) {
    HttpResponder index(HttpResponder::Reply("200 OK", "10\tHamburg\t-\t/p/10.jpg\tHarbour\t/w/10\n",
                                             "Content-Type: text/plain\r\n"));
    HttpResponder photos(HttpResponder::Reply("200 OK", kJpeg, "Content-Type: image/jpeg\r\n"));
    Serve(index, photos);
    ASSERT_TRUE(QueuePhotoRequest(-1, window_));
    RunPhotoQueue();
    EXPECT_EQ(ThePhotoQueue().count(), 0);
    EXPECT_EQ(ReadBytes(cityFolder(L"Germany", L"Hamburg") + L"\\10.jpg"), kJpeg);
    const auto replies = TakeReplies();
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].message, MSG_PHOTO_INDEX_READY);
    EXPECT_EQ(replies[0].wParam, -1);
    EXPECT_EQ(replies[1].message, MSG_PHOTO_READY);
    EXPECT_EQ(replies[1].wParam, -1);
    EXPECT_EQ(replies[1].lParam, 10);
}

TEST_F(FetchTest, TheNewestRequestIsServedFirst) {
    HttpResponder index(HttpResponder::Reply("200 OK", "3\t-\t/p/3.jpg\tx\n", "Content-Type: text/plain\r\n"));
    HttpResponder photos(HttpResponder::Reply("200 OK", kJpeg, "Content-Type: image/jpeg\r\n"));
    Serve(index, photos);
    ASSERT_TRUE(QueuePhotoRequest(0, window_));
    ASSERT_TRUE(QueuePhotoRequest(2, window_));
    ASSERT_TRUE(QueuePhotoRequest(3, window_));
    RunPhotoQueue();
    std::vector<INT_PTR> served;
    for (const auto& reply : TakeReplies()) {
        if (reply.message == MSG_PHOTO_READY) served.push_back(reply.wParam);
    }
    EXPECT_EQ(served, (std::vector<INT_PTR>{3, 2, 0}));
    EXPECT_EQ(ReadBytes(cityFolder(L"Brazil", L"São Paulo") + L"\\3.jpg"), kJpeg);
}

TEST_F(FetchTest, AnExitingProgramIsToldNothing) {
    HttpResponder index(HttpResponder::Reply("200 OK", "3\t-\t/p/3.jpg\tx\n", "Content-Type: text/plain\r\n"));
    HttpResponder photos(HttpResponder::Reply("200 OK", kJpeg, "Content-Type: image/jpeg\r\n"));
    Serve(index, photos);
    g_settings.runFlags = kRunFlagExiting;
    EXPECT_FALSE(FetchPhotoIndex(session_, Request(0)));
    EXPECT_EQ(index.requests(), 0);
    g_settings.runFlags = 0;
}

TEST_F(FetchTest, TheWorkerThreadAnswersOnItsOwn) {
    HttpResponder index(HttpResponder::Reply("200 OK", "3\t-\t/p/3.jpg\tx\n", "Content-Type: text/plain\r\n"));
    HttpResponder photos(HttpResponder::Reply("200 OK", kJpeg, "Content-Type: image/jpeg\r\n"));
    Serve(index, photos);
    SetPhotoWorkerStarter(nullptr);
    ASSERT_TRUE(QueuePhotoRequest(3, window_));
    std::vector<PhotoReply> replies;
    const DWORD start = GetTickCount();
    while (replies.size() < 2 && GetTickCount() - start < 10000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
        for (const auto& reply : TakeReplies()) replies.push_back(reply);
    }
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[1].message, MSG_PHOTO_READY);
    EXPECT_EQ(replies[1].wParam, 3);
    EXPECT_EQ(replies[1].lParam, 3);
    EXPECT_EQ(ReadBytes(cityFolder(L"France", L"Paris") + L"\\3.jpg"), kJpeg);
    // The queue empties once the worker is through.
    while (ThePhotoQueue().count() != 0 && GetTickCount() - start < 10000) Sleep(10);
    EXPECT_EQ(ThePhotoQueue().count(), 0);
    EXPECT_TRUE(WaitForPhotoWorkers(10000));
}

TEST_F(FetchTest, AtExitADownloadUnderWayIsGivenUp) {
    // The program ends while the worker waits for the index: for its reply or
    // for the rest of its body, either of which would take a minute.
    const std::string reply = HttpResponder::Reply("200 OK", std::string(1000, 'x'), "Content-Type: text/plain\r\n");
    for (const bool bodyOnly : {false, true}) {
        SCOPED_TRACE(bodyOnly ? "body" : "reply");
        HttpResponder index(reply, 0, bodyOnly ? 60 : 0);
        if (!bodyOnly) index.Trickle(60);
        HttpResponder photos(HttpResponder::Reply("200 OK", kJpeg, "Content-Type: image/jpeg\r\n"));
        Serve(index, photos);
        SetPhotoWorkerStarter(nullptr);
        ASSERT_TRUE(QueuePhotoRequest(3, window_));
        for (int i = 0; i < 500 && index.requests() == 0; ++i) Sleep(10);
        ASSERT_EQ(index.requests(), 1);
        Sleep(300);  // well into the reply
        g_settings.runFlags = kRunFlagExiting;
        ClearPhotoQueue();
        const DWORD start = GetTickCount();
        EXPECT_TRUE(WaitForPhotoWorkers(kDownloadTimeLimitMs + 2000));
        EXPECT_LT(GetTickCount() - start, 2000u);
        EXPECT_EQ(photos.requests(), 0);
        g_settings.runFlags = 0;
    }
}

}  // namespace
