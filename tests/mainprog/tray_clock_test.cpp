// The taskbar clock inside the stand-in taskbar's process, with this test
// program in the main program's place: it installs the hook through the test
// build of hook.dll (trayclock_probe.dll, whose clock the stand-in can ask
// what it holds), answers the greeting with a window of its own, sends the blocks,
// drives the clock window by its messages and removes the hook again.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/records/clock_record.h"
#include "common/records/global_settings.h"
#include "common/records/protocol.h"
#include "common/zones/city_list.h"
#include "common/taskbar/hook_exports.h"
#include "common/records/city_record.h"
#include "tests/mainprog/program_folder.h"
#include "tests/mainprog/trayclock_probe/trayclock_probe.h"

using namespace mainprog_test;

namespace {

constexpr DWORD kWaitMs = 15000;

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The window that plays the main program.
struct FakeMain {
    HWND window = nullptr;
    std::vector<Received> received;
    HWND greetedBy = nullptr;
    bool answerWrongly = false;
    LRESULT menuReply = 1;  // 1: "the About box came forward", so no menu
    // Inside the greeting: the hook's load goes and the clock is given back,
    // then the answer takes a while (a program that ends as it starts);
    // whether the library had gone by the time of the answer.
    bool releaseInGreeting = false;
    bool unloadedInGreeting = false;
    // Inside the greeting: no answer for this long (a hung program); whether
    // the taskbar went on with its messages meanwhile.
    DWORD hangInGreetingMs = 0;
    std::wstring log;
    bool taskbarWentOn = false;
};

FakeMain* g_main = nullptr;

LRESULT CALLBACK FakeMainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (g_main && (m == MSG_TRAY_CLOCK_READY || m == WM_COMMAND || m == MSG_PHOTO_REQUEST ||
                   (m >= MSG_CLOCK_MOUSE_NONE && m <= MSG_CLOCK_MOUSE_LAST))) {
        g_main->received.push_back(Received{m, wp, lp});
        if (m == MSG_TRAY_CLOCK_READY) {
            g_main->greetedBy = reinterpret_cast<HWND>(lp);
            HWND clock = reinterpret_cast<HWND>(lp);
            if (g_main->releaseInGreeting) {
                SendMessageW(clock, WM_APP + 4, 0, 0);
                SendMessageW(clock, WM_COMMAND, MSG_QUIT, reinterpret_cast<LPARAM>(w));
                Sleep(1500);
                g_main->unloadedInGreeting = WaitForLine(g_main->log, "hook unloaded", 0);
            }
            if (g_main->hangInGreetingMs) {
                PostMessageW(clock, WM_COMMAND, 1, 0);
                g_main->taskbarWentOn = WaitForLine(g_main->log, "command 1 foreign", g_main->hangInGreetingMs);
            }
            return g_main->answerWrongly ? 0 : reinterpret_cast<LRESULT>(w);
        }
        if (wp == CLOCK_MOUSE_MENU) return g_main->menuReply;
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

// Runs this thread's messages until the condition holds or the time is up.
template <typename Pred>
bool PumpUntil(Pred done, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (done()) return true;
        if (GetTickCount() - start > ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// The test build of the hook, loaded once from beside this program, through
// the ordinals of hook.dll.
struct ProbeHook {
    decltype(&InstallHook) install = nullptr;
    decltype(&RemoveHook) remove = nullptr;
    decltype(&SetSharedStrings) setSharedStrings = nullptr;
    bool ok() const { return install && remove && setSharedStrings; }
};

template <typename Fn>
void BindOrdinal(Fn& fn, HMODULE module, WORD ordinal) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}

const ProbeHook& Probe() {
    static const ProbeHook probe = [] {
        ProbeHook p;
        HMODULE module = LoadLibraryW((TestsFolder() + kTrayClockProbeFile).c_str());
        if (!module) return p;
        BindOrdinal(p.install, module, 7);
        BindOrdinal(p.remove, module, 8);
        BindOrdinal(p.setSharedStrings, module, 9);
        return p;
    }();
    return probe;
}

HWND ClockOf(HWND taskbar) {
    HWND notify = FindWindowExW(taskbar, nullptr, kTrayNotifyClass, nullptr);
    return notify ? FindWindowExW(notify, nullptr, kTrayClockClass, nullptr) : nullptr;
}

HWND TaskbarOf(HANDLE process) {
    const DWORD pid = GetProcessId(process);
    for (HWND w = FindWindowW(kTaskbarClass, nullptr); w; w = FindWindowExW(nullptr, w, kTaskbarClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid) return w;
    }
    return nullptr;
}

class TrayClock : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.ok());
        ASSERT_TRUE(Probe().ok());
        g_main = &main_;
        WNDCLASSW wc = {};
        wc.lpfnWndProc = FakeMainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TrayClockTestMain";
        RegisterClassW(&wc);
        main_.window = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       wc.hInstance, nullptr);
        ASSERT_NE(main_.window, nullptr);
        inspect_ = RegisterWindowMessageW(kTrayInspectMessage);
        log_ = folder_.file(L"taskbar.log");
        main_.log = log_;
    }
    void TearDown() override {
        if (Probe().ok()) Probe().remove();
        if (taskbarProcess_) {
            PostMessageW(TaskbarOf(taskbarProcess_), WM_CLOSE, 0, 0);
            WaitExit(taskbarProcess_, kWaitMs);
        }
        DestroyWindow(main_.window);
        g_main = nullptr;
    }

    // Starts the stand-in taskbar and hooks it; true once its clock greeted.
    bool StartHooked(const char* commandLine) {
        taskbarProcess_ = folder_.StartProgram(TestsFolder() + L"standin_taskbar.exe", L"\"" + log_ + L"\" 120");
        if (!WaitForLine(log_, "ready", kWaitMs)) return false;
        taskbar_ = TaskbarOf(taskbarProcess_);
        clock_ = ClockOf(taskbar_);
        Probe().setSharedStrings(folder_.path().c_str(), commandLine);
        if (!Probe().install(main_.window, folder_.path().c_str())) return false;
        return PumpUntil([&] { return main_.greetedBy != nullptr; }, kWaitMs);
    }

    LRESULT Send(ULONG_PTR kind, const void* data, DWORD bytes, HWND from = nullptr) {
        COPYDATASTRUCT cds = {kind, bytes, const_cast<void*>(data)};
        DWORD_PTR reply = 0xBAD;
        if (!SendMessageTimeoutW(clock_, WM_COPYDATA, reinterpret_cast<WPARAM>(from ? from : main_.window),
                                 reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL, kWaitMs, &reply)) {
            return -99;
        }
        return static_cast<LRESULT>(reply);
    }
    LRESULT Inspect(WPARAM kind, LPARAM index = -1) { return SendMessageW(clock_, inspect_, kind, index); }

    // Settings for `clocks` clocks, all shown in the taskbar, and the records:
    // clock 2 (index 1) is on the desktop, clock 3 a timer.
    void SendData(int clocks, int settingsClockCount) {
        GlobalSettings s = {};
        s.trayclocks = 12;
        s.clockCount = settingsClockCount;
        s.enabledClocks = settingsClockCount;
        EXPECT_EQ(Send(COPYDATA_SETTINGS, &s, sizeof s), 1);
        std::vector<CityRecord> cities(2);
        std::memset(cities.data(), 0, cities.size() * sizeof(CityRecord));
        cities[0].zoneId = 7;
        cities[1].zoneId = 9;
        for (auto& c : cities) c.zone = reinterpret_cast<ZoneRecord*>(0xDEADBEEF);
        EXPECT_EQ(Send(COPYDATA_CITIES, cities.data(), static_cast<DWORD>(cities.size() * sizeof(CityRecord))), 0);
        std::vector<ClockRecord> records(clocks);
        std::memset(records.data(), 0, records.size() * sizeof(ClockRecord));
        for (int i = 0; i < clocks; ++i) {
            records[i].number = i + 1;
            records[i].enabled = 1;
            records[i].alarms = reinterpret_cast<AlarmRecord*>(0xDEADBEEF);
            records[i].alarmCount = 5;
        }
        if (clocks > 1) records[1].on_desktop = 1;
        if (clocks > 2) records[2].kind = kClockTimer;
        EXPECT_EQ(Send(COPYDATA_CLOCKS, records.data(), static_cast<DWORD>(records.size() * sizeof(ClockRecord))), 1);
    }

    std::vector<Received> MouseMessages() const {
        std::vector<Received> out;
        for (const auto& r : main_.received) {
            if (r.message >= MSG_CLOCK_MOUSE_NONE && r.message <= MSG_CLOCK_MOUSE_LAST) out.push_back(r);
        }
        return out;
    }

    ProgramFolder folder_;
    FakeMain main_;
    UINT inspect_ = 0;
    std::wstring log_;
    HANDLE taskbarProcess_ = nullptr;
    HWND taskbar_ = nullptr;
    HWND clock_ = nullptr;
};

