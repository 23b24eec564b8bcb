// Link controls driven by their messages: painting read back from the window,
// clicks recorded through the system seam, the cursor and hit testing.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/platform/hyperlink_control.h"
#include "common/platform/hyperlink_text.h"
#include "common/platform/system_seam.h"
#include "tests/support/test_support.h"

namespace {

struct ShellCall {
    std::wstring verb;
    std::wstring file;
    int show;
};

class RecordingSystem final : public SystemSeam {
public:
    HINSTANCE ShellExecuteOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*,
                               int show) override {
        calls.push_back({verb ? verb : L"", file ? file : L"", show});
        return reinterpret_cast<HINSTANCE>(42);
    }
    SC_HANDLE OpenServiceManager(const wchar_t*, const wchar_t*, DWORD) override { return nullptr; }
    SC_HANDLE OpenServiceHandle(SC_HANDLE, const wchar_t*, DWORD) override { return nullptr; }
    BOOL SendServiceControl(SC_HANDLE, DWORD, SERVICE_STATUS*) override { return FALSE; }
    BOOL CloseServiceHandleOf(SC_HANDLE) override { return FALSE; }
    DWORD LastError() override { return 0; }
    std::vector<ShellCall> calls;
};

int g_parentSetCursor = 0;

LRESULT CALLBACK ParentProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_SETCURSOR) ++g_parentSetCursor;
    return DefWindowProcW(w, m, wp, lp);
}

constexpr wchar_t kParentClass[] = L"TempoviaUtilTestParent";
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

class LinkControl : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kParentClass;
        RegisterClassW(&wc);
        parent_ = CreateWindowExW(0, kParentClass, L"parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(parent_, nullptr);
        control_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 10, 300, 40, parent_,
                                   reinterpret_cast<HMENU>(1001), GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(control_, nullptr);
        SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        previous_ = SetSystemSeam(&recorder_);
        g_parentSetCursor = 0;
    }
    void TearDown() override {
        SetSystemSeam(previous_);
        SetHyperlinkCursor(nullptr);
        if (parent_) DestroyWindow(parent_);
    }

    // The layout as the control makes it, in client coordinates.
    int LayoutOf(const std::wstring& text, LinkSegment* segs) {
        copy_ = text + L'\0';
        HDC dc = GetDC(control_);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control_, WM_GETFONT, 0, 0)));
        int n = LayoutLinkText(copy_.data(), {0, 0}, dc, segs, kMaxLinkSegments);
        SelectObject(dc, old);
        ReleaseDC(control_, dc);
        return n;
    }

    // How many pixels of the shown control have the colour.
    static int Count(const testing_support::ShownPixels& px, COLORREF c) {
        return px.Width() * px.Height() - px.CountOther({0, 0, px.Width(), px.Height()}, c);
    }

    HWND parent_ = nullptr;
    HWND control_ = nullptr;
    RecordingSystem recorder_;
    SystemSeam* previous_ = nullptr;
    std::wstring copy_;
};

const std::wstring kText = L"Plain <a href=\"https://example.invalid/page\">link here</a>";

TEST_F(LinkControl, SubclassesOnceAndRefusesWindowsWithoutProcedure) {
    EXPECT_FALSE(SubclassHyperlink(nullptr));
    EXPECT_TRUE(SubclassHyperlink(control_));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control_, GWLP_WNDPROC)), HyperlinkWndProc);
    EXPECT_FALSE(SubclassHyperlink(control_));
}

TEST_F(LinkControl, ControlsOfDifferentClassesKeepTheirOwnProcedures) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 60, 200, 20, parent_, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(SubclassHyperlink(control_));
    ASSERT_TRUE(SubclassHyperlink(edit));
    EXPECT_TRUE(SetWindowTextW(control_, L"static text"));
    EXPECT_TRUE(SetWindowTextW(edit, L"edit text"));
    wchar_t buf[64];
    GetWindowTextW(control_, buf, 64);
    EXPECT_STREQ(buf, L"static text");
    GetWindowTextW(edit, buf, 64);
    EXPECT_STREQ(buf, L"edit text");
    // The edit control still answers its own messages.
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0) > 0, true);
    DestroyWindow(edit);
}

