// A stand-in for the map plug-in for the map dialog's tests. Its answers
// come from the environment of the test program that loads it:
//   STANDIN_MAP_INIT    what InitMap returns (hex, default 0)
//   STANDIN_MAP_STATUS  the creation status (hex); nonzero: no window
//   STANDIN_MAP_SYSERR  what GetLastSysError returns (decimal, default 0)
// Every export call and every message of interest to its window is appended
// to the file named by STANDIN_MAP_LOG, one line each.
// Built without CreateMapWindow when STANDIN_NO_CREATE is defined.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr wchar_t kClass[] = L"StandinMapWindow";
HINSTANCE g_module = nullptr;

unsigned long FromEnvironment(const wchar_t* name, int base) {
    wchar_t text[32] = {};
    if (!GetEnvironmentVariableW(name, text, 32)) return 0;
    return wcstoul(text, nullptr, base);
}

void Log(const char* line) {
    wchar_t path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"STANDIN_MAP_LOG", path, MAX_PATH)) return;
    HANDLE f = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(f, line, static_cast<DWORD>(strlen(line)), &written, nullptr);
    WriteFile(f, "\r\n", 2, &written, nullptr);
    CloseHandle(f);
}

LRESULT CALLBACK MapProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    char line[96] = {};
    switch (message) {
        case WM_APP + 200:
        case WM_APP + 201:
        case WM_APP + 203:
            std::snprintf(line, sizeof line, "message %u %lld %s", message - WM_APP, static_cast<long long>(wParam),
                          message == WM_APP + 203 ? (lParam ? "1" : "0") : (lParam ? "record" : "0"));
            Log(line);
            return 0;
        case WM_MOUSEWHEEL:
            std::snprintf(line, sizeof line, "wheel %d %d", static_cast<short>(LOWORD(lParam)),
                          static_cast<short>(HIWORD(lParam)));
            Log(line);
            return 77;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = module;
    return TRUE;
}

extern "C" {

__declspec(dllexport) DWORD InitMap(void* cities, int count) {
    char line[64] = {};
    std::snprintf(line, sizeof line, "InitMap %s %d", cities ? "table" : "null", count);
    Log(line);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MapProc;
    wc.hInstance = g_module;
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
    return FromEnvironment(L"STANDIN_MAP_INIT", 16);
}

__declspec(dllexport) BOOL FreeMap() {
    Log("FreeMap");
    return UnregisterClassW(kClass, g_module);
}

#ifndef STANDIN_NO_CREATE
__declspec(dllexport) HWND CreateMapWindow(HWND parent, int x, int y, int width, int height, int* status) {
    char line[96] = {};
    std::snprintf(line, sizeof line, "CreateMapWindow %d %d %d %d", x, y, width, height);
    Log(line);
    const int code = static_cast<int>(FromEnvironment(L"STANDIN_MAP_STATUS", 16));
    if (status) *status = code;
    if (code != 0) return nullptr;
    return CreateWindowExW(0, kClass, L"GL Map", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP,
                           x, y, width, height, parent, nullptr, g_module, nullptr);
}
#endif

__declspec(dllexport) DWORD GetLastSysError() {
    Log("GetLastSysError");
    return FromEnvironment(L"STANDIN_MAP_SYSERR", 10);
}

__declspec(dllexport) void SetLocalString(int id, const wchar_t*) {
    char line[32] = {};
    std::snprintf(line, sizeof line, "SetLocalString %d", id);
    Log(line);
}

}  // extern "C"