TEST_F(TrayClock, TakesTheClockOverGreetsAndKeepsTheBlocks) {
    ASSERT_TRUE(StartHooked("/x"));
    EXPECT_EQ(main_.greetedBy, clock_);
    EXPECT_EQ(Inspect(COPYDATA_CLOCKS), 0);

    SendData(3, 3);
    std::vector<AlarmRecord> alarms(2);
    std::memset(alarms.data(), 0, alarms.size() * sizeof(AlarmRecord));
    EXPECT_EQ(Send(COPYDATA_ALARMS_BASE + 0, alarms.data(), 2 * sizeof(AlarmRecord)), 1);
    EXPECT_EQ(Send(COPYDATA_ALARMS_BASE + 2, alarms.data(), sizeof(AlarmRecord)), 1);

    // The stand-in saw the blocks come from the window in the shared section.
    EXPECT_TRUE(WaitForLine(log_, "shared main /x", kWaitMs));
    EXPECT_EQ(Inspect(COPYDATA_SETTINGS), 12);
    EXPECT_EQ(Inspect(COPYDATA_CLOCKS), 3);
    EXPECT_EQ(Inspect(COPYDATA_CLOCKS, 2), 3);
    EXPECT_EQ(Inspect(COPYDATA_CITIES), 2);
    EXPECT_EQ(Inspect(COPYDATA_CITIES, 1), 9);  // the zone pointer was cleared
    // The received alarm counts of the records were cleared with their pointers.
    EXPECT_EQ(Inspect(COPYDATA_ALARMS_BASE + 0), 2);
    EXPECT_EQ(Inspect(COPYDATA_ALARMS_BASE + 1), 0);
    EXPECT_EQ(Inspect(COPYDATA_ALARMS_BASE + 2), 1);
    // Alarms for a clock that is not there are dropped with 1.
    EXPECT_EQ(Send(COPYDATA_ALARMS_BASE + 5, alarms.data(), sizeof(AlarmRecord)), 1);
    EXPECT_EQ(Inspect(COPYDATA_ALARMS_BASE + 5), -1);
    // The panel has room for the clocks that belong in the taskbar.
    const LRESULT size = SendMessageW(clock_, MSG_TRAY_QUERY_SIZE, 0, 0);
    EXPECT_GT(LOWORD(size), 0);
    EXPECT_GT(HIWORD(size), 0);
}

