#include "kartix/map_settings.h"

#include <algorithm>

#include "common/settings/ini_store.h"
#include "kartix/policy_flags.h"

namespace {

int ReadClamped(const wchar_t* file, const wchar_t* section, const wchar_t* key, int current, int low,
                int high) {
    return std::clamp(ReadIniInt(file, section, key, current), low, high);
}

}  // namespace

void ReadMapSettings(const wchar_t* settingsPath, MapSettings& s, PerfState& perf) {
    if (!settingsPath || !*settingsPath) return;
    s.policy = ReadPolicyFlags();
    s.texScalerX = ReadClamped(settingsPath, L"map", L"texScalerX", s.texScalerX, -3, 2);
    s.texScalerY = ReadClamped(settingsPath, L"map", L"texScalerY", s.texScalerY, -3, 1);
    s.texCompression = ReadIniInt(settingsPath, L"map", L"tex_compression", s.texCompression ? 1 : 0) != 0;
    s.lagFactor = ReadClamped(settingsPath, L"map", L"lag_factor", s.lagFactor, 0, 8);
    s.cloudmapInterval = ReadIniInt(settingsPath, L"common", L"cloudmap_interval", s.cloudmapInterval);
    s.cloudsAlpha = ReadClamped(settingsPath, L"common", L"clouds_alpha", s.cloudsAlpha, 32, 255);
    s.cloudsOn = s.cloudmapInterval > 0 && !(s.policy & kPolicyNoCloudMap);
    SetPerfFactor(perf, s.lagFactor * 100);
}

int ShiftTextureSide(int side, int scaler) {
    if (scaler > 0) return side << std::min(scaler, 8);
    if (scaler < 0) return side >> std::min(-scaler, 30);
    return side;
}
