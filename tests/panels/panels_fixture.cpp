#include "tests/panels/panels_fixture.h"

#include <commctrl.h>

#include "common/settings/ini_paths.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "common/records/clock_table.h"
#include "common/platform/text_bounds.h"
#include "tempovia/main/app_state.h"
#include "tempovia/main/module_links.h"
#include "tempovia/panels/about_box.h"
#include "tempovia/panels/calendar.h"
#include "tempovia/panels/timer_panel.h"
#include "tempovia/panels/timer_panel_owner.h"
#include "tempovia/tray/menu_commands.h"
#include "tempovia/window/window.h"
#include "tests/support/program_folder.h"

namespace panels_test {
namespace {

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        Log().main.push_back(Note{message, wParam, lParam});
        RunTrayCommand(window, LOWORD(wParam));
        return 0;
    }
    if (message >= MSG_CLOCK_MOUSE && message <= MSG_CLOCK_MOUSE_LAST) {
        Log().main.push_back(Note{message, wParam, lParam});
        if (wParam == CLOCK_MOUSE_UP || wParam == CLOCK_MOUSE_DOWN) {
            g_app.currentClock = static_cast<int>(message - MSG_CLOCK_MOUSE);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ClockProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MSG_TIMER_PANEL_ANCHOR) {
        Log().clock.push_back(Note{message, wParam, lParam});
        return MAKELONG(Log().anchor.x, Log().anchor.y);
    }
    if (message == MSG_CLOCK_HOVER_TEST) {
        Log().clock.push_back(Note{message, wParam, lParam});
        return Log().hoverAnswer;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(const wchar_t* name, WNDPROC proc, int x, int y) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = name;
    RegisterClassW(&wc);  // again for every test: fails harmlessly after the first
    return CreateWindowExW(WS_EX_TOOLWINDOW, name, L"", WS_POPUP | WS_VISIBLE, x, y, 120, 30, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

WindowLog& Log() {
    static WindowLog log;
    return log;
}

HINSTANCE RecordingSystem::ShellExecuteOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*,
                                            const wchar_t*, int) {
    shell.push_back(ShellCall{verb ? verb : L"", file ? file : L""});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

void Pump() {
    for (int round = 0; round < 3; ++round) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

void PanelsTest::SetUp() {
    static bool once = [] {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        RegisterWindowClasses(GetModuleHandleW(nullptr));
        return true;
    }();
    (void)once;
    if (!ResourceModule()) LoadResourceModule(testing_support::BinFolder().c_str());
    ASSERT_NE(ResourceModule(), nullptr);
    SetSettingsFolder(dir_.path());
    SetUserNameOverride(L"tester");
    Log() = WindowLog{};
    g_settings = GlobalSettings{};
    g_app.currentClock = -1;
    g_app.trayClock = nullptr;
    panels::SetButtonImageFolder(testing_support::BinFolder().c_str());
    SetSystemSeam(&system_);

    main_ = MakeWindow(L"PanelsTestMain", MainProc, 0, 0);
    clock_ = MakeWindow(L"PanelsTestClock", ClockProc, 200, 300);
    ASSERT_NE(main_, nullptr);
    ASSERT_NE(clock_, nullptr);
    g_app.mainWindow = main_;
    // The program's own start-up steps.
    LinkProgramModules();
    panels::CreateTimerPanel();
}

void PanelsTest::TearDown() {
    panels::CloseCalendar();
    panels::CloseAboutDialog();
    g_app.mainWindow = nullptr;
    panels::ReleaseTimerPanel();  // the end of the program
    EXPECT_EQ(panels::TimerPanel(), nullptr);
    if (clock_) DestroyWindow(clock_);
    if (main_) DestroyWindow(main_);
    Pump();
    g_clocks = nullptr;
    g_clockCount = 0;
    SetSystemSeam(nullptr);
    panels::SetButtonImageFolder(nullptr);
    SetUserNameOverride(nullptr);
    SetSettingsFolder(L"");
}

void PanelsTest::UseClocks(const std::vector<uint32_t>& kinds) {
    clocks_.assign(kinds.size(), ClockRecord{});
    for (size_t i = 0; i < kinds.size(); ++i) {
        clocks_[i].number = static_cast<int32_t>(i + 1);
        clocks_[i].enabled = 1;
        clocks_[i].kind = kinds[i];
        CopyBounded(clocks_[i].prefix, L"Watch");
    }
    g_clocks = clocks_.data();
    g_clockCount = static_cast<int>(clocks_.size());
}

std::wstring PanelsTest::IniPath() const { return UserIniPath(); }

}  // namespace panels_test
