// Line splitting, file tests, shell and service calls (through a recorder),
// pop-up placement and theme handles.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/platform/file_paths.h"
#include "common/platform/library_on_first_use.h"
#include "common/platform/popup_placement.h"
#include "common/platform/shell_open.h"
#include "common/platform/split_fields.h"
#include "common/platform/sync_service_notify.h"
#include "common/platform/system_seam.h"
#include "common/platform/theme_helpers.h"
#include "common/platform/theme_library.h"
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

// One pop-up placement and where a user sees it, worked out by hand.
struct Placement {
    const char* what;
    RECT bounds, rect;
    SIZE size;
    POINT at;
};

class PlacePopup : public testing::TestWithParam<Placement> {};

TEST_P(PlacePopup, BelowAboveOrBesideTheRectangle) {
    const Placement& c = GetParam();
    POINT p = PlacePopupInBounds(c.bounds, c.rect, c.size);
    EXPECT_EQ(p.x, c.at.x);
    EXPECT_EQ(p.y, c.at.y);
    // Whatever the case, the pop-up stays between the monitor's side edges.
    EXPECT_GE(p.x, c.bounds.left);
    EXPECT_LE(p.x + c.size.cx, c.bounds.right);
}

const RECT kScreen{0, 0, 1024, 768};

INSTANTIATE_TEST_SUITE_P(
    Cases, PlacePopup,
    testing::Values(
        // Room below: its top on the rectangle's bottom edge, its middle 5 px
        // left of the rectangle's right edge.
        Placement{"below", kScreen, {400, 300, 500, 320}, {200, 100}, {395, 320}},
        // A taskbar clock at the bottom: its bottom on the rectangle's top.
        Placement{"above", kScreen, {500, 738, 600, 768}, {200, 100}, {495, 638}},
        // Above, and pushed in from the right edge of the screen.
        Placement{"aboveAtRightEdge", kScreen, {900, 738, 1000, 768}, {200, 100}, {824, 638}},
        // Ending exactly on the screen's bottom is not room below.
        Placement{"touchingBottom", kScreen, {400, 600, 500, 668}, {200, 100}, {395, 500}},
        // Too tall for above or below: right of the rectangle, centred on it.
        Placement{"besideRight", kScreen, {100, 50, 200, 700}, {200, 700}, {200, 25}},
        // No room on the right either: on its left.
        Placement{"besideLeft", kScreen, {900, 50, 950, 700}, {200, 700}, {740, 25}},
        Placement{"rightEdge", kScreen, {980, 10, 1020, 30}, {200, 100}, {824, 30}},
        Placement{"leftEdge", kScreen, {0, 10, 40, 30}, {200, 100}, {0, 30}},
        // A monitor left of the primary one.
        Placement{"monitorLeftOfZero", {-1280, 0, 0, 1024}, {-1270, 10, -1250, 30}, {200, 100}, {-1280, 30}}),
    [](const testing::TestParamInfo<Placement>& info) { return std::string(info.param.what); });

