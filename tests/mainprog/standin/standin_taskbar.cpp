// A stand-in for Explorer's taskbar in the main program's process tests:
// Shell_TrayWnd -> TrayNotifyWnd -> TrayClockWClass. Like Explorer's taskbar,
// it asks its clock for its size (MSG_TRAY_QUERY_SIZE) whenever it gets
// WM_SIZE, which is what brings the main program's hook to the clock. Hooks of
// its own log every message sent or posted to the clock window, one line each,
// to the file named on the command line, whichever window procedure handles
// it:
//   copydata <kind> <bytes> <main|other> <trayclocks> <clock count> -> <reply>
//   command <id> <own|foreign>   (after the clock window handled it)
//   clockcount <wParam>
//   shared <main|other> <command line>   (once, at the first block)
// The clock's own procedure logs "timechange <own|foreign>" and
// "wininichange <own|foreign>": whether the clock window's procedure is the
// stand-in's own again.
//
//   standin_taskbar.exe <log file> [seconds to live, default 60] [/log-own-blocks]
//
// With /log-own-blocks, blocks its own procedure gets are logged too, as
// "copydata own" (the start-up benchmark under tools/ uses it).
//
// While the clock is taken over by the test build of the hook
// (trayclock_probe.dll), the registered message "Tempovia.TrayClock.Inspect"
// sent to it is answered by that build's InspectTrayClock; the stock clock
// answers it with 0.
//
// Posted to the clock window by the tests: WM_APP+1 greets the main program;
// WM_APP+2 makes the taskbar's thread hang for wParam milliseconds, as a hung
// Explorer does; WM_APP+3 makes the taskbar send its clock WM_NCHITTEST every
// 10 ms from then on, as the pointer resting over Explorer's clock does;
// WM_APP+4 gives up the load that the hook made of its library, as Windows
// does when the hook goes, and logs "dropped <loaded|unloaded>", then "hook
// unloaded" when the library goes (watched for 10 s).
//
// Started with a first argument that begins with "/", it stands in for
// another program of the suite instead (settings.exe, tempovia.exe): it
// appends its command line to "<its own base name>_calls.txt" beside itself
// and ends.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/records/protocol.h"
#include "hook/hook_shared.h"
#include "tests/mainprog/trayclock_probe/trayclock_probe.h"

namespace {

constexpr UINT kGreetNow = WM_APP + 1;
constexpr UINT kHangNow = WM_APP + 2;
constexpr UINT kPointerOver = WM_APP + 3;
constexpr UINT_PTR kPointerTimer = 2;
constexpr UINT kDropHookLoad = WM_APP + 4;
wchar_t g_log[MAX_PATH];
bool g_logOwnBlocks = false;

void Log(const char* line);

// The hook library that the main program's hook brought into this process:
// hook.dll, or the test build of it; null before any hook.
HMODULE HookModule() {
    HMODULE probe = GetModuleHandleW(kTrayClockProbeFile);
    return probe ? probe : GetModuleHandleW(L"hook.dll");
}

// The shared section of that library, or null.
const HookShared* SharedSection() {
    HMODULE module = HookModule();
    if (!module) return nullptr;
    auto* base = reinterpret_cast<const BYTE*>(module);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_SECTION_HEADER* s = IMAGE_FIRST_SECTION(nt);
    for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
        if (std::strncmp(reinterpret_cast<const char*>(s[i].Name), kHookSharedSectionName, 8) == 0) {
            return reinterpret_cast<const HookShared*>(base + s[i].VirtualAddress);
        }
    }
    return nullptr;
}

