#include "common/platform/registry_utils.h"

#include "common/platform/registry_read.h"
#include "common/platform/text_bounds.h"

bool RegReadString(HKEY root, const WCHAR* key, const WCHAR* value, WCHAR* buffer, DWORD size,
                   const WCHAR* defaultText) {
    if (!buffer || size == 0) return false;
    if (ReadRegistryText(root, key, value, buffer, size)) return true;
    CopyBounded(buffer, size, defaultText);
    return false;
}

DWORD RegReadDword(HKEY root, const WCHAR* key, const WCHAR* value, DWORD defaultValue) {
    DWORD data = 0;
    return ReadRegistryDword(root, key, value, &data) ? data : defaultValue;
}
