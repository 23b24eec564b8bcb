// The settings-file lock held by a thread of its own, as another program
// holds it, for the time given or until Release. (Header-only: the programs
// that include it link the settings library.)
#pragma once

#include <windows.h>

#include <thread>

#include "common/settings/named_mutex.h"

namespace testing_support {

class LockHolder {
public:
    explicit LockHolder(DWORD ms) : release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        HANDLE taken = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ms, taken] {
            IniFileLock lock;
            SetEvent(taken);
            WaitForSingleObject(release_, ms);
        });
        WaitForSingleObject(taken, 5000);
        CloseHandle(taken);
    }
    ~LockHolder() {
        Release();
        CloseHandle(release_);
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    void Release() {
        SetEvent(release_);
        if (thread_.joinable()) thread_.join();
    }

private:
    HANDLE release_;
    std::thread thread_;
};

}  // namespace testing_support
