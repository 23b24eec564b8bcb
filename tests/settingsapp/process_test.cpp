// settings.exe as a process under Wine: the hand-over to a running instance,
// the exit codes of a start on its own, missing files and bad switches.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "common/records/protocol.h"
#include "resources/resource_ids.h"
#include "settings/page_options_common.h"
#include "tests/settingsapp/fake_dialogs.h"
#include "tests/settingsapp/settings_folder.h"
#include "tests/support/lock_holder.h"
#include "tests/support/program_folder.h"

using settingsapp_test::Received;
using settingsapp_test::SettingsProgramFolder;
using settingsapp_test::WaitForMainDialog;
using testing_support::LibraryString;
using testing_support::MessageBoxText;
using testing_support::UserPrefix;
using testing_support::WaitExit;
using testing_support::WaitForDialog;
using testing_support::WaitForIniValue;

namespace {

constexpr DWORD kStartMs = 20000;

std::vector<Received> g_standInLog;

LRESULT CALLBACK StandInProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m >= WM_USER && m < WM_APP + 0x4000) {
        g_standInLog.push_back({m, wp, lp});
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

// A settings window of an instance that runs already: this test program's own.
class StandIn {
public:
    StandIn() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = StandInProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kSettingsWindowClass;
        registered_ = RegisterClassW(&wc) != 0;
        window_ = CreateWindowExW(0, kSettingsWindowClass, L"stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    }
    ~StandIn() {
        if (window_) DestroyWindow(window_);
        if (registered_) UnregisterClassW(kSettingsWindowClass, GetModuleHandleW(nullptr));
    }
    bool ok() const { return window_ != nullptr; }

private:
    bool registered_ = false;
    HWND window_ = nullptr;
};

// Waits for the process while this thread answers the messages sent to it.
// A thread that has not looked at its queue for 5 seconds counts as hung, and
// the new instance does not wait for a hung one: the queue is looked at first.
DWORD PumpUntilExit(HANDLE process, DWORD ms) {
    const DWORD start = GetTickCount();
    DWORD code = STILL_ACTIVE;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    } while ((code = WaitExit(process, 20)) == STILL_ACTIVE && GetTickCount() - start < ms);
    return code;
}

// Starts settings.exe while this thread keeps answering.
DWORD HandOver(SettingsProgramFolder& folder, const std::wstring& arguments) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    return PumpUntilExit(folder.Start(arguments), kStartMs);
}

std::string Describe(const std::vector<Received>& log) {
    std::string text;
    for (const Received& r : log) {
        text += std::to_string(r.message) + "(" + std::to_string(r.wParam) + "," + std::to_string(r.lParam) + ") ";
    }
    return text;
}

bool FileMissing(const std::wstring& path) { return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES; }

// The program opened its dialog: Cancel ends it, and with it the program.
DWORD CancelAndWait(HANDLE process) {
    HWND dialog = WaitForMainDialog(kStartMs);
    EXPECT_NE(dialog, nullptr) << "no settings dialog";
    if (dialog) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return WaitExit(process, kStartMs);
}

class SettingsProcess : public ::testing::Test {
protected:
    void SetUp() override {
        g_standInLog.clear();
        ASSERT_EQ(FindWindowW(kSettingsWindowClass, nullptr), nullptr) << "a settings program is already running";
    }
};

