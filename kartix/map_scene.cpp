#include "kartix/map_scene.h"

#include "kartix/map_state.h"

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

void BuildMapScene(MapState& s) {
    DeleteMapScene();
    MapSceneGraph& g = SceneGraph();
    auto* lamp = new CLamp(GL_LIGHT1);
    g.root.AddChild(lamp);
    auto* planet = new CPlanet;
    g.root.AddChild(planet);
    planet->radius = kPlanetRadius;
    planet->SetDetail(&s.perf);
    planet->SetCities(s.cities, s.cityCount);
    g.lamp = lamp;
    g.planet = planet;
    SyncSceneCamera(s);
}

void InitMapScene() { SceneGraph().root.Init(); }

void ResizeMapScene(int width, int height) { SceneGraph().root.Resize(width, height); }

void CompileMapScene(const MapState& s) {
    SyncSceneCamera(s);
    SceneGraph().root.Compile();
}

void DrawMapScene(const MapState& s) {
    SyncSceneCamera(s);
    SceneGraph().root.Draw();
}

void DeleteMapScene() {
    MapSceneGraph& g = SceneGraph();
    g.root.DeleteChildren();
    g.lamp = nullptr;
    g.planet = nullptr;
}
