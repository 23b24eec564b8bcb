#include "common/zones/zone_registry.h"

#include "common/platform/registry_read.h"
#include "common/platform/text_bounds.h"

#include <cwchar>
#include <iterator>
#include <string>

namespace {

constexpr int kRegistryTextChars = 256;
constexpr int kKeyNameChars = 1024;

// A string value of an open key: bytes read, or 0 with an empty buffer (also
// for a value without data).
int QueryString(HKEY key, const wchar_t* value, wchar_t* buffer, int chars) {
    if (chars <= 0) return 0;
    DWORD bytes = 0;
    return QueryRegistryText(key, value, buffer, static_cast<DWORD>(chars), &bytes) ? static_cast<int>(bytes) : 0;
}

}  // namespace

DWORD ReadAutoDaylightDisabled() {
    DWORD value = 0;
    return ReadRegistryDword(HKEY_LOCAL_MACHINE, kTimeZoneInformationKey, L"DisableAutoDaylightTimeSet", &value)
               ? value
               : 0;
}

int ReadRegistryString(const wchar_t* subkey, const wchar_t* value, wchar_t* buffer, int chars) {
    if (!buffer || chars <= 0) return 0;
    buffer[0] = L'\0';
    if (!subkey) return 0;
    RegistryKey key(HKEY_LOCAL_MACHINE, subkey);
    return QueryString(key.get(), value, buffer, chars);
}

bool ReadZoneRegistryNames(ZoneRecord& record) {
    wchar_t zoneKey[sizeof(ZoneRecord::key) / sizeof(wchar_t) + 1];
    CopyBounded(zoneKey, std::size(zoneKey), record.key);
    std::wstring path = std::wstring(kTimeZonesKey) + L"\\" + zoneKey;
    RegistryKey key(HKEY_LOCAL_MACHINE, path.c_str());
    return ApplyZoneRegistryNames(ReadZoneNamesOfKey(key.get()), record);
}

ZoneRegistryNames ReadZoneNamesOfKey(HKEY zone) {
    ZoneRegistryNames names;
    if (!zone) return names;
    wchar_t text[kRegistryTextChars];
    if (QueryString(zone, L"Display", text, kRegistryTextChars) == 0 || text[0] == L'\0') return names;
    names.hasDisplay = true;
    CopyBounded(names.displayName, text);
    names.hasStandard = QueryString(zone, L"Std", text, kRegistryTextChars) > 0;
    CopyBounded(names.standardName, text);
    names.hasDaylight = QueryString(zone, L"Dlt", text, kRegistryTextChars) > 0;
    CopyBounded(names.daylightName, text);
    return names;
}

bool ApplyZoneRegistryNames(const ZoneRegistryNames& names, ZoneRecord& record) {
    if (!names.hasDisplay) return false;
    CopyBounded(record.displayName, names.displayName);
    if (names.hasStandard) CopyBounded(record.StandardName, names.standardName);
    if (names.hasDaylight) CopyBounded(record.DaylightName, names.daylightName);
    return true;
}

int FindZoneKeyByStdName(const wchar_t* name, wchar_t* buffer, int chars, const wchar_t* valueName) {
    if (!buffer || chars <= 0) return 0;
    buffer[0] = L'\0';
    if (!name) return 0;
    RegistryKey zones(HKEY_LOCAL_MACHINE, kTimeZonesKey, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE);
    if (!zones.get()) return 0;

    wchar_t subkey[kKeyNameChars];
    wchar_t std[kRegistryTextChars];
    for (DWORD index = 0;; ++index) {
        DWORD nameChars = kKeyNameChars;
        LONG rc = RegEnumKeyExW(zones.get(), index, subkey, &nameChars, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) continue;  // a key name longer than any zone's
        if (rc != ERROR_SUCCESS) break;
        RegistryKey zone(zones.get(), subkey);
        if (QueryString(zone.get(), L"Std", std, kRegistryTextChars) == 0) continue;
        if (wcscmp(std, name) != 0) continue;
        if (valueName) {
            QueryString(zone.get(), valueName, buffer, chars);
        } else {
            CopyBounded(buffer, static_cast<size_t>(chars), subkey);
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
    CopyBounded(name, tzi.StandardName);
    return FindZoneKeyByStdName(name, buffer, chars, valueName);
}
