// The parts of the map window, each in its own files.
#include "kartix/map_parts.h"
#include "kartix/globe_view.h"
#include "kartix/map_scene.h"
#include "kartix/photo_strip.h"

MapParts& CurrentMapParts() {
    static MapParts parts{&SceneGraphPart(), &TextureLoaderPart(), &GlobeViewPartImpl(), &PhotoStripPartImpl()};
    return parts;
}
