#include "common/settings/named_mutex.h"

#include "common/settings/protocol.h"

NamedMutex::NamedMutex(const wchar_t* name) { handle_ = CreateMutexW(nullptr, FALSE, name); }

NamedMutex::~NamedMutex() {
    Release();
    if (handle_) CloseHandle(handle_);
}

bool NamedMutex::Acquire(DWORD ms) {
    if (held_) return true;
    if (!handle_) return false;
    const DWORD got = WaitForSingleObject(handle_, ms);
    held_ = got == WAIT_OBJECT_0 || got == WAIT_ABANDONED;
    return held_;
}

void NamedMutex::Release() {
    if (held_ && handle_) ReleaseMutex(handle_);
    held_ = false;
}

namespace {

// One handle for every thread of the process, opened on first use and closed
// when the module goes.
class SharedIniMutex {
public:
    SharedIniMutex() : handle_(CreateMutexW(nullptr, FALSE, kIniFileMutexName)) {}
    ~SharedIniMutex() {
        if (handle_) CloseHandle(handle_);
    }
    HANDLE handle() const { return handle_; }

private:
    HANDLE handle_;
};

HANDLE IniMutex() {
    static SharedIniMutex mutex;
    return mutex.handle();
}

}  // namespace

IniFileLock::IniFileLock() {
    HANDLE h = IniMutex();
    if (!h) return;
    const DWORD got = WaitForSingleObject(h, kIniLockWaitMs);
    held_ = got == WAIT_OBJECT_0 || got == WAIT_ABANDONED;
}

IniFileLock::~IniFileLock() {
    if (held_) ReleaseMutex(IniMutex());
}
