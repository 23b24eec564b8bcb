// The map's scene: the root with the camera, the lamp that follows the
// cursor and the planet.
#pragma once

#include "kartix/gl_scene.h"
#include "kartix/gl_sphere.h"

struct MapState;

inline constexpr float kPlanetRadius = 3.0f;

struct MapSceneGraph {
    CScene root;
    CLamp* lamp = nullptr;      // owned by the root
    CPlanet* planet = nullptr;  // owned by the root
};

MapSceneGraph& SceneGraph();

// The camera of the state block into the root: distance along z, tilt about
// X, longitude about Y.
void SyncSceneCamera(const MapState& s);

// At window creation: the lamp (GL_LIGHT1) and the planet (radius 3) under
// the root, in place of whatever was there.
void BuildMapScene(MapState& s);
void InitMapScene();
void ResizeMapScene(int width, int height);
// Compiling and drawing a frame put the state block's camera into the root first.
void CompileMapScene(const MapState& s);
void DrawMapScene(const MapState& s);
void DeleteMapScene();