TEST_F(TrayClock, RefusesBadBlocksAndBlocksFromOtherWindows) {
    ASSERT_TRUE(StartHooked(""));
    SendData(3, 3);
    std::string bytes(6000, '\x5A');
    EXPECT_EQ(Send(COPYDATA_SETTINGS, bytes.data(), 1327), 0);
    EXPECT_EQ(Send(COPYDATA_SETTINGS, bytes.data(), 1329), 0);
    EXPECT_EQ(Send(COPYDATA_CLOCKS, bytes.data(), 5407), 0);
    EXPECT_EQ(Send(COPYDATA_CITIES, bytes.data(), 439), 0);
    EXPECT_EQ(Send(COPYDATA_ALARMS_BASE, bytes.data(), 841), 0);
    EXPECT_EQ(Send(3, bytes.data(), 840), 0);
    EXPECT_EQ(Send(COPYDATA_ALARMS_LAST + 1, bytes.data(), 840), 0);
    EXPECT_EQ(Send(COPYDATA_SETTINGS, bytes.data(), 1), 0);
    // Well-formed blocks from a window other than the main program's.
    GlobalSettings other = {};
    other.trayclocks = 3;
    EXPECT_EQ(Send(COPYDATA_SETTINGS, &other, sizeof other, taskbar_), 0);
    EXPECT_EQ(Send(COPYDATA_CLOCKS, bytes.data(), 5408, taskbar_), 0);
    // More clocks or cities than the main program ever sends.
    std::string records((kMaxClocks + 1) * kClockRecordBytes, '\0');
    EXPECT_EQ(Send(COPYDATA_CLOCKS, records.data(), static_cast<DWORD>(records.size())), 0);
    std::string cities((kMaxCities + 1) * kCityRecordBytes, '\0');
    EXPECT_EQ(Send(COPYDATA_CITIES, cities.data(), static_cast<DWORD>(cities.size())), 0);
    std::string alarms((kMaxAlarmsPerClock + 1) * kAlarmRecordBytes, '\0');
    EXPECT_EQ(Send(COPYDATA_ALARMS_BASE, alarms.data(), static_cast<DWORD>(alarms.size())), 0);
    // Nothing changed, and the clock still answers.
    EXPECT_EQ(Inspect(COPYDATA_SETTINGS), 12);
    EXPECT_EQ(Inspect(COPYDATA_CLOCKS), 3);
    EXPECT_EQ(Inspect(COPYDATA_CITIES), 2);
    EXPECT_TRUE(IsWindow(clock_));
    EXPECT_EQ(WaitForSingleObject(taskbarProcess_, 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST_F(TrayClock, ClockCountFollowsTheSmallerOfRecordsAndSettings) {
    ASSERT_TRUE(StartHooked(""));
    // Five records while the settings say seven: five clocks.
    SendData(5, 7);
    EXPECT_EQ(Inspect(COPYDATA_CLOCKS), 5);
    // A settings block that arrives after the records cannot make the clock
    // reach past the five records it holds.
    GlobalSettings s = {};
    s.trayclocks = 12;
    s.clockCount = 30;
    ASSERT_EQ(Send(COPYDATA_SETTINGS, &s, sizeof s), 1);
    EXPECT_EQ(Inspect(COPYDATA_CLOCKS), 5);
    AlarmRecord alarm = {};
    EXPECT_EQ(Send(COPYDATA_ALARMS_BASE + 20, &alarm, sizeof alarm), 1);
    EXPECT_EQ(Inspect(COPYDATA_ALARMS_BASE + 20), -1);
    // No records at all.
    EXPECT_EQ(Send(COPYDATA_CLOCKS, nullptr, 0), 1);
    EXPECT_EQ(Inspect(COPYDATA_CLOCKS), 0);
    EXPECT_EQ(SendMessageW(clock_, MSG_TRAY_QUERY_SIZE, 0, 0), 0);
}

TEST_F(TrayClock, AlarmsBeforeTheirClockAreDropped) {
    ASSERT_TRUE(StartHooked(""));
    GlobalSettings s = {};
    s.trayclocks = 12;
    s.clockCount = 4;
    ASSERT_EQ(Send(COPYDATA_SETTINGS, &s, sizeof s), 1);
    AlarmRecord alarm = {};
    EXPECT_EQ(Send(COPYDATA_ALARMS_BASE + 3, &alarm, sizeof alarm), 1);
    EXPECT_EQ(Inspect(COPYDATA_ALARMS_BASE + 3), -1);
    std::vector<ClockRecord> records(4);
    std::memset(records.data(), 0, records.size() * sizeof(ClockRecord));
    ASSERT_EQ(Send(COPYDATA_CLOCKS, records.data(), static_cast<DWORD>(records.size() * sizeof(ClockRecord))), 1);
    EXPECT_EQ(Inspect(COPYDATA_ALARMS_BASE + 3), 0);
}

TEST_F(TrayClock, AWorkAreaChangeGoesToTheStockClockOnly) {
    ASSERT_TRUE(StartHooked(""));
    SendData(3, 3);
    const WORD width = LOWORD(SendMessageW(clock_, MSG_TRAY_QUERY_SIZE, 0, 0));
    ASSERT_GT(width, 0);
    // SPI_SETWORKAREA is passed on to the stock clock (which logs it) ...
    SendMessageW(clock_, WM_WININICHANGE, SPI_SETWORKAREA, 0);
    EXPECT_TRUE(WaitForLine(log_, "wininichange foreign", kWaitMs));
    // ... any other setting rebuilds the panel, which keeps its two clocks.
    SendMessageW(clock_, WM_WININICHANGE, SPI_SETNONCLIENTMETRICS, 0);
    int passedOn = 0;
    for (const auto& line : ReadLines(log_)) passedOn += line == "wininichange foreign";
    EXPECT_EQ(passedOn, 1);
    EXPECT_EQ(LOWORD(SendMessageW(clock_, MSG_TRAY_QUERY_SIZE, 0, 0)), width);
}

TEST_F(TrayClock, MouseActionsReachTheMainWindowWithTheirCodes) {
    ASSERT_TRUE(StartHooked(""));
    SendData(3, 3);
    // Find a point on each face: clicks over the whole panel, the first one
    // each clock answers for (record 1 is on the desktop).
    const LRESULT size = SendMessageW(clock_, MSG_TRAY_QUERY_SIZE, 0, 0);
    const int width = LOWORD(size);
    const int height = HIWORD(size);
    const int middle = height / 2;
    ASSERT_GT(width, 0);
    for (int y = 0; y < height; y += 2) {
        for (int x = 0; x < width; x += 3) PostMessageW(clock_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    }
    PumpUntil([] { return false; }, 1500);
    LPARAM onFirst = -1, onThird = -1;
    for (const Received& r : MouseMessages()) {
        if (r.message == MSG_CLOCK_MOUSE + 0 && onFirst == -1) onFirst = r.lParam;
        if (r.message == MSG_CLOCK_MOUSE + 2 && onThird == -1) onThird = r.lParam;
        EXPECT_NE(r.message, MSG_CLOCK_MOUSE + 1);
    }
    ASSERT_NE(onFirst, -1);
    ASSERT_NE(onThird, -1);
    main_.received.clear();
    const LPARAM outside = MAKELPARAM(width + 40, middle);
    auto count = [&] { return MouseMessages().size(); };

    PostMessageW(clock_, WM_LBUTTONDOWN, MK_LBUTTON, onThird);
    ASSERT_TRUE(PumpUntil([&] { return count() >= 1; }, kWaitMs));
    PostMessageW(clock_, WM_LBUTTONDBLCLK, MK_LBUTTON, onFirst);
    ASSERT_TRUE(PumpUntil([&] { return count() >= 2; }, kWaitMs));
    // Nothing for points outside every clock.
    PostMessageW(clock_, WM_LBUTTONDBLCLK, MK_LBUTTON, outside);
    PostMessageW(clock_, WM_LBUTTONDOWN, MK_LBUTTON, outside);
    POINT screen = {static_cast<short>(LOWORD(onThird)), static_cast<short>(HIWORD(onThird))};
    ClientToScreen(clock_, &screen);
    const LPARAM screenPoint = MAKELPARAM(screen.x, screen.y);
    PostMessageW(clock_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(clock_), screenPoint);
    ASSERT_TRUE(PumpUntil([&] { return count() >= 3; }, kWaitMs));
    // A menu request over no clock goes out as index -1.
    POINT beside = {width + 40, middle};
    ClientToScreen(clock_, &beside);
    PostMessageW(clock_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(clock_), MAKELPARAM(beside.x, beside.y));
    ASSERT_TRUE(PumpUntil([&] { return count() >= 4; }, kWaitMs));
    PumpUntil([] { return false; }, 300);

    const std::vector<Received> got = MouseMessages();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].message, MSG_CLOCK_MOUSE + 2);
    EXPECT_EQ(got[0].wParam, CLOCK_MOUSE_DOWN);
    EXPECT_EQ(got[0].lParam, onThird);
    EXPECT_EQ(got[1].message, MSG_CLOCK_MOUSE + 0);
    EXPECT_EQ(got[1].wParam, CLOCK_MOUSE_DBLCLK);
    EXPECT_EQ(got[1].lParam, onFirst);
    EXPECT_EQ(got[2].message, MSG_CLOCK_MOUSE + 2);
    EXPECT_EQ(got[2].wParam, CLOCK_MOUSE_MENU);
    EXPECT_EQ(got[2].lParam, screenPoint);
    EXPECT_EQ(got[3].message, MSG_CLOCK_MOUSE_NONE);
    EXPECT_EQ(got[3].wParam, CLOCK_MOUSE_MENU);

    // Other commands are passed on to the main window with the clock window.
    PostMessageW(clock_, WM_COMMAND, CMD_QUIT_MENU, 0);
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (const auto& r : main_.received) {
                if (r.message == WM_COMMAND) return true;
            }
            return false;
        },
        kWaitMs));
    for (const auto& r : main_.received) {
        if (r.message != WM_COMMAND) continue;
        EXPECT_EQ(LOWORD(r.wParam), CMD_QUIT_MENU);
        EXPECT_EQ(reinterpret_cast<HWND>(r.lParam), clock_);
    }
    // The timer panel's questions: an anchor only for the timer clock (number 3).
    EXPECT_EQ(SendMessageW(clock_, MSG_TIMER_PANEL_ANCHOR, 1, MAKELPARAM(40, 20)), 0);
    EXPECT_NE(SendMessageW(clock_, MSG_TIMER_PANEL_ANCHOR, 3, MAKELPARAM(40, 20)), 0);
}

