// tempovia.exe as a process under Wine: single instance, /exit, /restart, the
// exit event, the start-up failures, /import and /export, and the session end.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/mainmenu/menu_ids.h"
#include "common/settings/named_mutex.h"
#include "common/records/protocol.h"
#include "resources/resource_ids.h"
#include "tempovia/main/startup.h"
#include "tests/mainprog/program_folder.h"

using namespace mainprog_test;

namespace {

constexpr DWORD kStartMs = 15000;

class MainProcess : public ::testing::Test {
protected:
    void SetUp() override {
        // Another instance would turn every start into "already running".
        ASSERT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr) << "a main program is already running";
    }
    void TearDown() override {
        if (HWND w = FindWindowW(kMainWindowClass, nullptr)) {
            PostMessageW(w, WM_CLOSE, 0, 0);
            WaitMainWindowGone(5000);
        }
    }
};

TEST_F(MainProcess, SecondStartEndsWith3AndChangesNothing) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    HANDLE first = folder.Start(L"/nh");
    HWND main = WaitForMainWindow(kStartMs);
    ASSERT_NE(main, nullptr);
    // A /nh start writes its build stamp once its window is up.
    const std::wstring ini = folder.file(L"tempovia.ini");
    const std::wstring main_section = UserPrefix() + L":main";
    wchar_t stamp[64] = {};
    for (int i = 0; i < 500 && !stamp[0]; ++i) {
        Sleep(20);
        GetPrivateProfileStringW(main_section.c_str(), L"last_build", L"", stamp, 64, ini.c_str());
    }
    ASSERT_NE(stamp[0], L'\0');
    Sleep(200);
    const std::string iniBefore = testing_support::ReadBytes(ini);

    HANDLE second = folder.Start(L"/nh");
    EXPECT_EQ(WaitExit(second, kStartMs), 3u);
    EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), main);
    EXPECT_EQ(WaitExit(first, 0), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(testing_support::ReadBytes(folder.file(L"tempovia.ini")), iniBefore);

    HANDLE closer = folder.Start(L"/exit");
    EXPECT_EQ(WaitExit(closer, kStartMs), 0u);
    EXPECT_EQ(WaitExit(first, kStartMs), 0u);
}

TEST_F(MainProcess, ExitInAnyLetterCaseClosesTheRunningInstance) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    HANDLE running = folder.Start(L"/nh");
    ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
    HANDLE closer = folder.Start(L"/ExIt");
    EXPECT_EQ(WaitExit(closer, kStartMs), 0u);
    EXPECT_EQ(WaitExit(running, kStartMs), 0u);
    EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr);
}

TEST_F(MainProcess, ExitWithoutARunningInstanceWaitsOnceAndEndsWith0) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    const DWORD start = GetTickCount();
    HANDLE closer = folder.Start(L"/EXIT");
    EXPECT_EQ(WaitExit(closer, kStartMs), 0u);
    EXPECT_GE(GetTickCount() - start, 450u);
    // It neither starts nor writes anything.
    EXPECT_EQ(GetFileAttributesW(folder.file(L"tempovia.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MainProcess, RestartReplacesTheRunningInstance) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    HANDLE old = folder.Start(L"/nh");
    HWND oldWindow = WaitForMainWindow(kStartMs);
    ASSERT_NE(oldWindow, nullptr);
    HANDLE replacement = folder.Start(L"/RESTART /nh");
    EXPECT_EQ(WaitExit(old, kStartMs), 0u);
    HWND newWindow = WaitForMainWindow(kStartMs, oldWindow);
    ASSERT_NE(newWindow, nullptr);
    EXPECT_EQ(WaitExit(replacement, 0), static_cast<DWORD>(STILL_ACTIVE));
    HANDLE closer = folder.Start(L"/exit");
    EXPECT_EQ(WaitExit(closer, kStartMs), 0u);
    EXPECT_EQ(WaitExit(replacement, kStartMs), 0u);
}

TEST_F(MainProcess, RestartWaitsForTheOldInstanceToLetGo) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    // The old instance's window is gone; its exit tail holds the instance
    // rule beyond the 5 s of the close.
    NamedMutex oldInstance(kMainInstanceMutexName);
    ASSERT_TRUE(oldInstance.Acquire(0));
    HANDLE p = folder.Start(L"/restart /nh");
    Sleep(kCloseOtherTimeoutMs + 2000);
    oldInstance.Release();
    EXPECT_NE(WaitForMainWindow(kStartMs), nullptr);
    EXPECT_EQ(WaitExit(p, 0), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(MainProcess, TheExitEventSetByAnotherProcessClosesIt) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    HANDLE running = folder.Start(L"/nh");
    ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
    // Everyone may set the event: open it with modify rights only.
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, kExitEventName);
    ASSERT_NE(event, nullptr);
    ASSERT_TRUE(SetEvent(event));
    EXPECT_EQ(WaitExit(running, kStartMs), 0u);
    EXPECT_TRUE(WaitMainWindowGone(1000));
    ResetEvent(event);
    CloseHandle(event);
}

TEST_F(MainProcess, MissingResourceLibraryIsReportedAndEndsWith1) {
    ProgramFolder folder({L"res_en.dll"});
    ASSERT_TRUE(folder.ok());
    HANDLE p = folder.Start(L"/nh");
    HWND box = WaitForDialog(L"Tempovia Error", kStartMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"Cannot load resource DLL!");
    EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WaitExit(p, kStartMs), 1u);
}

