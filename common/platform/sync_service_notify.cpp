#include "common/platform/sync_service_notify.h"

#include "common/platform/system_seam.h"

namespace {
// A failed call that leaves no error code must still not read as success.
DWORD FailureOf(SystemSeam& sys) {
    DWORD e = sys.LastError();
    return e ? e : ERROR_GEN_FAILURE;
}
}  // namespace

DWORD NotifySyncService(DWORD code) {
    SystemSeam& sys = System();
    SC_HANDLE manager = sys.OpenServiceManager(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return FailureOf(sys);

    DWORD result = 0;
    SC_HANDLE service =
        sys.OpenServiceHandle(manager, kSyncServiceName, SERVICE_USER_DEFINED_CONTROL | SERVICE_INTERROGATE);
    if (!service) {
        result = FailureOf(sys);
    } else {
        SERVICE_STATUS status{};
        if (!sys.SendServiceControl(service, code, &status)) result = FailureOf(sys);
        sys.CloseServiceHandleOf(service);
    }
    sys.CloseServiceHandleOf(manager);
    return result;
}

void ReloadSyncService() { NotifySyncService(SYNC_CONTROL_RELOAD); }
