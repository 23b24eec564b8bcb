// The start-up of the settings program run in this process with a stand-in
// main dialog: what it has loaded when the dialog opens, missing data files,
// the exit codes and the installation mode.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/settings/ini_paths.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "common/zones/city_list.h"
#include "common/records/clock_table.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_updates.h"
#include "common/graphics/faces/graphics.h"
#include "common/graphics/faces/skin_manager.h"
#include "settings/frame_window.h"
#include "settings/map_install.h"
#include "settings/preview.h"
#include "settings/preview_state.h"
#include "settings/settings_app.h"
#include "settings/startup.h"
#include "tests/settingsapp/settings_folder.h"
#include "tests/support/program_folder.h"
#include "tests/settingsapp/fake_dialogs.h"

using testing_support::LibraryString;
using testing_support::WaitForIniValue;
using namespace settingsapp_test;

namespace {

// What the stand-in dialog saw when the frame opened it.
struct Seen {
    int dialogs = 0;
    int zones = 0, updates = 0, cities = 0, clocks = 0;
    bool unappliedPastChange = false;
    bool libraryLoaded = false;
    bool skinCacheOwnsSkins = true;
    unsigned int page = 0, clock = 0, item = 0;
    std::wstring frameCaption;
    std::wstring skin;
} g_seen;

int64_t NowKey() {
    SYSTEMTIME t = {};
    GetSystemTime(&t);
    return (static_cast<int64_t>(t.wYear) * 512 + t.wMonth * 32 + t.wDay - 33) * 100000 + t.wHour * 3600 +
           t.wMinute * 60 + t.wSecond;
}

HWND SnapshotAndClose(HWND frame, HMODULE resources) {
    ++g_seen.dialogs;
    g_seen.zones = g_zones.count;
    g_seen.updates = g_zoneUpdates.count;
    g_seen.cities = g_cities.count;
    g_seen.clocks = g_clockCount;
    const int64_t now = NowKey();
    for (int i = 0; i < g_zoneUpdates.count; ++i) {
        if (g_zoneUpdates.entries[i].key <= now && g_zoneUpdates.entries[i].live) g_seen.unappliedPastChange = true;
    }
    g_seen.libraryLoaded = resources != nullptr;
    g_seen.page = g_settingsApp.command.page;
    g_seen.clock = g_settingsApp.command.clock;
    g_seen.item = g_settingsApp.command.item;
    g_seen.frameCaption = g_settingsApp.frameCaption;
    g_seen.skin = Preview().skin ? Preview().skin->GetName() : L"";
    g_seen.skinCacheOwnsSkins = SkinManager().GetOwnsSkins();
    HWND dialog = CreateTemplateDialog(frame, WS_POPUP | WS_CAPTION, RecordingDialogProc);
    // The user presses OK at once.
    PostMessageW(frame, WM_CLOSE, 0, 0);
    return dialog;
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        g_seen = Seen();
        old_ = SetMainDialogOpener(SnapshotAndClose);
        ASSERT_EQ(FindWindowW(kSettingsWindowClass, nullptr), nullptr);
    }
    void TearDown() override {
        SetMainDialogOpener(old_);
        SkinManager().SetOwnsSkins(true);
        ResetSettingsFolder();
    }
    int Run(SettingsProgramFolder& folder, const std::wstring& arguments) {
        const std::wstring line = L"\"" + folder.file(L"settings.exe") + L"\" " + arguments;
        return RunSettingsProgram(GetModuleHandleW(nullptr), line.c_str(), folder.path());
    }
    MainDialogOpener old_ = nullptr;
};

TEST_F(Startup, LoadsEverythingAppliesPastZoneChangesAndRunsUntilTheDialogCloses) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(WritePrivateProfileStringW((::UserPrefix() + L":main").c_str(), L"skin", L"Preview Skin",
                                           folder.file(L"tempovia.ini").c_str()));
    EXPECT_EQ(Run(folder, L"/alarm2.3"), kSettingsExitNormal);
    EXPECT_EQ(g_seen.dialogs, 1);
    EXPECT_GT(g_seen.zones, 100);
    EXPECT_GT(g_seen.updates, 0);
    EXPECT_GT(g_seen.cities, 100);
    EXPECT_GT(g_seen.clocks, 0);
    EXPECT_FALSE(g_seen.unappliedPastChange);
    EXPECT_TRUE(g_seen.libraryLoaded);
    EXPECT_EQ(g_seen.page, SETTINGS_PAGE_ALARM);
    EXPECT_EQ(g_seen.clock, 2u);
    EXPECT_EQ(g_seen.item, 3u);
    EXPECT_EQ(g_seen.frameCaption, LibraryString(folder.file(L"res_en.dll"), kFrameCaptionId));
    // The preview takes the general skin; the skin cache keeps skins nobody uses.
    EXPECT_EQ(g_seen.skin, L"Preview Skin");
    EXPECT_FALSE(g_seen.skinCacheOwnsSkins);
    // The user's profile was seeded from the defaults.
    wchar_t value[16] = {};
    GetPrivateProfileStringW((::UserPrefix() + L":clock1").c_str(), L"enabled", L"", value, 16,
                             folder.file(L"tempovia.ini").c_str());
    EXPECT_NE(value[0], L'\0');
    // Everything was handed back.
    EXPECT_EQ(g_zones.count, 0);
    EXPECT_EQ(g_cities.count, 0);
    EXPECT_EQ(g_clocks, nullptr);
    EXPECT_FALSE(HasPreviewClock());
    EXPECT_EQ(ResourceModule(), nullptr);
    EXPECT_EQ(FindWindowW(kSettingsWindowClass, nullptr), nullptr);
}