TEST_F(SettingsProcess, ASecondStartHandsItsPageToTheRunningInstanceAndEnds0) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    StandIn running;
    ASSERT_TRUE(running.ok());

    EXPECT_EQ(HandOver(folder, L"/general"), 0u);
    ASSERT_EQ(g_standInLog.size(), 2u) << Describe(g_standInLog);
    EXPECT_EQ(g_standInLog[0].message, SETTINGS_MSG_END_MODAL);
    EXPECT_EQ(g_standInLog[0].wParam, 0u);
    EXPECT_EQ(g_standInLog[0].lParam, 0);
    EXPECT_EQ(g_standInLog[1].message, SETTINGS_MSG_OPEN_PAGE);
    EXPECT_EQ(g_standInLog[1].wParam, SETTINGS_PAGE_GENERAL);
    EXPECT_EQ(g_standInLog[1].lParam, 0);

    g_standInLog.clear();
    EXPECT_EQ(HandOver(folder, L"/ALARM2.3"), 0u);
    ASSERT_EQ(g_standInLog.size(), 2u) << Describe(g_standInLog);
    EXPECT_EQ(g_standInLog[1].message, SETTINGS_MSG_OPEN_PAGE);
    EXPECT_EQ(g_standInLog[1].wParam, SETTINGS_PAGE_ALARM);
    EXPECT_EQ(g_standInLog[1].lParam, (3 << 16) | 2);

    g_standInLog.clear();
    EXPECT_EQ(HandOver(folder, L"/12"), 0u);
    ASSERT_EQ(g_standInLog.size(), 2u) << Describe(g_standInLog);
    EXPECT_EQ(g_standInLog[1].wParam, SETTINGS_PAGE_CLOCK);
    EXPECT_EQ(g_standInLog[1].lParam, 12);

    // The hand-over comes first: nothing of the program folder was touched.
    EXPECT_TRUE(FileMissing(folder.file(L"tempovia.ini")));
}

TEST_F(SettingsProcess, WithoutAPageOrWithInstallTheRunningInstanceOnlyComesForward) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    StandIn running;
    ASSERT_TRUE(running.ok());
    for (const wchar_t* arguments : {L"", L"/0", L"/inst", L"/nonsense"}) {
        g_standInLog.clear();
        EXPECT_EQ(HandOver(folder, arguments), 0u);
        ASSERT_EQ(g_standInLog.size(), 1u) << Describe(g_standInLog);
        EXPECT_EQ(g_standInLog[0].message, SETTINGS_MSG_END_MODAL);
    }
    // "/inst" did nothing while an instance runs.
    EXPECT_TRUE(FileMissing(folder.file(L"tempovia.ini")));
}

TEST_F(SettingsProcess, OnItsOwnItOpensTheDialogAndCancelEnds0WithoutWindowsLeft) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    // Started from a window in front (the News window's "Channels..."), it
    // opens in front of that window.
    HWND starter = CreateWindowExW(0, L"STATIC", L"starter", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(starter, nullptr);
    SetForegroundWindow(starter);
    HANDLE process = folder.Start(L"/general");
    HWND dialog = WaitForMainDialog(kStartMs);
    ASSERT_NE(dialog, nullptr);
    for (int i = 0; i < 100 && GetForegroundWindow() != dialog; ++i) Sleep(20);
    EXPECT_EQ(GetForegroundWindow(), dialog);
    HWND above = starter;
    while (above && above != dialog) above = GetWindow(above, GW_HWNDPREV);
    EXPECT_EQ(above, dialog);
    DestroyWindow(starter);
    HWND frame = FindWindowW(kSettingsWindowClass, nullptr);
    EXPECT_FALSE(IsWindowVisible(frame));
    EXPECT_NE(GetDlgItem(dialog, 1087), nullptr);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(WaitExit(process, kStartMs), 0u);
    EXPECT_EQ(FindWindowW(kSettingsWindowClass, nullptr), nullptr);
    EXPECT_FALSE(IsWindow(dialog));
    // It got as far as seeding the user's profile from the defaults.
    EXPECT_NE(WaitForIniValue(folder.file(L"tempovia.ini"), UserPrefix() + L":clock1", L"enabled", L"", 0), L"");
}

TEST_F(SettingsProcess, ASecondStartBringsTheRunningDialogForward) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    HANDLE process = folder.Start(L"");
    HWND dialog = WaitForMainDialog(kStartMs);
    ASSERT_NE(dialog, nullptr);
    // Something else is in front when the user starts the program again.
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    ASSERT_EQ(GetForegroundWindow(), other);

    EXPECT_EQ(HandOver(folder, L""), 0u);
    EXPECT_EQ(GetForegroundWindow(), dialog);
    DestroyWindow(other);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(WaitExit(process, kStartMs), 0u);
}

