#include "common/platform/system_seam.h"

#include <shellapi.h>

#include "common/platform/library_on_first_use.h"

namespace {

class RealSystem final : public SystemSeam {
public:
    HINSTANCE ShellExecuteOpen(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                               const wchar_t* directory, int show) override {
        static const auto execute = Shell32Library().Entry<decltype(&ShellExecuteW)>("ShellExecuteW");
        if (!execute) return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
        return execute(owner, verb, file, parameters, directory, show);
    }
    SC_HANDLE OpenServiceManager(const wchar_t* machine, const wchar_t* database, DWORD access) override {
        return OpenSCManagerW(machine, database, access);
    }
    SC_HANDLE OpenServiceHandle(SC_HANDLE manager, const wchar_t* name, DWORD access) override {
        return OpenServiceW(manager, name, access);
    }
    BOOL SendServiceControl(SC_HANDLE service, DWORD code, SERVICE_STATUS* status) override {
        return ControlService(service, code, status);
    }
    BOOL CloseServiceHandleOf(SC_HANDLE handle) override { return CloseServiceHandle(handle); }
    DWORD LastError() override { return GetLastError(); }
};

RealSystem g_real;

using PlaySoundFn = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);
using SetSuspendStateFn = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);
SystemSeam* g_replacement = nullptr;

}  // namespace

SystemSeam& System() { return g_replacement ? *g_replacement : static_cast<SystemSeam&>(g_real); }

SystemSeam* SetSystemSeam(SystemSeam* replacement) {
    SystemSeam* previous = g_replacement;
    g_replacement = replacement;
    return previous;
}

BOOL SystemSeam::PlaySoundFile(const wchar_t* sound, HMODULE module, DWORD flags) {
    // winmm and powrprof are loaded only by the programs that play a sound or
    // hibernate, and an old system without powrprof still starts.
    static const LibraryOnFirstUse winmm(L"winmm.dll");
    static const PlaySoundFn play = winmm.Entry<PlaySoundFn>("PlaySoundW");
    return play ? play(sound, module, flags) : FALSE;
}

BOOL SystemSeam::BeepTone(DWORD frequency, DWORD milliseconds) { return Beep(frequency, milliseconds); }

BOOL SystemSeam::OpenOwnProcessToken(DWORD access, HANDLE* token) {
    return OpenProcessToken(GetCurrentProcess(), access, token);
}

BOOL SystemSeam::EnableTokenPrivilege(HANDLE token, const wchar_t* privilege) {
    TOKEN_PRIVILEGES wanted = {};
    if (!LookupPrivilegeValueW(nullptr, privilege, &wanted.Privileges[0].Luid)) return FALSE;
    wanted.PrivilegeCount = 1;
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    return AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr);
}

BOOL SystemSeam::CloseTokenHandle(HANDLE token) { return CloseHandle(token); }

BOOL SystemSeam::ExitWindowsSession(UINT flags, DWORD reason) { return ExitWindowsEx(flags, reason); }

BOOL SystemSeam::SetSuspendPower(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeEventsDisabled) {
    static const LibraryOnFirstUse powrprof(L"powrprof.dll");
    static const SetSuspendStateFn suspend = powrprof.Entry<SetSuspendStateFn>("SetSuspendState");
    return suspend && suspend(hibernate, force, wakeEventsDisabled) ? TRUE : FALSE;
}

BOOL SystemSeam::SetSystemTimeZone(const TIME_ZONE_INFORMATION& zone) { return SetTimeZoneInformation(&zone); }

LONG SystemSeam::SetAutoDaylightDisabled(bool disabled) {
    HKEY key = nullptr;
    LONG status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\TimeZoneInformation", 0,
                                KEY_SET_VALUE, &key);
    if (status != ERROR_SUCCESS) return status;
    if (disabled) {
        const DWORD one = 1;
        status = RegSetValueExW(key, L"DisableAutoDaylightTimeSet", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                                sizeof one);
    } else {
        status = RegDeleteValueW(key, L"DisableAutoDaylightTimeSet");
        if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return status;
}

void SystemSeam::BroadcastSettingChange(const wchar_t* area, UINT timeoutMs) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(area), SMTO_NORMAL, timeoutMs,
                        &ignored);
}
