// What the map window asks of the globe's parts: the scene graph, the
// textures with their loader threads, the globe view with picking and the
// fly-to, and the photo strip with the overlay buttons. The window procedure
// drives them only through these interfaces; until a part is in place its
// stand-in does nothing and says so (no globe, no textures, no strip).
#pragma once

#include <windows.h>

struct CityRecord;
struct MapState;

class MapScenePart {
public:
    virtual ~MapScenePart() = default;
    // The lamp (GL_LIGHT1) and the planet (radius 3) under the scene root.
    virtual void Build(MapState& state) = 0;
    virtual void Init() = 0;
    virtual void Resize(int width, int height) = 0;
    virtual void Compile() = 0;
    // The 3D scene of one frame, the camera included.
    virtual void Draw() = 0;
    virtual void DeleteChildren() = 0;
};

class MapTexturePart {
public:
    virtual ~MapTexturePart() = default;
    // At window creation: the cloud layer as the settings say.
    virtual void AttachClouds(MapState& state) = 0;
    // At window creation: earth tiles of a previous window straight to the
    // planet, else the loader thread.
    virtual void AttachEarthOrStartLoader(MapState& state) = 0;
    // The earth loader thread (after a change of the performance factor).
    virtual void StartEarthLoader(MapState& state) = 0;
    // Install mode: fit, split and rewrite map.jpg.
    virtual void RunInstallFit(MapState& state) = 0;
    // MSG_TEXTURE_LOADED with success: (0) start the split, (1) upload.
    virtual void OnTextureLoaded(MapState& state, int step) = 0;
    // MSG_MAP_CLOUDS; false when nothing changed and no redraw is due.
    virtual bool SetClouds(MapState& state, bool on) = 0;
    // Earth tiles only (a failed load); FreeAll also the earth image and the
    // cloud set. Callers hold the texture mutex for FreeAll.
    virtual void FreeEarthTiles(MapState& state) = 0;
    virtual void FreeAll(MapState& state) = 0;
    virtual bool EarthTilesUploaded() const = 0;
};

class GlobeViewPart {
public:
    virtual ~GlobeViewPart() = default;
    virtual void BuildCityPositions(MapState& state) = 0;
    // Before the scene of a frame: the label list and the lamp position.
    virtual void PrepareFrame(MapState& state) = 0;
    virtual void FitCamera(MapState& state) = 0;
    // Stores the cursor (y upward); true when it lies on the globe.
    virtual bool UpdateHover(MapState& state, int x, int y) = 0;
    // Remembers the drag origin (tilt, longitude and the grabbed point); off
    // the globe nothing is grabbed until the drag reaches it.
    virtual void BeginDrag(MapState& state) = 0;
    // Turns the globe so that the grabbed point follows the cursor.
    virtual void Drag(MapState& state) = 0;
    // Nearest city to the hovered point, -1 for none; withinRadius counts
    // the cities within the label radius. No result list: distances stored.
    virtual int NearestCity(MapState& state, int& withinRadius) = 0;
    virtual void FlyToHovered(MapState& state) = 0;
    virtual void SelectCity(MapState& state, int city) = 0;
    // Timer 2: one step; false once the fly-to is over.
    virtual bool StepFlyTo(MapState& state) = 0;
    virtual void StopFlyTo(MapState& state) = 0;
    virtual bool Flying() const = 0;
    virtual int CreditLineAt(MapState& state, int x, int y) = 0;
    virtual void OpenCreditLine(MapState& state, int line) = 0;
    // The 2D layers of a frame above the globe: labels, credits, readout,
    // information and status lines. Orthographic projection is set.
    virtual void Draw2D(MapState& state) = 0;
};

class PhotoStripPart {
public:
    virtual ~PhotoStripPart() = default;
    virtual void BuildOverlay(MapState& state) = 0;
    virtual void DeleteAll(MapState& state) = 0;
    // Sets each button's hover flag (all cleared with clear); the key of the
    // button under the point or 0, whatever clear says.
    virtual int UpdateOverlayHover(MapState& state, int x, int y, bool clear) = 0;
    virtual bool StripEmpty() const = 0;
    // Left edge of the strip column in window pixels.
    virtual int StripLeft(const MapState& state) const = 0;
    virtual bool AllPhotosOnScreen() const = 0;
    virtual void Scroll(MapState& state, int key) = 0;
    virtual void OpenAddPhotoPage(MapState& state) = 0;
    // Photo number of a loaded photo under the point, or -1.
    virtual int PhotoAt(MapState& state, int x, int y) = 0;
    virtual void OpenPhotoPage(MapState& state, int photo) = 0;
    // The strip of a city (index >= 0) or of its country (negative index).
    virtual void ShowStrip(MapState& state, int signedCity) = 0;
    virtual void ShowCityRecord(MapState& state, int city, const CityRecord* record) = 0;
    virtual void OnPhotoReady(MapState& state, int signedCity, int photo) = 0;
    // The strip and the overlay of a frame.
    virtual void Draw(MapState& state) = 0;
};

struct MapParts {
    MapScenePart* scene;
    MapTexturePart* textures;
    GlobeViewPart* view;
    PhotoStripPart* photos;
};

// The parts in use: the stand-ins until the real ones are put in their place
// (each part sets its own pointer once, before the first map window).
MapParts& CurrentMapParts();