// The instance rule's mutex cannot be made (another kind of object has its
// name): the start says so in the library's words and ends with 3.
TEST_F(MainProcess, AnInstanceRuleThatCannotBeMadeIsSaidAndEndsWith3) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    HANDLE p = testing_support::StartWithInstanceRuleTaken(folder.file(L"res_en.dll"), L"Local\\Tempovia_Main_Instance",
                                                           [&] { return folder.Start(L"/nh"); }, kStartMs);
    EXPECT_EQ(WaitExit(p, kStartMs), 3u);
    EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr);
    // The settings-file lock, under /restart and /import: the box says first
    // that neither was done, after one wait for the lock.
    const std::wstring in = folder.file(L"in.ini");
    const std::wstring library = folder.file(L"res_en.dll");
    const std::wstring lead = testing_support::LibraryString(library, IDS_LOCK_LEAD_RESTART) + L" " +
                              testing_support::LibraryString(library, IDS_LOCK_LEAD_FILES);
    EXPECT_NE(lead.find(L"restart"), std::wstring::npos);
    p = testing_support::StartWithInstanceRuleTaken(
        library, kIniFileMutexName, [&] { return folder.Start(L"/restart /import \"" + in + L"\" /nh"); },
        kIniLockWaitMs + 5000, {}, lead);
    EXPECT_EQ(WaitExit(p, kStartMs), 3u);
}

// An instance whose window is gone may still be ending (its mutex held):
// `/exit` returns only once it has ended.
TEST_F(MainProcess, ExitReturnsOnceTheInstanceHasEnded) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    HANDLE ending = CreateMutexW(nullptr, TRUE, L"Local\\Tempovia_Main_Instance");
    ASSERT_NE(ending, nullptr);
    ASSERT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    HANDLE closer = folder.Start(L"/exit");
    EXPECT_EQ(WaitExit(closer, 6000), static_cast<DWORD>(STILL_ACTIVE));
    ReleaseMutex(ending);
    EXPECT_EQ(WaitExit(closer, kStartMs), 0u);
    // One that does not end within the bound: 3, and no box waits for a click.
    ASSERT_EQ(WaitForSingleObject(ending, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    closer = folder.Start(L"/exit");
    EXPECT_EQ(WaitExit(closer, kInstanceEndWaitMs + 5000), 3u);
    ReleaseMutex(ending);
    CloseHandle(ending);
}

// Another program keeps the settings-file lock: the end waits for it once,
// within its bound, and a restart still ends with one program.
TEST_F(MainProcess, AnEndWhileTheSettingsLockIsKeptWaitsOnceAndARestartLeavesOneProgram) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    HANDLE running = folder.Start(L"/nh");
    HWND first = WaitForMainWindow(kStartMs);
    ASSERT_NE(first, nullptr);
    const std::wstring ini = folder.file(L"tempovia.ini"), side = folder.file(L"tempovia-unsaved.ini");
    const std::wstring clock1 = UserPrefix() + L":clock1";
    ASSERT_TRUE(WaitForStartUpEnd(ini, kStartMs));
    {
        IniFileLock kept;
        ASSERT_TRUE(kept.held());
        WritePrivateProfileStringW(clock1.c_str(), L"dsk_pos_x", L"1", ini.c_str());
        HANDLE closer = folder.Start(L"/exit");
        EXPECT_EQ(WaitExit(running, kIniLockWaitMs + 5000), 0u);
        EXPECT_EQ(WaitExit(closer, kStartMs), 0u);
    }
    // The desktop clock's place is kept aside, and the next start saves it.
    wchar_t keptX[16] = {}, savedX[16] = {};
    GetPrivateProfileStringW(clock1.c_str(), L"dsk_pos_x", L"", keptX, 16, side.c_str());
    EXPECT_STRNE(keptX, L"");
    EXPECT_STRNE(keptX, L"1");
    running = folder.Start(L"/nh");
    first = WaitForMainWindow(kStartMs);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(WaitForStartUpEnd(ini, kStartMs));
    GetPrivateProfileStringW(clock1.c_str(), L"dsk_pos_x", L"", savedX, 16, ini.c_str());
    EXPECT_STREQ(savedX, keptX);
    EXPECT_EQ(GetFileAttributesW(side.c_str()), INVALID_FILE_ATTRIBUTES);
    HANDLE restarted = nullptr;
    {
        IniFileLock kept;
        ASSERT_TRUE(kept.held());
        restarted = folder.Start(L"/restart /nh");
        Sleep(9000);
    }
    EXPECT_EQ(WaitExit(running, kStartMs), 0u);
    HWND second = WaitForMainWindow(kInstanceEndWaitMs, first);
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(WaitExit(restarted, 0), static_cast<DWORD>(STILL_ACTIVE));
    HANDLE closer = folder.Start(L"/exit");
    EXPECT_EQ(WaitExit(closer, kStartMs), 0u);
    EXPECT_EQ(WaitExit(restarted, kStartMs), 0u);
}

