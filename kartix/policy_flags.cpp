#include "kartix/policy_flags.h"

#include <string>

#include "common/platform/registry_utils.h"

namespace {

HKEY g_root = HKEY_LOCAL_MACHINE;
std::wstring g_key = kPolicyKey;

struct PolicyValue {
    const wchar_t* name;
    DWORD bit;
};

constexpr PolicyValue kValues[] = {
    {L"no_updates", kPolicyNoUpdates},         {L"no_news", kPolicyNoNews},
    {L"no_city_photos", kPolicyNoCityPhotos},  {L"no_cloud_map", kPolicyNoCloudMap},
    {L"no_preferences", kPolicyNoPreferences},
};

}  // namespace

void SetPolicyKeyOverride(HKEY root, const wchar_t* key) {
    g_root = key ? root : HKEY_LOCAL_MACHINE;
    g_key = key ? key : kPolicyKey;
}

DWORD ReadPolicyFlags() {
    DWORD mask = 0;
    for (const PolicyValue& v : kValues)
        if (RegReadDword(g_root, g_key.c_str(), v.name, 0) != 0) mask |= v.bit;
    return mask;
}
