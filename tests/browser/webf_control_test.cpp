// The host around the system's WebBrowser control, driven by the window's
// messages. Pages need not render here: what is checked is the plumbing.
#include <gtest/gtest.h>

#include <string>

#include "tests/browser/webf_fixture.h"
#include "tests/support/test_support.h"

namespace {

using namespace webf_test;

class WebfControl : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        ASSERT_TRUE(RegisterBrowserClass(GetModuleHandleW(nullptr)));
        wchar_t old[MAX_PATH] = {};
        hadTmp_ = GetEnvironmentVariableW(L"TMP", old, MAX_PATH) > 0;
        oldTmp_ = old;
        SetEnvironmentVariableW(L"TMP", (temp_.path() + L"\\").c_str());
        Notices().clear();
        parent_ = CreateParent();
        ASSERT_NE(parent_, nullptr);
    }
    void TearDown() override {
        if (parent_) DestroyWindow(parent_);
        Pump();
        SetEnvironmentVariableW(L"TMP", hadTmp_ ? oldTmp_.c_str() : nullptr);
        OleUninitialize();
    }
    HWND Child(const wchar_t* text, DWORD style = 0) {
        return CreateWindowExW(0, kBrowserClassName, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 320, 200, parent_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(41)), GetModuleHandleW(nullptr),
                               nullptr);
    }
    static std::wstring Location(TWebf* host) {
        BSTR location = nullptr;
        host->Browser()->get_LocationURL(&location);
        std::wstring text = location ? location : L"";
        SysFreeString(location);
        return text;
    }
    static TWebf* Host(HWND window) { return reinterpret_cast<TWebf*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }
    // Lets the control's own messages run for a while.
    static void Settle(DWORD ms) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            Pump();
            Sleep(10);
        }
    }

    testing_support::TempDir temp_;
    HWND parent_ = nullptr;
    bool hadTmp_ = false;
    std::wstring oldTmp_;
};

TEST_F(WebfControl, HostsTheControlAndLetsEveryReferenceGo) {
    HWND window = Child(L"", WS_VSCROLL);
    ASSERT_NE(window, nullptr);
    TWebf* host = Host(window);
    ASSERT_NE(host, nullptr) << "the WebBrowser control could not be set up";
    EXPECT_EQ(TWebf::LiveCount(), 1);
    EXPECT_TRUE(host->HadScrollBars());
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL, 0);

    auto* browser = reinterpret_cast<IWebBrowser2*>(SendMessageW(window, WBM_GET_BROWSER, 0, 0));
    ASSERT_EQ(browser, host->Browser());
    const ULONG held = browser->AddRef();
    browser->Release();
    browser->Release();  // the message's reference
    EXPECT_EQ(browser->AddRef(), held - 1);
    browser->Release();

    SendMessageW(window, WM_SIZE, 0, MAKELPARAM(210, 130));
    long width = 0, height = 0;
    EXPECT_EQ(host->Browser()->get_Width(&width), S_OK);
    EXPECT_EQ(host->Browser()->get_Height(&height), S_OK);
    EXPECT_EQ(width, 210);
    EXPECT_EQ(height, 130);

    EXPECT_TRUE(DestroyWindow(window));
    Pump();
    EXPECT_EQ(TWebf::LiveCount(), 0);
}

