// A platform recorder for the service: statuses, the control handler and the
// messages shown, with no Service Control Manager and no message box.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <string>
#include <vector>

#include "velmora/service_platform.h"

namespace velmora_test {

class RecordingPlatform : public ServicePlatform {
public:
    SERVICE_STATUS_HANDLE RegisterHandler(const wchar_t* name, LPHANDLER_FUNCTION h) override {
        {
            std::lock_guard<std::mutex> hold(lock);
            registeredName = name;
            handler = h;
        }
        // A control that the manager sends as soon as the handler is known.
        if (controlOnRegistration) h(controlOnRegistration);
        return reinterpret_cast<SERVICE_STATUS_HANDLE>(0x1234);
    }
    BOOL SetStatus(SERVICE_STATUS_HANDLE, SERVICE_STATUS* status) override {
        // The manager answering slowly, once.
        if (slowFirstStatusMs && status->dwCurrentState == SERVICE_START_PENDING) {
            Sleep(slowFirstStatusMs);
            slowFirstStatusMs = 0;
        }
        std::lock_guard<std::mutex> hold(lock);
        statuses.push_back(*status);
        if (status->dwCurrentState == SERVICE_STOPPED) stopped.notify_all();
        return TRUE;
    }
    // Without `dispatch`: no manager to connect to. With it, as the manager's
    // own: the service runs on a thread of the dispatcher, which returns as
    // soon as the service reports STOPPED, whatever the service still does.
    BOOL RunDispatcher(const SERVICE_TABLE_ENTRYW* table) override {
        std::unique_lock<std::mutex> hold(lock);
        dispatcherName = table[0].lpServiceName;
        ++dispatcherRuns;
        if (!dispatch) {
            SetLastError(ERROR_FAILED_SERVICE_CONTROLLER_CONNECT);
            return FALSE;
        }
        const size_t before = statuses.size();
        serviceThread = std::thread(table[0].lpServiceProc, 0, nullptr);
        stopped.wait(hold, [&] {
            for (size_t i = before; i < statuses.size(); ++i) {
                if (statuses[i].dwCurrentState == SERVICE_STOPPED) return true;
            }
            return false;
        });
        return TRUE;
    }
    ~RecordingPlatform() override {
        if (serviceThread.joinable()) serviceThread.join();
    }
    void ShowMessage(const wchar_t* text, UINT flags) override {
        std::lock_guard<std::mutex> hold(lock);
        messages.push_back(text);
        messageFlags.push_back(flags);
    }

    std::vector<SERVICE_STATUS> Statuses() {
        std::lock_guard<std::mutex> hold(lock);
        return statuses;
    }
    DWORD LastState() {
        std::lock_guard<std::mutex> hold(lock);
        return statuses.empty() ? 0 : statuses.back().dwCurrentState;
    }

    std::mutex lock;
    std::condition_variable stopped;
    bool dispatch = false;
    std::thread serviceThread;
    DWORD controlOnRegistration = 0;
    DWORD slowFirstStatusMs = 0;
    std::wstring registeredName;
    std::wstring dispatcherName;
    int dispatcherRuns = 0;
    LPHANDLER_FUNCTION handler = nullptr;
    std::vector<SERVICE_STATUS> statuses;
    std::vector<std::wstring> messages;
    std::vector<UINT> messageFlags;
};

// Polls until the predicate holds or the time is up.
template <class Predicate>
bool WaitFor(Predicate done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(20);
    }
    return true;
}

}  // namespace velmora_test
