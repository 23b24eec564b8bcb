#include "common/settings/registry_utils.h"

#include "common/settings/ini_store.h"

namespace {

// Closes the key on every path out.
class RegKey {
public:
    RegKey(HKEY root, const WCHAR* key) {
        if (RegOpenKeyW(root, key, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~RegKey() {
        if (key_) RegCloseKey(key_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

bool ReadText(HKEY root, const WCHAR* key, const WCHAR* value, WCHAR* buffer, DWORD size) {
    RegKey k(root, key);
    if (!k.get()) return false;
    DWORD type = REG_NONE;
    DWORD bytes = size * sizeof(WCHAR);
    if (RegQueryValueExW(k.get(), value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) !=
        ERROR_SUCCESS)
        return false;
    // A number or a binary blob read as text would be garbage, not a name.
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    DWORD chars = bytes / sizeof(WCHAR);
    // The stored data need not carry its terminator; make room for one or refuse.
    if (chars > 0 && buffer[chars - 1] == L'\0') return true;
    if (chars >= size) return false;
    buffer[chars] = L'\0';
    return true;
}

}  // namespace

bool RegReadString(HKEY root, const WCHAR* key, const WCHAR* value, WCHAR* buffer, DWORD size,
                   const WCHAR* defaultText) {
    if (!buffer || size == 0) return false;
    if (ReadText(root, key, value, buffer, size)) return true;
    CopyBounded(buffer, size, defaultText);
    return false;
}

DWORD RegReadDword(HKEY root, const WCHAR* key, const WCHAR* value, DWORD defaultValue) {
    RegKey k(root, key);
    if (!k.get()) return defaultValue;
    DWORD data = 0;
    DWORD bytes = sizeof(data);
    if (RegQueryValueExW(k.get(), value, nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &bytes) !=
            ERROR_SUCCESS ||
        bytes != sizeof(data))
        return defaultValue;
    return data;
}
