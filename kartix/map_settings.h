// The map's keys of tempovia.ini ([map] and [common], no user prefix) and the
// policy mask, read at each map window creation.
#pragma once

#include <windows.h>

#include "kartix/perf_factor.h"

struct MapSettings {
    int texScalerX = 0;         // -3..2, power-of-two shift of the maximum texture width
    int texScalerY = -1;        // -3..1, the same for the height
    bool texCompression = false;
    int lagFactor = 1;          // 0..8, performance factor / 100
    int cloudmapInterval = -3;  // clouds only when above 0
    int cloudsAlpha = 192;      // 32..255
    DWORD policy = 0;
    bool cloudsOn = false;
};

// Nothing without a settings path. Otherwise the policy, the keys (each
// defaulting to the value in effect, clamped to its range), the clouds switch
// and the performance factor (lag_factor x 100).
void ReadMapSettings(const wchar_t* settingsPath, MapSettings& settings, PerfState& perf);

// A maximum texture side shifted by a scaler: 2^s times for s > 0, divided by
// 2^-s for s < 0.
int ShiftTextureSide(int side, int scaler);
