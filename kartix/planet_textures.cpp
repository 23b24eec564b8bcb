#include "kartix/planet_textures.h"

#include "kartix/map_scene.h"
#include "kartix/map_state.h"
#include "kartix/map_textures.h"
#include "kartix/map_window.h"
#include "kartix/perf_factor.h"

void AttachCloudTiles(MapState& s) {
    TileSet& clouds = Textures().clouds;
    if (s.settings.cloudsOn && !clouds.AllLoaded()) LoadCloudTexture(s, s.perf.currentMaxTexture);
    CPlanet* planet = SceneGraph().planet;
    if (!planet) return;
    if (!s.settings.cloudsOn)
        planet->SetCloudTiles(nullptr);
    else if (clouds.AllLoaded())
        planet->SetCloudTiles(&clouds);
}

void AttachEarthOrStartLoader(MapState& s) {
    CPlanet* planet = SceneGraph().planet;
    HANDLE mutex = s.textureMutex;
    if (mutex && planet && MutexObtained(WaitForSingleObject(mutex, kUploadWaitMs))) {
        const bool loaded = Textures().earth.AllLoaded();
        // Tiles of a previous window go straight to the planet.
        if (loaded) planet->SetEarthTiles(&Textures().earth);
        ReleaseMutex(mutex);
        if (loaded) return;
    }
    StartEarthLoader(s);
}

void StartEarthLoader(MapState& s) {
    if (s.window) StartLoadEarthThread(s.window);
}

void HandOverEarthTexture(MapState& s, int step) {
    if (step == 0) {
        StartSplitEarthThread(s.window);
        return;
    }
    if (step != 1 || !s.textureMutex) return;
    // A worker still busy: this hand-over is dropped; the worker's own
    // message follows.
    if (!MutexObtained(WaitForSingleObject(s.textureMutex, kUploadWaitMs))) return;
    // The success of an earlier cut may arrive while a newer load holds the
    // picture whole in tile 0: the globe keeps its tiles until that load is
    // cut too, and its own message follows.
    const bool cut = Textures().earth.AllLoaded();
    CPlanet* planet = SceneGraph().planet;
    if (cut && planet && s.context.MakeCurrent(s.dc)) planet->SetEarthTiles(&Textures().earth);
    ReleaseMutex(s.textureMutex);
    if (!cut) return;
    if (s.context.MakeCurrent(s.dc)) CompileMapScene(s);
    if (s.perf.factor < kPerfFactorMax) StartPerfTest(s.perf);
    RedrawMap(s);
}

bool SetCloudLayer(MapState& s, bool on) {
    CPlanet* planet = SceneGraph().planet;
    const bool current = s.context.MakeCurrent(s.dc);
    s.settings.cloudsOn = on;
    if (!on) {
        if (planet && current) planet->SetCloudTiles(nullptr);
        return true;
    }
    if (!LoadCloudTexture(s, s.perf.currentMaxTexture)) return false;
    if (planet && current) planet->SetCloudTiles(&Textures().clouds);
    return true;
}

void DropEarthTiles(MapState& s) {
    CPlanet* planet = SceneGraph().planet;
    // The globe is drawn without the earth texture from now on.
    if (planet && s.context.MakeCurrent(s.dc)) planet->SetEarthTiles(nullptr);
    HANDLE mutex = s.textureMutex;
    const bool held = mutex && MutexObtained(WaitForSingleObject(mutex, kUploadWaitMs));
    if (held || !mutex) Textures().earth.FreeAll();
    if (held) ReleaseMutex(mutex);
}

void FreeAllTextures() {
    Textures().earth.FreeAll();
    Textures().clouds.FreeAll();
}

bool EarthTilesUploaded() {
    const CPlanet* planet = SceneGraph().planet;
    return planet && planet->HasEarth();
}
