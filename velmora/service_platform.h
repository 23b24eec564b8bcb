// The calls through which the service meets the Service Control Manager and
// the user, replaceable so that tests drive the service without either.
#pragma once

#include <windows.h>
#include <winsvc.h>

class ServicePlatform {
public:
    virtual ~ServicePlatform() = default;
    // RegisterServiceCtrlHandlerW
    virtual SERVICE_STATUS_HANDLE RegisterHandler(const wchar_t* name, LPHANDLER_FUNCTION handler) = 0;
    // SetServiceStatus
    virtual BOOL SetStatus(SERVICE_STATUS_HANDLE handle, SERVICE_STATUS* status) = 0;
    // StartServiceCtrlDispatcherW; returns when every service of the process stopped
    virtual BOOL RunDispatcher(const SERVICE_TABLE_ENTRYW* table) = 0;
    // MessageBoxW with the program's title
    virtual void ShowMessage(const wchar_t* text, UINT flags) = 0;
};

ServicePlatform& Platform();
// nullptr restores the real platform; returns the replaced one.
ServicePlatform* SetServicePlatform(ServicePlatform* replacement);
