// The host object itself, with no working control behind it: interface
// table, reference counts, the site's answers, the event sink and the page
// files.
#include <gtest/gtest.h>

#include <exdispid.h>
#include <mshtmdid.h>

#include <string>

#include "tests/browser/webf_fixture.h"
#include "tests/support/test_support.h"
#include "tempovia/browser/browser_ids.h"

namespace {

using namespace webf_test;

class WebfHost : public ::testing::Test {
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
        TWebf::SetControlFactory(NoControl);
    }
    void TearDown() override {
        TWebf::SetControlFactory(nullptr);
        if (parent_) DestroyWindow(parent_);
        Pump();
        SetEnvironmentVariableW(L"TMP", hadTmp_ ? oldTmp_.c_str() : nullptr);
        OleUninitialize();
        EXPECT_EQ(TWebf::LiveCount(), 0);
    }
    HWND Child(DWORD style, int id) {
        return CreateWindowExW(0, kBrowserClassName, L"", WS_CHILD | style, 0, 0, 320, 200, parent_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    }
    static std::wstring ReadWide(const std::wstring& path) {
        const std::string bytes = testing_support::ReadBytes(path);
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    }

    testing_support::TempDir temp_;
    HWND parent_ = nullptr;
    bool hadTmp_ = false;
    std::wstring oldTmp_;
};

TEST_F(WebfHost, AnswersEachInterfaceAndCountsEveryReference) {
    TWebf* host = TWebf::Create(nullptr);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->Browser(), nullptr);
    EXPECT_EQ(host->RefCount(), 1u);

