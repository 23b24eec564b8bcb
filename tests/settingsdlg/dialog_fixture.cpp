#include "tests/settingsdlg/dialog_fixture.h"

#include <commctrl.h>

#include "common/settings/ini_paths.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "settings/settings_app.h"
#include "tests/support/program_folder.h"

namespace settingsdlg_test {

namespace {

constexpr wchar_t kOwnerClass[] = L"SettingsDlgTestOwner";
std::vector<std::pair<UINT, LPARAM>> g_owner;

LRESULT CALLBACK OwnerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_CLOSE || m == SETTINGS_MSG_OPEN_PAGE) {
        g_owner.push_back({m, m == SETTINGS_MSG_OPEN_PAGE ? static_cast<LPARAM>(wp) << 32 | lp : 0});
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

LRESULT CALLBACK MainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case MSG_SAVE_STATE:
            Event(InSendMessage() ? "save state sent" : "save state posted");
            Sleep(100);
            Event("save state answered");
            return 1;
        case MSG_SETTINGS_CHANGED:
            Event(InSendMessage() ? "settings changed sent" : "settings changed posted");
            return 0;
        case MSG_CLOCK_COUNT:
            Event("clock count " + std::to_string(wp));
            return 0;
        case WM_CLOSE:
            DestroyWindow(w);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(w, m, wp, lp);
    }
}

}  // namespace

std::vector<std::pair<UINT, LPARAM>>& OwnerMessages() { return g_owner; }

MainProgramStandIn::MainProgramStandIn() {
    std::atomic<bool> ready{false};
    thread_ = std::thread([this, &ready] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = MainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kMainWindowClass;
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, kMainWindowClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance,
                                  nullptr);
        ready = true;
        if (!window_) return;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        UnregisterClassW(kMainWindowClass, wc.hInstance);
    });
    while (!ready) Sleep(5);
}

MainProgramStandIn::~MainProgramStandIn() {
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool WaitForEvent(const std::string& what, DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        Pump();
        for (const std::string& e : Events()) {
            if (e == what) return true;
        }
        Sleep(10);
    } while (GetTickCount() - start < ms);
    return false;
}

std::vector<std::string> MainEvents() {
    std::vector<std::string> out;
    for (const std::string& e : Events()) {
        if (e.rfind("clock count", 0) != 0) out.push_back(e);
    }
    return out;
}

void DialogTest::SetUp() {
    ClearEvents();
    Exchanges().clear();
    SetBadPage(-1);
    g_owner.clear();
    g_settingsApp = SettingsApp();
    g_settingsApp.instance = GetModuleHandleW(nullptr);
    ForgetMainDialogStarted();
    SetImportUnconfirmed(false);
    ASSERT_TRUE(CopyFileW((testing_support::BinFolder() + L"res_en.dll").c_str(), dir_.file(L"res_en.dll").c_str(),
                          FALSE));
    SetSettingsFolder(dir_.path());
    SetUserNameOverride(L"Tester");
    Language().SetLanguageFileBase(L"tempovia");
    Language().SetLanguageFolder((dir_.path() + L"\\").c_str());
    ASSERT_TRUE(LoadResourceModule((dir_.path() + L"\\").c_str()));
    oldSeam_ = SetSystemSeam(&beeps_);
    oldHooks_ = DialogHooks();

    WNDCLASSW wc = {};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kOwnerClass;
    RegisterClassW(&wc);
    owner_ = CreateWindowExW(0, kOwnerClass, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                             wc.hInstance, nullptr);
    ASSERT_NE(owner_, nullptr);
}

void DialogTest::TearDown() {
    if (dialog_ && IsWindow(dialog_)) DestroyWindow(dialog_);
    if (owner_) DestroyWindow(owner_);
    Pump();
    UnregisterClassW(kOwnerClass, GetModuleHandleW(nullptr));
    SetDialogHooks(oldHooks_);
    SetSystemSeam(oldSeam_);
    FreeResourceModule();
    SetUserNameOverride(nullptr);
    ResetSettingsFolder();
    g_settingsApp = SettingsApp();
}

HWND DialogTest::Open(bool standInPages, bool show) {
    MainDialogHooks hooks = oldHooks_;
    if (standInPages) hooks.createPage = CreateStandInPage;
    SetDialogHooks(hooks);
    dialog_ = CreateMainSettingsDialog(owner_, ResourceModule());
    if (!dialog_) return nullptr;
    if (show) ShowWindow(dialog_, SW_SHOWNORMAL);
    tree_ = GetDlgItem(dialog_, IDC_SETTINGS_TREE);
    Pump();
    return dialog_;
}

void DialogTest::Select(FakeNode* node) {
    TreeView_SelectItem(tree_, node->item);
    Pump();
}

FakeNode* DialogTest::Selected() {
    TVITEMW item = {};
    item.mask = TVIF_PARAM;
    item.hItem = TreeView_GetSelection(tree_);
    if (!item.hItem || !TreeView_GetItem(tree_, &item)) return nullptr;
    return reinterpret_cast<FakeNode*>(item.lParam);
}

std::wstring DialogTest::IniValue(const std::wstring& section, const wchar_t* key) {
    wchar_t buffer[256] = {};
    GetPrivateProfileStringW(section.c_str(), key, L"<none>", buffer, 256, UserIniPath().c_str());
    return buffer;
}

}  // namespace settingsdlg_test
