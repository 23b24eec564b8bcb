// A system library loaded when one of its entries is first called, not when
// the program starts: loading shell32 or comdlg32 (and what they pull in)
// costs a program that seldom needs them a noticeable part of its start-up.
#pragma once

#include <windows.h>

class LibraryOnFirstUse {
public:
    // Loads the library (a system library name such as L"comdlg32.dll").
    // Keep one as a function-local static, so that it is loaded on the first
    // call, once, and safely from any thread.
    explicit LibraryOnFirstUse(const wchar_t* name) : module_(LoadLibraryW(name)) {}
    // The library stays loaded to the end of the process: the static goes
    // with the program's (or a plug-in's) static destructors, while another
    // thread may still be inside it (an alarm's file opening in ShellExecuteW,
    // a sound still playing).
    ~LibraryOnFirstUse() = default;
    LibraryOnFirstUse(const LibraryOnFirstUse&) = delete;
    LibraryOnFirstUse& operator=(const LibraryOnFirstUse&) = delete;

    // The named entry, or null when the library or the entry is missing.
    template <typename Fn>
    Fn Entry(const char* name) const {
        return module_ ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name))) : nullptr;
    }

private:
    HMODULE module_;
};

// shell32.dll, loaded at most once per process.
const LibraryOnFirstUse& Shell32Library();
