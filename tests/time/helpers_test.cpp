// Line splitting, file tests, shell and service calls (through a recorder),
// pop-up placement and theme handles.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/time/file_paths.h"
#include "common/time/library_on_first_use.h"
#include "common/time/popup_placement.h"
#include "common/time/shell_open.h"
#include "common/time/split_fields.h"
#include "common/time/sync_service_notify.h"
#include "common/time/system_seam.h"
#include "common/time/theme_helpers.h"
#include "common/time/theme_library.h"
#include "tests/support/test_support.h"

using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

std::vector<std::string> Split(const char* line, int max = 32) {
    const char* starts[32];
    int lengths[32];
    int n = SplitFields(line, starts, lengths, max);
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) out.emplace_back(starts[i], lengths[i]);
    return out;
}

}  // namespace

TEST(SplitFields, CountsFieldsUpToTheLineEnd) {
    EXPECT_EQ(Split("one\ttwo\tthree\r\n"), (std::vector<std::string>{"one", "two", "three"}));
    // An empty field between TABs counts; one right at the line end does not.
    EXPECT_EQ(Split("a\t\tb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Split("a\tb\t\r\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Split("a\tb\t"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Split("\tx"), (std::vector<std::string>{"", "x"}));
    EXPECT_TRUE(Split("").empty());
    EXPECT_TRUE(Split("\r\n").empty());
    // A bare CR ends the line too; what follows is not read.
    EXPECT_EQ(Split("a\rb\tc"), (std::vector<std::string>{"a"}));
}

TEST(SplitFields, StopsAtMaxAndNeverWritesPastIt) {
    const char* starts[3] = {nullptr, nullptr, nullptr};
    int lengths[3] = {-7, -7, -7};
    EXPECT_EQ(SplitFields("a\tb\tc\td\te", starts, lengths, 2), 2);
    EXPECT_EQ(lengths[2], -7);
    EXPECT_EQ(starts[2], nullptr);
    EXPECT_EQ(SplitFields("a\tb", starts, lengths, 0), 0);
    EXPECT_EQ(SplitFields(nullptr, starts, lengths, 3), 0);
}

TEST(FilePaths, TellFilesFromFolders) {
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.file(L"f.txt"), "x"));
    EXPECT_TRUE(FileExists(dir.file(L"f.txt").c_str()));
    EXPECT_FALSE(DirectoryExists(dir.file(L"f.txt").c_str()));
    EXPECT_TRUE(DirectoryExists(dir.path().c_str()));
    EXPECT_FALSE(FileExists(dir.path().c_str()));
    EXPECT_FALSE(FileExists(dir.file(L"missing").c_str()));
    EXPECT_FALSE(DirectoryExists(dir.file(L"missing").c_str()));
    EXPECT_FALSE(FileExists(nullptr));
    EXPECT_FALSE(FileExists(L""));
}