// Every key of every section of the file with the value the profile
// functions read (enclosing quotes gone).
std::map<std::wstring, std::map<std::wstring, std::wstring>> ProfileValues(const std::wstring& file) {
    std::map<std::wstring, std::map<std::wstring, std::wstring>> out;
    std::vector<wchar_t> names(1 << 16), keys(1 << 16);
    GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), file.c_str());
    for (const wchar_t* name = names.data(); *name; name += wcslen(name) + 1) {
        GetPrivateProfileStringW(name, nullptr, L"", keys.data(), static_cast<DWORD>(keys.size()), file.c_str());
        auto& section = out[name];
        for (const wchar_t* key = keys.data(); *key; key += wcslen(key) + 1) {
            wchar_t value[1024] = {};
            GetPrivateProfileStringW(name, key, L"", value, 1024, file.c_str());
            section[key] = value;
        }
    }
    return out;
}

// Every value of `before` is in `after`, and no section went or came.
void ExpectEveryValueKept(const std::map<std::wstring, std::map<std::wstring, std::wstring>>& before,
                          const std::map<std::wstring, std::map<std::wstring, std::wstring>>& after) {
    for (const auto& [name, keys] : before) {
        const std::string section(name.begin(), name.end());
        auto found = after.find(name);
        ASSERT_NE(found, after.end()) << section;
        for (const auto& [key, value] : keys) {
            auto now = found->second.find(key);
            ASSERT_NE(now, found->second.end()) << section << " " << std::string(key.begin(), key.end());
            EXPECT_EQ(now->second, value) << section << " " << std::string(key.begin(), key.end());
        }
    }
    EXPECT_EQ(after.size(), before.size());
}

// Every key of `after` is in `before` with the same value and the other way
// round; the clocks' seconds_hand may be written with the value its format
// implies.
void ExpectSameValues(const std::map<std::wstring, std::map<std::wstring, std::wstring>>& before,
                      std::map<std::wstring, std::map<std::wstring, std::wstring>> after) {
    ExpectEveryValueKept(before, after);
    for (auto& [name, keys] : after) keys.erase(L"seconds_hand");
    ExpectEveryValueKept(after, before);
}

// The file as UTF-8 with its byte-order mark, as an editor may save it.
void SaveAsUtf8WithMark(const std::wstring& file) {
    const std::string bytes = testing_support::ReadBytes(file);
    ASSERT_GE(bytes.size(), 2u);
    std::wstring text;
    if (bytes.substr(0, 2) == "\xFF\xFE") {
        text.assign(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    } else {
        text.resize(bytes.size());
        text.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                            text.data(), static_cast<int>(text.size()))));
    }
    std::string utf8(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                             nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                        static_cast<int>(utf8.size()), nullptr, nullptr);
    ASSERT_TRUE(testing_support::WriteBytes(file, "\xEF\xBB\xBF" + utf8));
}

// What the first start seeds, OK with nothing touched writes back as it was:
// no key comes, goes or changes, also in a file an editor saved as UTF-8.
class OkUntouched : public SettingsProcess, public ::testing::WithParamInterface<bool> {};

TEST_P(OkUntouched, AddsRemovesOrChangesNoKey) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    const std::wstring ini = folder.file(L"tempovia.ini");
    HANDLE process = folder.Start(L"");
    if (GetParam()) {
        EXPECT_EQ(CancelAndWait(process), 0u);
        SaveAsUtf8WithMark(ini);
        process = folder.Start(L"");
    }
    HWND dialog = WaitForMainDialog(kStartMs);
    ASSERT_NE(dialog, nullptr);
    const auto seeded = ProfileValues(ini);
    ASSERT_GT(seeded.size(), 6u);
    ASSERT_NE(seeded.at(L"common").find(L"server1"), seeded.at(L"common").end());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WaitExit(process, kStartMs), 0u);
    ExpectSameValues(seeded, ProfileValues(ini));
}

