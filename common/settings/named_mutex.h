// Named mutexes shared between the programs: the single-instance rule of the
// main and the settings program, and the lock that keeps two programs from
// rewriting tempovia.ini at the same moment (the profile functions rewrite the
// whole file on every write, so two writers tear it).
#pragma once

#include <windows.h>

class NamedMutex {
public:
    // Opens or creates the mutex without taking it.
    explicit NamedMutex(const wchar_t* name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // Waits up to ms for the mutex; true once this thread holds it (also when
    // its last holder ended without giving it back).
    bool Acquire(DWORD ms);
    void Release();
    bool held() const { return held_; }

private:
    HANDLE handle_ = nullptr;
    bool held_ = false;
};

// Holds the settings-file lock while it lives; locks nest on one thread. A
// program that does not give the lock back within the wait does not stop this
// one: it goes on without.
class IniFileLock {
public:
    IniFileLock();
    ~IniFileLock();
    IniFileLock(const IniFileLock&) = delete;
    IniFileLock& operator=(const IniFileLock&) = delete;

private:
    bool held_ = false;
};

// How long a program waits for the settings-file lock before going on without.
inline constexpr DWORD kIniLockWaitMs = 10000;
