// The main program with a stand-in taskbar in another process: the greeting,
// the data it pushes, the reload on MSG_SETTINGS_CHANGED, the pending settings
// switch, the quit sequence, and the restart when the taskbar's process ends.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "common/records/protocol.h"
#include "common/zones/city_list.h"
#include "tempovia/main/startup.h"
#include "tests/mainprog/program_folder.h"

using namespace mainprog_test;

namespace {

constexpr DWORD kStartMs = 15000;

struct Block {
    unsigned long long kind;
    unsigned long bytes;
    std::string from;
    int trayclocks;
    int clockCount;
    long long reply;
};

std::vector<Block> Blocks(const std::wstring& log) {
    std::vector<Block> blocks;
    for (const auto& line : ReadLines(log)) {
        Block b = {};
        char from[16] = {};
        if (std::sscanf(line.c_str(), "copydata %llu %lu %15s %d %d -> %lld", &b.kind, &b.bytes, from,
                        &b.trayclocks, &b.clockCount, &b.reply) == 6) {
            b.from = from;
            blocks.push_back(b);
        }
    }
    return blocks;
}

// The stand-in taskbar whose process is `process`.
HWND TaskbarOf(HANDLE process) {
    const DWORD pid = GetProcessId(process);
    for (HWND w = FindWindowW(kTaskbarClass, nullptr); w; w = FindWindowExW(nullptr, w, kTaskbarClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid) return w;
    }
    return nullptr;
}

HWND ClockOf(HWND taskbar) {
    HWND notify = FindWindowExW(taskbar, nullptr, kTrayNotifyClass, nullptr);
    return notify ? FindWindowExW(notify, nullptr, kTrayClockClass, nullptr) : nullptr;
}

// Posted to the stand-in's clock: its thread hangs for wParam milliseconds;
// the taskbar keeps sending its clock messages as the pointer over it does.
constexpr UINT kHangNow = WM_APP + 2;
constexpr UINT kPointerOver = WM_APP + 3;

class WithTaskbar : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr) << "a main program is already running";
        ASSERT_TRUE(folder_.ok());
        log_ = folder_.file(L"taskbar.log");
    }
    void TearDown() override {
        if (FindWindowW(kMainWindowClass, nullptr)) {
            HANDLE closer = folder_.Start(L"/exit");
            WaitExit(closer, kStartMs);
        }
    }
    HANDLE StartTaskbar(const std::wstring& log) {
        HANDLE p = folder_.StartProgram(TestsFolder() + L"standin_taskbar.exe", L"\"" + log + L"\" 120");
        EXPECT_TRUE(WaitForLine(log, "ready", kStartMs));
        return p;
    }
    // Starts the main program; its hook takes over the stand-in's clock,
    // which greets the main program by itself and gets the blocks.
    HWND StartAndGreet(HANDLE taskbar, const std::wstring& arguments) {
        (void)taskbar;
        main_ = folder_.Start(arguments);
        HWND w = WaitForMainWindow(kStartMs);
        if (!w) return nullptr;
        EXPECT_TRUE(WaitForLine(log_, "copydata 1 ", kStartMs, true));
        return w;
    }

    ProgramFolder folder_;
    std::wstring log_;
    HANDLE main_ = nullptr;
};