    struct Entry {
        const IID* iid;
        void* expected;
    } table[] = {
        {&IID_IUnknown, static_cast<IUnknown*>(host)},
        {&IID_IOleClientSite, static_cast<IOleClientSite*>(&host->clientSite)},
        {&IID_IOleWindow, static_cast<IOleWindow*>(&host->inPlaceSite)},
        {&IID_IOleInPlaceSite, static_cast<IOleInPlaceSite*>(&host->inPlaceSite)},
        {&IID_IOleInPlaceUIWindow, static_cast<IOleInPlaceUIWindow*>(&host->inPlaceFrame)},
        {&IID_IOleInPlaceFrame, static_cast<IOleInPlaceFrame*>(&host->inPlaceFrame)},
        {&IID_IDispatch, static_cast<IDispatch*>(&host->dispatch)},
        {&webf_ids::kIidDocHostUIHandler, static_cast<IDocHostUIHandler*>(&host->docHostUIHandler)},
        {&webf_ids::kIidDocHostShowUI, static_cast<IDocHostShowUI*>(&host->docHostShowUI)},
    };
    for (const Entry& e : table) {
        void* out = nullptr;
        // Asked through a nested object: the answer is the host's.
        ASSERT_EQ(host->docHostShowUI.QueryInterface(*e.iid, &out), S_OK);
        EXPECT_EQ(out, e.expected);
        EXPECT_EQ(host->RefCount(), 2u);
        static_cast<IUnknown*>(out)->Release();
        EXPECT_EQ(host->RefCount(), 1u);
    }
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(host->QueryInterface(IID_IOleObject, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(host->clientSite.QueryInterface(IID_IConnectionPointContainer, &out), E_NOINTERFACE);
    EXPECT_EQ(host->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(host->RefCount(), 1u);

    EXPECT_EQ(host->inPlaceFrame.AddRef(), 2u);
    EXPECT_EQ(host->dispatch.Release(), 1u);
    EXPECT_EQ(TWebf::LiveCount(), 1);
    EXPECT_EQ(host->Release(), 0u);
    EXPECT_EQ(TWebf::LiveCount(), 0);
}

TEST_F(WebfHost, SiteAndFrameAnswers) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 150, 90, parent_, nullptr, nullptr, nullptr);
    TWebf* host = TWebf::Create(window);
    ASSERT_NE(host, nullptr);

    HWND got = nullptr;
    EXPECT_EQ(host->inPlaceSite.GetWindow(&got), S_OK);
    EXPECT_EQ(got, window);
    got = nullptr;
    EXPECT_EQ(host->inPlaceFrame.GetWindow(&got), S_OK);
    EXPECT_EQ(got, window);

    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* doc = reinterpret_cast<IOleInPlaceUIWindow*>(1);
    RECT pos = {}, clip = {};
    OLEINPLACEFRAMEINFO info = {};
    info.cb = sizeof(info);
    info.fMDIApp = TRUE;
    ASSERT_EQ(host->inPlaceSite.GetWindowContext(&frame, &doc, &pos, &clip, &info), S_OK);
    EXPECT_EQ(frame, &host->inPlaceFrame);
    EXPECT_EQ(doc, nullptr);
    EXPECT_EQ(host->RefCount(), 2u);  // the frame's reference
    frame->Release();
    EXPECT_EQ(pos.right, 150);
    EXPECT_EQ(pos.bottom, 90);
    EXPECT_TRUE(EqualRect(&pos, &clip));
    EXPECT_FALSE(info.fMDIApp);
    EXPECT_EQ(info.hwndFrame, window);
    EXPECT_EQ(info.haccel, nullptr);
    EXPECT_EQ(info.cAccelEntries, 0u);

    RECT r = {0, 0, 10, 10};
    EXPECT_EQ(host->inPlaceSite.OnPosRectChange(&r), S_OK);  // no control: nothing to move
    EXPECT_EQ(host->inPlaceSite.CanInPlaceActivate(), S_OK);
    EXPECT_EQ(host->inPlaceSite.Scroll(SIZE{1, 1}), E_NOTIMPL);
    EXPECT_EQ(host->inPlaceSite.DeactivateAndUndo(), E_NOTIMPL);
    EXPECT_EQ(host->clientSite.ShowObject(), S_OK);
    EXPECT_EQ(host->clientSite.SaveObject(), E_NOTIMPL);
    IOleContainer* container = reinterpret_cast<IOleContainer*>(1);
    EXPECT_EQ(host->clientSite.GetContainer(&container), E_NOINTERFACE);
    EXPECT_EQ(container, nullptr);
    EXPECT_EQ(host->inPlaceFrame.SetStatusText(L"x"), S_OK);
    EXPECT_EQ(host->inPlaceFrame.InsertMenus(nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(host->inPlaceFrame.TranslateAccelerator(nullptr, 0), E_NOTIMPL);

    // The page's script message boxes never show.
    LRESULT answer = 0;
    EXPECT_EQ(host->docHostShowUI.ShowMessage(nullptr, nullptr, nullptr, MB_OK, nullptr, 0, &answer), S_OK);
    EXPECT_EQ(answer, IDCANCEL);

    DOCHOSTUIINFO ui = {};
    ui.cbSize = sizeof(ui);
    EXPECT_EQ(host->docHostUIHandler.GetHostInfo(&ui), S_OK);
    EXPECT_EQ(ui.dwFlags, 0x200000u | 8u);  // no border, no scroll bars
    EXPECT_EQ(host->docHostUIHandler.ShowContextMenu(0, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(host->docHostUIHandler.TranslateAccelerator(nullptr, nullptr, 0), S_FALSE);
    IDispatch* external = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(host->docHostUIHandler.GetExternal(&external), S_FALSE);
    EXPECT_EQ(external, nullptr);
    LPWSTR translated = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ(host->docHostUIHandler.TranslateUrl(0, const_cast<LPWSTR>(L"a"), &translated), S_FALSE);
    EXPECT_EQ(translated, nullptr);

    UINT count = 9;
    EXPECT_EQ(host->dispatch.GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(host->dispatch.GetIDsOfNames(IID_NULL, nullptr, 0, 0, nullptr), E_FAIL);
    VARIANT v;
    VariantInit(&v);
    DISPPARAMS none = {};
    // The control asks its client site for the ambient properties.
    IDispatch* ambient = nullptr;
    ASSERT_EQ(host->clientSite.QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient)), S_OK);
    EXPECT_EQ(ambient->Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr,
                              nullptr),
              S_OK);
    ambient->Release();
    EXPECT_EQ(v.vt, VT_I4);
    // Images, video, sounds; silent; and the feed's own HTML runs no scripts,
    // Java or ActiveX controls and downloads none.
    EXPECT_EQ(v.lVal, 0x400007F0);
    EXPECT_EQ(host->dispatch.Invoke(DISPID_STATUSTEXTCHANGE, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr,
                                    nullptr),
              DISP_E_MEMBERNOTFOUND);

    EXPECT_EQ(host->RefCount(), 1u);
    host->Release();
    DestroyWindow(window);
}

TEST_F(WebfHost, ScrollBarsOfTheWindowKeepTheControlsOwn) {
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VSCROLL, 0, 0, 50, 50, parent_, nullptr, nullptr, nullptr);
    TWebf* host = TWebf::Create(window);
    EXPECT_TRUE(host->HadScrollBars());
    DOCHOSTUIINFO ui = {};
    ui.cbSize = sizeof(ui);
    host->docHostUIHandler.GetHostInfo(&ui);
    EXPECT_EQ(ui.dwFlags, 0x200000u);
    host->Release();
    DestroyWindow(window);
}

TEST_F(WebfHost, EventsReachTheParent) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 50, 50, parent_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(77)), nullptr, nullptr);
    TWebf* host = TWebf::Create(window);

    // Without a control no navigation is the page's own: cancelled, not posted.
    BSTR url = SysAllocString(L"http://news.invalid/item?a=1&b=x+y%21");
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
    DISPPARAMS params = {args, nullptr, 7, 0};
    host->NoteUserInput();
    EXPECT_EQ(host->dispatch.Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr,
                                    nullptr),
              S_OK);
    EXPECT_EQ(cancel, VARIANT_TRUE);
    Pump();
    EXPECT_TRUE(Notices().empty());

    // A short argument block is ignored rather than read past its end.
    DISPPARAMS shortParams = {args, nullptr, 2, 0};
    EXPECT_EQ(host->dispatch.Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &shortParams, nullptr,
                                    nullptr, nullptr),
              S_OK);
    Pump();
    EXPECT_TRUE(Notices().empty());

    // A failed navigation: sent at once, with its status code kept.
    VARIANT status;
    VariantInit(&status);
    status.vt = VT_I4;
    status.lVal = static_cast<LONG>(0x800C0005);
    VARIANT errArgs[5];
    for (VARIANT& a : errArgs) VariantInit(&a);
    errArgs[1].vt = VT_VARIANT | VT_BYREF;
    errArgs[1].pvarVal = &status;
    DISPPARAMS errParams = {errArgs, nullptr, 5, 0};
    host->dispatch.Invoke(DISPID_NAVIGATEERROR, IID_NULL, 0, DISPATCH_METHOD, &errParams, nullptr, nullptr, nullptr);
    ASSERT_EQ(Notices().size(), 1u);
    EXPECT_EQ(Notices()[0].code, kWebfNavigateError);
    EXPECT_EQ(host->LastError(), static_cast<LONG>(0x800C0005));
    Notices().clear();

    // Completion posts code 3 unless held back.
    DISPPARAMS none = {};
    host->dispatch.Invoke(DISPID_DOCUMENTCOMPLETE, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    Pump();
    ASSERT_EQ(Notices().size(), 1u);
    EXPECT_EQ(Notices()[0].code, kWebfDocumentComplete);
    EXPECT_EQ(host->Flags() & kWebfLoading, 0u);

    SysFreeString(url);
    EXPECT_EQ(host->RefCount(), 1u);
    host->Release();
    DestroyWindow(window);
}

