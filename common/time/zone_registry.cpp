#include "common/time/zone_registry.h"

#include "common/time/text_bounds.h"

#include <cwchar>
#include <iterator>
#include <string>

namespace {

constexpr int kRegistryTextChars = 256;
constexpr int kKeyNameChars = 1024;

class RegKey {
public:
    RegKey(HKEY root, const wchar_t* subkey, REGSAM access) {
        if (RegOpenKeyExW(root, subkey, 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
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

// Reads a string value of an open key; bytes read or 0 with an empty buffer.
int QueryString(HKEY key, const wchar_t* value, wchar_t* buffer, int chars) {
    if (!buffer || chars <= 0) return 0;
    buffer[0] = L'\0';
    if (!key) return 0;
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(chars) * sizeof(wchar_t);
    LONG rc = RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        buffer[0] = L'\0';
        return 0;
    }
    // Stored strings need not carry their terminator; one must fit.
    size_t got = bytes / sizeof(wchar_t);
    if (got > 0 && buffer[got - 1] == L'\0') return static_cast<int>(bytes);
    if (got >= static_cast<size_t>(chars)) {
        buffer[0] = L'\0';
        return 0;
    }
    buffer[got] = L'\0';
    return static_cast<int>(bytes);
}

}  // namespace

DWORD ReadAutoDaylightDisabled() {
    RegKey key(HKEY_LOCAL_MACHINE, kTimeZoneInformationKey, KEY_QUERY_VALUE);
    if (!key.get()) return 0;
    DWORD type = 0, value = 0, bytes = sizeof value;
    if (RegQueryValueExW(key.get(), L"DisableAutoDaylightTimeSet", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &bytes) != ERROR_SUCCESS ||
        bytes != sizeof value)
        return 0;
    return value;
}

int ReadRegistryString(const wchar_t* subkey, const wchar_t* value, wchar_t* buffer, int chars) {
    if (!buffer || chars <= 0) return 0;
    buffer[0] = L'\0';
    if (!subkey) return 0;
    RegKey key(HKEY_LOCAL_MACHINE, subkey, KEY_QUERY_VALUE);
    return QueryString(key.get(), value, buffer, chars);
}

bool ReadZoneRegistryNames(ZoneRecord& record) {
    wchar_t zoneKey[sizeof(ZoneRecord::key) / sizeof(wchar_t) + 1];
    CopyTextBounded(zoneKey, std::size(zoneKey), record.key);
    std::wstring path = std::wstring(kTimeZonesKey) + L"\\" + zoneKey;
    RegKey key(HKEY_LOCAL_MACHINE, path.c_str(), KEY_QUERY_VALUE);
    if (!key.get()) return false;

    wchar_t text[kRegistryTextChars];
    if (QueryString(key.get(), L"Display", text, kRegistryTextChars) == 0 || text[0] == L'\0') return false;
    CopyTextBounded(record.displayName, text);
    if (QueryString(key.get(), L"Std", text, kRegistryTextChars) > 0)
        CopyTextBounded(record.StandardName, text);
    if (QueryString(key.get(), L"Dlt", text, kRegistryTextChars) > 0)
        CopyTextBounded(record.DaylightName, text);
    return true;
}

int FindZoneKeyByStdName(const wchar_t* name, wchar_t* buffer, int chars, const wchar_t* valueName) {
    if (!buffer || chars <= 0) return 0;
    buffer[0] = L'\0';
    if (!name) return 0;
    RegKey zones(HKEY_LOCAL_MACHINE, kTimeZonesKey, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE);
    if (!zones.get()) return 0;

    wchar_t subkey[kKeyNameChars];
    wchar_t std[kRegistryTextChars];
    for (DWORD index = 0;; ++index) {
        DWORD nameChars = kKeyNameChars;
        LONG rc = RegEnumKeyExW(zones.get(), index, subkey, &nameChars, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) continue;  // a key name longer than any zone's
        if (rc != ERROR_SUCCESS) break;
        RegKey zone(zones.get(), subkey, KEY_QUERY_VALUE);
        if (QueryString(zone.get(), L"Std", std, kRegistryTextChars) == 0) continue;
        if (wcscmp(std, name) != 0) continue;
        if (valueName) {
            QueryString(zone.get(), valueName, buffer, chars);
        } else {
            CopyTextBounded(buffer, static_cast<size_t>(chars), subkey);
        }
        return static_cast<int>(wcslen(buffer));
    }
    return 0;
}

int GetCurrentZoneKeyName(wchar_t* buffer, int chars, const wchar_t* valueName) {
    if (buffer && chars > 0) buffer[0] = L'\0';
    TIME_ZONE_INFORMATION tzi{};
    if (GetTimeZoneInformation(&tzi) == TIME_ZONE_ID_INVALID) return -1;
    wchar_t name[sizeof(tzi.StandardName) / sizeof(wchar_t)];
    CopyTextBounded(name, tzi.StandardName);
    return FindZoneKeyByStdName(name, buffer, chars, valueName);
}