TEST_F(WithTaskbar, GreetingIsAnsweredAndTheFourKindsFollowInOrder) {
    // The settings program is a recorder here.
    ASSERT_TRUE(CopyFileW((TestsFolder() + L"standin_taskbar.exe").c_str(), folder_.file(L"settings.exe").c_str(),
                          FALSE));
    HANDLE taskbar = StartTaskbar(log_);
    HWND main = StartAndGreet(taskbar, L"/3.2 /x");
    ASSERT_NE(main, nullptr);

    // hook.dll came into the taskbar's process with the section it shares
    // with the main program: the main window and the command line are there.
    EXPECT_TRUE(WaitForLine(log_, "shared main /3.2 /x", 2000));

    const std::vector<Block> blocks = Blocks(log_);
    ASSERT_GE(blocks.size(), 3u);
    for (const auto& b : blocks) {
        EXPECT_EQ(b.from, "main");
        // The taskbar clock kept every block; the city block is answered with 0.
        EXPECT_EQ(b.reply, b.kind == COPYDATA_CITIES ? 0 : 1) << "kind " << b.kind;
    }
    EXPECT_EQ(blocks[0].kind, COPYDATA_SETTINGS);
    EXPECT_EQ(blocks[0].bytes, kGlobalSettingsBytes);
    EXPECT_EQ(blocks[1].kind, COPYDATA_CITIES);
    EXPECT_GT(blocks[1].bytes, 0u);
    EXPECT_EQ(blocks[1].bytes % kCityRecordBytes, 0u);
    EXPECT_EQ(blocks[2].kind, COPYDATA_CLOCKS);
    EXPECT_EQ(blocks[2].bytes % kClockRecordBytes, 0u);
    EXPECT_EQ(static_cast<int>(blocks[2].bytes / kClockRecordBytes), blocks[0].clockCount);
    unsigned long long lastAlarmKind = COPYDATA_ALARMS_BASE - 1;
    for (std::size_t i = 3; i < blocks.size(); ++i) {
        EXPECT_GT(blocks[i].kind, lastAlarmKind);
        EXPECT_LE(blocks[i].kind, COPYDATA_ALARMS_BASE + static_cast<unsigned>(blocks[0].clockCount) - 1);
        EXPECT_GT(blocks[i].bytes, 0u);
        EXPECT_EQ(blocks[i].bytes % kAlarmRecordBytes, 0u);
        lastAlarmKind = blocks[i].kind;
    }
    // The kept switch goes to the settings program; /x is ignored.
    EXPECT_TRUE(WaitForLine(folder_.file(L"settings_calls.txt"), "/3.2", kStartMs));
    // The build stamp is written at the greeting.
    wchar_t stamp[64] = {};
    GetPrivateProfileStringW((UserPrefix() + L":main").c_str(), L"last_build", L"", stamp, 64,
                             folder_.file(L"tempovia.ini").c_str());
    EXPECT_EQ(std::wcslen(stamp), 19u);

    // Quitting restores the stock clock and lets it repaint.
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExit(main_, kStartMs), 0u);
    // The clock window has the stand-in's own procedure again when the
    // unsubclass command returns, and the stock clock gets the repaint.
    EXPECT_TRUE(WaitForLine(log_, "command 32777 own", 2000));
    EXPECT_TRUE(WaitForLine(log_, "wininichange own", 2000));
    EXPECT_TRUE(WaitForLine(log_, "timechange own", 2000));
    PostMessageW(TaskbarOf(taskbar), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExit(taskbar, kStartMs), 0u);
    // The hook had brought hook.dll into the taskbar's process.
    EXPECT_TRUE(WaitForLine(log_, "end hooked own", 2000));
}

TEST_F(WithTaskbar, SettingsChangedRereadsTheIniAndPushesAgain) {
    HANDLE taskbar = StartTaskbar(log_);
    HWND main = StartAndGreet(taskbar, L"");
    ASSERT_NE(main, nullptr);
    const std::size_t before = Blocks(log_).size();
    ASSERT_GE(before, 3u);
    ASSERT_TRUE(WritePrivateProfileStringW((UserPrefix() + L":main").c_str(), L"trayclocks", L"5",
                                           folder_.file(L"tempovia.ini").c_str()));
    PostMessageW(main, MSG_SETTINGS_CHANGED, 0, 0);
    EXPECT_TRUE(WaitForLine(log_, "copydata 0 1328 main 5 ", kStartMs, true));
    // The greeting's own push may still have been arriving when `before` was
    // counted: the reloaded block is the last settings block.
    const std::vector<Block> after = Blocks(log_);
    ASSERT_GT(after.size(), before);
    std::size_t reloaded = after.size();
    for (std::size_t i = before; i < after.size(); ++i) {
        if (after[i].kind == COPYDATA_SETTINGS) reloaded = i;
    }
    ASSERT_LT(reloaded, after.size());
    EXPECT_EQ(after[reloaded].trayclocks, 5);
    // A push by request sends the same again.
    PostMessageW(main, MSG_PUSH_TO_TRAY, 0, 0);
    const DWORD start = GetTickCount();
    while (Blocks(log_).size() < after.size() + 3 && GetTickCount() - start < kStartMs) Sleep(20);
    EXPECT_GE(Blocks(log_).size(), after.size() + 3);
    // The clock count is passed on, 0 meaning the current count.
    PostMessageW(main, MSG_CLOCK_COUNT, 0, 0);
    char expected[32];
    std::snprintf(expected, sizeof expected, "clockcount %d", after[reloaded].clockCount);
    EXPECT_TRUE(WaitForLine(log_, expected, kStartMs));
    PostMessageW(TaskbarOf(taskbar), WM_CLOSE, 0, 0);
}

