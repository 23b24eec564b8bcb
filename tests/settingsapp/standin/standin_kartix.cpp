// A stand-in for the map plug-in, for the installation mode's tests. Its
// answers come from the environment it inherits:
//   STANDIN_KARTIX_INIT     what InitMap returns (hex, default 0)
//   STANDIN_KARTIX_INSTALL  what InstallMap returns (hex, default 0)
//   STANDIN_KARTIX_SYSERR   what GetLastSysError returns (decimal, default 0)
// Every call is appended to the file named by STANDIN_KARTIX_LOG.
// Built without InstallMap when STANDIN_NO_INSTALL is defined.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

unsigned long FromEnvironment(const wchar_t* name, int base) {
    wchar_t text[32] = {};
    if (!GetEnvironmentVariableW(name, text, 32)) return 0;
    return wcstoul(text, nullptr, base);
}

void Log(const char* call) {
    wchar_t path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"STANDIN_KARTIX_LOG", path, MAX_PATH)) return;
    HANDLE f = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(f, call, static_cast<DWORD>(strlen(call)), &written, nullptr);
    WriteFile(f, "\r\n", 2, &written, nullptr);
    CloseHandle(f);
}

}  // namespace

extern "C" {

__declspec(dllexport) DWORD InitMap(void*, int) {
    Log("InitMap");
    return FromEnvironment(L"STANDIN_KARTIX_INIT", 16);
}

__declspec(dllexport) BOOL FreeMap() {
    Log("FreeMap");
    return TRUE;
}

__declspec(dllexport) HWND CreateMapWindow(HWND, int, int, int, int, int* status) {
    Log("CreateMapWindow");
    if (status) *status = 0;
    return nullptr;
}

__declspec(dllexport) DWORD GetLastSysError() {
    Log("GetLastSysError");
    return FromEnvironment(L"STANDIN_KARTIX_SYSERR", 10);
}

#ifndef STANDIN_NO_INSTALL
__declspec(dllexport) DWORD InstallMap() {
    Log("InstallMap");
    return FromEnvironment(L"STANDIN_KARTIX_INSTALL", 16);
}
#endif

}  // extern "C"