INSTANTIATE_TEST_SUITE_P(Encodings, OkUntouched, ::testing::Values(false, true));

// The pages are made when first shown; what they edit is written back all
// the same: the user's own time-sync choices survive an Apply that never
// showed the sync page.
TEST_F(SettingsProcess, ApplyWithoutShowingAPageKeepsTheUsersOwnChoices) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    const std::wstring ini = folder.file(L"tempovia.ini");
    for (const auto& [key, value] : {std::pair{L"autosync", L"1"}, {L"synctype", L"3"}, {L"server", L"2"},
                                     {L"server1", L"a.example"}, {L"server2", L"b.example"}}) {
        ASSERT_TRUE(WritePrivateProfileStringW(L"common", key, value, ini.c_str()));
    }
    HANDLE process = folder.Start(L"");
    HWND dialog = WaitForMainDialog(kStartMs);
    ASSERT_NE(dialog, nullptr);
    const auto before = ProfileValues(ini);
    ASSERT_EQ(before.at(L"common").at(L"synctype"), L"3");
    SendMessageW(dialog, WM_COMMAND, IDC_APPLY, 0);
    ExpectEveryValueKept(before, ProfileValues(ini));
    EXPECT_EQ(CancelAndWait(process), 0u);
}

// The instance rule's mutex cannot be made and no running instance answers:
// after the wait the start says why, in the library's words, and ends.
TEST_F(SettingsProcess, AnInstanceRuleThatCannotBeMadeIsSaidAfterTheWait) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    HANDLE process = testing_support::StartWithInstanceRuleTaken(
        folder.file(L"res_en.dll"), L"Local\\Tempovia_Settings_Instance", [&] { return folder.Start(L""); }, kStartMs,
        [] { EXPECT_EQ(FindWindowW(kSettingsWindowClass, nullptr), nullptr); });
    EXPECT_EQ(WaitExit(process, kStartMs), 0u);
}

// The shown page that holds the control, after selecting each top-level node
// of the dialog's tree in turn (the page windows are made when first shown).
HWND ShowPageWith(HWND dialog, int control) {
    HWND tree = GetDlgItem(dialog, IDC_SETTINGS_TREE);
    for (auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;
         item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        for (HWND page = GetWindow(dialog, GW_CHILD); page; page = GetWindow(page, GW_HWNDNEXT)) {
            if (IsWindowVisible(page) && GetDlgItem(page, control)) return page;
        }
    }
    return nullptr;
}

// An import on the INI page, then OK: what the import brought stays (the
// time-sync choices too), and a file without clocks takes none of the
// user's clocks or alarms.
TEST_F(SettingsProcess, ImportWithoutClocksThenOkKeepsTheImportAndEveryClock) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    const std::wstring ini = folder.file(L"tempovia.ini");
    const std::wstring in = folder.file(L"import.ini");
    ASSERT_TRUE(testing_support::WriteBytes(in, "[default:main]\r\ndescription=sync only\r\n"
                                                "[common]\r\nautosync=1\r\nsynctype=3\r\nserver=2\r\n"
                                                "server1=a.example\r\nserver2=b.example\r\n"));
    HANDLE process = folder.Start(L"");
    HWND dialog = WaitForMainDialog(kStartMs);
    ASSERT_NE(dialog, nullptr);
    const auto seeded = ProfileValues(ini);
    HWND page = ShowPageWith(dialog, kIdcImportPath);
    ASSERT_NE(page, nullptr);
    SetDlgItemTextW(page, kIdcImportPath, in.c_str());
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(kIdcImport, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, kIdcImport)));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WaitExit(process, kStartMs), 0u);
    const auto after = ProfileValues(ini);
    for (const auto& [key, value] : {std::pair{L"autosync", L"1"}, {L"synctype", L"3"}, {L"server", L"2"},
                                     {L"server2", L"b.example"}}) {
        EXPECT_EQ(after.at(L"common").at(key), value) << std::string(key, key + wcslen(key));
    }
    auto clocks = [](std::map<std::wstring, std::map<std::wstring, std::wstring>> values) {
        for (auto it = values.begin(); it != values.end();) {
            it = it->first.find(L":clock") == std::wstring::npos ? values.erase(it) : std::next(it);
        }
        return values;
    };
    ASSERT_GT(clocks(seeded).size(), 6u);
    ExpectEveryValueKept(clocks(seeded), clocks(after));
}