TEST_F(MainProcess, MissingDataFileIsReportedInTheLanguageAndEndsWith0) {
    for (const wchar_t* missing : {L"cities.txt", L"timezones.txt", L"tz_changes.txt"}) {
        SCOPED_TRACE(testing::Message() << "without " << std::string(missing, missing + wcslen(missing)));
        ProgramFolder folder({missing});
        ASSERT_TRUE(folder.ok());
        const std::wstring text = LibraryString(folder.file(L"res_en.dll"), 263);
        const std::wstring caption = LibraryString(folder.file(L"res_en.dll"), 141);
        ASSERT_FALSE(text.empty());
        ASSERT_FALSE(caption.empty());
        HANDLE p = folder.Start(L"/nh");
        HWND box = WaitForDialog(caption.c_str(), kStartMs);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), text);
        EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(WaitExit(p, kStartMs), 0u);
    }
}

// Writes an exported-settings file holding one option of the main section.
void WriteImportFile(const std::wstring& path, const wchar_t* skin) {
    WritePrivateProfileStringW(L"default:main", L"description", L"test settings", path.c_str());
    WritePrivateProfileStringW(L"default:main", L"skin", skin, path.c_str());
}

void CheckImportThenExport(const std::wstring& arguments, const std::wstring& importFile,
                           const std::wstring& exportFile, ProgramFolder& folder) {
    WriteImportFile(importFile, L"Imported Skin");
    HANDLE p = folder.Start(arguments);
    ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
    const std::wstring section = UserPrefix() + L":main";
    EXPECT_EQ(WaitForIniValue(folder.file(L"tempovia.ini"), section, L"skin", L"Imported Skin", 5000),
              L"Imported Skin");
    wchar_t value[64] = {};
    // The export ran after the import: it carries the imported option.
    const std::string exported = testing_support::ReadBytes(exportFile);
    ASSERT_GE(exported.size(), 2u);
    EXPECT_EQ(exported.substr(0, 2), std::string("\xFF\xFE"));
    GetPrivateProfileStringW(L"default:main", L"skin", L"", value, 64, exportFile.c_str());
    EXPECT_STREQ(value, L"Imported Skin");
    HANDLE closer = folder.Start(L"/exit");
    EXPECT_EQ(WaitExit(closer, kStartMs), 0u);
    EXPECT_EQ(WaitExit(p, kStartMs), 0u);
}

TEST_F(MainProcess, ImportAndExportWithQuotedBlanksBothRunImportFirst) {
    {
        ProgramFolder folder;
        ASSERT_TRUE(folder.ok());
        const std::wstring sub = folder.path() + L"with blanks";
        ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
        const std::wstring in = sub + L"\\in file.ini", out = sub + L"\\out file.ini";
        CheckImportThenExport(L"/export \"" + out + L"\" /import \"" + in + L"\" /nh", in, out, folder);
    }
    {
        ProgramFolder folder;
        ASSERT_TRUE(folder.ok());
        const std::wstring sub = folder.path() + L"other blanks";
        ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
        const std::wstring in = sub + L"\\a b.ini", out = sub + L"\\c d.ini";
        CheckImportThenExport(L"/nh /IMPORT '" + in + L"' /Export \"" + out + L"\"", in, out, folder);
    }
}

