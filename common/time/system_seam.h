// Calls that reach beyond this process: opening programs, documents and
// addresses through the shell, and sending control codes to services. They go
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
};

// The seam in force: the real system unless a test replaced it.
SystemSeam& System();

// Puts a replacement in force (null restores the real system); returns the
// one it replaced (null when that was the real system).
SystemSeam* SetSystemSeam(SystemSeam* replacement);
