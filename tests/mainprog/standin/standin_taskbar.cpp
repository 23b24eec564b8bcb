// A stand-in for Explorer's taskbar in the main program's process tests:
// Shell_TrayWnd -> TrayNotifyWnd -> TrayClockWClass, whose clock window greets
// the main program like the taskbar clock does and logs every message the main
// program sends it, one line each, to the file named on the command line.
//
//   standin_taskbar.exe <log file> [seconds to live, default 60]
//
// Posted to the clock window by the tests: WM_APP+1 greets the main program.
//
// Started with a first argument that begins with "/", it stands in for the
// settings program instead: it appends its command line to settings_calls.txt
// beside itself and ends.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/settings/protocol.h"
#include "hook/hook_shared.h"

namespace {

constexpr UINT kGreetNow = WM_APP + 1;
wchar_t g_log[MAX_PATH];

void Log(const char* line);

// The shared section of the hook.dll that the main program's hook brought into
// this process, or null.
const HookShared* SharedSection() {
    HMODULE module = GetModuleHandleW(L"hook.dll");
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

LRESULT CALLBACK ClockProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    char line[256];
    HWND main = FindWindowW(kMainWindowClass, nullptr);
    switch (m) {
    case WM_COPYDATA: {
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        if (!cds) return 0;
        int32_t trayclocks = -1, clockCount = -1;
        if (cds->dwData == COPYDATA_SETTINGS && cds->cbData == kGlobalSettingsBytes && cds->lpData) {
            std::memcpy(&trayclocks, static_cast<const char*>(cds->lpData) + 724, 4);
            std::memcpy(&clockCount, static_cast<const char*>(cds->lpData) + 732, 4);
        }
        std::snprintf(line, sizeof line, "copydata %llu %lu %s %d %d", (unsigned long long)cds->dwData,
                      (unsigned long)cds->cbData, reinterpret_cast<HWND>(wp) == main ? "main" : "other",
                      (int)trayclocks, (int)clockCount);
        Log(line);
        return 1;
    }
    case WM_COMMAND:
        std::snprintf(line, sizeof line, "command %u", (unsigned)LOWORD(wp));
        Log(line);
        return 0;
    case WM_TIMECHANGE:
        Log("timechange");
        return 0;
    case MSG_TRAY_QUERY_SIZE:
        Log("querysize");
        return 0;
    case MSG_CLOCK_COUNT:
        std::snprintf(line, sizeof line, "clockcount %llu", (unsigned long long)wp);
        Log(line);
        return 0;
    case kGreetNow: {
        DWORD_PTR reply = 0;
        LRESULT ok = main ? SendMessageTimeoutW(main, MSG_TRAY_CLOCK_READY, 0, reinterpret_cast<LPARAM>(w),
                                                SMTO_ABORTIFHUNG, 10000, &reply)
                          : 0;
        std::snprintf(line, sizeof line, "greeted %s", !ok ? "failed" : reinterpret_cast<HWND>(reply) == main ? "main" : "other");
        Log(line);
        // What the main program wrote into the shared section, as seen here.
        if (const HookShared* shared = SharedSection()) {
            char command[300] = {};
            WideCharToMultiByte(CP_ACP, 0, shared->commandLine, -1, command, sizeof command, nullptr, nullptr);
            std::snprintf(line, sizeof line, "shared %s %s", shared->mainWindow == main ? "main" : "other", command);
            Log(line);
        }
        return 0;
    }
    default:
        return DefWindowProcW(w, m, wp, lp);
    }
}

LRESULT CALLBACK TrayProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_CLOSE) {
        PostQuitMessage(0);
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
        lstrcpynW(slash + 1, L"settings_calls.txt", static_cast<int>(MAX_PATH - (slash + 1 - self)));
        lstrcpynW(g_log, self, MAX_PATH);
        char line[512];
        WideCharToMultiByte(CP_ACP, 0, argv[1], -1, line, sizeof line, nullptr, nullptr);
        Log(line);
        return 0;
    }
    lstrcpynW(g_log, argv[1], MAX_PATH);
    const int seconds = argc > 2 ? _wtoi(argv[2]) : 60;
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
    Log("ready");
    SetTimer(tray, 1, static_cast<UINT>(seconds) * 1000u, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == tray) break;
        DispatchMessageW(&msg);
    }
    Log(GetModuleHandleW(L"hook.dll") ? "end hooked" : "end");
    return 0;
}