// Another program keeps the settings file busy for longer than the wait: a
// start gives up after one wait and says why; OK says so within the wait,
// naming the file, and leaves the dialog and the edit as they are; OK once
// the file is free writes the edit.
TEST_F(SettingsProcess, WhileAnotherProgramKeepsTheFileBusyAStartOrOkSaysSoAndOkWritesTheEditOnceItIsFree) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    const std::wstring ini = folder.file(L"tempovia.ini");
    const std::wstring main = UserPrefix() + L":main";
    const std::wstring library = folder.file(L"res_en.dll");
    const std::wstring caption = LibraryString(library, IDS_ERROR_CAPTION);
    {
        testing_support::LockHolder other(15000);
        HANDLE early = folder.Start(L"");
        HWND box = testing_support::WaitForDialog(caption.c_str(), 11000);
        ASSERT_NE(box, nullptr) << "no message within 11 s";
        std::wstring expected = LibraryString(library, IDS_LOCK_BUSY);
        EXPECT_EQ(MessageBoxText(box), expected.replace(expected.find(L"%s"), 2, L"10"));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(WaitExit(early, kStartMs), 0u);
    }
    HANDLE process = folder.Start(L"");
    HWND dialog = WaitForMainDialog(kStartMs);
    ASSERT_NE(dialog, nullptr);
    HWND page = ShowPageWith(dialog, kIdcTooltips);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(WaitForIniValue(ini, main, L"tooltips", L"1", 0), L"1");
    SendMessageW(GetDlgItem(page, kIdcTooltips), BM_CLICK, 0, 0);
    {
        testing_support::LockHolder other(15000);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        HWND box = testing_support::WaitForDialog(caption.c_str(), 11000);
        ASSERT_NE(box, nullptr) << "no message within 11 s";
        std::wstring expected = LibraryString(library, IDS_SAVE_FILE_BUSY);
        expected.replace(expected.find(L"%s"), 2, ini);
        EXPECT_EQ(MessageBoxText(box), expected);
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_EQ(SendDlgItemMessageW(page, kIdcTooltips, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(20);
    }
    EXPECT_EQ(WaitForIniValue(ini, main, L"tooltips", L"1", 0), L"1");
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WaitExit(process, kStartMs), 0u);
    EXPECT_EQ(WaitForIniValue(ini, main, L"tooltips", L"0", 0), L"0");
}

TEST_F(SettingsProcess, MissingDataFilesOrLibraryNeitherStopNorBlockIt) {
    for (const wchar_t* missing : {L"timezones.txt", L"tz_changes.txt", L"cities.txt", L"res_en.dll"}) {
        SCOPED_TRACE(testing::Message() << "without " << std::string(missing, missing + wcslen(missing)));
        SettingsProgramFolder folder({missing});
        ASSERT_TRUE(folder.ok());
        HANDLE process = folder.Start(L"/zone1");
        // Without its library it ends by itself (a message box would keep it
        // running past the time); without a data file it opens its dialog.
        if (lstrcmpW(missing, L"res_en.dll") == 0) {
            EXPECT_EQ(WaitExit(process, kStartMs), 0u);
        } else {
            EXPECT_EQ(CancelAndWait(process), 0u);
        }
        EXPECT_EQ(FindWindowW(kSettingsWindowClass, nullptr), nullptr);
    }
}

TEST_F(SettingsProcess, BadSwitchesEndNormally) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    const std::wstring longSwitch = L"/alarm" + std::wstring(20000, L'7') + L"." + std::wstring(5000, L'x');
    for (const std::wstring& arguments :
         {std::wstring(L"/"), std::wstring(L"/bogus 17"), std::wstring(L"/99999999999999999999.99999999999"),
          std::wstring(L"/new_timer 3"), std::wstring(L"\"/general"), longSwitch}) {
        EXPECT_EQ(CancelAndWait(folder.Start(arguments)), 0u) << arguments.size();
    }
}

