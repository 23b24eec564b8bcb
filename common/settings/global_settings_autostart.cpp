#include <windows.h>

#include <string>

#include "common/settings/global_settings_io.h"

namespace {

const AutostartLocation kRunLocation{HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                         L"Tempovia"};
const AutostartLocation* g_location = &kRunLocation;
AutostartLocation g_override{};

}  // namespace

const AutostartLocation& CurrentAutostartLocation() { return *g_location; }

void SetAutostartLocation(const AutostartLocation* location) {
    if (location) {
        g_override = *location;
        g_location = &g_override;
    } else {
        g_location = &kRunLocation;
    }
}

std::wstring AutostartCommand(const wchar_t* programFolder) {
    return L"\"" + std::wstring(programFolder ? programFolder : L"") + L"tempovia.exe\"";
}

bool ApplyAutostart(bool on, const wchar_t* programFolder) {
    const AutostartLocation& where = CurrentAutostartLocation();
    HKEY key = nullptr;
    if (on) {
        if (RegCreateKeyExW(where.root, where.key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS) {
            return false;
        }
        std::wstring command = AutostartCommand(programFolder);
        LONG rc = RegSetValueExW(key, where.value, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                 static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        return rc == ERROR_SUCCESS;
    }
    if (RegOpenKeyExW(where.root, where.key, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    LONG rc = RegDeleteValueW(key, where.value);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}
