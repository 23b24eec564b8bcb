#include "common/platform/registry_read.h"

RegistryKey::RegistryKey(HKEY root, const wchar_t* subkey, REGSAM access) {
    if (RegOpenKeyExW(root, subkey, 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
}

RegistryKey::~RegistryKey() {
    if (key_) RegCloseKey(key_);
}

bool QueryRegistryText(HKEY key, const wchar_t* value, wchar_t* buffer, DWORD chars, DWORD* bytes) {
    if (bytes) *bytes = 0;
    if (!buffer || chars == 0) return false;
    buffer[0] = L'\0';
    if (!key) return false;
    DWORD type = REG_NONE;
    DWORD got = chars * sizeof(wchar_t);
    LONG rc = RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &got);
    // A number or a binary blob read as text would be garbage, not a name.
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        buffer[0] = L'\0';
        return false;
    }
    // Stored strings need not carry their terminator; one must fit.
    DWORD n = got / sizeof(wchar_t);
    if (n == 0 || buffer[n - 1] != L'\0') {
        if (n >= chars) {
            buffer[0] = L'\0';
            return false;
        }
        buffer[n] = L'\0';
    }
    if (bytes) *bytes = got;
    return true;
}

bool ReadRegistryText(HKEY root, const wchar_t* subkey, const wchar_t* value, wchar_t* buffer, DWORD chars,
                      DWORD* bytes) {
    RegistryKey key(root, subkey);
    return QueryRegistryText(key.get(), value, buffer, chars, bytes);
}

bool ReadRegistryDword(HKEY root, const wchar_t* subkey, const wchar_t* value, DWORD* out) {
    RegistryKey key(root, subkey);
    if (!key.get() || !out) return false;
    DWORD data = 0;
    DWORD bytes = sizeof data;
    if (RegQueryValueExW(key.get(), value, nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &bytes) !=
            ERROR_SUCCESS ||
        bytes != sizeof data)
        return false;
    *out = data;
    return true;
}