TEST_F(LinkControl, PaintsPlainTextAndLinksInTheStyleColours) {
    ASSERT_TRUE(SubclassHyperlink(control_));
    SetWindowTextW(control_, kText.c_str());
    HyperlinkStyle style{kHyperlinkStyleSize, kHyperlinkStyleMagic, kRed, kGreen, 0};
    SetWindowLongPtrW(control_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&style));
    LinkSegment segs[kMaxLinkSegments];
    ASSERT_EQ(LayoutOf(kText, segs), 2);

    const testing_support::ShownPixels px(control_);
    ASSERT_GT(px.Width(), 0);
    EXPECT_GT(Count(px, kRed), 0);
    EXPECT_GT(Count(px, kGreen), 0);
    // The underline runs the link's width one pixel above its box's bottom.
    const RECT& link = segs[1].box;
    for (int x = link.left; x < link.right && x < px.Width(); ++x) EXPECT_EQ(px.At(x, link.bottom - 1), kGreen) << x;
    // Beside the text the control shows the button face.
    EXPECT_EQ(px.At(px.Width() - 1, px.Height() - 1), GetSysColor(COLOR_BTNFACE));
    // No plain text in the link colour, no link text in the text colour.
    for (int y = segs[0].box.top; y < segs[0].box.bottom; ++y)
        for (int x = segs[0].box.left; x < segs[0].box.right; ++x) EXPECT_NE(px.At(x, y), kGreen);
    for (int y = link.top; y < link.bottom; ++y)
        for (int x = link.left; x < link.right; ++x) EXPECT_NE(px.At(x, y), kRed);
    SetWindowLongPtrW(control_, GWLP_USERDATA, 0);
}

TEST_F(LinkControl, AWrongMagicOrNoRecordDrawsTheDefaultColours) {
    ASSERT_TRUE(SubclassHyperlink(control_));
    SetWindowTextW(control_, kText.c_str());
    HyperlinkStyle wrongMagic{kHyperlinkStyleSize, 0xA100FACF, kRed, kGreen, 0};
    HyperlinkStyle wrongSize{16, kHyperlinkStyleMagic, kRed, kGreen, 0};
    HyperlinkStyle defaults{kHyperlinkStyleSize, kHyperlinkStyleMagic, CLR_INVALID, CLR_INVALID, 0};
    for (HyperlinkStyle* style : {&wrongMagic, &wrongSize, &defaults, static_cast<HyperlinkStyle*>(nullptr)}) {
        SetWindowLongPtrW(control_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(style));
        const testing_support::ShownPixels px(control_);
        EXPECT_EQ(Count(px, kRed), 0);
        EXPECT_EQ(Count(px, kGreen), 0);
        EXPECT_GT(Count(px, kDefaultLinkColor), 0);
        EXPECT_GT(Count(px, GetSysColor(COLOR_BTNTEXT)), 0);
    }
    SetWindowLongPtrW(control_, GWLP_USERDATA, 0);
}

TEST_F(LinkControl, SetTextStoresTheTextAndRepaints) {
    ASSERT_TRUE(SubclassHyperlink(control_));
    EXPECT_EQ(SendMessageW(control_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"new text")), TRUE);
    wchar_t buf[32];
    GetWindowTextW(control_, buf, 32);
    EXPECT_STREQ(buf, L"new text");
    RECT update;
    EXPECT_TRUE(GetUpdateRect(control_, &update, FALSE));
}

