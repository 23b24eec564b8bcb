#include "common/platform/lent_pointer.h"
#include "tests/optionpages/page_fixture.h"

#include <commctrl.h>

#include "common/settings/ini_paths.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "common/settings/time_format.h"
#include "common/records/clock_table.h"
#include "tests/support/program_folder.h"

namespace optionpages_test {

namespace {

constexpr wchar_t kHostClass[] = L"TvOptionPagesHost";
std::vector<WPARAM> g_changes;
int g_languageNotices = 0;
PageTest* g_test = nullptr;
ClockRecord* g_clock = nullptr;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAGE_CHANGED) {
        g_changes.push_back(wParam);
        return 0;
    }
    if (message == MSG_LANGUAGE_CHANGED) {
        ++g_languageNotices;
        return 0;
    }
    if (message == WM_GET_CLOCK_RECORD) {
        if (lParam) *reinterpret_cast<ClockRecord**>(lParam) = g_clock;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void PageTest::SetUp() {
    g_test = this;
    g_changes.clear();
    g_languageNotices = 0;
    savedSettings_ = g_settings;
    g_settings = GlobalSettings{};
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    ASSERT_TRUE(CopyFileW((testing_support::BinFolder() + L"res_en.dll").c_str(), dir_.file(L"res_en.dll").c_str(),
                          FALSE));
    SetSettingsFolder(dir_.path());
    SetUserNameOverride(L"Tester");
    Language().SetLanguageFileBase(L"tempovia");
    Language().SetLanguageFolder((dir_.path() + L"\\").c_str());
    ASSERT_TRUE(LoadResourceModule((dir_.path() + L"\\").c_str()));
    LocaleTimeFormat format = {};
    format.separator[0] = L':';
    format.is24Hour = true;
    SetLocaleTimeFormat(format);

    WNDCLASSW wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHostClass;
    RegisterClassW(&wc);
    host_ = CreateWindowExW(0, kHostClass, L"host", WS_OVERLAPPEDWINDOW, 0, 0, 600, 500, nullptr, nullptr,
                            wc.hInstance, nullptr);
    ASSERT_NE(host_, nullptr);
    g_clock = &clock_;
}

void PageTest::TearDown() {
    if (host_) DestroyWindow(host_);
    Pump();
    UnregisterClassW(kHostClass, GetModuleHandleW(nullptr));
    FreeResourceModule();
    SetUserNameOverride(nullptr);
    ResetSettingsFolder();
    g_settings = savedSettings_;
    g_clock = nullptr;
    g_test = nullptr;
}

HWND PageTest::CreatePage(UINT id, DLGPROC proc) {
    g_clock = hostHasClock_ ? &clock_ : nullptr;
    HWND page = CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(id), host_, proc, static_cast<LPARAM>(id));
    if (page) ShowWindow(page, SW_SHOW);
    Pump();
    return page;
}

HWND PageTest::Exchange(HWND page, WPARAM direction, void* record) {
    g_clock = hostHasClock_ ? &clock_ : nullptr;
    PageExchangeBlock block = {record, nullptr};
    SendWithPointer(page, WM_PAGE_EXCHANGE, direction, &block);
    return block.failedControl;
}

std::vector<WPARAM> PageTest::Changes() {
    Pump();
    return g_changes;
}

int PageTest::LanguageNotices() const { return g_languageNotices; }

std::wstring PageTest::Text(HWND page, int id) {
    wchar_t text[512] = {};
    GetDlgItemTextW(page, id, text, 512);
    return text;
}

void PageTest::WriteFile(const wchar_t* name, const std::string& bytes) {
    ASSERT_TRUE(testing_support::WriteBytes(dir_.file(name), bytes));
}

std::wstring PageTest::Ini() const { return UserIniPath(); }

}  // namespace optionpages_test
