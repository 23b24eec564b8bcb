// The machine-wide policy under HKLM "Software\Qelvar\Tempovia": each 4-byte
// value that is nonzero sets its bit; values of another size are ignored.
#pragma once

#include <windows.h>

enum PolicyFlags : DWORD {
    kPolicyNoUpdates = 1,
    kPolicyNoNews = 2,
    kPolicyNoCityPhotos = 4,
    kPolicyNoCloudMap = 8,
    kPolicyNoPreferences = 16,
};

inline constexpr wchar_t kPolicyKey[] = L"Software\\Qelvar\\Tempovia";

// The mask; 0 when the key is missing.
DWORD ReadPolicyFlags();

// Tests point the lookup at a key of their own; nullptr key restores HKLM.
void SetPolicyKeyOverride(HKEY root, const wchar_t* key);
