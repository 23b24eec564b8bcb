#include "kartix/perf_factor.h"

#include <algorithm>

namespace {

constexpr int kSlices[9] = {180, 180, 180, 120, 120, 60, 60, 36, 36};
constexpr int kStacks[9] = {120, 120, 90, 90, 60, 60, 30, 30, 30};

}  // namespace

void SetPerfFactor(PerfState& perf, int factor) {
    perf.factor = std::clamp(factor, kPerfFactorMin, kPerfFactorMax);
    const int row = perf.factor / 100;
    perf.slices = kSlices[row];
    perf.stacks = kStacks[row];
    perf.layers = perf.factor <= 200 ? 1000 / perf.factor : 1;
    perf.currentMaxTexture = perf.cardMaxTexture;
}

int ChangedPerfFactor(int factor, bool doubled) {
    const long long f = doubled ? static_cast<long long>(factor) * 2 : factor / 2;
    return static_cast<int>(std::clamp<long long>(f, kPerfFactorMin, kPerfFactorMax));
}

void StartPerfTest(PerfState& perf) {
    if (perf.factor >= kPerfFactorMax) return;
    perf.framesTested = kPerfTestStart;
    perf.fpsSum = 0;
}

PerfVerdict AdaptPerfFactor(PerfState& perf, int ms, bool texturesBusy) {
    if (texturesBusy) {
        perf.framesTested = kPerfTestIdle;
        return PerfVerdict::kEnough;
    }
    if (perf.framesTested > 2) return PerfVerdict::kEnough;
    if (perf.framesTested < 0) {
        perf.framesTested = 0;  // the first frame after an upload is not measured
    } else if (ms > 0) {
        perf.fpsSum += 1000 / ms;
        ++perf.framesTested;
    }
    if (perf.framesTested < kPerfTestFrames) return PerfVerdict::kMoreFrames;
    const int average = perf.fpsSum / kPerfTestFrames;
    if (average >= kPerfMinFps || perf.factor >= kPerfFactorMax) return PerfVerdict::kEnough;
    perf.fpsSum = 10;
    SetPerfFactor(perf, perf.factor * 2);
    perf.framesTested = kPerfTestIdle;  // the reload restarts it once the textures are back
    return PerfVerdict::kReload;
}
