#include "tests/desktop/desktop_fixture.h"

namespace desktop_test {
namespace {

LRESULT CALLBACK MainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m >= MSG_CLOCK_MOUSE && m <= MSG_CLOCK_MOUSE_LAST) {
        MainLog().notes.push_back(MouseNote{static_cast<int>(m - MSG_CLOCK_MOUSE), wp, lp});
        return wp == CLOCK_MOUSE_MENU ? MainLog().menuAnswer : 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

}  // namespace

MainWindowLog& MainLog() {
    static MainWindowLog log;
    return log;
}

HWND MainWindow() {
    static HWND window = [] {
        RegisterWindowClasses(GetModuleHandleW(nullptr));
        WNDCLASSW wc{};
        wc.lpfnWndProc = MainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"DesktopTestMain";
        RegisterClassW(&wc);
        return CreateWindowExW(0, L"DesktopTestMain", L"", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
    }();
    return window;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void DesktopTest::SetUp() {
    ASSERT_TRUE(MainWindow());
    SetSettingsFolder(dir_.path());
    SetUserNameOverride(L"Tester");
    CopyBounded(g_settings.skin, L"Standard System Clock");
    MainLog() = MainWindowLog{};
    desktop::SetDesktopClockHost(desktop::DesktopClockHost{});
}

void DesktopTest::TearDown() {
    desktop::DestroyDesktopClocks(false);
    Pump();
    SetUserNameOverride(nullptr);
    SetSettingsFolder(L"");
}

void DesktopTest::InitClock(int index, const wchar_t* prefix, bool seconds) {
    ClockRecord& c = clocks_[index];
    std::memset(&c, 0, sizeof c);
    c.number = index + 1;
    c.enabled = 1;
    c.on_desktop = 1;
    c.alpha = 255;
    c.zone.Bias = 0;
    c.zone.id = 5;
    CopyBounded(c.zone.key, L"Test Zone");
    CopyBounded(c.timeformat, seconds ? L"HH:mm:ss" : L"HH:mm");
    CopyBounded(c.dateformat, L"");
    CopyBounded(c.prefix, prefix);
    c.showsSeconds = seconds ? 1 : 0;
}

}  // namespace desktop_test
