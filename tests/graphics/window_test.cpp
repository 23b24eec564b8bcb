// CWindow and the shared window procedure, driven by messages on headless
// windows: dispatch, user data, fallback, capture, ownership on every way a
// window can end, and exceptions that must not escape.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "tempovia/window/window.h"
#include "tests/graphics/window_test_util.h"

namespace {

constexpr UINT kAnswer = WM_APP + 1;         // handled: result 42
constexpr UINT kThrow = WM_APP + 2;          // the handler throws
constexpr UINT kDestroySelf = WM_APP + 3;    // the handler destroys its own window
constexpr UINT kUnhandled = WM_APP + 4;      // left to the fallback

// What a self-destroying handler saw, kept outside the object that goes.
int g_deletionsSeenInHandler = -1;

class TestWindow : public CWindow {
public:
    explicit TestWindow(int* deletions = nullptr) : deletions_(deletions) {}
    ~TestWindow() override {
        if (deletions_) ++*deletions_;
    }

    bool OnMessage(WindowMessage& m) override {
        seen.push_back(m.message);
        switch (m.message) {
        case WM_CREATE:
            if (throwOnCreate) throw std::runtime_error("create refused");
            return false;
        case kAnswer:
            m.result = 42;
            return true;
        case kThrow:
            throw std::runtime_error("handler failed");
        case kDestroySelf:
            Destroy();
            // Still alive: deletion waits until this handler has returned.
            g_deletionsSeenInHandler = deletions_ ? *deletions_ : -1;
            seen.push_back(kDestroySelf);
            m.result = 7;
            return true;
        default:
            return false;
        }
    }

    bool Saw(UINT message) const {
        for (UINT m : seen)
            if (m == message) return true;
        return false;
    }

    std::vector<UINT> seen;
    bool throwOnCreate = false;

private:
    int* deletions_;
};

LRESULT CALLBACK FallbackProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == kUnhandled) return 77;
    return DefWindowProcW(w, m, wp, lp);
}

std::wstring ClassOf(HWND w) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    return name;
}

}  // namespace

TEST(WindowClasses, RegisteredWithTheSharedProcedure) {
    graphics_test::EnsureWindowClasses();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW generic{};
    generic.cbSize = sizeof generic;
    ASSERT_TRUE(GetClassInfoExW(instance, kGenericWindowClass, &generic));
    EXPECT_EQ(generic.style, 43u);
    EXPECT_EQ(generic.cbWndExtra, 8);
    EXPECT_EQ(generic.cbClsExtra, 0);
    EXPECT_EQ(generic.hbrBackground, reinterpret_cast<HBRUSH>(6));
    EXPECT_EQ(generic.lpfnWndProc, &SharedWindowProc);
    WNDCLASSEXW layered{};
    layered.cbSize = sizeof layered;
    ASSERT_TRUE(GetClassInfoExW(instance, kLayeredWindowClass, &layered));
    EXPECT_EQ(layered.style, 11u);
    // Registering again fails and leaves the existing classes usable.
    EXPECT_FALSE(RegisterWindowClasses(instance));
    TestWindow w;
    EXPECT_TRUE(w.Create(nullptr, L"again", WS_POPUP, 0));
}

TEST(Window, DispatchesToTheObject) {
    graphics_test::EnsureWindowClasses();
    TestWindow w;
    w.SetPosition(10, 20);
    w.SetSize(120, 80);
    ASSERT_TRUE(w.Create(nullptr, L"probe", WS_POPUP, 0));
    HWND h = w.Handle();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(ClassOf(h), kGenericWindowClass);
    EXPECT_EQ(GetWindowLongPtrW(h, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&w));
    EXPECT_TRUE(w.Saw(WM_CREATE));
    RECT r{};
    GetWindowRect(h, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 120);
    EXPECT_EQ(r.bottom - r.top, 80);

    EXPECT_EQ(SendMessageW(h, kAnswer, 0, 0), 42);
    EXPECT_EQ(SendMessageW(h, kUnhandled, 0, 0), 0);  // DefWindowProcW
    w.SetFallbackProc(FallbackProc);
    EXPECT_EQ(SendMessageW(h, kUnhandled, 0, 0), 77);
    EXPECT_TRUE(w.Saw(kUnhandled));
    // One window per object.
    EXPECT_FALSE(w.Create(nullptr, L"second", WS_POPUP, 0));
    EXPECT_EQ(w.Handle(), h);
}

