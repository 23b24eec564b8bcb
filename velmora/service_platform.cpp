#include "velmora/service_platform.h"

#include "velmora/service_messages.h"

namespace {

class RealPlatform : public ServicePlatform {
public:
    SERVICE_STATUS_HANDLE RegisterHandler(const wchar_t* name, LPHANDLER_FUNCTION handler) override {
        return RegisterServiceCtrlHandlerW(name, handler);
    }
    BOOL SetStatus(SERVICE_STATUS_HANDLE handle, SERVICE_STATUS* status) override {
        return SetServiceStatus(handle, status);
    }
    BOOL RunDispatcher(const SERVICE_TABLE_ENTRYW* table) override { return StartServiceCtrlDispatcherW(table); }
    void ShowMessage(const wchar_t* text, UINT flags) override {
        MessageBoxW(nullptr, text, kServiceDisplayName, flags);
    }
};

RealPlatform g_real;
ServicePlatform* g_replacement = nullptr;

}  // namespace

ServicePlatform& Platform() { return g_replacement ? *g_replacement : g_real; }

ServicePlatform* SetServicePlatform(ServicePlatform* replacement) {
    ServicePlatform* previous = g_replacement;
    g_replacement = replacement;
    return previous;
}

std::wstring ServiceString(UINT id) {
    const wchar_t* text = nullptr;
    // Length 0 asks for a read-only pointer into the resource.
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

void ShowServiceMessage(UINT id, UINT flags) { Platform().ShowMessage(ServiceString(id).c_str(), flags); }