TEST(PlacePopupNearRect, WorksInTheWindowsClientCoordinatesOnItsMonitor) {
    HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 120, 300, 200, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
    // While the prefix's desktop is still starting its monitor may have no
    // size yet; the placement is checked once it has one.
    MONITORINFO info{};
    info.cbSize = sizeof info;
    for (int i = 0; i < 100; ++i) {
        if (GetMonitorInfoW(MonitorFromWindow(w, MONITOR_DEFAULTTOPRIMARY), &info) &&
            info.rcMonitor.bottom - info.rcMonitor.top > 400)
            break;
        Sleep(50);
    }
    const RECT& m = info.rcMonitor;
    if (m.bottom - m.top <= 400) {
        DestroyWindow(w);
        GTEST_SKIP() << "the desktop's monitor has no size yet";
    }
    const RECT client{10, 20, 60, 40};
    const SIZE size{80, 30};
    auto toScreen = [&](POINT p) {
        ClientToScreen(w, &p);
        return p;
    };
    // Moves the window so that the client point (cx, cy) lands on (sx, sy).
    auto putClientPointAt = [&](int cx, int cy, int sx, int sy) {
        RECT frame;
        GetWindowRect(w, &frame);
        POINT now = toScreen(POINT{cx, cy});
        SetWindowPos(w, nullptr, frame.left + sx - now.x, frame.top + sy - now.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return toScreen(POINT{cx, cy}).x == sx && toScreen(POINT{cx, cy}).y == sy;
    };

    // Room below: the answer is in client terms, just under the rectangle,
    // its middle 5 px left of the rectangle's right edge.
    ASSERT_TRUE(putClientPointAt(0, 0, m.left + 100, m.top + 120));
    POINT p = PlacePopupNearRect(w, client, size);
    EXPECT_EQ(p.x, 15);
    EXPECT_EQ(p.y, 40);

    // The rectangle's bottom on the monitor's bottom edge: above it.
    ASSERT_TRUE(putClientPointAt(0, 40, m.left + 100, m.bottom));
    p = PlacePopupNearRect(w, client, size);
    EXPECT_EQ(p.x, 15);
    EXPECT_EQ(p.y, -10);

    // The rectangle's right edge on the monitor's: pushed in to end there.
    ASSERT_TRUE(putClientPointAt(60, 0, m.right, m.top + 120));
    p = PlacePopupNearRect(w, client, size);
    EXPECT_EQ(p.x, 60 - 80);
    EXPECT_EQ(toScreen(p).x + size.cx, m.right);
    EXPECT_EQ(p.y, 40);
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

// uxtheme.dll's answers, as the machine's visual-styles state would give them.
struct FakeUxTheme {
    static inline BOOL active = FALSE;
    static inline int opened = 0, closed = 0;
    static inline HWND openedFor = nullptr;
    static inline std::wstring classes;
    static inline HTHEME closedHandle = nullptr;
    static HTHEME Handle() { return reinterpret_cast<HTHEME>(static_cast<INT_PTR>(0x5a5a)); }

    static BOOL WINAPI IsThemeActive() { return active; }
    static HTHEME WINAPI OpenThemeData(HWND w, LPCWSTR list) {
        ++opened;
        openedFor = w;
        classes = list;
        return Handle();
    }
    static HRESULT WINAPI CloseThemeData(HTHEME theme) {
        ++closed;
        closedHandle = theme;
        return S_OK;
    }
    static void Install(BOOL isActive) {
        active = isActive;
        opened = closed = 0;
        openedFor = nullptr;
        classes.clear();
        closedHandle = nullptr;
        ThemeLibrary& lib = Themes();
        lib.available = true;
        lib.IsThemeActive = &IsThemeActive;
        lib.OpenThemeData = &OpenThemeData;
        lib.CloseThemeData = &CloseThemeData;
    }
};

TEST(ThemeHandles, OpenOnlyWhileStylesAreActiveAndCloseOnce) {
    ASSERT_TRUE(LoadThemeLibrary());
    ASSERT_NE(Themes().OpenThemeData, nullptr);
    ASSERT_NE(Themes().CloseThemeData, nullptr);
    HWND w = CreateWindowExW(0, L"BUTTON", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
    ASSERT_NE(w, nullptr);

    // Styles on: the window's theme data is opened and kept.
    FakeUxTheme::Install(TRUE);
    HTHEME theme = nullptr;
    EXPECT_EQ(OpenThemeIfActive(theme, w, L"BUTTON"), FakeUxTheme::Handle());
    EXPECT_EQ(theme, FakeUxTheme::Handle());
    EXPECT_TRUE(Themes().themesActive);
    EXPECT_EQ(FakeUxTheme::opened, 1);
    EXPECT_EQ(FakeUxTheme::openedFor, w);
    EXPECT_EQ(FakeUxTheme::classes, L"BUTTON");
    CloseThemeHandle(theme);
    CloseThemeHandle(theme);
    EXPECT_EQ(theme, nullptr);
    EXPECT_EQ(FakeUxTheme::closed, 1);
    EXPECT_EQ(FakeUxTheme::closedHandle, FakeUxTheme::Handle());

    // Styles off: nothing is opened, whatever the handle held before.
    FakeUxTheme::Install(FALSE);
    theme = reinterpret_cast<HTHEME>(static_cast<INT_PTR>(0x1234));
    EXPECT_EQ(OpenThemeIfActive(theme, w, L"BUTTON"), nullptr);
    EXPECT_EQ(theme, nullptr);
    EXPECT_FALSE(Themes().themesActive);
    EXPECT_EQ(FakeUxTheme::opened, 0);
    CloseThemeHandle(theme);
    EXPECT_EQ(FakeUxTheme::closed, 0);

    // A library without its essential entries counts as no styles.
    FakeUxTheme::Install(TRUE);
    Themes().available = false;
    EXPECT_EQ(OpenThemeIfActive(theme, w, L"BUTTON"), nullptr);
    EXPECT_FALSE(Themes().themesActive);
    EXPECT_EQ(FakeUxTheme::opened, 0);
    DestroyWindow(w);

    // Loading once more rebinds instead of leaking a second binding.
    ASSERT_TRUE(LoadThemeLibrary());
    HMODULE before = Themes().module;
    EXPECT_NE(Themes().IsThemeActive, &FakeUxTheme::IsThemeActive);
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
