// The globe's textures on the planet: what the map window does with the
// earth and cloud tiles of map_textures when it is created, when a worker
// hands over, when the clouds are switched and when a load fails.
#pragma once

struct MapState;

// At window creation: the cloud layer as the settings say.
void AttachCloudTiles(MapState& s);
// At window creation: earth tiles of a previous window straight to the
// planet, else the loader thread.
void AttachEarthOrStartLoader(MapState& s);
// The earth loader thread (also after a change of the performance factor).
void StartEarthLoader(MapState& s);
// MSG_TEXTURE_LOADED with success: step 0 starts the split, step 1 uploads.
void HandOverEarthTexture(MapState& s, int step);
// MSG_MAP_CLOUDS; false when nothing changed and no redraw is due.
bool SetCloudLayer(MapState& s, bool on);
// A failed load: the planet loses its earth tiles and they are freed.
void DropEarthTiles(MapState& s);
// The earth image and both tile sets; callers hold the texture mutex.
void FreeAllTextures();
bool EarthTilesUploaded();
