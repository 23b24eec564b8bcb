// Calls that reach beyond this process: opening programs, documents and
// addresses through the shell, sending control codes to services, playing
// sounds, and shutting the computer down or hibernating it. They go
// through one replaceable object so that tests can record them instead.
#pragma once

#include <windows.h>
#include <winsvc.h>

class SystemSeam {
public:
    virtual ~SystemSeam() = default;

    // ShellExecuteW
    virtual HINSTANCE ShellExecuteOpen(HWND owner, const wchar_t* verb, const wchar_t* file,
                                       const wchar_t* parameters, const wchar_t* directory, int show) = 0;
    // OpenSCManagerW, OpenServiceW, ControlService, CloseServiceHandle
    virtual SC_HANDLE OpenServiceManager(const wchar_t* machine, const wchar_t* database, DWORD access) = 0;
    virtual SC_HANDLE OpenServiceHandle(SC_HANDLE manager, const wchar_t* name, DWORD access) = 0;
    virtual BOOL SendServiceControl(SC_HANDLE service, DWORD code, SERVICE_STATUS* status) = 0;
    virtual BOOL CloseServiceHandleOf(SC_HANDLE handle) = 0;
    // GetLastError after one of the calls above
    virtual DWORD LastError() = 0;

    // Sound, power and privileges of the alarm actions. Each has the real
    // call as its default, so a replacement overrides only what it records;
    // a test that may reach one of these must override it, since the real
    // ones shut the machine down or make a noise.
    // PlaySoundW (winmm.dll, bound at first use; FALSE when it is missing)
    virtual BOOL PlaySoundFile(const wchar_t* sound, HMODULE module, DWORD flags);
    // Beep
    virtual BOOL BeepTone(DWORD frequency, DWORD milliseconds);
    // OpenProcessToken of this process
    virtual BOOL OpenOwnProcessToken(DWORD access, HANDLE* token);
    // LookupPrivilegeValueW and AdjustTokenPrivileges enabling one privilege;
    // LastError tells whether it was actually granted.
    virtual BOOL EnableTokenPrivilege(HANDLE token, const wchar_t* privilege);
    // CloseHandle of a token from OpenOwnProcessToken
    virtual BOOL CloseTokenHandle(HANDLE token);
    // ExitWindowsEx
    virtual BOOL ExitWindowsSession(UINT flags, DWORD reason);
    // SetSuspendState (powrprof.dll, bound at first use; FALSE when it is missing)
    virtual BOOL SetSuspendPower(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeEventsDisabled);

    // The computer's time zone, set from a clock: the privilege goes through
    // OpenOwnProcessToken and EnableTokenPrivilege above.
    // SetTimeZoneInformation
    virtual BOOL SetSystemTimeZone(const TIME_ZONE_INFORMATION& zone);
    // DisableAutoDaylightTimeSet of the system's time-zone key (HKLM): written
    // as 1 (REG_DWORD) when disabled, else deleted.
    virtual LONG SetAutoDaylightDisabled(bool disabled);
    // SendMessageTimeoutW of WM_SETTINGCHANGE with the text to every top-level window
    virtual void BroadcastSettingChange(const wchar_t* area, UINT timeoutMs);
};

// The seam in force: the real system unless a test replaced it.
SystemSeam& System();

// Puts a replacement in force (null restores the real system); returns the
// one it replaced (null when that was the real system).
SystemSeam* SetSystemSeam(SystemSeam* replacement);