TEST(FilePaths, SkinFacePrefersPngThenBmp) {
    TempDir dir;
    std::wstring folder = dir.path() + L"\\";
    ASSERT_TRUE(CreateDirectoryW((folder + L"skins").c_str(), nullptr));
    for (const wchar_t* skin : {L"Both", L"BmpOnly", L"Digital", L"FolderNamedPng"})
        ASSERT_TRUE(CreateDirectoryW((folder + L"skins\\" + skin).c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(folder + L"skins\\Both\\clkface.png", "p"));
    ASSERT_TRUE(WriteBytes(folder + L"skins\\Both\\clkface.bmp", "b"));
    ASSERT_TRUE(WriteBytes(folder + L"skins\\BmpOnly\\clkface.bmp", "b"));
    ASSERT_TRUE(WriteBytes(folder + L"skins\\Digital\\digits.bmp", "d"));
    ASSERT_TRUE(CreateDirectoryW((folder + L"skins\\FolderNamedPng\\clkface.png").c_str(), nullptr));

    std::wstring face;
    EXPECT_TRUE(GetSkinFacePathIn(folder, L"Both", &face));
    EXPECT_EQ(face, folder + L"skins\\Both\\clkface.png");
    EXPECT_TRUE(GetSkinFacePathIn(folder, L"BmpOnly", &face));
    EXPECT_EQ(face, folder + L"skins\\BmpOnly\\clkface.bmp");
    EXPECT_FALSE(GetSkinFacePathIn(folder, L"Digital"));
    EXPECT_FALSE(GetSkinFacePathIn(folder, L"FolderNamedPng"));
    EXPECT_FALSE(GetSkinFacePathIn(folder, L"Missing"));
    EXPECT_FALSE(GetSkinFacePathIn(folder, L""));

    std::wstring own = ProgramFolder();
    ASSERT_FALSE(own.empty());
    EXPECT_EQ(own.back(), L'\\');
}

namespace {

// Stands in for the shell and the service manager; records every call.
class Recorder : public SystemSeam {
public:
    struct ShellCall {
        std::wstring verb, file, parameters, directory;
        bool hasParameters, hasDirectory;
        int show;
    };
    std::vector<ShellCall> shellCalls;
    INT_PTR shellResult = 42;

    std::vector<std::wstring> log;
    bool managerFails = false, serviceFails = false, controlFails = false;
    DWORD error = 0;
    DWORD managerAccess = 0, serviceAccess = 0, code = 0;
    std::wstring serviceName;

    Recorder() { previous_ = SetSystemSeam(this); }
    ~Recorder() override { SetSystemSeam(previous_); }

    HINSTANCE ShellExecuteOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                               const wchar_t* directory, int show) override {
        shellCalls.push_back({verb ? verb : L"", file ? file : L"", parameters ? parameters : L"",
                              directory ? directory : L"", parameters != nullptr, directory != nullptr, show});
        return reinterpret_cast<HINSTANCE>(shellResult);
    }
    SC_HANDLE OpenServiceManager(const wchar_t* machine, const wchar_t* database, DWORD access) override {
        log.push_back(L"manager");
        EXPECT_EQ(machine, nullptr);
        EXPECT_EQ(database, nullptr);
        managerAccess = access;
        return managerFails ? nullptr : kManager;
    }
    SC_HANDLE OpenServiceHandle(SC_HANDLE manager, const wchar_t* name, DWORD access) override {
        log.push_back(L"service");
        EXPECT_EQ(manager, kManager);
        serviceName = name;
        serviceAccess = access;
        return serviceFails ? nullptr : kService;
    }
    BOOL SendServiceControl(SC_HANDLE service, DWORD c, SERVICE_STATUS* status) override {
        log.push_back(L"control");
        EXPECT_EQ(service, kService);
        EXPECT_NE(status, nullptr);
        code = c;
        return !controlFails;
    }
    BOOL CloseServiceHandleOf(SC_HANDLE handle) override {
        log.push_back(handle == kManager ? L"close manager" : handle == kService ? L"close service" : L"close ?");
        return TRUE;
    }
    DWORD LastError() override { return error; }

    static inline const SC_HANDLE kManager = reinterpret_cast<SC_HANDLE>(0x1111);
    static inline const SC_HANDLE kService = reinterpret_cast<SC_HANDLE>(0x2222);

private:
    SystemSeam* previous_;
};

}  // namespace

