// The performance factor: detail of the globe (sphere tessellation and
// atmosphere shells) traded for frame rate, and the frame-rate test that
// doubles it when the first frames after a texture load are slow.
#pragma once

inline constexpr int kPerfFactorMin = 50;
inline constexpr int kPerfFactorMax = 800;
inline constexpr int kPerfFactorAtLoad = 100;

// Frames tested: -1 about to start, 0..2 testing, 3 idle.
inline constexpr int kPerfTestStart = -1;
inline constexpr int kPerfTestIdle = 3;
inline constexpr int kPerfTestFrames = 3;
inline constexpr int kPerfMinFps = 10;

struct PerfState {
    int factor = kPerfFactorAtLoad;
    int slices = 180;
    int stacks = 120;
    int layers = 10;
    int cardMaxTexture = 0;     // GL_MAX_TEXTURE_SIZE read at window creation
    int currentMaxTexture = 0;  // the side the loaders fit to
    int framesTested = kPerfTestIdle;
    int fpsSum = 0;
};

// Clamps to 50..800 and derives slices, stacks, layers; the current maximum
// texture side goes back to the card maximum whatever the factor.
void SetPerfFactor(PerfState& perf, int factor);

// H halves, L doubles, clamped; the result for the current factor.
int ChangedPerfFactor(int factor, bool doubled);

// Starts the test after an upload (only below the largest factor).
void StartPerfTest(PerfState& perf);

enum class PerfVerdict {
    kEnough,     // no more frames wanted
    kMoreFrames, // redraw at once to measure the next frame
    kReload,     // the factor was doubled: recompile and reload the textures
};

// After each frame, with the milliseconds it took and whether an earth load
// or split is running. kReload has already stored the doubled factor.
PerfVerdict AdaptPerfFactor(PerfState& perf, int ms, bool texturesBusy);
