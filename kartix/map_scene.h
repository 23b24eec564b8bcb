// The map's scene: the root with the camera, the lamp that follows the
// cursor and the planet, and the two parts the map window drives (the scene
// and the textures with their workers).
#pragma once

#include "kartix/gl_scene.h"
#include "kartix/gl_sphere.h"
#include "kartix/map_parts.h"

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

MapScenePart& SceneGraphPart();
MapTexturePart& TextureLoaderPart();