TEST_F(SettingsProcess, InstallWithoutThePluginRecordsTheFailureAndEnds0) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    EXPECT_EQ(WaitExit(folder.Start(L"/inst"), kStartMs), 0u);
    const std::wstring ini = folder.file(L"tempovia.ini");
    EXPECT_EQ(WaitForIniValue(ini, L"map", L"initialized", L"0", 0), L"0");
    EXPECT_EQ(WaitForIniValue(ini, L"map", L"install_result", L"", 0), L"Install return code: 1, system error: 0");
}

}  // namespace

namespace {

// Puts a stand-in plug-in into the folder and its answers into the
// environment that settings.exe inherits.
class PluginInstall : public SettingsProcess {
protected:
    void TearDown() override {
        for (const wchar_t* name :
             {L"STANDIN_KARTIX_INIT", L"STANDIN_KARTIX_INSTALL", L"STANDIN_KARTIX_SYSERR", L"STANDIN_KARTIX_LOG"}) {
            SetEnvironmentVariableW(name, nullptr);
        }
    }
    void Prepare(SettingsProgramFolder& folder, const wchar_t* variant, const wchar_t* init, const wchar_t* install,
                 const wchar_t* syserr) {
        const std::wstring from = testing_support::TestsFolder() + L"standin_kartix_" + variant + L".dll";
        ASSERT_TRUE(CopyFileW(from.c_str(), folder.file(L"kartix.dll").c_str(), FALSE));
        SetEnvironmentVariableW(L"STANDIN_KARTIX_INIT", init);
        SetEnvironmentVariableW(L"STANDIN_KARTIX_INSTALL", install);
        SetEnvironmentVariableW(L"STANDIN_KARTIX_SYSERR", syserr);
        log_ = folder.file(L"kartix_calls.txt");
        SetEnvironmentVariableW(L"STANDIN_KARTIX_LOG", log_.c_str());
    }
    void Check(SettingsProgramFolder& folder, const wchar_t* initialized, const wchar_t* result,
               const std::vector<std::string>& calls) {
        EXPECT_EQ(WaitExit(folder.Start(L"/Inst"), kStartMs), 0u);
        const std::wstring ini = folder.file(L"tempovia.ini");
        EXPECT_EQ(WaitForIniValue(ini, L"map", L"initialized", initialized, 0), initialized);
        EXPECT_EQ(WaitForIniValue(ini, L"map", L"install_result", result, 0), result);
        EXPECT_EQ(testing_support::ReadLines(log_), calls);
    }
    std::wstring log_;
};

TEST_F(PluginInstall, ASuccessfulInstallIsRecordedAs1) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    Prepare(folder, L"full", L"0", L"0", L"0");
    Check(folder, L"1", L"Install return code: 0, system error: 0", {"InitMap", "InstallMap", "FreeMap"});
}

TEST_F(PluginInstall, AFailedInstallRecordsItsCodeWithoutTheFlagAndTheSystemError) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    Prepare(folder, L"full", L"0", L"20000005", L"5");
    Check(folder, L"0", L"Install return code: 5, system error: 5",
          {"InitMap", "InstallMap", "GetLastSysError", "FreeMap"});
}

TEST_F(PluginInstall, AFailedInitialisationSkipsTheInstall) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    Prepare(folder, L"full", L"20000006", L"0", L"1410");
    Check(folder, L"0", L"Install return code: 6, system error: 0", {"InitMap", "FreeMap"});
}

TEST_F(PluginInstall, APluginThatCannotInstallIsNotRecordedAsInstalled) {
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    Prepare(folder, L"noinstall", L"0", L"0", L"0");
    Check(folder, L"0", L"Install return code: 2, system error: 0", {"InitMap", "FreeMap"});
}

}  // namespace
