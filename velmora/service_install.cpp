#include "velmora/service_install.h"

#include <winsvc.h>

#include "common/platform/sync_service_notify.h"
#include "velmora/service_messages.h"

namespace {

std::wstring g_name = kSyncServiceName;
std::wstring g_program;

// Closes a service or manager handle on every way out.
class ScHandle {
public:
    explicit ScHandle(SC_HANDLE handle) : handle_(handle) {}
    ~ScHandle() {
        if (handle_) CloseServiceHandle(handle_);
    }
    ScHandle(const ScHandle&) = delete;
    ScHandle& operator=(const ScHandle&) = delete;
    SC_HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    SC_HANDLE handle_;
};

UINT ManagerFailure() { return GetLastError() == ERROR_ACCESS_DENIED ? kMsgScmAccessDenied : kMsgScmOpenFailed; }

}  // namespace

const std::wstring& ServiceName() { return g_name; }
void SetServiceNameOverride(const wchar_t* name) { g_name = name ? name : kSyncServiceName; }
void SetServiceProgramOverride(const wchar_t* path) { g_program = path ? path : L""; }

std::wstring ServiceCommand() {
    std::wstring path = g_program;
    if (path.empty()) {
        wchar_t module[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
        if (length > 0 && length < MAX_PATH) path.assign(module, length);
    }
    return L"\"" + path + L"\"";
}

UINT ServiceInstall(bool autoStart) {
    ScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
    if (!manager) return ManagerFailure();
    const std::wstring command = ServiceCommand();
    ScHandle service(CreateServiceW(manager.get(), g_name.c_str(), kServiceDisplayName, SERVICE_ALL_ACCESS,
                                    SERVICE_WIN32_OWN_PROCESS, autoStart ? SERVICE_AUTO_START : SERVICE_DEMAND_START,
                                    SERVICE_ERROR_NORMAL, command.c_str(), nullptr, nullptr, nullptr, nullptr,
                                    nullptr));
    if (!service) {
        const DWORD error = GetLastError();
        return error == ERROR_DUP_NAME ? kMsgDuplicateName
             : error == ERROR_SERVICE_EXISTS ? kMsgServiceExists
                                             : kMsgCreateFailed;
    }
    return 0;
}

UINT ServiceSetDescription() {
    const std::wstring text = ServiceString(kMsgDescription);
    if (text.empty()) return kMsgNoDescription;
    const std::wstring key = L"System\\CurrentControlSet\\Services\\" + g_name;
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) {
        return kMsgOpenKeyFailed;
    }
    const LONG written = RegSetValueExW(handle, L"Description", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return written == ERROR_SUCCESS ? 0 : kMsgWriteDescriptionFailed;
}

UINT ServiceStart() {
    ScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return ManagerFailure();
    ScHandle service(OpenServiceW(manager.get(), g_name.c_str(), SERVICE_START));
    if (!service) return kMsgOpenServiceFailed;
    return StartServiceW(service.get(), 0, nullptr) ? 0 : kMsgStartFailed;
}

UINT ServiceUninstall() {
    ScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return ManagerFailure();
    ScHandle service(OpenServiceW(manager.get(), g_name.c_str(), SERVICE_STOP | DELETE));
    if (!service) return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST ? 0 : kMsgOpenServiceFailed;
    SERVICE_STATUS status{};
    ControlService(service.get(), SERVICE_CONTROL_STOP, &status);
    // Marked for deletion counts as gone: it goes when its last handle closes.
    if (!DeleteService(service.get()) && GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE) {
        return kMsgOpenServiceFailed;
    }
    return 0;
}

bool InstallWithMessages(bool quiet, bool autoStart) {
    UINT failure = ServiceInstall(autoStart);
    if (failure == 0) {
        failure = ServiceSetDescription();
        // Only a service this call created is taken away again; one that was
        // already installed stays as it was.
        if (failure != 0) UninstallWithMessages(true);
    }
    if (failure != 0) {
        ShowServiceMessage(failure, MB_ICONERROR);
        return false;
    }
    if (!quiet) ShowServiceMessage(kMsgCreated, MB_ICONINFORMATION);
    return true;
}

bool StartWithMessages(bool quiet) {
    const UINT failure = ServiceStart();
    if (failure != 0) {
        ShowServiceMessage(failure, MB_ICONERROR);
        return false;
    }
    if (!quiet) ShowServiceMessage(kMsgStarted, MB_ICONINFORMATION);
    return true;
}

bool UninstallWithMessages(bool quiet) {
    const UINT failure = ServiceUninstall();
    if (failure != 0) {
        ShowServiceMessage(failure, MB_ICONERROR);
        return false;
    }
    if (!quiet) ShowServiceMessage(kMsgDeleted, MB_ICONINFORMATION);
    return true;
}
