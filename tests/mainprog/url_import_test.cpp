// URL import requests that the settings program sends the main window, and the
// blocks of other kinds it must refuse.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/records/protocol.h"
#include "common/settings/ini_paths.h"
#include "tempovia/main/tray_protocol.h"
#include "tests/support/http_responder.h"
#include "tests/support/test_support.h"

namespace {

COPYDATASTRUCT Block(ULONG_PTR kind, const void* data, DWORD bytes) {
    COPYDATASTRUCT cds = {};
    cds.dwData = kind;
    cds.cbData = bytes;
    cds.lpData = const_cast<void*>(data);
    return cds;
}

TEST(UrlImportBlock, NeverReadsPastTheBlock) {
    // An unterminated block: exactly four characters, then memory the sender
    // does not own. Guard characters stand behind it here.
    const wchar_t text[] = L"http!!!!";
    COPYDATASTRUCT cds = Block(COPYDATA_URL_IMPORT, text, 4 * sizeof(wchar_t));
    EXPECT_EQ(UrlFromImportBlock(cds), L"http");
    cds.cbData = 9;  // an odd size keeps only whole characters
    EXPECT_EQ(UrlFromImportBlock(cds), L"http");
    cds.cbData = 1;
    EXPECT_EQ(UrlFromImportBlock(cds), L"");
    cds.lpData = nullptr;
    cds.cbData = 100;
    EXPECT_EQ(UrlFromImportBlock(cds), L"");
}

TEST(UrlImportBlock, CutAtZeroAndAt511Characters) {
    const wchar_t text[] = L"ab\0cd";
    EXPECT_EQ(UrlFromImportBlock(Block(COPYDATA_URL_IMPORT, text, sizeof text)), L"ab");
    std::wstring longUrl(2000, L'u');
    const std::wstring url = UrlFromImportBlock(
        Block(COPYDATA_URL_IMPORT, longUrl.c_str(), static_cast<DWORD>(longUrl.size() * sizeof(wchar_t))));
    EXPECT_EQ(url.size(), kUrlImportMaxChars);
}

TEST(MainCopyData, OtherKindsAndEmptyBlocksAreRefused) {
    const wchar_t text[] = L"http://127.0.0.1/x.ini";
    for (ULONG_PTR kind : {COPYDATA_SETTINGS, COPYDATA_CLOCKS, COPYDATA_CITIES, COPYDATA_ALARMS_BASE,
                           static_cast<ULONG_PTR>(0x8021)}) {
        COPYDATASTRUCT cds = Block(kind, text, sizeof text);
        EXPECT_EQ(OnMainCopyData(nullptr, nullptr, &cds), 0) << kind;
    }
    COPYDATASTRUCT empty = Block(COPYDATA_URL_IMPORT, text, 0);
    EXPECT_EQ(OnMainCopyData(nullptr, nullptr, &empty), 0);
    const wchar_t zero[] = L"\0rest";
    COPYDATASTRUCT blank = Block(COPYDATA_URL_IMPORT, zero, sizeof zero);
    EXPECT_EQ(OnMainCopyData(nullptr, nullptr, &blank), 0);
    EXPECT_EQ(OnMainCopyData(nullptr, nullptr, nullptr), 0);
}

struct Replies {
    std::vector<WPARAM> statuses;
};

LRESULT CALLBACK ReplyProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == MSG_DOWNLOAD_REPLY) {
        reinterpret_cast<Replies*>(GetWindowLongPtrW(w, GWLP_USERDATA))->statuses.push_back(wp);
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

// The settings program's window that receives the answer.
HWND ReplyWindow(Replies& replies) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ReplyProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"UrlImportReplyTest";
    RegisterClassW(&wc);
    HWND reply = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance,
                                 nullptr);
    SetWindowLongPtrW(reply, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&replies));
    return reply;
}

