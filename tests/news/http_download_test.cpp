#include <gtest/gtest.h>

#include <string>

#include "tempovia/news/http_download.h"
#include "tests/support/http_responder.h"
#include "tests/support/test_support.h"

namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(session_.internet, nullptr); }

    ScopedHttpSession scope_;
    CHttpSession& session_ = scope_.get();
    TempDir dir_;
};

TEST_F(DownloadTest, StoresTheBodyOfA200Reply) {
    const std::string body = "<rss version=\"2.0\"><channel/></rss>";
    HttpResponder server(HttpResponder::Reply("200 OK", body, "Content-Type: text/xml; charset=utf-8\r\n"));
    static const char* feedTypes[] = {"text/xml", "application/xml", "text/plain", nullptr};
    session_.acceptTypes = feedTypes;
    session_.extraHeaders = "Accept-Language: de,en";
    const std::wstring file = dir_.file(L"feed.xml");

    EXPECT_EQ(DownloadFile(session_, server.url("/news/feed.xml?a=1&b=2").c_str(), file.c_str()), 200);
    EXPECT_EQ(ReadBytes(file), body);
    EXPECT_EQ(session_.status, 200);
    EXPECT_STREQ(session_.statusText, "OK");
    EXPECT_STREQ(session_.contentType, "text/xml; charset=utf-8");
    EXPECT_EQ(session_.date.wYear, 2008);
    EXPECT_EQ(session_.date.wMonth, 6);
    EXPECT_EQ(session_.date.wDay, 3);
    EXPECT_EQ(session_.date.wHour, 9);

    const std::string request = server.lastRequest();
    EXPECT_EQ(request.rfind("GET /news/feed.xml?a=1&b=2 HTTP/1.", 0), 0u) << request;
    EXPECT_NE(request.find("Accept-Language: de,en\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("User-Agent: Tempovia "), std::string::npos) << request;
    EXPECT_NE(request.find("text/xml"), std::string::npos) << request;
    EXPECT_EQ(session_.logFile, nullptr);  // nothing to log
}

TEST_F(DownloadTest, BodiesLargerThanOneChunkArriveWhole) {
    std::string body(2 * 1048576 + 12345, '\0');
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7 + i / 977);
    HttpResponder server(HttpResponder::Reply("200 OK", body, "Content-Type: application/octet-stream\r\n"));
    const std::wstring file = dir_.file(L"big.bin");
    EXPECT_EQ(DownloadFile(session_, server.url("/big").c_str(), file.c_str()), 200);
    EXPECT_TRUE(ReadBytes(file) == body);
}

TEST_F(DownloadTest, OtherStatusesLeaveTheTargetAlone) {
    HttpResponder server(HttpResponder::Reply("404 Not Found", "missing"));
    const std::wstring file = dir_.file(L"kept.xml");
    ASSERT_TRUE(WriteBytes(file, "old contents"));
    EXPECT_EQ(DownloadFile(session_, server.url("/gone").c_str(), file.c_str()), 404);
    EXPECT_EQ(ReadBytes(file), "old contents");
    EXPECT_EQ(session_.status, 404);
    EXPECT_STREQ(session_.statusText, "Not Found");
    EXPECT_EQ(session_.logFile, nullptr);
}

TEST_F(DownloadTest, AReplyCutShortOfItsLengthIsNotStored) {
    // The server closes the connection after 10 of the 1000 bytes it named.
    HttpResponder server("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nConnection: close\r\n\r\n0123456789");
    const std::wstring file = dir_.file(L"cut.jpg");
    EXPECT_EQ(DownloadFile(session_, server.url("/1.jpg").c_str(), file.c_str()), kDownloadIncomplete);
}

TEST_F(DownloadTest, EmptyBodyIsNotAStoredFile) {
    HttpResponder server(HttpResponder::Reply("200 OK", ""));
    const std::wstring file = dir_.file(L"empty.xml");
    EXPECT_EQ(DownloadFile(session_, server.url("/").c_str(), file.c_str()), -101);
    EXPECT_EQ(GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES, true);
    EXPECT_EQ(ReadBytes(file), "");
}

TEST_F(DownloadTest, TargetThatCannotBeCreated) {
    HttpResponder server(HttpResponder::Reply("200 OK", "body"));
    const std::wstring file = dir_.file(L"no such folder\\x.xml");
    EXPECT_EQ(DownloadFile(session_, server.url("/").c_str(), file.c_str()), -100);
}

TEST_F(DownloadTest, UrlsThatCannotBeSplit) {
    const std::wstring file = dir_.file(L"never.xml");
    EXPECT_EQ(DownloadFile(session_, "no scheme or host", file.c_str()), -1);
    EXPECT_EQ(DownloadFile(session_, "http://", file.c_str()), -1);
    EXPECT_EQ(DownloadFile(session_, "", file.c_str()), -1);
    EXPECT_EQ(DownloadFile(session_, nullptr, file.c_str()), -1);
    const std::string longHost = "http://" + std::string(64, 'h') + "/x";
    EXPECT_EQ(DownloadFile(session_, longHost.c_str(), file.c_str()), -1);
    EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(session_.status, 0);
}

TEST_F(DownloadTest, NoSessionOrNoServer) {
    const std::wstring file = dir_.file(L"never.xml");
    CHttpSession closed{};
    EXPECT_EQ(DownloadFile(closed, "http://127.0.0.1:1/x", file.c_str()), -2);

    const std::string url = "http://127.0.0.1:" + std::to_string(UnusedTcpPort()) + "/x";
    EXPECT_EQ(DownloadFile(session_, url.c_str(), file.c_str()), -3);
    EXPECT_NE(session_.lastError, 0u);
    EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(DownloadTest, OverlongUrlIsCut) {
    HttpResponder server(HttpResponder::Reply("200 OK", "x"));
    std::string url = server.url("/") + std::string(3000, 'p');
    const std::wstring file = dir_.file(L"cut.xml");
    EXPECT_EQ(DownloadFile(session_, url.c_str(), file.c_str()), 200);
    const std::string request = server.lastRequest();
    const size_t line = request.find(" HTTP/1.");
    ASSERT_NE(line, std::string::npos);
    // "GET " plus what is left of the 1023 bytes after the scheme, host and port.
    EXPECT_EQ(line - 4, 1023 - server.url("").size());
}

}  // namespace

namespace {

TEST_F(DownloadTest, HttpsIsNeverSentAsPlainText) {
    HttpResponder server(HttpResponder::Reply("200 OK", "<rss/>"));
    const std::string url = "https://127.0.0.1:" + std::to_string(server.port()) + "/feed.xml";
    const std::wstring file = dir_.file(L"secure.xml");
    EXPECT_NE(DownloadFile(session_, url.c_str(), file.c_str()), 200);
    const std::string request = server.lastRequest();
    ASSERT_FALSE(request.empty());
    EXPECT_NE(request.rfind("GET ", 0), 0u) << request;
    EXPECT_EQ(static_cast<unsigned char>(request[0]), 0x16u);  // a TLS handshake record
    EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(DownloadTest, RedirectsAreFollowedAFewTimesOnly) {
    HttpResponder target(HttpResponder::Reply("200 OK", "moved body"));
    HttpResponder hop(HttpResponder::Reply("301 Moved", "", "Location: " + target.url("/new.xml") + "\r\n"));
    const std::wstring file = dir_.file(L"moved.xml");
    EXPECT_EQ(DownloadFile(session_, hop.url("/old.xml").c_str(), file.c_str()), 200);
    EXPECT_EQ(ReadBytes(file), "moved body");
    EXPECT_EQ(target.lastRequest().rfind("GET /new.xml ", 0), 0u);

    // An address that redirects to itself.
    HttpResponder loop(HttpResponder::Reply("302 Found", "", "Location: /loop.xml\r\n"));
    const std::wstring never = dir_.file(L"loop.xml");
    EXPECT_EQ(DownloadFile(session_, loop.url("/loop.xml").c_str(), never.c_str()), 302);
    EXPECT_EQ(loop.requests(), 1 + kDownloadMaxRedirects);
    EXPECT_EQ(GetFileAttributesW(never.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(DownloadTest, AServerThatTricklesIsCutOffAtTheTimeLimit) {
    // Five thousand bytes, one every 20 ms: the body would take 100 s.
    HttpResponder server(HttpResponder::Reply("200 OK", std::string(5000, 'x')), 0, 20);
    const std::wstring file = dir_.file(L"slow.xml");
    EXPECT_EQ(DownloadFile(session_, server.url("/slow.xml").c_str(), file.c_str(), 1000), -101);
    EXPECT_LT(ReadBytes(file).size(), 5000u);

    // A server that says nothing at all.
    HttpResponder silent(HttpResponder::Reply("200 OK", "late"), 5000);
    EXPECT_EQ(DownloadFile(session_, silent.url("/late.xml").c_str(), file.c_str(), 1000), -3);
}

}  // namespace
