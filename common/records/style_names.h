// Names of the two built-in clock styles as the settings store them in
// "skin" and "dsk_skin": any other name is a skin folder. The settings
// reader and the faces both need them, so they stand below both.
#pragma once

#include <cwchar>

// Compared without regard to case.
inline constexpr wchar_t kClassicStyleName[] = L"Classic Tempovia Style";
inline constexpr wchar_t kSystemClockStyleName[] = L"Standard System Clock";
// Whether the name is one of them (they are no skin folder).
inline bool IsBuiltInStyleName(const wchar_t* name) {
    return name && (_wcsicmp(name, kClassicStyleName) == 0 || _wcsicmp(name, kSystemClockStyleName) == 0);
}