TEST_F(MainProcess, CancelledSessionEndKeepsItRunning) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    HANDLE p = folder.Start(L"/nh");
    HWND main = WaitForMainWindow(kStartMs);
    ASSERT_NE(main, nullptr);
    DWORD_PTR reply = 0;
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &reply));
    EXPECT_EQ(reply, 1u);
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_ENDSESSION, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &reply));
    Sleep(300);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_EQ(WaitExit(p, 0), static_cast<DWORD>(STILL_ACTIVE));
    SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &reply);
    EXPECT_EQ(WaitExit(p, kStartMs), 0u);
}

// The world map open at the end: the plug-in (its stand-in, which logs its
// calls) is freed whichever way the program ends.
class MapOpenAtTheEnd : public OwnFolderTest, public ::testing::WithParamInterface<UINT> {};

TEST_P(MapOpenAtTheEnd, FreesThePlugIn) {
    ASSERT_TRUE(CopyFileW((TestsFolder() + L"standin_map_full.dll").c_str(), folder_.file(L"kartix.dll").c_str(),
                          FALSE));
    const std::wstring log = folder_.file(L"map.log");
    SetEnvironmentVariableW(L"STANDIN_MAP_LOG", log.c_str());
    HANDLE p = folder_.Start(L"/nh");
    SetEnvironmentVariableW(L"STANDIN_MAP_LOG", nullptr);
    HWND main = WaitForMainWindow(kStartMs);
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_COMMAND, kCmdWorldMap, 0);
    ASSERT_TRUE(WaitForLine(log, "CreateMapWindow", kStartMs, true));
    if (GetParam() == WM_ENDSESSION) {
        DWORD_PTR reply = 0;
        SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &reply);
    } else {
        PostMessageW(main, GetParam(), GetParam() == MSG_QUIT ? 1 : 0, 0);
    }
    EXPECT_EQ(WaitExit(p, kStartMs), 0u);
    EXPECT_TRUE(WaitForLine(log, "FreeMap", 0));
}

// The session's end, the taskbar watcher's way out and the quit command.
INSTANTIATE_TEST_SUITE_P(EveryWayOut, MapOpenAtTheEnd, ::testing::Values(WM_ENDSESSION, MSG_QUIT, WM_CLOSE));

// The news window of the process: a top-level window with the channel tree.
HWND NewsWindowOf(DWORD process) {
    struct Search {
        DWORD process;
        HWND found;
    } search = {process, nullptr};
    EnumWindows(
        [](HWND w, LPARAM l) -> BOOL {
            auto* s = reinterpret_cast<Search*>(l);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner != s->process || !GetDlgItem(w, 1087)) return TRUE;
            s->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Started hidden, or as a shortcut set to "minimised" starts it: the first
// window the program shows would take that state instead of the one asked for.
class NewsWindowStart : public MainProcess, public ::testing::WithParamInterface<WORD> {};

TEST_P(NewsWindowStart, ShowsOnTheFirstCommandWithTheTreeFocusedAndKeepsItsPlaceAtExit) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = GetParam();
    PROCESS_INFORMATION pi = {};
    std::wstring line = L"\"" + folder.file(L"tempovia.exe") + L"\" /nh";
    ASSERT_TRUE(CreateProcessW(folder.file(L"tempovia.exe").c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &si, &pi));
    CloseHandle(pi.hThread);
    HANDLE p = pi.hProcess;
    HWND main = WaitForMainWindow(kStartMs);
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_COMMAND, 437, 0);  // the menu's news window command
    HWND news = nullptr;
    for (int i = 0; i < 250 && !(news && IsWindowVisible(news)); ++i) {
        Sleep(20);
        news = NewsWindowOf(GetProcessId(p));
    }
    ASSERT_NE(news, nullptr);
    EXPECT_TRUE(IsWindowVisible(news));
    EXPECT_FALSE(IsIconic(news));
    // The keyboard works the tree, once the command is through.
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    for (int i = 0; i < 100 && thread.hwndFocus != GetDlgItem(news, 1087); ++i) {
        Sleep(20);
        ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(news, nullptr), &thread));
    }
    EXPECT_EQ(thread.hwndFocus, GetDlgItem(news, 1087));
    SetWindowPos(news, nullptr, 40, 50, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExit(p, kStartMs), 0u);
    CloseHandle(p);
    const std::wstring ini = folder.file(L"tempovia.ini");
    const std::wstring section = UserPrefix() + L":main";
    wchar_t place[64] = {};
    GetPrivateProfileStringW(section.c_str(), L"rss_wnd_pos", L"", place, 64, ini.c_str());
    EXPECT_STREQ(place, L"40, 50, 540, 450");
    EXPECT_NE(GetPrivateProfileIntW(section.c_str(), L"rss_browser_height", -1, ini.c_str()), -1);
}