TEST(ShellOpen, FindsTheProgramPartDespiteBlanks) {
    TempDir dir;
    std::wstring folder = dir.path() + L"\\Program Files\\App";
    ASSERT_TRUE(CreateDirectoryW((dir.path() + L"\\Program Files").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring exe = folder + L"\\app.exe";
    ASSERT_TRUE(WriteBytes(exe, "MZ"));

    Recorder rec;
    EXPECT_TRUE(ShellOpen((exe + L" -x").c_str()));
    ASSERT_EQ(rec.shellCalls.size(), 1u);
    EXPECT_EQ(rec.shellCalls[0].verb, L"open");
    EXPECT_EQ(rec.shellCalls[0].file, exe);
    EXPECT_EQ(rec.shellCalls[0].parameters, L"-x");
    EXPECT_EQ(rec.shellCalls[0].directory, folder);
    EXPECT_EQ(rec.shellCalls[0].show, SW_SHOWNORMAL);

    // Leading blanks of the arguments go, inner ones stay; no arguments at all
    // are passed as none.
    EXPECT_TRUE(ShellOpen((exe + L"   -a  b c").c_str()));
    EXPECT_EQ(rec.shellCalls[1].parameters, L"-a  b c");
    EXPECT_TRUE(ShellOpen(exe.c_str()));
    EXPECT_FALSE(rec.shellCalls[2].hasParameters);

    // A document path with blanks in its own name.
    std::wstring doc = folder + L"\\read me.txt";
    ASSERT_TRUE(WriteBytes(doc, "t"));
    EXPECT_TRUE(ShellOpen(doc.c_str()));
    EXPECT_EQ(rec.shellCalls[3].file, doc);
    EXPECT_FALSE(rec.shellCalls[3].hasParameters);
}

TEST(ShellOpen, RefusesWithoutAnExistingProgramAndReportsShellFailure) {
    TempDir dir;
    Recorder rec;
    EXPECT_FALSE(ShellOpen((dir.path() + L"\\no such\\thing.exe -x").c_str()));
    EXPECT_FALSE(ShellOpen(L"http://127.0.0.1/page"));
    EXPECT_FALSE(ShellOpen(L""));
    EXPECT_FALSE(ShellOpen(nullptr));
    EXPECT_FALSE(ShellOpen(L"   "));
    EXPECT_TRUE(rec.shellCalls.empty());

    std::wstring exe = dir.file(L"tool.exe");
    ASSERT_TRUE(WriteBytes(exe, "MZ"));
    rec.shellResult = 2;  // SE_ERR_FNF
    EXPECT_FALSE(ShellOpen(exe.c_str()));
    EXPECT_EQ(rec.shellCalls.size(), 1u);
}

TEST(ShellOpen, ArgumentsBeyondAPathLengthStayWhole) {
    TempDir dir;
    std::wstring exe = dir.file(L"tool.exe");
    ASSERT_TRUE(WriteBytes(exe, "MZ"));
    std::wstring args(600, L'a');
    Recorder rec;
    EXPECT_TRUE(ShellOpen((exe + L" " + args).c_str()));
    ASSERT_EQ(rec.shellCalls.size(), 1u);
    EXPECT_EQ(rec.shellCalls[0].parameters, args);
}

TEST(NotifySyncService, SendsTheCodeAndClosesEveryHandle) {
    Recorder rec;
    EXPECT_EQ(NotifySyncService(SYNC_CONTROL_SYNC_NOW), 0u);
    EXPECT_EQ(rec.log, (std::vector<std::wstring>{L"manager", L"service", L"control", L"close service",
                                                  L"close manager"}));
    EXPECT_EQ(rec.managerAccess, static_cast<DWORD>(SC_MANAGER_CONNECT));
    EXPECT_EQ(rec.serviceName, L"QXTime");
    EXPECT_EQ(rec.serviceAccess, static_cast<DWORD>(SERVICE_USER_DEFINED_CONTROL | SERVICE_INTERROGATE));
    EXPECT_EQ(rec.code, 130u);
    EXPECT_EQ(SYNC_CONTROL_RELOAD, 129u);
}

TEST(NotifySyncService, ReportsTheErrorOfTheFailingStep) {
    {
        Recorder rec;
        rec.managerFails = true;
        rec.error = ERROR_ACCESS_DENIED;
        EXPECT_EQ(NotifySyncService(SYNC_CONTROL_RELOAD), static_cast<DWORD>(ERROR_ACCESS_DENIED));
        EXPECT_EQ(rec.log, (std::vector<std::wstring>{L"manager"}));
    }
    {
        Recorder rec;
        rec.serviceFails = true;
        rec.error = ERROR_SERVICE_DOES_NOT_EXIST;
        EXPECT_EQ(NotifySyncService(SYNC_CONTROL_RELOAD), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
        EXPECT_EQ(rec.log, (std::vector<std::wstring>{L"manager", L"service", L"close manager"}));
    }
    {
        Recorder rec;
        rec.controlFails = true;
        rec.error = ERROR_SERVICE_NOT_ACTIVE;
        EXPECT_EQ(NotifySyncService(SYNC_CONTROL_RELOAD), static_cast<DWORD>(ERROR_SERVICE_NOT_ACTIVE));
        EXPECT_EQ(rec.log, (std::vector<std::wstring>{L"manager", L"service", L"control", L"close service",
                                                      L"close manager"}));
    }
    {
        // A failure that leaves no error code is still a failure.
        Recorder rec;
        rec.controlFails = true;
        rec.error = 0;
        EXPECT_NE(NotifySyncService(SYNC_CONTROL_RELOAD), 0u);
    }
}

TEST(PlacePopup, BelowAboveOrBesideTheRectangle) {
    const RECT screen{0, 0, 1024, 768};
    const SIZE size{200, 100};
    // Room below: under the rectangle, centred a little left of its right edge.
    POINT p = PlacePopupInBounds(screen, RECT{400, 300, 500, 320}, size);
    EXPECT_EQ(p.x, 500 - (100 + 5));
    EXPECT_EQ(p.y, 320);
    // A rectangle at the bottom of the screen (a taskbar clock): above it.
    p = PlacePopupInBounds(screen, RECT{900, 738, 1000, 768}, size);
    EXPECT_EQ(p.y, 738 - 100);
    EXPECT_EQ(p.x, 1024 - 200);  // 1000 - 105 would pass the right edge
    p = PlacePopupInBounds(screen, RECT{500, 738, 600, 768}, size);
    EXPECT_EQ(p.x, 600 - 105);
    // Exactly touching the bottom is not room below.
    p = PlacePopupInBounds(screen, RECT{400, 600, 500, 668}, size);
    EXPECT_EQ(p.y, 500);
    // Neither above nor below: beside it, on the left when the right is short.
    p = PlacePopupInBounds(screen, RECT{100, 50, 200, 700}, SIZE{200, 700});
    EXPECT_EQ(p.x, 200);
    EXPECT_EQ(p.y, (50 - 700 + 700) / 2);
    p = PlacePopupInBounds(screen, RECT{900, 50, 950, 700}, SIZE{200, 700});
    EXPECT_EQ(p.x, 950 - 200 - 10);
    // Kept inside the right and left edges.
    p = PlacePopupInBounds(screen, RECT{980, 10, 1020, 30}, size);
    EXPECT_EQ(p.x, 1024 - 200);
    p = PlacePopupInBounds(screen, RECT{0, 10, 40, 30}, size);
    EXPECT_EQ(p.x, 0);
    // A monitor that does not start at 0.
    p = PlacePopupInBounds(RECT{-1280, 0, 0, 1024}, RECT{-1270, 10, -1250, 30}, size);
    EXPECT_EQ(p.x, -1280);
}

TEST(PlacePopup, WorksInTheWindowsClientCoordinates) {
    HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 120, 300, 200, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
    // While the prefix's desktop is still starting there may be no monitor
    // yet; the placement then uses the screen's size.
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromWindow(w, MONITOR_DEFAULTTOPRIMARY), &info))
        info.rcMonitor = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    POINT origin{0, 0};
    ClientToScreen(w, &origin);

    RECT client{10, 20, 60, 40};
    POINT p = PlacePopupNearRect(w, client, SIZE{80, 30});
    RECT onScreen{client.left + origin.x, client.top + origin.y, client.right + origin.x, client.bottom + origin.y};
    POINT expected = PlacePopupInBounds(info.rcMonitor, onScreen, SIZE{80, 30});
    EXPECT_EQ(p.x, expected.x - origin.x);
    EXPECT_EQ(p.y, expected.y - origin.y);
    // With room below: just under the rectangle, in client terms.
    if (onScreen.bottom + 30 < info.rcMonitor.bottom) {
        EXPECT_EQ(p.y, 40);
    }
    DestroyWindow(w);
}

TEST(ThemeHandles, NoThemeWithoutTheLibrary) {
    FreeThemeLibrary();
    HTHEME theme = reinterpret_cast<HTHEME>(0x1234);
    EXPECT_EQ(OpenThemeIfActive(theme, nullptr, L"CLOCK"), nullptr);
    EXPECT_EQ(theme, nullptr);
    EXPECT_FALSE(Themes().themesActive);
    CloseThemeHandle(theme);
    EXPECT_EQ(theme, nullptr);
}

TEST(ThemeHandles, FollowTheLibraryAndCloseOnce) {
    ASSERT_TRUE(LoadThemeLibrary());
    ASSERT_NE(Themes().OpenThemeData, nullptr);
    ASSERT_NE(Themes().CloseThemeData, nullptr);
    HWND w = CreateWindowExW(0, L"BUTTON", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
    ASSERT_NE(w, nullptr);
    HTHEME theme = nullptr;
    OpenThemeIfActive(theme, w, L"BUTTON");
    bool active = Themes().IsThemeActive() != FALSE;
    EXPECT_EQ(Themes().themesActive, active);
    if (!active) {
        EXPECT_EQ(theme, nullptr);
    }
    CloseThemeHandle(theme);
    EXPECT_EQ(theme, nullptr);
    DestroyWindow(w);
    // Loading once more rebinds instead of leaking a second binding.
    HMODULE before = Themes().module;
    EXPECT_TRUE(EnsureThemeLibrary());
    EXPECT_EQ(Themes().module, before);
    FreeThemeLibrary();
    EXPECT_EQ(Themes().module, nullptr);
}

TEST(LibraryOnFirstUseTest, TheLibraryOutlivesItsHolder) {
    const wchar_t* name = nullptr;
    for (const wchar_t* candidate : {L"powrprof.dll", L"winmm.dll", L"comdlg32.dll"}) {
        if (!GetModuleHandleW(candidate)) {
            name = candidate;
            break;
        }
    }
    if (!name) GTEST_SKIP() << "every candidate library is already loaded";
    {
        LibraryOnFirstUse library(name);
        ASSERT_NE(GetModuleHandleW(name), nullptr);
    }  // as at the program's end, when its statics go
    EXPECT_NE(GetModuleHandleW(name), nullptr);
}
