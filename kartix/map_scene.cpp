#include "kartix/map_scene.h"

#include "kartix/map_state.h"
#include "kartix/map_textures.h"
#include "kartix/map_window.h"
#include "kartix/perf_factor.h"

MapSceneGraph& SceneGraph() {
    static MapSceneGraph graph;
    return graph;
}

void SyncSceneCamera(const MapState& s) {
    CScene& root = SceneGraph().root;
    root.x = 0.0f;
    root.y = 0.0f;
    root.z = s.camera.distance;
    root.rotX = s.camera.tilt;
    root.rotY = s.camera.longitude;
    root.rotZ = 0.0;
}

namespace {

class SceneGraphPartImpl final : public MapScenePart {
public:
    void Build(MapState& state) override {
        MapSceneGraph& g = SceneGraph();
        g.root.DeleteChildren();
        g.lamp = nullptr;
        g.planet = nullptr;
        auto* lamp = new CLamp(GL_LIGHT1);
        g.root.AddChild(lamp);
        auto* planet = new CPlanet;
        g.root.AddChild(planet);
        planet->radius = kPlanetRadius;
        planet->SetDetail(&state.perf);
        planet->SetCities(state.cities, state.cityCount);
        g.lamp = lamp;
        g.planet = planet;
        state_ = &state;
        SyncSceneCamera(state);
    }
    void Init() override { SceneGraph().root.Init(); }
    void Resize(int width, int height) override { SceneGraph().root.Resize(width, height); }
    void Compile() override {
        if (state_) SyncSceneCamera(*state_);
        SceneGraph().root.Compile();
    }
    void Draw() override {
        if (state_) SyncSceneCamera(*state_);
        SceneGraph().root.Draw();
    }
    void DeleteChildren() override {
        MapSceneGraph& g = SceneGraph();
        g.root.DeleteChildren();
        g.lamp = nullptr;
        g.planet = nullptr;
    }

private:
    const MapState* state_ = nullptr;
};

class TextureLoaderPartImpl final : public MapTexturePart {
public:
    void AttachClouds(MapState& s) override {
        TileSet& clouds = Textures().clouds;
        if (s.settings.cloudsOn && !clouds.AllLoaded()) LoadCloudTexture(s, s.perf.currentMaxTexture);
        CPlanet* planet = SceneGraph().planet;
        if (!planet) return;
        if (!s.settings.cloudsOn)
            planet->SetCloudTiles(nullptr);
        else if (clouds.AllLoaded())
            planet->SetCloudTiles(&clouds);
    }

    void AttachEarthOrStartLoader(MapState& s) override {
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

    void StartEarthLoader(MapState& s) override {
        if (s.window) StartLoadEarthThread(s.window);
    }

    void RunInstallFit(MapState& s) override { RunInstallFitLoop(s); }

    void OnTextureLoaded(MapState& s, int step) override {
        if (step == 0) {
            StartSplitEarthThread(s.window);
            return;
        }
        if (step != 1 || !s.textureMutex) return;
        // A worker still busy: this hand-over is dropped; the worker's own
        // message follows.
        if (!MutexObtained(WaitForSingleObject(s.textureMutex, kUploadWaitMs))) return;
        CPlanet* planet = SceneGraph().planet;
        if (planet && s.context.MakeCurrent(s.dc)) planet->SetEarthTiles(&Textures().earth);
        ReleaseMutex(s.textureMutex);
        if (s.context.MakeCurrent(s.dc)) SceneGraphPart().Compile();
        if (s.perf.factor < kPerfFactorMax) StartPerfTest(s.perf);
        RedrawMap(s);
    }

    bool SetClouds(MapState& s, bool on) override {
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

    void FreeEarthTiles(MapState& s) override {
        CPlanet* planet = SceneGraph().planet;
        // The globe is drawn without the earth texture from now on.
        if (planet && s.context.MakeCurrent(s.dc)) planet->SetEarthTiles(nullptr);
        HANDLE mutex = s.textureMutex;
        const bool held = mutex && MutexObtained(WaitForSingleObject(mutex, kUploadWaitMs));
        if (held || !mutex) Textures().earth.FreeAll();
        if (held) ReleaseMutex(mutex);
    }

    void FreeAll(MapState&) override {
        Textures().earth.FreeAll();
        Textures().clouds.FreeAll();
    }

    bool EarthTilesUploaded() const override {
        const CPlanet* planet = SceneGraph().planet;
        return planet && planet->HasEarth();
    }
};

}  // namespace

MapScenePart& SceneGraphPart() {
    static SceneGraphPartImpl part;
    return part;
}

MapTexturePart& TextureLoaderPart() {
    static TextureLoaderPartImpl part;
    return part;
}
