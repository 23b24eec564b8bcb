#include "common/time/system_seam.h"

#include <shellapi.h>

namespace {

class RealSystem final : public SystemSeam {
public:
    HINSTANCE ShellExecuteOpen(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                               const wchar_t* directory, int show) override {
        return ShellExecuteW(owner, verb, file, parameters, directory, show);
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
SystemSeam* g_replacement = nullptr;

}  // namespace

SystemSeam& System() { return g_replacement ? *g_replacement : static_cast<SystemSeam&>(g_real); }

SystemSeam* SetSystemSeam(SystemSeam* replacement) {
    SystemSeam* previous = g_replacement;
    g_replacement = replacement;
    return previous;
}