TEST_F(Startup, AMissingDataFileLeavesItsTableEmptyAndTheProgramGoesOn) {
    {
        SettingsProgramFolder folder({L"tz_changes.txt"});
        ASSERT_TRUE(folder.ok());
        EXPECT_EQ(Run(folder, L""), kSettingsExitNormal);
        EXPECT_EQ(g_seen.dialogs, 1);
        EXPECT_GT(g_seen.zones, 100);
        EXPECT_EQ(g_seen.updates, 0);
        EXPECT_GT(g_seen.cities, 100);
    }
    {
        g_seen = Seen();
        SettingsProgramFolder folder({L"cities.txt"});
        ASSERT_TRUE(folder.ok());
        EXPECT_EQ(Run(folder, L""), kSettingsExitNormal);
        EXPECT_EQ(g_seen.dialogs, 1);
        EXPECT_GT(g_seen.updates, 0);
        EXPECT_EQ(g_seen.cities, 0);
    }
    {
        g_seen = Seen();
        SettingsProgramFolder folder({L"timezones.txt"});
        ASSERT_TRUE(folder.ok());
        EXPECT_EQ(Run(folder, L""), kSettingsExitNormal);
        EXPECT_EQ(g_seen.dialogs, 1);
        // Only the computer's own zone is there.
        EXPECT_LE(g_seen.zones, 1);
        EXPECT_EQ(g_seen.updates, 0);
        EXPECT_EQ(g_seen.cities, 0);
    }
    {
        g_seen = Seen();
        SettingsProgramFolder folder({L"timezones.txt", L"tz_changes.txt", L"cities.txt"});
        ASSERT_TRUE(folder.ok());
        EXPECT_EQ(Run(folder, L""), kSettingsExitNormal);
        EXPECT_EQ(g_seen.dialogs, 1);
    }
}

TEST_F(Startup, GarbledDataFilesDoNotStopIt) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    std::string junk(5000, '\t');
    for (std::size_t i = 0; i < junk.size(); i += 7) junk[i] = static_cast<char>('0' + i % 10);
    for (const wchar_t* name : {L"timezones.txt", L"tz_changes.txt", L"cities.txt"}) {
        ASSERT_TRUE(testing_support::WriteBytes(folder.file(name), junk));
    }
    EXPECT_EQ(Run(folder, L"/general"), kSettingsExitNormal);
    EXPECT_EQ(g_seen.dialogs, 1);
}

TEST_F(Startup, WithoutTheResourceLibraryItEndsWith0AndOpensNothing) {
    SettingsProgramFolder folder({L"res_en.dll"});
    ASSERT_TRUE(folder.ok());
    EXPECT_EQ(Run(folder, L"/general"), kSettingsExitNormal);
    EXPECT_EQ(g_seen.dialogs, 0);
}

TEST_F(Startup, WithoutTheMainDialogItEndsWith0) {
    SetMainDialogOpener([](HWND, HMODULE) -> HWND { return nullptr; });
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    EXPECT_EQ(Run(folder, L"/taskbar"), kSettingsExitNormal);
    EXPECT_EQ(FindWindowW(kSettingsWindowClass, nullptr), nullptr);
}

TEST_F(Startup, ClassesThatCannotBeRegisteredEndIt1) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kMapHostClass;
    ASSERT_TRUE(RegisterClassW(&wc));
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    const int code = Run(folder, L"");
    UnregisterClassW(kMapHostClass, wc.hInstance);
    EXPECT_EQ(code, kSettingsExitNoClasses);
    EXPECT_EQ(g_seen.dialogs, 0);
    // The frame class went with the failed registration.
    WNDCLASSW probe = {};
    EXPECT_FALSE(GetClassInfoW(wc.hInstance, kSettingsWindowClass, &probe));
}

HHOOK g_refuseHook = nullptr;

LRESULT CALLBACK RefuseFrame(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
        const LPCWSTR cls = create->lpcs->lpszClass;
        if (!IS_INTRESOURCE(cls) && lstrcmpW(cls, kSettingsWindowClass) == 0) return 1;
    }
    return CallNextHookEx(g_refuseHook, code, wParam, lParam);
}

TEST_F(Startup, AFrameThatCannotBeCreatedEndsIt2) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    g_refuseHook = SetWindowsHookExW(WH_CBT, RefuseFrame, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_refuseHook, nullptr);
    const int code = Run(folder, L"/sync");
    UnhookWindowsHookEx(g_refuseHook);
    EXPECT_EQ(code, kSettingsExitNoFrame);
    EXPECT_EQ(g_seen.dialogs, 0);
}

TEST_F(Startup, InstallWithoutThePluginRecordsTheLoaderCodeAndOpensNothing) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    EXPECT_EQ(Run(folder, L"/INST"), kSettingsExitNormal);
    EXPECT_EQ(g_seen.dialogs, 0);
    const std::wstring ini = folder.file(L"tempovia.ini");
    EXPECT_EQ(WaitForIniValue(ini, L"map", L"initialized", L"0", 0), L"0");
    EXPECT_EQ(WaitForIniValue(ini, L"map", L"install_result", L"", 0), L"Install return code: 1, system error: 0");
    // Nothing else was written: the user's profile is not seeded.
    EXPECT_EQ(WaitForIniValue(ini, ::UserPrefix() + L":main", L"skin", L"", 0), L"");
}

TEST_F(Startup, InstallResultText) {
    EXPECT_EQ(FormatInstallResult(0, 0), L"Install return code: 0, system error: 0");
    EXPECT_EQ(FormatInstallResult(5, 4294967295ul), L"Install return code: 5, system error: 4294967295");
}

}  // namespace
