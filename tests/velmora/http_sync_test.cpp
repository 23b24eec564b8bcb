// Synchronisation from the Date header of a HEAD reply of an HTTP responder of
// the test's own, and the http_log.txt lines of failed requests.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "common/settings/http_log.h"
#include "tests/velmora/loopback.h"
#include "tests/velmora/sync_fixture.h"
#include "velmora/http_head.h"
#include "velmora/sync_codes.h"

using namespace velmora_test;

namespace {

std::string Reply(const std::string& statusLine, const std::string& headers) {
    return "HTTP/1.1 " + statusLine + "\r\n" + headers + "Content-Length: 0\r\nConnection: close\r\n\r\n";
}

const SYSTEMTIME kMoment = ServerMoment();
const std::string kDate = HttpDateHeader(kMoment);

std::string HttpLog() {
    wchar_t path[MAX_PATH];
    if (!GetHttpLogPath(path, MAX_PATH)) return "";
    return testing_support::ReadBytes(path);
}

}  // namespace

class HttpSyncTest : public SyncFixture {};

TEST_F(HttpSyncTest, DateHeaderSetsClock) {
    HttpResponder server(Reply("200 OK", kDate));
    ASSERT_TRUE(UseServer(LoopbackHttp(server.port(), "/time")));
    EventFired();
    EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncOk);
    ASSERT_EQ(clock.calls.size(), 1u);
    // The header carries whole seconds.
    EXPECT_EQ(Stamp(clock.calls[0]).substr(0, 19), Stamp(kMoment).substr(0, 19));
    EXPECT_EQ(LastResult(), 0);
    EXPECT_TRUE(EventFired());

    const std::string request = server.lastRequest();
    EXPECT_EQ(request.rfind("HEAD /time HTTP/1.1\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("User-Agent: Tempovia 5.0.0 64-bit"), std::string::npos) << request;
    EXPECT_NE(request.find("text/html"), std::string::npos) << request;
}

TEST_F(HttpSyncTest, NoContentWithDateAlsoSets) {
    HttpResponder server(Reply("204 No Content", kDate));
    ASSERT_TRUE(UseServer(LoopbackHttp(server.port())));
    EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncOk);
    EXPECT_EQ(clock.calls.size(), 1u);
}

TEST_F(HttpSyncTest, RepliesWithoutUsableDate) {
    struct Case {
        std::string reply;
        int code;
    } cases[] = {
        {Reply("200 OK", ""), kSyncNoTime},
        {Reply("200 OK", "Date: not a date at all\r\n"), kSyncNoTime},
        {Reply("200 OK", "Date: Mon, 45 Foo 1994 99:99:99 GMT\r\n"), kSyncNoTime},
        {Reply("200 OK", HttpDateHeader(ServerMoment(0, -25))), kSyncNoTime},  // long before the build
        {Reply("404 Not Found", kDate), kSyncNoNetwork},
        {Reply("500 Internal Server Error", kDate), kSyncNoNetwork},
        {Reply("200 OK", "X-Filler: " + std::string(60000, 'x') + "\r\n"), -1},  // huge header: any clear result
        {"garbage without any status line\r\n\r\n", -1},
    };
    for (const Case& c : cases) {
        HttpResponder server(c.reply);
        ASSERT_TRUE(UseServer(LoopbackHttp(server.port())));
        const int code = SyncOnce(kSyncTimeoutMs);
        if (c.code >= 0) {
            EXPECT_EQ(code, c.code) << c.reply.substr(0, 60);
        } else {
            EXPECT_NE(code, kSyncOk) << c.reply.substr(0, 60);
            EXPECT_NE(code, kSyncInProgress);
        }
        EXPECT_EQ(LastResult(), code);
    }
    EXPECT_TRUE(clock.calls.empty());
}

TEST_F(HttpSyncTest, SlowReplyBeyondWaitIsNoReply) {
    HttpResponder server(Reply("200 OK", kDate), 400);
    ASSERT_TRUE(UseServer(LoopbackHttp(server.port())));
    Common(L"http_sync_wait", L"100");
    ReadSyncSettings();
    EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncNoReply);
    EXPECT_TRUE(clock.calls.empty());
}

TEST_F(HttpSyncTest, RedirectsAreFollowedAFewTimesOnly) {
    HttpResponder target(Reply("200 OK", kDate));
    HttpResponder hop(Reply("302 Found", "Location: " + target.url("/time") + "\r\n"));
    ASSERT_TRUE(UseServer(LoopbackHttp(hop.port())));
    EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncOk);
    EXPECT_EQ(target.requests(), 1);

    // A server that sends every request back to itself.
    HttpResponder circle(Reply("302 Found", "Location: /again\r\n"));
    ASSERT_TRUE(UseServer(LoopbackHttp(circle.port())));
    EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncNoNetwork);
    EXPECT_EQ(circle.requests(), kHeadMostRedirects + 1);
    EXPECT_EQ(clock.calls.size(), 1u);
}

