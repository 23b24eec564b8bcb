// The data section that every process mapping hook.dll shares: the main
// program writes it before it installs the hook and after it removes it;
// inside Explorer only the taskbar's thread touches it, so it takes no lock.
#pragma once

#include <windows.h>

#include <cstddef>

#include "common/records/protocol.h"

// Name of the shared section in hook.dll (also how tests find it in the image).
inline constexpr char kHookSharedSectionName[] = ".MYDATA";

constexpr std::size_t kSharedCommandLineChars = 264;  // at most 259 characters are used
constexpr std::size_t kSharedFolderChars = MAX_PATH;
constexpr std::size_t kSharedCommandLineMax = 259;

struct HookShared {
    HHOOK hook;                 // the WH_CALLWNDPROC hook on the taskbar's thread
    HWND taskbar;               // Shell_TrayWnd
    HWND clockWindow;           // the subclassed TrayClockWClass window; 0 while none
    WNDPROC stockProc;          // its stock window procedure; 0 while none
    HINSTANCE module;           // hook.dll in the process that last called the entry point
    HWND mainWindow;            // the main program's TempoviaClass window
    wchar_t commandLine[kSharedCommandLineChars];  // the main program's command line, bytes widened
    wchar_t programFolder[kSharedFolderChars];     // with a trailing backslash
};

static_assert(sizeof(HookShared) == kHookSharedBytes);
static_assert(offsetof(HookShared, hook) == 0);
static_assert(offsetof(HookShared, taskbar) == 8);
static_assert(offsetof(HookShared, clockWindow) == 16);
static_assert(offsetof(HookShared, stockProc) == 24);
static_assert(offsetof(HookShared, module) == 32);
static_assert(offsetof(HookShared, mainWindow) == 40);
static_assert(offsetof(HookShared, commandLine) == 48);
static_assert(offsetof(HookShared, programFolder) == 576);

// The one shared instance (defined in hook_main.cpp).
extern HookShared g_hookShared;