TEST_F(TrayClock, QuitRestoresTheStockClock) {
    ASSERT_TRUE(StartHooked(""));
    SendData(3, 3);
    // A release from any other program that still runs changes nothing.
    SendMessageW(clock_, WM_COMMAND, MSG_QUIT, reinterpret_cast<LPARAM>(taskbar_));
    EXPECT_EQ(Inspect(COPYDATA_CLOCKS), 3);
    Probe().remove();
    // The command ran on the taskbar's thread and the stand-in's own window
    // procedure is back; the stock clock was told to redraw.
    EXPECT_TRUE(WaitForLine(log_, "command 32777 own", kWaitMs));
    EXPECT_TRUE(WaitForLine(log_, "wininichange own", kWaitMs));
    // What the main program posts at its end now reaches the stock clock.
    PostMessageW(clock_, WM_TIMECHANGE, 0, 0);
    EXPECT_TRUE(WaitForLine(log_, "timechange own", kWaitMs));
    // The taken-over clock answered the query; the stock one does not know it.
    EXPECT_EQ(SendMessageW(clock_, inspect_, COPYDATA_CLOCKS, -1), 0);
    PostMessageW(taskbar_, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExit(taskbarProcess_, kWaitMs), 0u);
    EXPECT_TRUE(WaitForLine(log_, "end hooked own", kWaitMs));
}

