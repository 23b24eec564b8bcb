#include "common/graphics/grey_ramp.h"

#include <cmath>

namespace {

std::array<uint32_t, 256> BuildGreyRamp() {
    const double pi = std::acos(-1.0);
    std::array<uint32_t, 256> ramp{};
    for (int i = 0; i < 256; ++i) {
        auto g = static_cast<uint32_t>(87 + static_cast<int>(std::trunc(80.0 * std::sin(i * pi / 256.0))));
        ramp[static_cast<size_t>(i)] = g | (g << 8) | (g << 16);
    }
    return ramp;
}

}  // namespace

const std::array<uint32_t, 256> GreyRamp = BuildGreyRamp();