TEST_F(WebfControl, WrittenPageIsShownByItsFile) {
    HWND window = Child(L"");
    TWebf* host = Host(window);
    ASSERT_NE(host, nullptr);
    // Going before anything was written navigates nowhere.
    SendMessageW(window, WM_SETTEXT, 0, 0);
    EXPECT_EQ(host->Flags(), 0u);

    const auto file = reinterpret_cast<HANDLE>(SendMessageW(window, WBM_READY, 0, 0));
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SendMessageW(window, WBM_SET, 0, reinterpret_cast<LPARAM>(L"<html><body id=b>Hi</body></html>")), 66);
    const std::wstring page = host->PageFileName();
    SendMessageW(window, WM_SETTEXT, 0, 0);
    Settle(300);
    for (const Notice& n : Notices()) EXPECT_NE(n.code, kWebfLinkFollowed);  // its own navigation went through
    EXPECT_EQ(host->Flags() & (kWebfOwnNavigation | kWebfHoldCompletion), 0u);
    ASSERT_EQ(host->OldPageFiles().size(), 1u);
    EXPECT_EQ(host->OldPageFiles()[0], page);
    EXPECT_NE(Location(host).find(page.substr(page.rfind(L'\\') + 1)), std::wstring::npos) << Location(host);
    // Without an engine there may be no document yet; either way the answers
    // carry their own reference.
    auto* doc = reinterpret_cast<IHTMLDocument2*>(SendMessageW(window, WBM_GET_DOCUMENT, 0, 0));
    if (doc) doc->Release();
    auto* el = reinterpret_cast<IHTMLElement*>(SendMessageW(window, WBM_FIND_ELEMENT, 0, reinterpret_cast<LPARAM>(L"b")));
    if (el) el->Release();
    EXPECT_EQ(SendMessageW(window, WBM_FIND_ELEMENT, 0, 0), 0);

    DestroyWindow(window);
    Pump();
    EXPECT_EQ(TWebf::LiveCount(), 0);
}

TEST_F(WebfControl, UnreachableAddressReportsItsStatus) {
    HWND window = Child(L"http://127.0.0.1:1/nothing");
    TWebf* host = Host(window);
    ASSERT_NE(host, nullptr);
    const DWORD start = GetTickCount();
    while (Notices().empty() && GetTickCount() - start < 5000) Settle(20);
    ASSERT_FALSE(Notices().empty());
    EXPECT_EQ(Notices()[0].id, 41);
    EXPECT_EQ(Notices()[0].code, kWebfNavigateError);
    EXPECT_EQ(Notices()[0].from, window);
    const LRESULT status = SendMessageW(window, WBM_GET_LAST_ERROR, 0, 0);
    EXPECT_NE(status, 0);
    EXPECT_EQ(status, host->LastError());
    DestroyWindow(window);
    Pump();
    EXPECT_EQ(TWebf::LiveCount(), 0);
}

TEST_F(WebfControl, FollowedLinkIsCancelledAndParsed) {
    HWND window = Child(L"");
    TWebf* host = Host(window);
    ASSERT_NE(host, nullptr);
    const std::wstring before = Location(host);
    // A navigation the host did not start stands for a click on a link.
    BSTR url = SysAllocString(L"http://127.0.0.1:1/item?a=1&b=x+y%21");
    VARIANT empty;
    VariantInit(&empty);
    host->Browser()->Navigate(url, &empty, &empty, &empty, &empty);
    SysFreeString(url);
    const DWORD start = GetTickCount();
    while (Notices().empty() && GetTickCount() - start < 3000) Settle(20);
    ASSERT_FALSE(Notices().empty());
    EXPECT_EQ(Notices()[0].code, kWebfLinkFollowed);
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(SendMessageW(window, WBM_GET_QUERY_VALUE, 0,
                                                               reinterpret_cast<LPARAM>(L"a"))),
                 L"1");
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(SendMessageW(window, WBM_GET_QUERY_VALUE, 0,
                                                               reinterpret_cast<LPARAM>(L"b"))),
                 L"x y!");
    EXPECT_EQ(SendMessageW(window, WBM_GET_QUERY_VALUE, 0, reinterpret_cast<LPARAM>(L"c")), 0);
    const auto* list = reinterpret_cast<const wchar_t*>(SendMessageW(window, WBM_GET_QUERY_LIST, 0, 0));
    ASSERT_NE(list, nullptr);
    EXPECT_STREQ(list, L"a");
    Settle(200);
    EXPECT_EQ(Location(host), before);  // the page did not change
    for (const Notice& n : Notices()) EXPECT_NE(n.code, kWebfNavigateError);
    DestroyWindow(window);
    Pump();
    EXPECT_EQ(TWebf::LiveCount(), 0);
}

}  // namespace
