#include "tests/syncpages/page_fixture.h"

#include "common/settings/ini_paths.h"
#include "common/settings/localisation.h"
#include "common/settings/resource_module.h"
#include "tests/support/program_folder.h"

namespace syncpages_test {

void PageTest::SetUp() {
    ASSERT_TRUE(CopyFileW((testing_support::BinFolder() + L"res_en.dll").c_str(), dir_.file(L"res_en.dll").c_str(),
                          FALSE));
    SetSettingsFolder(dir_.path());
    SetUserNameOverride(L"Tester");
    Language().SetLanguageFileBase(L"tempovia");
    Language().SetLanguageFolder((dir_.path() + L"\\").c_str());
    ASSERT_TRUE(LoadResourceModule((dir_.path() + L"\\").c_str()));
    oldSeam_ = SetSystemSeam(&system_);
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);
}

void PageTest::TearDown() {
    if (owner_) DestroyWindow(owner_);
    Pump();
    SetSystemSeam(oldSeam_);
    SetUserNameOverride(nullptr);
    SetSettingsFolder(L"");
}

HWND PageTest::CreatePage(UINT resource, DLGPROC proc) {
    return CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(resource), owner_, proc,
                              static_cast<LPARAM>(resource));
}

void PageTest::WriteIni(const char* text) { testing_support::WriteBytes(Ini(), text); }

std::wstring PageTest::Read(const wchar_t* section, const wchar_t* key) const {
    wchar_t buffer[1024] = {};
    GetPrivateProfileStringW(section, key, L"<none>", buffer, ARRAYSIZE(buffer), Ini().c_str());
    return buffer;
}

void PageTest::Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (ms) Sleep(10);
    } while (GetTickCount() - start < ms);
}

std::wstring PageTest::TextOf(HWND control) {
    wchar_t buffer[2048] = {};
    GetWindowTextW(control, buffer, ARRAYSIZE(buffer));
    return buffer;
}

}  // namespace syncpages_test
