#include "common/platform/lent_pointer.h"
#include "tests/clockpages/page_fixture.h"

#include <commctrl.h>

#include "common/settings/ini_paths.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "common/zones/city_list.h"
#include "common/zones/local_zone.h"
#include "common/zones/zone_database.h"
#include "tests/support/program_folder.h"

namespace clockpages_test {

namespace {

constexpr wchar_t kParentClass[] = L"ClockPagesTestParent";
std::vector<WPARAM> g_changes;

LRESULT CALLBACK ParentProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAGE_CHANGED) {
        g_changes.push_back(wp);
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

}  // namespace

void PageTest::SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_DATE_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    if (!g_zones.live) {
        ASSERT_TRUE(LoadZoneDatabase(testing_support::SourcePath(L"data/timezones.txt").c_str()));
        ASSERT_TRUE(LoadCityList(testing_support::SourcePath(L"data/cities.txt").c_str()));
    }
}

void PageTest::SetUp() {
    g_changes.clear();
    ASSERT_TRUE(CopyFileW((testing_support::BinFolder() + L"res_en.dll").c_str(), dir_.file(L"res_en.dll").c_str(),
                          FALSE));
    SetSettingsFolder(dir_.path());
    Language().SetLanguageFileBase(L"tempovia");
    Language().SetLanguageFolder((dir_.path() + L"\\").c_str());
    Language().SetLanguage(L"en");
    ASSERT_TRUE(LoadResourceModule((dir_.path() + L"\\").c_str()));
    Language().SetPluralInfo(ResourceModule(), kUnitNameIds);
    oldServices_ = PageServices();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kParentClass;
    RegisterClassW(&wc);
    parent_ = CreateWindowExW(0, kParentClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 600, 500, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ASSERT_NE(parent_, nullptr);
}

void PageTest::TearDown() {
    if (page_) DestroyWindow(page_);
    if (parent_) DestroyWindow(parent_);
    Pump();
    UnregisterClassW(kParentClass, GetModuleHandleW(nullptr));
    SetPageServices(oldServices_);
    Language().SetPluralInfo(nullptr, nullptr);
    FreeResourceModule();
    ResetSettingsFolder();
}

HWND PageTest::Create(UINT resource, DLGPROC proc) {
    page_ = CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(resource), parent_, proc,
                               static_cast<LPARAM>(resource));
    if (page_) ShowWindow(page_, SW_SHOW);
    Pump();
    g_changes.clear();
    return page_;
}

void PageTest::Load(HWND page, ClockRecord& record) {
    PageExchangeBlock block = {&record, nullptr};
    SendWithPointer(page, WM_PAGE_EXCHANGE, 0, &block);
}

HWND PageTest::Store(HWND page, ClockRecord& record) {
    PageExchangeBlock block = {&record, nullptr};
    SendWithPointer(page, WM_PAGE_EXCHANGE, 1, &block);
    return block.failedControl;
}

std::vector<WPARAM> PageTest::Changes() {
    Pump();
    return g_changes;
}

void PageTest::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

std::wstring PageTest::Text(HWND page, int id) {
    wchar_t buffer[600] = {};
    GetDlgItemTextW(page, id, buffer, 600);
    return buffer;
}

void PageTest::SetText(HWND page, int id, const wchar_t* text) { SetDlgItemTextW(page, id, text); }

void PageTest::Click(HWND page, int id) {
    HWND control = GetDlgItem(page, id);
    ASSERT_NE(control, nullptr);
    SendMessageW(control, BM_CLICK, 0, 0);
}

ClockRecord MakeRecord(uint32_t kind) {
    ClockRecord record = {};
    record.number = 3;
    record.kind = kind;
    record.enabled = 1;
    record.alpha = 255;
    GetLocalZoneRecord(&record.zone);
    return record;
}

int ZoneWithDaylight(bool daylight) {
    for (int i = g_zones.count - 1; i > 0; --i) {
        const ZoneRecord& z = g_zones.live[i];
        const bool has = z.StandardDate.wMonth != 0 && z.DaylightDate.wMonth != 0 && z.DaylightBias != 0;
        if (has == daylight && z.StandardDate.wMonth == (daylight ? z.StandardDate.wMonth : 0) &&
            FindZoneByDisplayName(z.displayName) == i) {
            return i;
        }
    }
    return -1;
}

}  // namespace clockpages_test
