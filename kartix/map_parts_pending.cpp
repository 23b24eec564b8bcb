// The parts of the map window: the scene and the textures are in place; the
// view and the photo strip are stand-ins until theirs are. The stand-ins keep
// the window honest: the cursor never hits the globe and no strip is shown.
#include <windows.h>

#include <GL/gl.h>

#include "kartix/map_parts.h"
#include "kartix/map_scene.h"
#include "kartix/map_state.h"

namespace {

constexpr int kStripWidth = 108;

class PendingView final : public GlobeViewPart {
public:
    void BuildCityPositions(MapState&) override {}
    void PrepareFrame(MapState&) override {}
    void FitCamera(MapState&) override {}
    bool UpdateHover(MapState&, int, int) override { return false; }
    void BeginDrag(MapState&) override {}
    void Drag(MapState&) override {}
    int NearestCity(MapState&, int& withinRadius) override {
        withinRadius = 0;
        return -1;
    }
    void FlyToHovered(MapState&) override {}
    void SelectCity(MapState&, int) override {}
    bool StepFlyTo(MapState&) override { return false; }
    void StopFlyTo(MapState&) override {}
    bool Flying() const override { return false; }
    int CreditLineAt(MapState&, int, int) override { return -1; }
    void OpenCreditLine(MapState&, int) override {}
    void Draw2D(MapState&) override {}
};

class PendingPhotos final : public PhotoStripPart {
public:
    void BuildOverlay(MapState&) override {}
    void DeleteAll(MapState&) override {}
    int UpdateOverlayHover(MapState&, int, int, bool) override { return 0; }
    bool StripEmpty() const override { return true; }
    int StripLeft(const MapState& state) const override { return state.clientWidth - kStripWidth; }
    bool AllPhotosOnScreen() const override { return true; }
    void Scroll(MapState&, int) override {}
    void OpenAddPhotoPage(MapState&) override {}
    int PhotoAt(MapState&, int, int) override { return -1; }
    void OpenPhotoPage(MapState&, int) override {}
    void ShowStrip(MapState&, int) override {}
    void ShowCityRecord(MapState&, int, const CityRecord*) override {}
    void OnPhotoReady(MapState&, int, int) override {}
    void Draw(MapState&) override {}
};

}  // namespace

MapParts& CurrentMapParts() {
    static PendingView view;
    static PendingPhotos photos;
    static MapParts parts{&SceneGraphPart(), &TextureLoaderPart(), &view, &photos};
    return parts;
}
