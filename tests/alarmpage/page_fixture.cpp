#include "common/platform/lent_pointer.h"
#include "tests/alarmpage/page_fixture.h"

#include <windows.h>

#include <commctrl.h>

#include "common/settings/alarm_sections.h"
#include "common/settings/ini_paths.h"
#include "common/settings/localisation.h"
#include "common/settings/resource_module.h"
#include "common/settings/time_format.h"
#include "common/alarms/alarm_log.h"
#include "settings/page_alarm.h"
#include "settings/schedule_editor.h"
#include "tests/support/program_folder.h"

namespace alarmpage_test {

namespace {

constexpr wchar_t kHostClass[] = L"AlarmPageTestHost";

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GET_CLOCK_RECORD:
            if (auto* out = reinterpret_cast<ClockRecord**>(lParam)) *out = HostClock();
            return 0;
        case WM_PAGE_CHANGED:
            HostChanges().push_back(wParam);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

ClockRecord*& HostClock() {
    static ClockRecord* clock = nullptr;
    return clock;
}

std::vector<WPARAM>& HostChanges() {
    static std::vector<WPARAM> changes;
    return changes;
}

HINSTANCE SeamRecorder::ShellExecuteOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*,
                                         const wchar_t*, int) {
    std::lock_guard<std::mutex> hold(lock_);
    calls_.push_back(std::wstring(L"shell ") + (verb ? verb : L"") + L" " + (file ? file : L""));
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

BOOL SeamRecorder::PlaySoundFile(const wchar_t* sound, HMODULE, DWORD) {
    std::lock_guard<std::mutex> hold(lock_);
    calls_.push_back(std::wstring(L"sound ") + (sound ? sound : L"(stop)"));
    return TRUE;
}

BOOL SeamRecorder::BeepTone(DWORD hz, DWORD ms) {
    std::lock_guard<std::mutex> hold(lock_);
    calls_.push_back(L"beep " + std::to_wstring(hz) + L" " + std::to_wstring(ms));
    return TRUE;
}

BOOL SeamRecorder::ExitWindowsSession(UINT, DWORD) {
    std::lock_guard<std::mutex> hold(lock_);
    calls_.push_back(L"shutdown");
    return FALSE;
}

BOOL SeamRecorder::SetSuspendPower(BOOLEAN, BOOLEAN, BOOLEAN) {
    std::lock_guard<std::mutex> hold(lock_);
    calls_.push_back(L"hibernate");
    return FALSE;
}

std::vector<std::wstring> SeamRecorder::Calls() {
    std::lock_guard<std::mutex> hold(lock_);
    return calls_;
}

void AlarmPageTest::SetUp() {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_DATE_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HostClock() = nullptr;
    HostChanges().clear();
    ASSERT_TRUE(CopyFileW((testing_support::BinFolder() + L"res_en.dll").c_str(), dir_.file(L"res_en.dll").c_str(),
                          FALSE));
    SetSettingsFolder(dir_.path());
    SetUserNameOverride(L"Tester");
    Language().SetLanguageFileBase(L"tempovia");
    Language().SetLanguageFolder((dir_.path() + L"\\").c_str());
    ASSERT_TRUE(LoadResourceModule((dir_.path() + L"\\").c_str()));
    Language().SetPluralInfo(ResourceModule(), kUnitNameIds);
    oldSeam_ = SetSystemSeam(&seam_);

    WNDCLASSW wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHostClass;
    RegisterClassW(&wc);
    host_ = CreateWindowExW(0, kHostClass, L"host", WS_OVERLAPPEDWINDOW, 0, 0, 600, 500, nullptr, nullptr,
                            wc.hInstance, nullptr);
    ASSERT_NE(host_, nullptr);
    ShowWindow(host_, SW_SHOWNOACTIVATE);
}

void AlarmPageTest::TearDown() {
    if (page_ && IsWindow(page_)) DestroyWindow(page_);
    if (host_) DestroyWindow(host_);
    Pump();
    UnregisterClassW(kHostClass, GetModuleHandleW(nullptr));
    SetSystemSeam(oldSeam_);
    HostClock() = nullptr;
}

HWND AlarmPageTest::Create(UINT resource) {
    page_ = CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(resource), host_, AlarmPageDlgProc,
                               static_cast<LPARAM>(resource));
    // The tests read and write times in one fixed form, whatever the locale.
    SetLocaleTimeFormat(LocaleTimeFormat{L":", true, L"", L""});
    if (page_) ShowWindow(page_, SW_SHOWNA);
    return page_;
}

void AlarmPageTest::Load(AlarmRecord& alarm) {
    PageExchangeBlock block = {&alarm, nullptr};
    SendWithPointer(page_, WM_PAGE_EXCHANGE, 0, &block);
    TakeChanges();
}

HWND AlarmPageTest::Store(AlarmRecord& alarm) {
    PageExchangeBlock block = {&alarm, nullptr};
    SendWithPointer(page_, WM_PAGE_EXCHANGE, 1, &block);
    return block.failedControl;
}

HWND AlarmPageTest::Editor(int kind) { return ScheduleEditorWindow(page_, kind); }

std::wstring AlarmPageTest::Text(HWND control) {
    wchar_t text[512] = {};
    GetWindowTextW(control, text, 512);
    return text;
}

void AlarmPageTest::SetText(HWND control, const wchar_t* text) { SetWindowTextW(control, text); }

void AlarmPageTest::Click(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    SendMessageW(button, BM_CLICK, 0, 0);
}

void AlarmPageTest::SelectCombo(HWND dialog, int id, int index) {
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

int AlarmPageTest::ComboSelection(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

int AlarmPageTest::TakeChanges() {
    Pump();
    const int n = static_cast<int>(HostChanges().size());
    HostChanges().clear();
    return n;
}

AlarmRecord MakeAlarm(int type) {
    AlarmRecord a = {};
    InitAlarmRecord(a);
    a.type = type;
    return a;
}

}  // namespace alarmpage_test
