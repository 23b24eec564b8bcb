// The globe: a plain sphere, and the planet with its atmosphere shells, its
// tiled earth and cloud textures and the city points.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include "kartix/gl_object.h"
#include "kartix/gl_texture.h"
#include "kartix/perf_factor.h"

struct CityRecord;

class CSphere : public CGLObject {
public:
    CSphere() = default;
    ~CSphere() override;
    void Compile() override;
    void Draw() override;

    // The tessellation and atmosphere of the performance factor; a sphere
    // without one uses the values at load.
    void SetDetail(const PerfState* detail) { detail_ = detail; }
    const PerfState& detail() const;

    GLuint listName = 0;  // 0 none
    float radius = 1.0f;

protected:
    // A name of its own from glGenLists, kept across compiles.
    bool BeginList();
    void DeleteList();

private:
    const PerfState* detail_ = nullptr;
};

class CPlanet : public CSphere {
public:
    CPlanet() = default;
    ~CPlanet() override;
    void Compile() override;
    void Draw() override;

    // The tile sizes from tile 0 and the upload; the GL error, or 0.
    GLenum SetEarthTiles(const TileSet* tiles);
    // Clouds need a second texture unit: without one, or without tiles, the
    // cloud names are deleted.
    GLenum SetCloudTiles(const TileSet* tiles);
    // The host's city table, drawn as points (their label flags pick the colour).
    void SetCities(const CityRecord* cities, int count) {
        cities_ = cities;
        cityCount_ = cities ? count : 0;
    }
    bool HasEarth() const { return earthNames[0] != 0; }
    bool HasClouds() const { return cloudNames[0] != 0; }

    void DrawAtmosphere();
    void DrawTiledSphere();

    GLuint earthNames[kTileCount] = {};
    GLuint cloudNames[kTileCount] = {};
    int tileWidth = 0;
    int tileHeight = 0;

private:
    void BindTile(int tile) const;
    void TexCoord(float u, float v) const;
    void DrawCityPoints() const;

    const CityRecord* cities_ = nullptr;
    int cityCount_ = 0;
};
