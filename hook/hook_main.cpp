// Entry point, the shared section and the three exports of hook.dll.
#include <windows.h>

#include <strsafe.h>

#include <cstring>

#include "common/platform/windows_version.h"
#include "common/taskbar/find_taskbar.h"
#include "common/taskbar/hook_exports.h"
#include "hook/hook_process.h"
#include "hook/hook_shared.h"
#include "hook/tray_clock.h"

// One copy for every process that maps the library. The section must hold
// initialised data for the linker to keep it as a shared, writable section.
__attribute__((section(".MYDATA"), shared)) HookShared g_hookShared = {
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {L'\0'}, {L'\0'}};

HookProcessState g_hookProcess = {};

namespace {

// How long a start waits for the taskbar to give back the clock of a program
// that is gone; a hung taskbar does it later.
constexpr DWORD kTakeBackWaitMs = 2000;
// How long the end waits for the taskbar to give the clock back.
constexpr DWORD kReleaseWaitMs = 5000;

LRESULT CALLBACK CallWndHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    // Only for a main program that is there: the hook of a program that was
    // killed may outlive it, and must not take the clock for no one.
    HWND main = g_hookShared.mainWindow;
    if (code >= 0 && msg && msg->hwnd && !g_hookShared.clockWindow && !g_hookShared.stockProc && main &&
        IsWindow(main)) {
        wchar_t cls[81] = {};
        if (GetClassNameW(msg->hwnd, cls, 81) > 0 && lstrcmpiW(cls, kTrayClockClass) == 0) {
            // The hook runs inside Explorer: nothing of ours may unwind into it.
            try {
                ClockFrame frame;
                SubclassTrayClock(msg->hwnd);
            } catch (...) {
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The clock window still runs this library's procedure: the Explorer side
// clears the stock procedure only once it has put it back.
bool ClockStillTakenOver() {
    return g_hookShared.clockWindow && g_hookShared.stockProc && IsWindow(g_hookShared.clockWindow);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    g_hookShared.module = instance;
    if (reason == DLL_PROCESS_ATTACH) {
        g_hookProcess.module = instance;
        g_hookProcess.themes = IsWindowsVersionAtLeast(5, 1);
    }
    return TRUE;
}

extern "C" DWORD WINAPI InstallHook(HWND mainWindow, const wchar_t* programFolder) {
    const wchar_t* folder = programFolder ? programFolder : L"";
    StringCchCopyW(g_hookProcess.defaultIni, MAX_PATH, folder);
    StringCchCatW(g_hookProcess.defaultIni, MAX_PATH, L"default.ini");
    StringCchCopyW(g_hookProcess.userIni, MAX_PATH, folder);
    StringCchCatW(g_hookProcess.userIni, MAX_PATH, L"tempovia.ini");

    HWND previous = g_hookShared.mainWindow;
    g_hookShared.mainWindow = mainWindow;
    // A clock that no program holds any more (released after its program had
    // ended, or gone with an Explorer that ended) is free for this hook.
    if (!g_hookShared.stockProc || !IsWindow(g_hookShared.clockWindow)) {
        g_hookShared.clockWindow = nullptr;
        g_hookShared.stockProc = nullptr;
    } else if (previous != mainWindow && (!previous || !IsWindow(previous))) {
        // The hook of a program that was killed may outlive it (as under
        // Wine); where it is already gone this fails harmlessly.
        if (previous && g_hookShared.hook) UnhookWindowsHookEx(g_hookShared.hook);
        // Still taken over for a program that is gone (killed, or ended
        // while the taskbar hung): the clock gives itself back on its own
        // thread, and the hook set below takes it for this program. A hung
        // taskbar does so when it wakes.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(g_hookShared.clockWindow, WM_COMMAND, MSG_QUIT, reinterpret_cast<LPARAM>(previous),
                            SMTO_ABORTIFHUNG, kTakeBackWaitMs, &ignored);
        if (!g_hookShared.stockProc) g_hookShared.clockWindow = nullptr;
    }
    g_hookShared.taskbar = FindTaskbarWindow();
    if (!g_hookShared.taskbar) return 0;
    DWORD processId = 0;
    DWORD threadId = GetWindowThreadProcessId(g_hookShared.taskbar, &processId);
    if (!threadId) return 0;
    // This process's own module: the shared field is cleared by RemoveHook and
    // rewritten by whichever process last loaded the library.
    g_hookShared.hook = SetWindowsHookExW(WH_CALLWNDPROC, CallWndHookProc, g_hookProcess.module, threadId);
    if (!g_hookShared.hook) return 0;
    PostMessageW(g_hookShared.taskbar, WM_SIZE, 0, 0);
    return processId;
}

extern "C" void WINAPI RemoveHook() {
    if (g_hookShared.hook) {
        // The release names this program: the clock gives itself back only
        // to the program that has it.
        const LPARAM self = reinterpret_cast<LPARAM>(g_hookShared.mainWindow);
        if (ClockStillTakenOver()) {
            // The clock restores itself on its own thread; a hung Explorer must
            // not keep the program from ending.
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(g_hookShared.clockWindow, WM_COMMAND, MSG_QUIT, self, SMTO_ABORTIFHUNG,
                                kReleaseWaitMs, &ignored);
        }
        if (ClockStillTakenOver()) {
            // Unhooking now could unload hook.dll from Explorer under the clock's
            // procedure. The clock keeps what it needs to restore itself when
            // Explorer wakes (the command waits in its queue); the hook goes
            // with this program.
            PostMessageW(g_hookShared.clockWindow, WM_COMMAND, MSG_QUIT, self);
            PostMessageW(g_hookShared.taskbar, WM_SIZE, 0, 0);
            g_hookShared.mainWindow = nullptr;
            std::memset(&g_hookProcess.settingsCopy, 0, sizeof g_hookProcess.settingsCopy);
            return;
        }
        UnhookWindowsHookEx(g_hookShared.hook);
    }
    PostMessageW(g_hookShared.taskbar, WM_SIZE, 0, 0);
    g_hookShared.hook = nullptr;
    g_hookShared.clockWindow = nullptr;
    g_hookShared.mainWindow = nullptr;
    g_hookShared.module = nullptr;
    g_hookShared.stockProc = nullptr;
    g_hookShared.taskbar = nullptr;
    std::memset(&g_hookProcess.settingsCopy, 0, sizeof g_hookProcess.settingsCopy);
}

extern "C" void WINAPI SetSharedStrings(const wchar_t* programFolder, const char* commandLine) {
    std::size_t n = 0;
    if (commandLine) {
        for (; n < kSharedCommandLineMax && commandLine[n]; ++n) {
            g_hookShared.commandLine[n] = static_cast<wchar_t>(static_cast<unsigned char>(commandLine[n]));
        }
    }
    g_hookShared.commandLine[n] = L'\0';
    StringCchCopyW(g_hookShared.programFolder, kSharedFolderChars, programFolder ? programFolder : L"");
}