TEST_F(LinkControl, ReleasingTheButtonOverALinkOpensItsTargetOnly) {
    ASSERT_TRUE(SubclassHyperlink(control_));
    SetWindowTextW(control_, kText.c_str());
    LinkSegment segs[kMaxLinkSegments];
    ASSERT_EQ(LayoutOf(kText, segs), 2);
    const RECT& plain = segs[0].box;
    const RECT& link = segs[1].box;

    SendMessageW(control_, WM_LBUTTONUP, 0, MAKELPARAM(plain.left + 1, plain.top + 1));
    SendMessageW(control_, WM_LBUTTONUP, 0, MAKELPARAM(link.right, link.top));
    SendMessageW(control_, WM_LBUTTONUP, 0, MAKELPARAM(link.left, link.bottom));
    EXPECT_TRUE(recorder_.calls.empty());

    SendMessageW(control_, WM_LBUTTONUP, 0, MAKELPARAM(link.left, link.top));
    ASSERT_EQ(recorder_.calls.size(), 1u);
    EXPECT_EQ(recorder_.calls[0].verb, L"open");
    EXPECT_EQ(recorder_.calls[0].file, L"https://example.invalid/page");
    EXPECT_EQ(recorder_.calls[0].show, SW_SHOW);
    // The text of the control is untouched by the layout's cutting.
    wchar_t buf[128];
    GetWindowTextW(control_, buf, 128);
    EXPECT_EQ(std::wstring(buf), kText);
}

TEST_F(LinkControl, HitTestsItsWindowRectangle) {
    ASSERT_TRUE(SubclassHyperlink(control_));
    RECT r;
    GetWindowRect(control_, &r);
    EXPECT_EQ(SendMessageW(control_, WM_NCHITTEST, 0, MAKELPARAM(r.left, r.top)), HTCLIENT);
    EXPECT_EQ(SendMessageW(control_, WM_NCHITTEST, 0, MAKELPARAM(r.right - 1, r.bottom - 1)), HTCLIENT);
    EXPECT_EQ(SendMessageW(control_, WM_NCHITTEST, 0, MAKELPARAM(r.right, r.top)), HTNOWHERE);
}

TEST_F(LinkControl, HandCursorOverALinkElseTheParentDecides) {
    ASSERT_TRUE(SubclassHyperlink(control_));
    SetWindowTextW(control_, kText.c_str());
    // A cursor of the program's own, distinct from the system's hand.
    HCURSOR hand = LoadCursorW(nullptr, IDC_CROSS);
    SetHyperlinkCursor(hand);
    LinkSegment segs[kMaxLinkSegments];
    ASSERT_EQ(LayoutOf(kText, segs), 2);
    POINT onLink{segs[1].box.left + 1, segs[1].box.top + 1};
    ClientToScreen(control_, &onLink);
    POINT onPlain{segs[0].box.left + 1, segs[0].box.top + 1};
    ClientToScreen(control_, &onPlain);

    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    if (!SetCursorPos(onLink.x, onLink.y)) GTEST_SKIP() << "cursor cannot be placed";
    POINT now;
    GetCursorPos(&now);
    if (now.x != onLink.x || now.y != onLink.y) GTEST_SKIP() << "cursor position not kept";
    LPARAM lp = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_EQ(SendMessageW(control_, WM_SETCURSOR, reinterpret_cast<WPARAM>(control_), lp), 1);
    EXPECT_EQ(GetCursor(), hand);
    EXPECT_EQ(g_parentSetCursor, 0);

    SetCursorPos(onPlain.x, onPlain.y);
    EXPECT_EQ(SendMessageW(control_, WM_SETCURSOR, reinterpret_cast<WPARAM>(control_), lp), 1);
    EXPECT_EQ(g_parentSetCursor, 1);

    // Without a cursor of the program's own the system's hand is used.
    SetHyperlinkCursor(nullptr);
    EXPECT_EQ(GetHyperlinkCursor(), LoadCursorW(nullptr, IDC_HAND));
    SetCursorPos(onLink.x, onLink.y);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(SendMessageW(control_, WM_SETCURSOR, reinterpret_cast<WPARAM>(control_), lp), 1);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(g_parentSetCursor, 1);
}

}  // namespace
