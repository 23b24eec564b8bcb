// The host around the system's WebBrowser control, driven by the window's
// messages. Pages need not render here: what is checked is the plumbing.
#include <gtest/gtest.h>

#include <exdispid.h>

#include <string>

#include "common/platform/lent_pointer.h"
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
    // A click as the user makes it: through the thread's message queue.
    static void Click(HWND window) {
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Pump();
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
    // A text the program did not lend (another process may send any number)
    // is not read; a lent one is written.
    const wchar_t* html = L"<html><body id=b>Hi</body></html>";
    EXPECT_EQ(SendMessageW(window, WBM_SET, 0, reinterpret_cast<LPARAM>(html)), 0);
    EXPECT_EQ(SendWithPointer(window, WBM_SET, 0, html), 66);
    const std::wstring page = host->PageFileName();
    SendMessageW(window, WM_SETTEXT, 0, 0);
    Settle(300);
    for (const Notice& n : Notices()) EXPECT_NE(n.code, kWebfLinkFollowed);  // its own navigation went through
    EXPECT_EQ(host->Flags() & (kWebfOwnNavigation | kWebfHoldCompletion), 0u);
    ASSERT_EQ(host->OldPageFiles().size(), 1u);
    EXPECT_EQ(host->OldPageFiles()[0], page);
    EXPECT_NE(Location(host).find(page.substr(page.rfind(L'\\') + 1)), std::wstring::npos) << Location(host);
    // The tests' prefix switches the HTML engine off: the page went to the
    // control, yet there is no document and so no element to find in it.
    auto* doc = reinterpret_cast<IHTMLDocument2*>(SendMessageW(window, WBM_GET_DOCUMENT, 0, 0));
    if (doc) doc->Release();
    EXPECT_EQ(doc, nullptr) << "an HTML engine is present; the prefix is meant to run without one";
    auto* el = reinterpret_cast<IHTMLElement*>(SendWithPointer(window, WBM_FIND_ELEMENT, 0, L"b"));
    if (el) el->Release();
    EXPECT_EQ(el, nullptr);
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
    // A click in the page, then a navigation the host did not start: a link.
    Click(window);
    BSTR url = SysAllocString(L"http://127.0.0.1:1/item?a=1&b=x+y%21");
    VARIANT empty;
    VariantInit(&empty);
    host->Browser()->Navigate(url, &empty, &empty, &empty, &empty);
    SysFreeString(url);
    const DWORD start = GetTickCount();
    while (Notices().empty() && GetTickCount() - start < 3000) Settle(20);
    ASSERT_FALSE(Notices().empty());
    EXPECT_EQ(Notices()[0].code, kWebfLinkFollowed);
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(SendWithPointer(window, WBM_GET_QUERY_VALUE, 0, L"a")), L"1");
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(SendWithPointer(window, WBM_GET_QUERY_VALUE, 0, L"b")), L"x y!");
    EXPECT_EQ(SendWithPointer(window, WBM_GET_QUERY_VALUE, 0, L"c"), 0);
    EXPECT_EQ(SendMessageW(window, WBM_GET_QUERY_VALUE, 0, reinterpret_cast<LPARAM>(L"a")), 0);
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

// BeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel)
// as the control raises it, for the frame given.
struct NavigationEvent {
    explicit NavigationEvent(IDispatch* frame, const wchar_t* address) {
        for (VARIANT& a : args) VariantInit(&a);
        VariantInit(&url);
        url.vt = VT_BSTR;
        url.bstrVal = SysAllocString(address);
        args[0].vt = VT_BOOL | VT_BYREF;
        args[0].pboolVal = &cancel;
        args[5].vt = VT_VARIANT | VT_BYREF;
        args[5].pvarVal = &url;
        args[6].vt = VT_DISPATCH;
        args[6].pdispVal = frame;
        params = {args, nullptr, 7, 0};
    }
    ~NavigationEvent() { VariantClear(&url); }
    HRESULT RaiseOn(TWebf* host) {
        return host->dispatch.Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr,
                                     nullptr);
    }
    VARIANT args[7];
    VARIANT url;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    DISPPARAMS params;
};

// The links reported to the parent; the control's own loading notices aside.
int Links() {
    int links = 0;
    for (const Notice& n : Notices()) links += n.code == kWebfLinkFollowed ? 1 : 0;
    return links;
}

TEST_F(WebfControl, OnlyTheUsersClickInThePageItselfFollowsALink) {
    HWND window = Child(L"");
    TWebf* host = Host(window);
    ASSERT_NE(host, nullptr);
    IDispatch* top = nullptr;
    ASSERT_EQ(host->Browser()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&top)), S_OK);
    // Any other object stands for a frame inside the page.
    IDispatch* frame = &host->dispatch;

    // A frame of the page loading its source, after a click or not.
    for (bool clicked : {false, true}) {
        if (clicked) Click(window);
        NavigationEvent event(frame, L"file:///C:/windows/system32/calc.exe");
        EXPECT_EQ(event.RaiseOn(host), S_OK);
        EXPECT_EQ(event.cancel, VARIANT_TRUE);
    }
    // The page moving on its own: script, refresh, form.
    NavigationEvent script(top, L"http://127.0.0.1:1/script");
    script.RaiseOn(host);
    EXPECT_EQ(script.cancel, VARIANT_TRUE);
    Pump();
    EXPECT_EQ(Links(), 0);

    // The user's click, then the page's navigation: one link, and one only.
    Click(window);
    NavigationEvent clicked(top, L"http://127.0.0.1:1/clicked?a=1");
    clicked.RaiseOn(host);
    NavigationEvent after(top, L"http://127.0.0.1:1/after");
    after.RaiseOn(host);
    EXPECT_EQ(clicked.cancel, VARIANT_TRUE);
    EXPECT_EQ(after.cancel, VARIANT_TRUE);
    Pump();
    EXPECT_EQ(Links(), 1);
    EXPECT_STREQ(host->QueryText(), L"http://127.0.0.1:1/clicked?a=1");
    top->Release();
    DestroyWindow(window);
    Pump();
    EXPECT_EQ(TWebf::LiveCount(), 0);
}

}  // namespace