// Sends the address to the main window's handler as the settings program does.
void RequestImport(HWND reply, const std::string& url) {
    const std::wstring text(url.begin(), url.end());
    COPYDATASTRUCT cds = Block(COPYDATA_URL_IMPORT, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
    EXPECT_EQ(OnMainCopyData(nullptr, reply, &cds), 1);
}

// Sends the address and waits for the answer.
WPARAM ImportAnswer(const std::string& url) {
    Replies replies;
    HWND reply = ReplyWindow(replies);
    RequestImport(reply, url);
    const DWORD start = GetTickCount();
    while (replies.statuses.empty() && GetTickCount() - start < 10000) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(5);
    }
    DestroyWindow(reply);
    EXPECT_EQ(replies.statuses.size(), 1u);
    return replies.statuses.empty() ? 0 : replies.statuses[0];
}

TEST(MainCopyData, AUrlIsDownloadedIntoDownloadedIniAndAnswered200) {
    testing_support::TempDir dir;
    SetSettingsFolder(dir.path());
    const std::string body = "[common]\r\nlanguage=en\r\n";
    HttpResponder server(HttpResponder::Reply("200 OK", body, "Content-Type: text/plain\r\n"));
    // Through a redirect, as a file host gives it.
    HttpResponder hop(HttpResponder::Reply("302 Found", "", "Location: " + server.url("/export.ini") + "\r\n"));
    EXPECT_EQ(ImportAnswer(hop.url("/share")), 200u);
    EXPECT_EQ(testing_support::ReadBytes(dir.file(L"downloaded.ini")), body);
    // A reply that stops short of its length is no file to import.
    HttpResponder cut("HTTP/1.1 200 OK\r\nContent-Length: 500\r\nConnection: close\r\n\r\n[common]");
    EXPECT_NE(ImportAnswer(cut.url("/export.ini")), 200u);
    EXPECT_EQ(testing_support::ReadBytes(dir.file(L"downloaded.ini")), body);
    EXPECT_EQ(GetFileAttributesW(dir.file(L"downloaded.ini$").c_str()), INVALID_FILE_ATTRIBUTES);
    // Nor is a reply past the size bound, with or without its length.
    const std::string huge = "[common]\r\n" + std::string(5u << 20, ';');
    HttpResponder unsized("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + huge);
    HttpResponder sized(HttpResponder::Reply("200 OK", huge));
    for (HttpResponder* big : {&unsized, &sized}) {
        EXPECT_NE(ImportAnswer(big->url("/export.ini")), 200u);
        EXPECT_EQ(testing_support::ReadBytes(dir.file(L"downloaded.ini")), body);
        EXPECT_EQ(GetFileAttributesW(dir.file(L"downloaded.ini$").c_str()), INVALID_FILE_ATTRIBUTES);
    }
    SetSettingsFolder(L"");
}

TEST(MainCopyData, TheExitStopsAHeldDownloadAndWaitsForItsWorker) {
    testing_support::TempDir dir;
    SetSettingsFolder(dir.path());
    // A server that holds its answer for longer than the download may take.
    HttpResponder held(HttpResponder::Reply("200 OK", "[common]\r\n"), 70000);
    Replies replies;
    HWND reply = ReplyWindow(replies);
    RequestImport(reply, held.url("/export.ini"));
    for (int i = 0; i < 500 && held.requests() == 0; ++i) Sleep(10);
    ASSERT_EQ(held.requests(), 1);
    const DWORD start = GetTickCount();
    EXPECT_TRUE(StopUrlImports(INFINITE));
    // The worker has given up, answered and ended by the time the exit goes on.
    EXPECT_LT(GetTickCount() - start, 5000u);
    ASSERT_EQ(replies.statuses.size(), 1u);
    EXPECT_NE(replies.statuses[0], 200u);
    EXPECT_EQ(GetFileAttributesW(dir.file(L"downloaded.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(dir.file(L"downloaded.ini$").c_str()), INVALID_FILE_ATTRIBUTES);
    DestroyWindow(reply);
    SetSettingsFolder(L"");
}

}  // namespace
