#include "common/settings/named_mutex.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "common/records/protocol.h"
#include "common/platform/security_utils.h"

namespace {

// What a holder needs: to wait for the mutex and give it back.
constexpr DWORD kHolderAccess = SYNCHRONIZE | MUTEX_MODIFY_STATE;

// Opens the named mutex, or makes it with the given security; null with the
// error when neither works (a name taken by another kind of object, a mutex
// whose maker kept this program out).
HANDLE OpenOrMakeMutex(const wchar_t* name, SECURITY_ATTRIBUTES* security, DWORD& error) {
    HANDLE h = CreateMutexExW(security, name, 0, kHolderAccess);
    if (h) return h;
    error = GetLastError();
    h = OpenMutexW(kHolderAccess, FALSE, name);
    if (h) return h;
    if (error == ERROR_SUCCESS) error = GetLastError();
    return nullptr;
}

// Takes the mutex within ms, trying again to make it while it cannot be made.
// Returns the handle (held) or null with the reason of the failure.
HANDLE TakeMutex(const wchar_t* name, SECURITY_ATTRIBUTES* security, DWORD ms, DWORD& failure) {
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD error = ERROR_SUCCESS;
        HANDLE h = OpenOrMakeMutex(name, security, error);
        const DWORD elapsed = GetTickCount() - start;
        const DWORD left = elapsed < ms ? ms - elapsed : 0;
        if (h) {
            const DWORD got = WaitForSingleObject(h, left);
            if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED) {
                failure = 0;
                return h;
            }
            CloseHandle(h);
            failure = got == WAIT_TIMEOUT ? WAIT_TIMEOUT : GetLastError();
            return nullptr;
        }
        if (left == 0) {
            failure = error ? error : ERROR_INVALID_HANDLE;
            return nullptr;
        }
        Sleep(left < kLockRetryMs ? left : kLockRetryMs);
    }
}

SECURITY_ATTRIBUTES* SettingsFileLockSecurity() {
    static EveryoneAccess access(kHolderAccess);
    return access.attributes();
}

// The reason of the outermost settings-file lock of this thread that failed
// and still lives (0 when none).
thread_local DWORD t_failedHold = 0;
// How deep this thread holds the settings-file lock, and what waits for its release.
thread_local int t_heldDepth = 0;
thread_local std::vector<void (*)()>* t_afterRelease = nullptr;
// The id of this thread's present outermost hold, and the last one given.
thread_local unsigned t_holdId = 0;
thread_local unsigned t_lastHoldId = 0;

}  // namespace

NamedMutex::NamedMutex(const wchar_t* name) : name_(name) {
    DWORD error = ERROR_SUCCESS;
    handle_ = OpenOrMakeMutex(name_, nullptr, error);
}

NamedMutex::~NamedMutex() {
    Release();
    if (handle_) CloseHandle(handle_);
}

bool NamedMutex::Acquire(DWORD ms) {
    if (held_) return true;
    if (handle_) {
        const DWORD got = WaitForSingleObject(handle_, ms);
        held_ = got == WAIT_OBJECT_0 || got == WAIT_ABANDONED;
        failure_ = held_ ? 0 : got == WAIT_TIMEOUT ? WAIT_TIMEOUT : GetLastError();
        return held_;
    }
    handle_ = TakeMutex(name_, nullptr, ms, failure_);
    held_ = handle_ != nullptr;
    return held_;
}

void NamedMutex::Release() {
    if (held_ && handle_) ReleaseMutex(handle_);
    held_ = false;
}

IniFileLock::IniFileLock(DWORD waitMs) {
    if (t_failedHold != 0) {
        failure_ = t_failedHold;
        return;
    }
    handle_ = TakeMutex(kIniFileMutexName, SettingsFileLockSecurity(), waitMs, failure_);
    held_ = handle_ != nullptr;
    if (held_ && t_heldDepth++ == 0) {
        if (++t_lastHoldId == 0) ++t_lastHoldId;  // 0 means no hold
        t_holdId = t_lastHoldId;
    }
    if (!held_) {
        failedOuter_ = true;
        t_failedHold = failure_;
    }
}

IniFileLock::~IniFileLock() {
    if (handle_) {
        ReleaseMutex(handle_);
        CloseHandle(handle_);
        if (--t_heldDepth == 0) t_holdId = 0;
        if (t_heldDepth == 0 && t_afterRelease) {
            std::unique_ptr<std::vector<void (*)()>> actions(t_afterRelease);
            t_afterRelease = nullptr;
            for (void (*action)() : *actions) action();
        }
    }
    if (failedOuter_) t_failedHold = 0;
}

unsigned IniLockHoldId() { return t_holdId; }

void AfterIniLockReleased(void (*action)()) {
    if (!action) return;
    if (t_heldDepth == 0) {
        action();
        return;
    }
    if (!t_afterRelease) t_afterRelease = new std::vector<void (*)()>();
    if (std::find(t_afterRelease->begin(), t_afterRelease->end(), action) == t_afterRelease->end()) {
        t_afterRelease->push_back(action);
    }
}