void Log(const char* line) {
    HANDLE f = CreateFileW(g_log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(f, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    WriteFile(f, "\n", 1, &written, nullptr);
    CloseHandle(f);
}

const char* OwnOrForeign(HWND w);

// Once the hook's load is given up, whatever else holds the library decides
// when it goes: logged the moment it does, from a thread of its own, since the
// taskbar's thread may be waiting inside the library's code just then.
DWORD WINAPI WatchForUnload(LPVOID module) {
    for (int i = 0; i < 5000; ++i) {
        if (HookModule() != module) {
            Log("hook unloaded");
            return 0;
        }
        Sleep(2);
    }
    return 0;
}

LRESULT CALLBACK ClockProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    char line[256];
    HWND main = FindWindowW(kMainWindowClass, nullptr);
    switch (m) {
    case WM_COPYDATA:
        if (g_logOwnBlocks) Log("copydata own");
        return 1;
    case WM_COMMAND:
        return 0;
    case WM_TIMECHANGE:
        std::snprintf(line, sizeof line, "timechange %s", OwnOrForeign(w));
        Log(line);
        return 0;
    case WM_WININICHANGE:
        std::snprintf(line, sizeof line, "wininichange %s", OwnOrForeign(w));
        Log(line);
        return 0;
    case MSG_TRAY_QUERY_SIZE:
        Log("querysize");
        return 0;
    case MSG_CLOCK_COUNT:
        return 0;
    case kHangNow:
        Sleep(static_cast<DWORD>(wp));
        return 0;
    case kDropHookLoad:
        if (HMODULE hook = HookModule()) {
            FreeLibrary(hook);
            if (HANDLE watch = CreateThread(nullptr, 0, WatchForUnload, hook, 0, nullptr)) CloseHandle(watch);
        }
        Log(HookModule() ? "dropped loaded" : "dropped unloaded");
        return 0;
    case kPointerOver:
        SetTimer(GetAncestor(w, GA_ROOT), kPointerTimer, 10, nullptr);
        return 0;
    case kGreetNow: {
        DWORD_PTR reply = 0;
        LRESULT ok = main ? SendMessageTimeoutW(main, MSG_TRAY_CLOCK_READY, 0, reinterpret_cast<LPARAM>(w),
                                                SMTO_ABORTIFHUNG, 10000, &reply)
                          : 0;
        std::snprintf(line, sizeof line, "greeted %s", !ok ? "failed" : reinterpret_cast<HWND>(reply) == main ? "main" : "other");
        Log(line);
        return 0;
    }
    default:
        return DefWindowProcW(w, m, wp, lp);
    }
}

const char* OwnOrForeign(HWND w) {
    return GetWindowLongPtrW(w, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(ClockProc) ? "own" : "foreign";
}

HWND g_clock;
bool g_sharedLogged;

// The main program as the hook's shared section names it (a test process may
// stand in for the main program), else the TempoviaClass window.
bool IsMain(HWND w) {
    const HookShared* shared = SharedSection();
    return w && (w == FindWindowW(kMainWindowClass, nullptr) || (shared && w == shared->mainWindow));
}

void LogShared() {
    const HookShared* shared = SharedSection();
    if (g_sharedLogged || !shared) return;
    g_sharedLogged = true;
    char command[300] = {};
    WideCharToMultiByte(CP_ACP, 0, shared->commandLine, -1, command, sizeof command, nullptr, nullptr);
    char line[400];
    std::snprintf(line, sizeof line, "shared %s %s", IsMain(shared->mainWindow) ? "main" : "other", command);
    Log(line);
}

// Whoever takes the clock over (the main program's hook) gets a logging
// procedure put in front of its own: window procedures, unlike hooks, see the
// blocks of another process as they arrive. When the stock procedure is put
// back, the logger goes with it.
WNDPROC g_takenOverProc;

// What the taken-over clock holds, when the test build of the hook took it.
bool AnswerInspect(UINT m, WPARAM wp, LPARAM lp, LRESULT* reply) {
    static const UINT inspect = RegisterWindowMessageW(kTrayInspectMessage);
    if (m != inspect || inspect == 0) return false;
    HMODULE probe = GetModuleHandleW(kTrayClockProbeFile);
    auto answer = probe ? reinterpret_cast<InspectTrayClockFn>(
                              reinterpret_cast<void*>(GetProcAddress(probe, kInspectTrayClockExport)))
                        : nullptr;
    if (!answer) return false;
    *reply = answer(wp, lp);
    return true;
}

LRESULT CALLBACK LoggerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    WNDPROC next = g_takenOverProc;
    char line[256];
    LRESULT inspected = 0;
    if (AnswerInspect(m, wp, lp, &inspected)) return inspected;
    if (m == WM_COPYDATA) {
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        int32_t trayclocks = -1, clockCount = -1;
        if (cds && cds->dwData == COPYDATA_SETTINGS && cds->cbData == kGlobalSettingsBytes && cds->lpData) {
            std::memcpy(&trayclocks, static_cast<const char*>(cds->lpData) + 724, 4);
            std::memcpy(&clockCount, static_cast<const char*>(cds->lpData) + 732, 4);
        }
        const bool fromMain = IsMain(reinterpret_cast<HWND>(wp));
        if (fromMain) LogShared();
        const LRESULT reply = next ? CallWindowProcW(next, w, m, wp, lp) : 0;
        std::snprintf(line, sizeof line, "copydata %llu %lu %s %d %d -> %lld",
                      cds ? (unsigned long long)cds->dwData : 0ull, cds ? (unsigned long)cds->cbData : 0ul,
                      fromMain ? "main" : "other", (int)trayclocks, (int)clockCount, (long long)reply);
        Log(line);
        return reply;
    }
    if (m == MSG_CLOCK_COUNT) {
        std::snprintf(line, sizeof line, "clockcount %llu", (unsigned long long)wp);
        Log(line);
    }
    const LRESULT reply = next ? CallWindowProcW(next, w, m, wp, lp) : DefWindowProcW(w, m, wp, lp);
    if (m == WM_COMMAND) {
        std::snprintf(line, sizeof line, "command %u %s", (unsigned)LOWORD(wp), OwnOrForeign(w));
        Log(line);
    }
    return reply;
}

void EnsureLogger() {
    if (!g_clock) return;
    const LONG_PTR proc = GetWindowLongPtrW(g_clock, GWLP_WNDPROC);
    if (proc == reinterpret_cast<LONG_PTR>(ClockProc) || proc == reinterpret_cast<LONG_PTR>(LoggerProc)) return;
    g_takenOverProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(g_clock, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LoggerProc)));
}

