#include "tests/tray/tray_fixture.h"

#include "common/settings/ini_paths.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "common/records/clock_table.h"
#include "common/zones/local_zone.h"
#include "common/platform/text_bounds.h"
#include "tempovia/desktop/desktop_clocks.h"
#include "tempovia/main/app_state.h"
#include "tempovia/tray/context_menu.h"
#include "tempovia/tray/menu_commands.h"
#include "tempovia/tray/tray_icon.h"
#include "tempovia/tray/tray_links.h"
#include "tests/support/program_folder.h"

namespace tray_test {

namespace {

std::wstring OrNull(const wchar_t* text) { return text ? text : L"(null)"; }

LRESULT CALLBACK TestMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        const WORD id = LOWORD(wParam);
        Log().commands.push_back(id);
        if (id != 105 && id != static_cast<WORD>(MSG_QUIT)) RunTrayCommand(window, id);
        return 0;
    }
    if (message >= WM_APP) {
        Log().messages.push_back(message);
        if (message == MSG_TRAY_ICON) {
            OnTrayIcon(window, wParam, lParam);
            return 0;
        }
        if (message >= MSG_CLOCK_MOUSE && message <= MSG_CLOCK_MOUSE_LAST && wParam == CLOCK_MOUSE_MENU) {
            g_app.currentClock = static_cast<int>(message - MSG_CLOCK_MOUSE);
            return Log().menuRequestAnswer;
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK StandInTaskbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data) StandInTaskbar::Requests().push_back(static_cast<DWORD>(data->dwData));
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

StandInTaskbar::StandInTaskbar() {
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = StandInTaskbarProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"Shell_TrayWnd";
        atom = RegisterClassW(&wc);
    }
    Requests().clear();
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
}

StandInTaskbar::~StandInTaskbar() {
    if (window_) DestroyWindow(window_);
}

std::vector<DWORD>& StandInTaskbar::Requests() {
    static std::vector<DWORD> requests;
    return requests;
}

HINSTANCE RecordingSystem::ShellExecuteOpen(HWND, const wchar_t* verb, const wchar_t* file,
                                            const wchar_t* parameters, const wchar_t* directory, int show) {
    shell.push_back(ShellCall{OrNull(verb), OrNull(file), OrNull(parameters), OrNull(directory), show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

BOOL RecordingSystem::BeepTone(DWORD frequency, DWORD milliseconds) {
    beeps.emplace_back(frequency, milliseconds);
    return TRUE;
}

BOOL RecordingSystem::OpenOwnProcessToken(DWORD, HANDLE* token) {
    *token = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x1234));
    return TRUE;
}

BOOL RecordingSystem::EnableTokenPrivilege(HANDLE, const wchar_t* privilege) {
    privileges.push_back(OrNull(privilege));
    return TRUE;
}

BOOL RecordingSystem::SetSystemTimeZone(const TIME_ZONE_INFORMATION& zone) {
    zones.push_back(zone);
    return zoneResult;
}

LONG RecordingSystem::SetAutoDaylightDisabled(bool disabled) {
    autoDaylight.push_back(disabled);
    return ERROR_SUCCESS;
}

void RecordingSystem::BroadcastSettingChange(const wchar_t* area, UINT timeoutMs) {
    broadcasts.emplace_back(OrNull(area), timeoutMs);
}

MainWindowLog& Log() {
    static MainWindowLog log;
    return log;
}

HWND CreateTestMainWindow() {
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = TestMainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TrayTestMain";
        atom = RegisterClassW(&wc);
    }
    return CreateWindowExW(0, L"TrayTestMain", L"", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

void Pump() {
    for (int round = 0; round < 3; ++round) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
}

ClockRecord MakeClock(int number) {
    ClockRecord c = {};
    c.number = number;
    c.enabled = 1;
    CopyBounded(c.timeformat, L"HH:mm:ss");
    CopyBounded(c.dateformat, L"yyyy-MM-dd");
    c.zone = LocalZone();
    CopyBounded(c.zone.key, L"Test Standard Time");
    c.zone.Bias = LocalZone().Bias + 60;
    c.zone.DaylightDate = SYSTEMTIME{};
    c.zone.StandardDate = SYSTEMTIME{};
    c.zone.standardWeek = 0;
    c.zone.daylightWeek = 0;
    c.usedaylight = 1;
    return c;
}

void TrayTest::SetUp() {
    Log() = MainWindowLog{};
    SetSettingsFolder(dir_.path());
    SetUserNameOverride(L"tester");
    g_clocks = nullptr;
    g_clockCount = 0;
    g_settings = GlobalSettings{};
    g_app.currentClock = -1;
    g_app.taskbarClockCount = 0;
    g_app.newClockAllowed = true;
    g_app.explorerProcessId = 0;
    g_app.trayClock = nullptr;
    g_app.icon = nullptr;
    main_ = CreateTestMainWindow();
    ASSERT_NE(main_, nullptr);
    g_app.mainWindow = main_;
}

void TrayTest::TearDown() {
    TrayIconRemove();
    DestroyContextMenu();
    desktop::DestroyDesktopClocks(false);
    SetTrayLinks(TrayLinks{});
    SetTrayMessageFn(nullptr);
    SetTrackMenuFn(nullptr);
    if (main_) DestroyWindow(main_);
    Pump();
    g_app.mainWindow = nullptr;
    g_app.currentClock = -1;
    g_app.explorerProcessId = 0;
    g_clocks = nullptr;
    g_clockCount = 0;
    SetUserNameOverride(nullptr);
    SetSettingsFolder(L"");
}

void TrayTest::UseClocks(std::vector<ClockRecord> clocks) {
    clocks_ = std::move(clocks);
    g_clocks = clocks_.empty() ? nullptr : clocks_.data();
    g_clockCount = static_cast<int>(clocks_.size());
}

HMODULE ResourceLibrary() {
    static HMODULE module = LoadLibraryExW((testing_support::BinFolder() + L"res_en.dll").c_str(), nullptr,
                                           LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

}  // namespace tray_test