TEST_F(WithTaskbar, AHugeCityListReachesTheClockCutAndTheProgramStillEnds) {
    std::string cities;
    for (int i = 0; i < 50000; ++i) {
        cities += "Town" + std::to_string(i) + "\tDE\tGermany\t50.5\t6.5\tW. Europe Standard Time\r\n";
    }
    ASSERT_TRUE(testing_support::WriteBytes(folder_.file(L"cities.txt"), cities));
    HANDLE taskbar = StartTaskbar(log_);
    ASSERT_NE(StartAndGreet(taskbar, L""), nullptr);
    bool sent = false;
    for (const auto& b : Blocks(log_)) {
        if (b.kind != COPYDATA_CITIES) continue;
        sent = true;
        EXPECT_EQ(b.bytes, static_cast<unsigned long>(kMaxCities) * kCityRecordBytes);
        EXPECT_EQ(b.reply, 0);
    }
    EXPECT_TRUE(sent);
    HANDLE closer = folder_.Start(L"/exit");
    EXPECT_EQ(WaitExit(closer, kStartMs), 0u);
    EXPECT_EQ(WaitExit(main_, kStartMs), 0u);
    PostMessageW(TaskbarOf(taskbar), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExit(taskbar, kStartMs), 0u);
}

// Index of the first log line from `from` on that begins with `text`, within
// the time; npos when none came.
std::size_t WaitForLineFrom(const std::wstring& log, std::size_t from, const char* text, DWORD ms) {
    for (const DWORD start = GetTickCount();; Sleep(50)) {
        const std::vector<std::string> lines = ReadLines(log);
        for (std::size_t i = from; i < lines.size(); ++i) {
            if (lines[i].rfind(text, 0) == 0) return i;
        }
        if (GetTickCount() - start > ms) return std::string::npos;
    }
}

// After the program's end: the clock was released once (counted from log
// line `from`), nothing was pushed after the release, the stand-in's own
// procedure is back and no program was started again.
void ExpectReleasedOnceAndLeftAlone(const std::wstring& log, std::size_t from = 0) {
    ASSERT_NE(WaitForLineFrom(log, from, "wininichange own", kStartMs), std::string::npos);
    Sleep(1000);
    const std::vector<std::string> lines = ReadLines(log);
    std::size_t releases = 0, pushedAfter = 0;
    for (std::size_t i = from; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind("command 32777", 0) == 0) ++releases;
        if (releases > 0 && line.rfind("copydata", 0) == 0) ++pushedAfter;
    }
    EXPECT_EQ(releases, 1u);
    EXPECT_EQ(pushedAfter, 0u);
    // The program's last word reached the stock clock: no hook took it again.
    EXPECT_NE(WaitForLineFrom(log, from, "timechange own", 0), std::string::npos);
    EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr) << "the end became a restart";
}

TEST_F(WithTaskbar, AHungTaskbarDoesNotHoldTheProgramAndANewStartGetsTheClockWhenItWakes) {
    HANDLE taskbar = StartTaskbar(log_);
    HWND main = StartAndGreet(taskbar, L"");
    ASSERT_NE(main, nullptr);
    // Explorer hangs for 20 s; the program pushes its blocks, then is told to end.
    HWND clock = ClockOf(TaskbarOf(taskbar));
    PostMessageW(clock, kHangNow, 20000, 0);
    Sleep(300);
    PostMessageW(main, MSG_SETTINGS_CHANGED, 0, 0);
    Sleep(300);
    HANDLE closer = folder_.Start(L"/exit");
    EXPECT_EQ(WaitExit(main_, 25000), 0u);
    EXPECT_EQ(WaitExit(closer, kStartMs), 0u);
    // A new start while Explorer still hangs.
    const std::size_t hung = ReadLines(log_).size();
    main_ = folder_.Start(L"");
    ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
    // When Explorer wakes, the old program's clock gives itself back and the
    // new one takes it: its blocks arrive, and the clock (not the stock one)
    // gets the time change. No late release undoes that.
    const std::size_t pushed = WaitForLineFrom(log_, hung, "copydata 1 ", 30000);
    ASSERT_NE(pushed, std::string::npos);
    Sleep(1500);
    PostMessageW(clock, WM_TIMECHANGE, 0, 0);
    Sleep(500);
    EXPECT_EQ(WaitForLineFrom(log_, pushed, "timechange own", 0), std::string::npos);
    EXPECT_EQ(WaitForLineFrom(log_, pushed, "command 32777", 0), std::string::npos);
    closer = folder_.Start(L"/exit");
    EXPECT_EQ(WaitExit(main_, kStartMs), 0u);
    ExpectReleasedOnceAndLeftAlone(log_, pushed);
    PostMessageW(TaskbarOf(taskbar), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExit(taskbar, kStartMs), 0u);
}