TEST_F(HttpSyncTest, AReplyTrickledByteByByteEndsAtTheTimeout) {
    HttpResponder server(Reply("200 OK", kDate));
    server.Trickle(150);  // about 15 s for the whole reply
    ASSERT_TRUE(UseServer(LoopbackHttp(server.port())));
    const DWORD t0 = GetTickCount();
    EXPECT_EQ(SyncOnce(1000), kSyncNoReply);
    EXPECT_LT(GetTickCount() - t0, 5000u);
    EXPECT_EQ(LastResult(), 135);
    EXPECT_TRUE(clock.calls.empty());
}

TEST_F(HttpSyncTest, ConnectionFailureAndMalformedUrlAreLogged) {
    ASSERT_TRUE(UseServer(LoopbackHttp(UnusedTcpPort(), "/nothing")));
    EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncSendFailed);
    std::string log = HttpLog();
    EXPECT_NE(log.find("GetLatest: HttpSendRequest() returned "), std::string::npos) << log;
    EXPECT_NE(log.find("/nothing\r\n"), std::string::npos) << log;

    ASSERT_TRUE(UseServer(L"http://"));
    EXPECT_EQ(SyncOnce(kSyncTimeoutMs), kSyncBadServer);
    EXPECT_EQ(LastResult(), 130);
    log = HttpLog();  // a new session started the file anew
    EXPECT_EQ(log.find("HttpSendRequest"), std::string::npos) << log;
    EXPECT_NE(log.find(" Malformed url:\r\n"), std::string::npos) << log;
    EXPECT_TRUE(clock.calls.empty());
}

namespace {

// The certificate checks WinINet was told of, for each request as it is made.
std::mutex g_noted;
std::vector<DWORD> g_securityFlags;

void CALLBACK NoteRequest(HINTERNET, DWORD_PTR, DWORD status, LPVOID info, DWORD) {
    if (status != INTERNET_STATUS_HANDLE_CREATED || !info) return;
    HINTERNET made = reinterpret_cast<HINTERNET>(static_cast<INTERNET_ASYNC_RESULT*>(info)->dwResult);
    std::lock_guard<std::mutex> hold(g_noted);
    g_securityFlags.push_back(0);
    DWORD size = sizeof(DWORD);
    if (!InternetQueryOptionA(made, INTERNET_OPTION_SECURITY_FLAGS, &g_securityFlags.back(), &size))
        g_securityFlags.pop_back();
}

}  // namespace

TEST_F(HttpSyncTest, ARedirectToHttpsChecksTheCertificateInFull) {
    HttpResponder plain(Reply("200 OK", kDate));  // speaks no TLS: the handshake fails
    HttpResponder hop(Reply("302 Found", "Location: https://127.0.0.1:" + std::to_string(plain.port()) + "/\r\n"));
    CHttpSession session;
    ASSERT_TRUE(OpenHttpSession(session, INTERNET_FLAG_ASYNC));
    InternetSetStatusCallbackA(session.internet, NoteRequest);
    EXPECT_NE(GetLatest(session, hop.url("/time").c_str(), nullptr, nullptr, nullptr, 0), 200);
    CloseHttpSession(session);
    std::lock_guard<std::mutex> hold(g_noted);
    constexpr DWORD kIgnored = SECURITY_FLAG_IGNORE_CERT_CN_INVALID | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID;
    // The http request lets the faults pass as it always did (so they are seen
    // here); the https one made last lets none pass.
    ASSERT_GE(g_securityFlags.size(), 2u);
    EXPECT_TRUE(std::any_of(g_securityFlags.begin(), g_securityFlags.end() - 1,
                            [&](DWORD f) { return (f & kIgnored) == kIgnored; }));
    EXPECT_EQ(g_securityFlags.back() & kIgnored, 0u) << std::hex << g_securityFlags.back();
}

TEST_F(HttpSyncTest, GetLatestFillsSessionAndHeaders) {
    HttpResponder server(Reply("200 Fine", kDate + "Last-Modified: Wed, 16 Nov 1994 09:00:00 GMT\r\n"
                                                   "Content-Type: text/plain\r\nX-Zone: Mars\r\n"));
    CHttpSession session;
    ASSERT_TRUE(OpenHttpSession(session));
    SYSTEMTIME modified{};
    char headers[64] = "";
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/";
    EXPECT_EQ(GetLatest(session, url.c_str(), &modified, "X-Zone: \nX-None: ", headers, sizeof(headers)), 200);
    EXPECT_EQ(session.status, 200);
    EXPECT_STREQ(session.statusText, "Fine");
    EXPECT_STREQ(session.contentType, "text/plain");
    EXPECT_EQ(session.date.wDay, kMoment.wDay);
    EXPECT_EQ(modified.wDay, 16);
    EXPECT_STREQ(headers, "X-Zone: Mars\nX-None: ");
    CloseHttpSession(session);
    EXPECT_EQ(session.internet, nullptr);
}