LRESULT CALLBACK SentHook(int code, WPARAM wp, LPARAM lp) {
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code >= 0 && msg && msg->hwnd == g_clock) EnsureLogger();
    return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK PostedHook(int code, WPARAM wp, LPARAM lp) {
    const auto* msg = reinterpret_cast<const MSG*>(lp);
    if (code >= 0 && msg && msg->hwnd == g_clock) EnsureLogger();
    return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK TrayProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    if (m == WM_TIMER && wp == kPointerTimer) {
        if (g_clock) SendMessageW(g_clock, WM_NCHITTEST, 0, MAKELPARAM(900, 740));
        return 0;
    }
    // Explorer's taskbar lays its clock out at the size the clock asks for.
    if (m == WM_SIZE && g_clock) {
        const LRESULT size = SendMessageW(g_clock, MSG_TRAY_QUERY_SIZE, 0, 0);
        if (size) {
            SetWindowPos(g_clock, nullptr, 0, 0, LOWORD(size), HIWORD(size), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 2;
    if (argv[1][0] == L'/') {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        wchar_t* slash = wcsrchr(self, L'\\');
        if (!slash) return 2;
        wchar_t* dot = wcsrchr(slash, L'.');
        if (dot) *dot = L'\0';
        const int room = static_cast<int>(MAX_PATH - (wcslen(self)));
        if (room <= 11) return 2;
        lstrcpynW(self + wcslen(self), L"_calls.txt", room);
        lstrcpynW(g_log, self, MAX_PATH);
        // Every argument, one blank between them.
        std::wstring all;
        for (int i = 1; i < argc; ++i) all += (i > 1 ? L" " : L"") + std::wstring(argv[i]);
        char line[1024];
        WideCharToMultiByte(CP_ACP, 0, all.c_str(), -1, line, sizeof line, nullptr, nullptr);
        Log(line);
        return 0;
    }
    lstrcpynW(g_log, argv[1], MAX_PATH);
    const int seconds = argc > 2 ? _wtoi(argv[2]) : 60;
    g_logOwnBlocks = argc > 3 && lstrcmpiW(argv[3], L"/log-own-blocks") == 0;
    HINSTANCE hi = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    wc.hInstance = hi;
    wc.lpfnWndProc = TrayProc;
    wc.lpszClassName = kTaskbarClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = kTrayNotifyClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = ClockProc;
    wc.lpszClassName = kTrayClockClass;
    RegisterClassW(&wc);
    HWND tray = CreateWindowExW(WS_EX_TOOLWINDOW, kTaskbarClass, L"", WS_POPUP | WS_VISIBLE, 0, 728, 1024, 40,
                                nullptr, nullptr, hi, nullptr);
    HWND notify = CreateWindowExW(0, kTrayNotifyClass, L"", WS_CHILD | WS_VISIBLE, 824, 2, 200, 36, tray, nullptr,
                                  hi, nullptr);
    HWND clock = CreateWindowExW(0, kTrayClockClass, L"", WS_CHILD | WS_VISIBLE, 60, 2, 136, 32, notify, nullptr,
                                 hi, nullptr);
    if (!clock) return 3;
    g_clock = clock;
    HHOOK sent = SetWindowsHookExW(WH_CALLWNDPROC, SentHook, nullptr, GetCurrentThreadId());
    HHOOK posted = SetWindowsHookExW(WH_GETMESSAGE, PostedHook, nullptr, GetCurrentThreadId());
    Log("ready");
    SetTimer(tray, 1, static_cast<UINT>(seconds) * 1000u, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == tray && msg.wParam == 1) break;
        DispatchMessageW(&msg);
    }
    UnhookWindowsHookEx(sent);
    UnhookWindowsHookEx(posted);
    char line[64];
    std::snprintf(line, sizeof line, "%s %s", HookModule() ? "end hooked" : "end", OwnOrForeign(clock));
    Log(line);
    return 0;
}
