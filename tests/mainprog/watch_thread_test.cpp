// The taskbar watcher: what it does when Explorer's process ends, with and
// without a new taskbar, and when it is stopped.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

#include "common/records/protocol.h"
#include "tempovia/main/app_state.h"
#include "tempovia/main/watch_threads.h"

namespace {

std::atomic<int> g_restarts{0};
void RecordRestart() { ++g_restarts; }

class Watcher : public ::testing::Test {
protected:
    void SetUp() override {
        g_restarts = 0;
        old_ = SetRestartProgramFn(RecordRestart);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"WatcherTestMain";
        RegisterClassW(&wc);
        main_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance,
                                nullptr);
        g_app.mainWindow = main_;
        handles_[0] = CreateEventW(nullptr, TRUE, FALSE, nullptr);  // stands for Explorer's process
        handles_[1] = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    }
    void TearDown() override {
        SetRestartProgramFn(old_);
        g_app.mainWindow = nullptr;
        DestroyWindow(main_);
        CloseHandle(handles_[0]);
        CloseHandle(handles_[1]);
        for (HWND w : taskbar_) DestroyWindow(w);
    }
    // Runs the watcher on its own thread and waits for it (at most ms).
    bool Run(DWORD ms) {
        thread_ = CreateThread(nullptr, 0, TaskbarWatchThread, handles_, 0, nullptr);
        const bool ended = WaitForSingleObject(thread_, ms) == WAIT_OBJECT_0;
        CloseHandle(thread_);
        return ended;
    }
    bool QuitPosted(WPARAM* wParam) {
        MSG msg;
        if (!PeekMessageW(&msg, main_, MSG_QUIT, MSG_QUIT, PM_REMOVE)) return false;
        *wParam = msg.wParam;
        return true;
    }
    void MakeTaskbar() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        for (const wchar_t* cls : {kTaskbarClass, kTrayNotifyClass, kTrayClockClass}) {
            wc.lpszClassName = cls;
            RegisterClassW(&wc);
        }
        HWND tray = CreateWindowExW(0, kTaskbarClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                                    nullptr);
        HWND notify = CreateWindowExW(0, kTrayNotifyClass, L"", WS_CHILD, 0, 0, 10, 10, tray, nullptr, wc.hInstance,
                                      nullptr);
        CreateWindowExW(0, kTrayClockClass, L"", WS_CHILD, 0, 0, 10, 10, notify, nullptr, wc.hInstance, nullptr);
        taskbar_.push_back(tray);
    }

    RestartProgramFn old_ = nullptr;
    HWND main_ = nullptr;
    HANDLE handles_[2] = {};
    HANDLE thread_ = nullptr;
    std::vector<HWND> taskbar_;
};

TEST_F(Watcher, StoppedBeforeExplorerEndsDoesNothing) {
    SetEvent(handles_[1]);
    ASSERT_TRUE(Run(2000));
    WPARAM w = 0;
    EXPECT_FALSE(QuitPosted(&w));
    EXPECT_EQ(g_restarts, 0);
}

TEST_F(Watcher, ExplorerEndedAndANewTaskbarIsUp) {
    MakeTaskbar();
    SetEvent(handles_[0]);
    ASSERT_TRUE(Run(2000));
    EXPECT_EQ(g_restarts, 1);
    WPARAM w = 0;
    ASSERT_TRUE(QuitPosted(&w));
    EXPECT_EQ(w, 1u);
}

TEST_F(Watcher, ExplorerEndedAndStoppedWhileWaitingForTheTaskbar) {
    SetEvent(handles_[0]);
    thread_ = CreateThread(nullptr, 0, TaskbarWatchThread, handles_, 0, nullptr);
    // It keeps polling while no taskbar with a clock exists.
    EXPECT_EQ(WaitForSingleObject(thread_, 1200), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(handles_[1]);
    EXPECT_EQ(WaitForSingleObject(thread_, 2000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(thread_);
    EXPECT_EQ(g_restarts, 0);
    WPARAM w = 0;
    ASSERT_TRUE(QuitPosted(&w));
    EXPECT_EQ(w, 1u);
}

}  // namespace
