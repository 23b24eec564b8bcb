#include "tempovia/main/watch_threads.h"

#include <shellapi.h>

#include "common/records/protocol.h"
#include "common/taskbar/find_taskbar.h"
#include "common/platform/system_seam.h"
#include "tempovia/main/app_state.h"

namespace {

constexpr DWORD kWatchPollMs = 512;

void RestartOwnProgram() {
    wchar_t path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    System().ShellExecuteOpen(nullptr, L"Open", path, L"/restart", L"", SW_SHOWNORMAL);
}

RestartProgramFn g_restart = RestartOwnProgram;

// The pair handed to the watcher lives as long as the thread may run.
HANDLE g_watchHandles[2] = {};

DWORD WINAPI ExitEventThread(LPVOID event) {
    if (WaitForSingleObject(static_cast<HANDLE>(event), INFINITE) == WAIT_OBJECT_0) {
        HWND main = g_app.mainWindow;
        if (main && IsWindow(main)) PostMessageW(main, WM_CLOSE, 0, 0);
    }
    return 0;
}

}  // namespace

RestartProgramFn SetRestartProgramFn(RestartProgramFn fn) {
    RestartProgramFn old = g_restart;
    g_restart = fn ? fn : RestartOwnProgram;
    return old;
}

bool StartExitEventThread() {
    if (!g_app.exitEvent) return false;
    HANDLE thread = CreateThread(nullptr, 0, ExitEventThread, g_app.exitEvent, 0, nullptr);
    if (!thread) return false;
    CloseHandle(thread);
    return true;
}

DWORD WINAPI TaskbarWatchThread(LPVOID param) {
    // handles[0]: Explorer's process, handles[1]: the stop event.
    HANDLE* handles = static_cast<HANDLE*>(param);
    HANDLE stop = handles[1];
    if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0) return 0;
    // Explorer has ended: wait for its successor's taskbar, or to be stopped.
    bool stopping = false;
    for (;;) {
        if (FindTaskbarWindow()) break;
        if (WaitForSingleObject(stop, kWatchPollMs) != WAIT_TIMEOUT) {
            stopping = true;
            break;
        }
    }
    if (!stopping) g_restart();
    HWND main = g_app.mainWindow;
    if (main) PostMessageW(main, MSG_QUIT, 1, 0);
    return 0;
}

bool StartTaskbarWatch() {
    if (!g_app.explorerProcessId) return false;
    g_app.watchStopEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    g_app.explorerProcess =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, g_app.explorerProcessId);
    if (g_app.watchStopEvent && g_app.explorerProcess) {
        g_watchHandles[0] = g_app.explorerProcess;
        g_watchHandles[1] = g_app.watchStopEvent;
        g_app.watchThread = CreateThread(nullptr, 0, TaskbarWatchThread, g_watchHandles, 0, nullptr);
    }
    if (g_app.watchThread) return true;
    StopTaskbarWatch();
    return false;
}

void StopTaskbarWatch() {
    if (g_app.watchThread) {
        if (g_app.watchStopEvent) SetEvent(g_app.watchStopEvent);
        if (WaitForSingleObject(g_app.watchThread, kWatchPollMs) != WAIT_OBJECT_0) {
            TerminateThread(g_app.watchThread, 1);
        }
        CloseHandle(g_app.watchThread);
        g_app.watchThread = nullptr;
    }
    if (g_app.explorerProcess) CloseHandle(g_app.explorerProcess);
    if (g_app.watchStopEvent) CloseHandle(g_app.watchStopEvent);
    g_app.explorerProcess = nullptr;
    g_app.watchStopEvent = nullptr;
}
