// The shading table of the analogue faces: 87 at both ends, 167 in the middle,
// so that AddPixelBias darkens with the low entries and brightens with the high.
#pragma once

#include <array>
#include <cstdint>

// Entry i is 0x00GGGGGG with G = 87 + trunc(80 x sin(i x pi / 256)); alpha 0.
extern const std::array<uint32_t, 256> GreyRamp;