TEST(Window, ExceptionsStayInsideTheProcedure) {
    graphics_test::EnsureWindowClasses();
    TestWindow w;
    ASSERT_TRUE(w.Create(nullptr, L"thrower", WS_POPUP, 0));
    w.SetFallbackProc(FallbackProc);
    // Counts as unhandled: the fallback answers, and the window lives on.
    EXPECT_EQ(SendMessageW(w.Handle(), kThrow, 0, 0), 0);
    EXPECT_TRUE(IsWindow(w.Handle()));
    EXPECT_EQ(SendMessageW(w.Handle(), kAnswer, 0, 0), 42);

    // A failing WM_CREATE refuses the window.
    TestWindow refused;
    refused.throwOnCreate = true;
    EXPECT_FALSE(refused.Create(nullptr, L"refused", WS_POPUP, 0));
    EXPECT_EQ(refused.Handle(), nullptr);
}

TEST(Window, MouseCaptureFollowsButtons) {
    graphics_test::EnsureWindowClasses();
    TestWindow w;
    ASSERT_TRUE(w.Create(nullptr, L"capture", WS_POPUP, 0));
    HWND h = w.Handle();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(GetCapture(), h);
    SendMessageW(h, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    EXPECT_EQ(GetCapture(), h);
    SendMessageW(h, WM_SHOWWINDOW, FALSE, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageW(h, WM_MBUTTONDOWN, MK_MBUTTON, 0);
    EXPECT_EQ(GetCapture(), h);
    w.Destroy();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(w.Handle(), nullptr);
}

TEST(WindowOwnership, ObjectNotMarkedOutlivesItsWindow) {
    graphics_test::EnsureWindowClasses();
    int deletions = 0;
    {
        TestWindow w(&deletions);
        ASSERT_TRUE(w.Create(nullptr, L"static-like", WS_POPUP, 0));
        HWND h = w.Handle();
        // Closed by the system: the object is unbound, not deleted.
        DestroyWindow(h);
        EXPECT_EQ(deletions, 0);
        EXPECT_EQ(w.Handle(), nullptr);
        EXPECT_FALSE(IsWindow(h));
        EXPECT_TRUE(w.Saw(WM_DESTROY));
        // It can make a new window.
        ASSERT_TRUE(w.Create(nullptr, L"again", WS_POPUP, 0));
    }
    EXPECT_EQ(deletions, 1);  // its own destructor, once
}

TEST(WindowOwnership, MarkedObjectGoesWithItsWindow) {
    graphics_test::EnsureWindowClasses();
    int deletions = 0;
    auto owned = CWindow::NewDeletedWithWindow<TestWindow>(&deletions);
    ASSERT_TRUE(owned->Create(nullptr, L"owned", WS_POPUP, 0));
    EXPECT_TRUE(owned->IsDeletedWithWindow());
    HWND h = owned.release()->Handle();
    DestroyWindow(h);
    EXPECT_EQ(deletions, 1);
    EXPECT_FALSE(IsWindow(h));

    // Destroy from outside does the same.
    auto second = CWindow::NewDeletedWithWindow<TestWindow>(&deletions);
    ASSERT_TRUE(second->Create(nullptr, L"owned2", WS_POPUP, 0));
    second.release()->Destroy();
    EXPECT_EQ(deletions, 2);

    // Closing a parent closes its children, which take their objects along.
    TestWindow parent;
    ASSERT_TRUE(parent.Create(nullptr, L"parent", WS_POPUP, 0));
    auto child = CWindow::NewDeletedWithWindow<TestWindow>(&deletions);
    ASSERT_TRUE(child->Create(parent.Handle(), L"child", WS_CHILD, 0));
    child.release();
    parent.Destroy();
    EXPECT_EQ(deletions, 3);
}

TEST(WindowOwnership, DeletingTheObjectDestroysTheWindowOnce) {
    graphics_test::EnsureWindowClasses();
    int deletions = 0;
    auto owned = CWindow::NewDeletedWithWindow<TestWindow>(&deletions);
    ASSERT_TRUE(owned->Create(nullptr, L"owned", WS_POPUP, 0));
    HWND h = owned->Handle();
    owned.reset();
    EXPECT_EQ(deletions, 1);
    EXPECT_FALSE(IsWindow(h));
}

TEST(WindowOwnership, HandlerThatDestroysItsWindowFinishesFirst) {
    graphics_test::EnsureWindowClasses();
    int deletions = 0;
    auto owned = CWindow::NewDeletedWithWindow<TestWindow>(&deletions);
    ASSERT_TRUE(owned->Create(nullptr, L"self", WS_POPUP, 0));
    HWND h = owned.release()->Handle();
    g_deletionsSeenInHandler = -1;
    EXPECT_EQ(SendMessageW(h, kDestroySelf, 0, 0), 7);
    EXPECT_EQ(g_deletionsSeenInHandler, 0);  // still alive inside its handler
    EXPECT_EQ(deletions, 1);                 // gone once the handler returned
    EXPECT_FALSE(IsWindow(h));
}

TEST(WindowOwnership, FailedCreationLeavesTheObjectToItsOwner) {
    graphics_test::EnsureWindowClasses();
    int deletions = 0;
    auto owned = CWindow::NewDeletedWithWindow<TestWindow>(&deletions);
    owned->throwOnCreate = true;
    EXPECT_FALSE(owned->Create(nullptr, L"refused", WS_POPUP, 0));
    EXPECT_EQ(deletions, 0);
    EXPECT_TRUE(owned->Saw(WM_CREATE));
    owned.reset();
    EXPECT_EQ(deletions, 1);
}

TEST(WindowOwnership, DestroyKeepingObject) {
    graphics_test::EnsureWindowClasses();
    int deletions = 0;
    auto owned = CWindow::NewDeletedWithWindow<TestWindow>(&deletions);
    ASSERT_TRUE(owned->Create(nullptr, L"kept", WS_POPUP, 0));
    HWND h = owned->Handle();
    owned->DestroyKeepingObject();
    EXPECT_EQ(deletions, 0);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(owned->Handle(), nullptr);
    EXPECT_FALSE(owned->IsDestroying());
    ASSERT_TRUE(owned->Create(nullptr, L"kept again", WS_POPUP, 0));
    owned.reset();
    EXPECT_EQ(deletions, 1);
}

TEST(Window, LayeredAlphaIsClampedAndApplied) {
    graphics_test::EnsureWindowClasses();
    TestWindow w;
    ASSERT_TRUE(w.Create(nullptr, L"layered", WS_POPUP, WS_EX_LAYERED));
    EXPECT_EQ(ClassOf(w.Handle()), kLayeredWindowClass);
    BYTE alpha = 0;
    DWORD flags = 0;
    COLORREF key = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(w.Handle(), &key, &alpha, &flags));
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));

    w.SetAlpha(5);
    EXPECT_EQ(w.Alpha(), 10);
    ASSERT_TRUE(GetLayeredWindowAttributes(w.Handle(), &key, &alpha, &flags));
    EXPECT_EQ(alpha, 10);
    w.SetAlpha(300);
    EXPECT_EQ(w.Alpha(), 255);
    w.SetColorKey(RGB(1, 2, 3));
    w.SetAlpha(128);
    ASSERT_TRUE(GetLayeredWindowAttributes(w.Handle(), &key, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(key, RGB(1, 2, 3));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA | LWA_COLORKEY));

    // Without a window only the value is kept.
    TestWindow none;
    none.SetAlpha(-40);
    EXPECT_EQ(none.Alpha(), 10);
}