TEST_F(WebfHost, PageFilesAreWrittenInOrderAndCleanedUp) {
    TWebf* host = TWebf::Create(nullptr);
    // Misordered calls do nothing.
    EXPECT_EQ(host->Set(L"early"), 0u);
    host->Go(nullptr);
    EXPECT_TRUE(host->OldPageFiles().empty());

    HANDLE file = host->Ready();
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::wstring first = host->PageFileName();
    EXPECT_EQ(first.rfind(temp_.path() + L"\\wbf", 0), 0u) << first;
    EXPECT_EQ(first.substr(first.size() - 5), L".html");
    EXPECT_EQ(host->Ready(), file);  // the open one is kept
    EXPECT_EQ(host->PageFileName(), first);

    EXPECT_EQ(host->Set(L"<p>\u00e9t\u00e9</p>"), 20u);
    EXPECT_EQ(host->Set(L"!"), 2u);
    host->Go(nullptr);
    EXPECT_EQ(host->PageFile(), INVALID_HANDLE_VALUE);
    ASSERT_EQ(host->OldPageFiles().size(), 1u);
    // UTF-16 code units only: no signature, no terminator.
    EXPECT_EQ(ReadWide(first), L"<p>\u00e9t\u00e9</p>!");

    // A second page gets another name; the shown one goes at the next Go.
    ASSERT_NE(host->Ready(), INVALID_HANDLE_VALUE);
    const std::wstring second = host->PageFileName();
    EXPECT_NE(second, first);
    host->Go(nullptr);
    EXPECT_EQ(GetFileAttributesW(first.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesW(second.c_str()), INVALID_FILE_ATTRIBUTES);

    // A page written but never shown goes with the host, as do the old ones.
    ASSERT_NE(host->Ready(), INVALID_HANDLE_VALUE);
    const std::wstring third = host->PageFileName();
    host->Release();
    EXPECT_EQ(GetFileAttributesW(second.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(third.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(WebfHost, ReadyGivesUpWhenNoFileCanBeMade) {
    SetEnvironmentVariableW(L"TMP", (temp_.path() + L"\\missing\\").c_str());
    TWebf* host = TWebf::Create(nullptr);
    EXPECT_EQ(host->Ready(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(host->Set(L"x"), 0u);
    host->Release();
}

TEST_F(WebfHost, WindowWithoutAControlStaysEmpty) {
    HWND window = Child(WS_VSCROLL | WS_HSCROLL, 5);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), 0);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
    EXPECT_EQ(TWebf::LiveCount(), 0);
    EXPECT_EQ(SendMessageW(window, WBM_GET_BROWSER, 0, 0), 0);
    EXPECT_EQ(SendMessageW(window, WBM_READY, 0, 0), 0);
    EXPECT_EQ(SendMessageW(window, WBM_SET, 0, reinterpret_cast<LPARAM>(L"x")), 0);
    EXPECT_EQ(SendMessageW(window, WBM_GET_DOCUMENT, 0, 0), 0);
    SendMessageW(window, WM_SIZE, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(DestroyWindow(window));
}

TEST_F(WebfHost, ControlThatFailsHalfwayGivesTheSiteBack) {
    TWebf::SetControlFactory(FakeControlFactory);
    HWND window = Child(0, 6);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), 0);
    EXPECT_EQ(TWebf::LiveCount(), 0);  // every reference on the host came back
    EXPECT_EQ(FakeControl::live, 0);   // and the control was let go
    DestroyWindow(window);
}

}  // namespace
