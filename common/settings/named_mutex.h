// Named mutexes shared between the programs: the single-instance rule of the
// main and the settings program, and the lock that keeps two programs (and
// the time service) from rewriting tempovia.ini at the same moment (the
// profile functions rewrite the whole file on every write, so two writers
// tear it).
#pragma once

#include <windows.h>

// How long a program waits for the settings-file lock.
inline constexpr DWORD kIniLockWaitMs = 10000;
// How often a mutex that could not be made is tried again within a wait.
inline constexpr DWORD kLockRetryMs = 100;

class NamedMutex {
public:
    // Opens or creates the mutex without taking it.
    explicit NamedMutex(const wchar_t* name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // Waits up to ms for the mutex; true once this thread holds it (also when
    // its last holder ended without giving it back). A mutex that could not
    // be made is tried again, within the same time.
    bool Acquire(DWORD ms);
    void Release();
    bool held() const { return held_; }
    // Why the last Acquire failed: the error of making or opening the mutex,
    // or WAIT_TIMEOUT when another holder kept it; 0 when it did not fail.
    DWORD failure() const { return failure_; }

private:
    const wchar_t* name_;
    HANDLE handle_ = nullptr;
    bool held_ = false;
    DWORD failure_ = 0;
};

// Holds the settings-file lock while it lives; locks nest on one thread. The
// lock is one mutex for every session (the time service writes `common` from
// its own), which the user's programs and the service may all open. It is
// made anew for each hold, so a lock that could not be made is tried again
// rather than taken for held. A lock that was not had within the wait is not
// held: the store then writes nothing, and a lock nested in a failed one on
// the same thread fails at once with the same reason instead of waiting again.
class IniFileLock {
public:
    explicit IniFileLock(DWORD waitMs = kIniLockWaitMs);
    ~IniFileLock();
    IniFileLock(const IniFileLock&) = delete;
    IniFileLock& operator=(const IniFileLock&) = delete;

    bool held() const { return held_; }
    // As NamedMutex::failure.
    DWORD failure() const { return failure_; }

private:
    HANDLE handle_ = nullptr;
    bool held_ = false;
    bool failedOuter_ = false;
    DWORD failure_ = 0;
};

// A number for this thread's present hold of the settings-file lock: the
// same through every nested lock, new for each outermost one; 0 while the
// thread holds none. What was read under a hold that still lasts cannot have
// been changed by another program since.
unsigned IniLockHoldId();

// Runs the action once this thread holds no settings-file lock: at once when
// it holds none, else when its outermost hold ends, so that what it waits on
// (the time service reading the file) never holds up every writer. An action
// asked for twice within one hold runs once.
void AfterIniLockReleased(void (*action)());
