// Painting through the shared procedure, read back headless with PrintWindow
// and BitBlt from the window's DC; CAlphaWindow's surface and redraws.
#include <gtest/gtest.h>

#include "common/graphics/gdi_handles.h"
#include "tempovia/window/alpha_window.h"
#include "tests/graphics/graphics_test_util.h"
#include "tests/graphics/window_test_util.h"

using graphics_test::ReadPixels;

namespace {

void FillClient(HWND w, HDC dc, COLORREF colour) {
    RECT r{};
    GetClientRect(w, &r);
    gdi::Object<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush.get());
}

class PaintWindow : public CWindow {
public:
    bool OnMessage(WindowMessage& m) override {
        if (m.message == WM_PAINT) {
            ++paints;
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Handle(), &ps);
            FillClient(Handle(), dc, RGB(200, 10, 20));
            EndPaint(Handle(), &ps);
            m.result = 0;
            return true;
        }
        if (m.message == WM_PRINTCLIENT) {
            FillClient(Handle(), reinterpret_cast<HDC>(m.wParam), RGB(200, 10, 20));
            m.result = 0;
            return true;
        }
        return CWindow::OnMessage(m);
    }
    int paints = 0;
};

class CountedAlphaWindow : public CAlphaWindow {
public:
    explicit CountedAlphaWindow(int* deletions = nullptr) : deletions_(deletions) {}
    ~CountedAlphaWindow() override {
        if (deletions_) ++*deletions_;
    }
    bool UpdateLayered(HDC dc) override {
        ++redraws;
        return CAlphaWindow::UpdateLayered(dc);
    }
    int redraws = 0;

private:
    int* deletions_;
};

}  // namespace

TEST(WindowPaint, PaintsThroughTheObject) {
    graphics_test::EnsureWindowClasses();
    PaintWindow w;
    w.SetSize(16, 12);
    ASSERT_TRUE(w.Create(nullptr, L"paint", WS_POPUP, 0));
    ShowWindow(w.Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(w.Handle());
    EXPECT_GE(w.paints, 1);

    CDibSection printed;
    ASSERT_TRUE(printed.Create(16, 12));
    ASSERT_TRUE(PrintWindow(w.Handle(), printed.Dc(), 0));
    std::vector<uint32_t> px = ReadPixels(printed);
    ASSERT_EQ(px.size(), 16u * 12u);
    EXPECT_EQ(px[0] & 0xFFFFFF, 0xC80A14u);
    EXPECT_EQ(px[16 * 6 + 8] & 0xFFFFFF, 0xC80A14u);

    CDibSection copied;
    ASSERT_TRUE(copied.Create(16, 12));
    HDC windowDc = GetDC(w.Handle());
    ASSERT_NE(windowDc, nullptr);
    EXPECT_TRUE(BitBlt(copied.Dc(), 0, 0, 16, 12, windowDc, 0, 0, SRCCOPY));
    ReleaseDC(w.Handle(), windowDc);
    px = ReadPixels(copied);
    ASSERT_EQ(px.size(), 16u * 12u);
    EXPECT_EQ(px[16 * 3 + 3] & 0xFFFFFF, 0xC80A14u);
}

TEST(AlphaWindow, SurfaceFollowsTheWindow) {
    graphics_test::EnsureWindowClasses();
    CountedAlphaWindow w;
    w.SetSize(40, 30);
    ASSERT_TRUE(w.Create(nullptr, L"alpha", WS_POPUP, WS_EX_LAYERED));
    EXPECT_TRUE(GetWindowLongPtrW(w.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    ASSERT_TRUE(w.Surface().IsValid());
    EXPECT_EQ(w.Surface().Width(), 40);
    EXPECT_EQ(w.Surface().Height(), 30);
    EXPECT_EQ(w.Surface().BitCount(), 32);
    EXPECT_TRUE(w.PerPixelAlpha());

    int before = w.redraws;
    ASSERT_TRUE(SetWindowPos(w.Handle(), nullptr, 5, 6, 50, 20, SWP_NOZORDER | SWP_NOACTIVATE));
    EXPECT_EQ(w.Surface().Width(), 50);
    EXPECT_EQ(w.Surface().Height(), 20);
    EXPECT_GT(w.redraws, before);

    // The surface goes on screen at the window's rectangle.
    RECT all{0, 0, 50, 20};
    gdi::Object<HBRUSH> brush(CreateSolidBrush(RGB(0, 0, 255)));
    FillRect(w.Surface().Dc(), &all, brush.get());
    w.Surface().FillAlpha(0, 0, 50, 20, 255);
    gdi::ScreenDc screen;
    EXPECT_TRUE(w.UpdateLayered(screen.get()));

    before = w.redraws;
    w.SetAlpha(3);
    EXPECT_EQ(w.Alpha(), 10);
    EXPECT_EQ(w.redraws, before + 1);
    w.SetColorKey(RGB(0, 0, 255));
    w.SetPerPixelAlpha(false);
    w.SetAlpha(255);
    EXPECT_EQ(w.Alpha(), 255);
}

TEST(AlphaWindow, NonLayeredStyleStillBecomesLayered) {
    graphics_test::EnsureWindowClasses();
    CAlphaWindow w;
    w.SetSize(20, 20);
    ASSERT_TRUE(w.Create(nullptr, L"tool", WS_POPUP, WS_EX_TOOLWINDOW));
    wchar_t name[64] = {};
    GetClassNameW(w.Handle(), name, 64);
    EXPECT_STREQ(name, kGenericWindowClass);
    EXPECT_TRUE(GetWindowLongPtrW(w.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(w.Surface().IsValid());
}

TEST(AlphaWindow, SurfaceFailureRefusesTheWindow) {
    graphics_test::EnsureWindowClasses();
    int deletions = 0;
    for (SIZE size : {SIZE{100000, 100000}, SIZE{0, 10}, SIZE{-5, 10}}) {
        auto w = CWindow::NewDeletedWithWindow<CountedAlphaWindow>(&deletions);
        w->SetSize(size.cx, size.cy);
        EXPECT_FALSE(w->Create(nullptr, L"too big", WS_POPUP, WS_EX_LAYERED)) << size.cx;
        EXPECT_EQ(w->Handle(), nullptr);
        EXPECT_FALSE(w->Surface().IsValid());
        EXPECT_EQ(deletions, 0);  // the owner still holds it
        w.reset();
        EXPECT_EQ(deletions, 1);
        deletions = 0;
    }
}

TEST(AlphaWindow, ClosedBySystemDeletesAMarkedObject) {
    graphics_test::EnsureWindowClasses();
    int deletions = 0;
    auto w = CWindow::NewDeletedWithWindow<CountedAlphaWindow>(&deletions);
    w->SetSize(10, 10);
    ASSERT_TRUE(w->Create(nullptr, L"closing", WS_POPUP, WS_EX_LAYERED));
    HWND h = w.release()->Handle();
    SendMessageW(h, WM_CLOSE, 0, 0);  // DefWindowProc destroys the window
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(deletions, 1);
}