TEST_F(TrayClock, TheClockHoldsItsLibraryUntilItHasGivenItselfBack) {
    ASSERT_TRUE(StartHooked(""));
    SendData(3, 3);
    // The load the hook made goes (as when the hook goes with its program):
    // the library stays, and the clock still runs its code.
    PostMessageW(clock_, WM_APP + 4, 0, 0);
    ASSERT_TRUE(WaitForLine(log_, "dropped loaded", kWaitMs));
    EXPECT_EQ(Inspect(COPYDATA_CLOCKS), 3);
    // Given back, the clock lets go of the library too.
    Probe().remove();
    EXPECT_TRUE(WaitForLine(log_, "wininichange own", kWaitMs));
    Sleep(500);  // it goes on a thread of its own
    PostMessageW(taskbar_, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExit(taskbarProcess_, kWaitMs), 0u);
    EXPECT_TRUE(WaitForLine(log_, "end own", 0));
}

// Given back inside its own greeting, the clock lets go of the library only
// once its code has left the taskbar thread's stack.
TEST_F(TrayClock, AReleaseInsideTheGreetingFreesTheLibraryOnlyAfterItReturns) {
    main_.releaseInGreeting = true;
    ASSERT_TRUE(StartHooked(""));
    ASSERT_TRUE(WaitForLine(log_, "dropped loaded", kWaitMs));
    EXPECT_TRUE(WaitForLine(log_, "wininichange own", kWaitMs));
    // The taskbar's thread still waited in the library for the answer.
    EXPECT_FALSE(main_.unloadedInGreeting);
    EXPECT_TRUE(WaitForLine(log_, "hook unloaded", kWaitMs));
    EXPECT_EQ(WaitForSingleObject(taskbarProcess_, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the taskbar died";
    PostMessageW(taskbar_, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExit(taskbarProcess_, kWaitMs), 0u);
    EXPECT_TRUE(WaitForLine(log_, "end own", 0));
}

// A main program that does not answer its greeting holds the taskbar's
// thread for a few seconds only.
TEST_F(TrayClock, AHungMainProgramHoldsTheTaskbarOnlyAFewSeconds) {
    ASSERT_TRUE(CopyFileW((TestsFolder() + L"standin_taskbar.exe").c_str(), folder_.file(L"tempovia.exe").c_str(),
                          FALSE));
    main_.hangInGreetingMs = 9000;
    ASSERT_TRUE(StartHooked(""));
    EXPECT_TRUE(main_.taskbarWentOn);
    // Once the program answers, the clock greets it again and it is not
    // restarted.
    main_.hangInGreetingMs = 0;
    main_.greetedBy = nullptr;
    EXPECT_TRUE(PumpUntil([&] { return main_.greetedBy != nullptr; }, kWaitMs));
    EXPECT_EQ(GetFileAttributesW(folder_.file(L"tempovia_calls.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(TrayClock, QuitWhileExplorerHangsRestoresTheClockOnceItWakes) {
    ASSERT_TRUE(StartHooked(""));
    SendData(3, 3);
    // The taskbar's thread hangs past the time RemoveHook waits for it.
    PostMessageW(clock_, WM_APP + 2, 8000, 0);
    Sleep(300);
    Probe().remove();
    // When it wakes, the clock still finds its stock procedure and puts it back.
    EXPECT_TRUE(WaitForLine(log_, "command 32777 own", kWaitMs));
    EXPECT_TRUE(WaitForLine(log_, "wininichange own", kWaitMs));
}

TEST_F(TrayClock, AWrongGreetingReplyRestartsTheMainProgramOnce) {
    // tempovia.exe of this folder records how it was started.
    ASSERT_TRUE(CopyFileW((TestsFolder() + L"standin_taskbar.exe").c_str(), folder_.file(L"tempovia.exe").c_str(),
                          FALSE));
    main_.answerWrongly = true;
    ASSERT_TRUE(StartHooked("/3.2 /x"));
    EXPECT_TRUE(WaitForLine(folder_.file(L"tempovia_calls.txt"), "/restart /3.2 /x", kWaitMs));
}

TEST_F(TrayClock, TheRestartParametersAreCutAt259Characters) {
    ASSERT_TRUE(CopyFileW((TestsFolder() + L"standin_taskbar.exe").c_str(), folder_.file(L"tempovia.exe").c_str(),
                          FALSE));
    main_.answerWrongly = true;
    // The shared section keeps 259 characters of it; "/restart " takes 9 more.
    ASSERT_TRUE(StartHooked(std::string(300, 'a').c_str()));
    EXPECT_TRUE(WaitForLine(folder_.file(L"tempovia_calls.txt"), "/restart " + std::string(250, 'a'), kWaitMs));
}

TEST_F(TrayClock, AWrongGreetingReplyDoesNotRestartARestartedProgram) {
    ASSERT_TRUE(CopyFileW((TestsFolder() + L"standin_taskbar.exe").c_str(), folder_.file(L"tempovia.exe").c_str(),
                          FALSE));
    main_.answerWrongly = true;
    ASSERT_TRUE(StartHooked("/RESTART"));
    // The clock is taken over all the same, and starts nothing.
    EXPECT_EQ(SendMessageW(clock_, inspect_, COPYDATA_CLOCKS, -1), 0);
    Sleep(1000);
    EXPECT_EQ(GetFileAttributesW(folder_.file(L"tempovia_calls.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
