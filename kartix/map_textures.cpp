#include "kartix/map_textures.h"

#include <algorithm>
#include <string>

#include "kartix/map_scene.h"
#include "kartix/map_settings.h"
#include "kartix/map_state.h"
#include "kartix/map_workers.h"

MapTextures& Textures() {
    static MapTextures textures;
    return textures;
}

namespace {

std::wstring ProgramFile(const MapState& s, const wchar_t* name) { return std::wstring(s.programFolder) + name; }

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// The counters drive the status lines while a worker runs.
class Raised {
public:
    explicit Raised(volatile LONG& counter) : counter_(counter) { InterlockedIncrement(&counter_); }
    ~Raised() { InterlockedDecrement(&counter_); }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

private:
    volatile LONG& counter_;
};

}  // namespace

int LoadEarthTexture(MapState& s) {
    TileSet& earth = Textures().earth;
    earth.FreeAll();
    Raised loading(s.loadingTexture);
    const int card = s.perf.cardMaxTexture;
    return earth.image().Load(ProgramFile(s, kEarthTextureFile).c_str(), ShiftTextureSide(card, s.settings.texScalerX),
                              ShiftTextureSide(card, s.settings.texScalerY));
}

bool SplitEarthTexture(MapState& s) {
    TileSet& earth = Textures().earth;
    // Two loads in a row hand over twice: the second split finds the picture
    // cut already, and cutting its first tile again would leave an eighth of it.
    if (earth.AllLoaded()) return true;
    CGLTexture& image = earth.image();
    if (!image.HasPixels()) return false;
    const int w = ShiftTextureSide(s.perf.currentMaxTexture, s.settings.texScalerX);
    const int h = ShiftTextureSide(s.perf.currentMaxTexture, s.settings.texScalerY);
    if (w < image.imageWidth) {
        if (!image.RescaleTexture(w, std::min(h, image.imageHeight))) return false;
    } else if (h < image.imageHeight) {
        if (!image.RescaleTexture(image.imageWidth, h)) return false;
    }
    Raised splitting(s.splittingTextures);
    return SplitTexture(Textures().earth.tiles, kTileColumns, kTileRows);
}

bool FitTextureToMax(MapState& s) {
    CGLTexture& image = Textures().earth.image();
    if (!image.HasPixels()) return false;
    const int w = ShiftTextureSide(s.perf.cardMaxTexture, s.settings.texScalerX);
    const int h = ShiftTextureSide(s.perf.cardMaxTexture, s.settings.texScalerY);
    if (w < image.imageWidth) return image.RescaleTexture(w, std::min(h, image.imageHeight));
    if (h < image.imageHeight) return image.RescaleTexture(image.imageWidth, h);
    if (IsPowerOfTwo(image.imageWidth) && IsPowerOfTwo(image.imageHeight) && image.storedWidth == image.imageWidth &&
        image.storedHeight == image.imageHeight)
        return false;
    return image.ShrinkToPowerOfTwo();
}

uint32_t CloudAlphaRule(uint32_t pixel, int components, void* cloudsAlpha) {
    if (components == 1) {
        const uint32_t grey = pixel & 0xFF;
        const uint32_t alpha = static_cast<uint32_t>(*static_cast<const int*>(cloudsAlpha)) * grey / 256;
        return grey | (grey << 8) | (grey << 16) | ((alpha & 0xFF) << 24);
    }
    if (components == 3) return (pixel & 0xFFFFFF) | (((pixel >> 8) & 0xFF) << 24);
    return pixel;
}

bool LoadCloudTexture(MapState& s, int maximum) {
    TileSet& clouds = Textures().clouds;
    CGLTexture& image = clouds.image();
    int alpha = s.settings.cloudsAlpha;
    const bool ok = image.Load(ProgramFile(s, kCloudTextureFile).c_str(), ShiftTextureSide(maximum, s.settings.texScalerX),
                               ShiftTextureSide(maximum, s.settings.texScalerY)) > 0 &&
                    image.MakeAlphaFromLuminance(CloudAlphaRule, &alpha) &&
                    SplitTexture(clouds.tiles, kTileColumns, kTileRows);
    if (!ok) clouds.FreeAll();
    return ok;
}

void __cdecl LoadEarthThread(void* window) {
    MapState& s = Map();
    HANDLE mutex = s.textureMutex;
    if (!mutex || !WaitForTextureMutex(mutex, kWorkerWaitMs)) return;
    int result = kTextureLoadFailed;
    try {
        result = LoadEarthTexture(s);
    } catch (...) {
        result = kTextureLoadFailed;
    }
    ReleaseMutex(mutex);
    if (window) PostMessageW(static_cast<HWND>(window), MSG_TEXTURE_LOADED, 0, result > 0 ? 1 : 0);
}

void __cdecl SplitEarthThread(void* window) {
    MapState& s = Map();
    HANDLE mutex = s.textureMutex;
    if (!mutex) return;
    bool ok = false;
    if (WaitForTextureMutex(mutex, kWorkerWaitMs)) {
        try {
            ok = SplitEarthTexture(s);
        } catch (...) {
            ok = false;
        }
        ReleaseMutex(mutex);
    } else if (MapWorkersStopping()) {
        return;  // the plug-in is being freed: no window waits for the cut
    }
    if (window) PostMessageW(static_cast<HWND>(window), MSG_TEXTURE_LOADED, 1, ok ? 1 : 0);
}

bool StartLoadEarthThread(HWND window) { return StartMapWorker(LoadEarthThread, window); }

bool StartSplitEarthThread(HWND window) { return StartMapWorker(SplitEarthThread, window); }

void RunInstallFitLoop(MapState& s) {
    HANDLE mutex = s.textureMutex;
    const bool held = mutex && MutexObtained(WaitForSingleObject(mutex, kFreeWaitMs));
    TileSet& earth = Textures().earth;
    CPlanet* planet = SceneGraph().planet;
    int m = s.perf.cardMaxTexture;
    for (;;) {
        s.perf.currentMaxTexture = m;
        if (!earth.AllLoaded()) {
            bool rescaled = false;
            if (earth.image().HasPixels())
                rescaled = FitTextureToMax(s);
            else
                rescaled = LoadEarthTexture(s) == kTextureRescaled;
            if (rescaled) earth.image().Save(ProgramFile(s, kEarthTextureFile).c_str(), kInstallSaveQuality);
        }
        if (!earth.image().HasPixels()) break;
        // Tiles of an earlier window are cut already.
        const bool cut = earth.AllLoaded() || SplitEarthTexture(s);
        if (cut && s.context.MakeCurrent(s.dc) && planet && planet->SetEarthTiles(&earth) == 0) break;
        if (m < kSmallestInstallSide) break;
        earth.FreeAll();
        m /= 2;
        s.perf.cardMaxTexture = m;
    }
    if (held) ReleaseMutex(mutex);
}