INSTANTIATE_TEST_SUITE_P(StartStates, NewsWindowStart,
                         ::testing::Values(static_cast<WORD>(SW_SHOWMINNOACTIVE), static_cast<WORD>(SW_HIDE)));

TEST_F(MainProcess, BadMessagesFromOtherProcessesAreRefused) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    HANDLE p = folder.Start(L"/nh");
    HWND main = WaitForMainWindow(kStartMs);
    ASSERT_NE(main, nullptr);
    auto send = [&](UINT m, WPARAM w, LPARAM l) {
        DWORD_PTR r = 12345;
        EXPECT_TRUE(SendMessageTimeoutW(main, m, w, l, SMTO_ABORTIFHUNG, 5000, &r));
        return r;
    };
    char bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    for (ULONG_PTR kind : {COPYDATA_SETTINGS, COPYDATA_CLOCKS, COPYDATA_CITIES, COPYDATA_ALARMS_BASE + 3,
                           static_cast<ULONG_PTR>(77)}) {
        COPYDATASTRUCT cds = {kind, sizeof bytes, bytes};
        EXPECT_EQ(send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)), 0u) << kind;
    }
    COPYDATASTRUCT empty = {COPYDATA_URL_IMPORT, 0, nullptr};
    EXPECT_EQ(send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&empty)), 0u);
    COPYDATASTRUCT oneByte = {COPYDATA_URL_IMPORT, 1, bytes};
    EXPECT_EQ(send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&oneByte)), 0u);
    EXPECT_EQ(send(MSG_PHOTO_REQUEST, static_cast<WPARAM>(-1), 0), 0u);
    EXPECT_EQ(send(MSG_PHOTO_REQUEST, 100000000, 0), 0u);
    EXPECT_EQ(send(MSG_CLOCK_MOUSE + 29, CLOCK_MOUSE_HOVER, 0x1234), 0u);
    EXPECT_EQ(send(MSG_CLOCK_MOUSE + 29, CLOCK_MOUSE_DBLCLK, 0), 0u);
    EXPECT_EQ(send(MSG_CLOCK_MOUSE_NONE, CLOCK_MOUSE_MENU, 0), 0u);
    EXPECT_EQ(send(MSG_MAP_IN_USE, 7, 0), 0u);
    EXPECT_EQ(send(MSG_TRAY_CLOCK_READY, 0, 0x4321), reinterpret_cast<DWORD_PTR>(main));
    EXPECT_EQ(send(MSG_SAVE_STATE, 0, 0), 0u);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_EQ(WaitExit(p, 0), static_cast<DWORD>(STILL_ACTIVE));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExit(p, kStartMs), 0u);
}

}  // namespace

namespace {

// A main window of another program that will not close.
LRESULT CALLBACK StubbornProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_CLOSE) return 0;
    return DefWindowProcW(w, m, wp, lp);
}

TEST_F(MainProcess, RestartEndsWith3WhenTheOldInstanceRefusesToClose) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    WNDCLASSW wc = {};
    wc.lpfnWndProc = StubbornProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kMainWindowClass;
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND stubborn = CreateWindowExW(0, kMainWindowClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance,
                                    nullptr);
    ASSERT_NE(stubborn, nullptr);
    const DWORD start = GetTickCount();
    HANDLE p = folder.Start(L"/restart /nh");
    DWORD code = STILL_ACTIVE;
    while ((code = WaitExit(p, 50)) == STILL_ACTIVE && GetTickCount() - start < 20000) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    EXPECT_EQ(code, 3u);
    EXPECT_GE(GetTickCount() - start, 4500u);
    DestroyWindow(stubborn);
    UnregisterClassW(kMainWindowClass, wc.hInstance);
    // The exit event that /restart set must not close the next instance.
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, kExitEventName);
    if (event) {
        ResetEvent(event);
        CloseHandle(event);
    }
}

}  // namespace