TEST_F(WithTaskbar, AfterAHardEndANewStartTakesTheClockBackAndExitReleasesItOnce) {
    HANDLE taskbar = StartTaskbar(log_);
    ASSERT_NE(StartAndGreet(taskbar, L""), nullptr);
    // Ended as a crash or Task Manager ends it: the clock stays taken over.
    ASSERT_TRUE(TerminateProcess(main_, 9));
    EXPECT_EQ(WaitExit(main_, kStartMs), 9u);
    const std::size_t killed = ReadLines(log_).size();
    // The next start gets the clock back: the greeting, then its blocks.
    main_ = folder_.Start(L"");
    ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
    const std::size_t pushed = WaitForLineFrom(log_, killed, "copydata 1 ", kStartMs);
    ASSERT_NE(pushed, std::string::npos);
    // The pointer rests on the clock all through the end.
    PostMessageW(ClockOf(TaskbarOf(taskbar)), kPointerOver, 0, 0);
    Sleep(200);
    HANDLE closer = folder_.Start(L"/exit");
    EXPECT_EQ(WaitExit(closer, kStartMs), 0u);
    EXPECT_EQ(WaitExit(main_, kStartMs), 0u);
    ExpectReleasedOnceAndLeftAlone(log_, pushed);

    // The next start takes the clock over again and gets its blocks.
    const std::size_t before = ReadLines(log_).size();
    main_ = folder_.Start(L"");
    ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
    EXPECT_NE(WaitForLineFrom(log_, before, "copydata 1 ", kStartMs), std::string::npos);
    closer = folder_.Start(L"/exit");
    EXPECT_EQ(WaitExit(main_, kStartMs), 0u);
    EXPECT_TRUE(WaitForLine(log_, "command 32777 own", kStartMs));

    // A first run ended hard; the clock's restart (as it starts the program
    // when no program answers), then `/exit`: nothing is left, no box waits.
    main_ = folder_.Start(L"");
    ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
    ASSERT_TRUE(WaitForStartUpEnd(folder_.file(L"tempovia.ini"), kStartMs));
    ASSERT_TRUE(TerminateProcess(main_, 9));
    EXPECT_EQ(WaitExit(main_, kStartMs), 9u);
    main_ = folder_.Start(L"/restart");
    ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
    // Other programs may keep the settings file busy meanwhile: the end may
    // take all an instance's end is allowed.
    closer = folder_.Start(L"/exit");
    EXPECT_EQ(WaitExit(closer, kInstanceEndWaitMs + 5000), 0u);
    EXPECT_EQ(WaitExit(main_, kStartMs), 0u);
    EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr);
    PostMessageW(TaskbarOf(taskbar), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExit(taskbar, kStartMs), 0u);
}

TEST_F(WithTaskbar, WhenTheTaskbarEndsTheProgramSavesAndRestartsOnTheNewOne) {
    // A running stopwatch whose state must survive the restart.
    const std::wstring ini = folder_.file(L"tempovia.ini");
    const std::wstring clock1 = UserPrefix() + L":clock1";
    WritePrivateProfileStringW(clock1.c_str(), L"enabled", L"1", ini.c_str());
    WritePrivateProfileStringW(clock1.c_str(), L"timer_mode", L"1", ini.c_str());
    WritePrivateProfileStringW(clock1.c_str(), L"running", L"1", ini.c_str());
    WritePrivateProfileStringW(clock1.c_str(), L"start_time", L"2020.01.01 00:00:00", ini.c_str());
    HANDLE first = StartTaskbar(log_);
    HWND oldMain = StartAndGreet(first, L"");
    ASSERT_NE(oldMain, nullptr);
    wchar_t value[64] = {};
    GetPrivateProfileStringW(clock1.c_str(), L"elapsed", L"", value, 64, ini.c_str());
    ASSERT_STREQ(value, L"");

    const std::wstring log2 = folder_.file(L"taskbar2.log");
    HANDLE second = StartTaskbar(log2);
    PostMessageW(TaskbarOf(first), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExit(first, kStartMs), 0u);
    EXPECT_EQ(WaitExit(main_, kStartMs), 0u);
    HWND newMain = WaitForMainWindow(kStartMs, oldMain);
    ASSERT_NE(newMain, nullptr);
    // The old instance saved the stopwatch on its way out; the new one may be
    // writing the file while it is read.
    const DWORD start = GetTickCount();
    do {
        Sleep(20);
        GetPrivateProfileStringW(clock1.c_str(), L"elapsed", L"", value, 64, ini.c_str());
    } while (!value[0] && GetTickCount() - start < 5000);
    EXPECT_STRNE(value, L"");
    EXPECT_EQ(WaitForIniValue(ini, clock1, L"running", L"1", 5000), L"1");
    HANDLE closer = folder_.Start(L"/exit");
    EXPECT_EQ(WaitExit(closer, kStartMs), 0u);
    EXPECT_TRUE(WaitMainWindowGone(kStartMs));
    PostMessageW(TaskbarOf(second), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExit(second, kStartMs), 0u);
}

// The main program's visible layered tool window: the timer panel.
BOOL CALLBACK FindPanel(HWND w, LPARAM lp) {
    auto* found = reinterpret_cast<std::pair<DWORD, HWND>*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    const LONG ex = GetWindowLongW(w, GWL_EXSTYLE);
    if (pid == found->first && IsWindowVisible(w) && (ex & WS_EX_LAYERED) && (ex & WS_EX_TOOLWINDOW)) {
        found->second = w;
        return FALSE;
    }
    return TRUE;
}

TEST_F(WithTaskbar, PointingAtAStopwatchsShippedButtonInTheTaskbarOpensTheTimerPanel) {
    const std::wstring ini = folder_.file(L"tempovia.ini");
    const std::wstring clock1 = UserPrefix() + L":clock1";
    WritePrivateProfileStringW(clock1.c_str(), L"enabled", L"1", ini.c_str());
    WritePrivateProfileStringW(clock1.c_str(), L"timer_mode", L"1", ini.c_str());
    HANDLE taskbar = StartTaskbar(log_);
    HWND main = StartAndGreet(taskbar, L"");
    ASSERT_NE(main, nullptr);
    HWND clock = ClockOf(TaskbarOf(taskbar));
    ASSERT_NE(clock, nullptr);

    // The taskbar clock finds the button by the picture from res_en.dll: the
    // point where its hover test first says yes.
    const DWORD_PTR size = SendMessageW(clock, MSG_TRAY_QUERY_SIZE, 0, 0);
    POINT button = {-1, -1};
    for (int y = 0; y < HIWORD(size) && button.x < 0; ++y) {
        for (int x = LOWORD(size) - 1; x >= 0 && button.x < 0; --x) {
            POINT screen = {x, y};
            ClientToScreen(clock, &screen);
            SetCursorPos(screen.x, screen.y);
            if (SendMessageW(clock, MSG_CLOCK_HOVER_TEST, 1, 0) == 1) button = POINT{x, y + 2};
        }
    }
    ASSERT_GE(button.x, 0) << "no button on the stopwatch";
    POINT screen = button;
    ClientToScreen(clock, &screen);
    SetCursorPos(screen.x, screen.y);
    ASSERT_EQ(SendMessageW(clock, MSG_CLOCK_HOVER_TEST, 1, 0), 1);

    // The pointer rests there: the main program opens the panel beside it.
    PostMessageW(clock, WM_MOUSEMOVE, 0, MAKELPARAM(button.x, button.y));
    std::pair<DWORD, HWND> panel(GetProcessId(main_), nullptr);
    for (DWORD start = GetTickCount(); !panel.second && GetTickCount() - start < kStartMs; Sleep(50)) {
        EnumWindows(FindPanel, reinterpret_cast<LPARAM>(&panel));
    }
    ASSERT_NE(panel.second, nullptr) << "no timer panel";
    RECT panelRect = {}, clockRect = {};
    GetWindowRect(panel.second, &panelRect);
    GetWindowRect(clock, &clockRect);
    EXPECT_LE(panelRect.bottom, clockRect.top) << "above the clock on the bottom taskbar";
    PostMessageW(TaskbarOf(taskbar), WM_CLOSE, 0, 0);
}

}  // namespace
