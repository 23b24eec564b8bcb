// What the map window does with the globe view: the hover, the drag, the
// fly-to, choosing a city and opening a credit line.
#include <windows.h>

#include "common/platform/system_seam.h"
#include "kartix/globe_view.h"
#include "kartix/map_scene.h"
#include "kartix/map_state.h"
#include "kartix/map_window.h"
#include "kartix/photo_strip.h"

namespace {

void StartFlyTo(MapState& s, double tilt, double longitude) {
    GlobeView().flyTo = PlanFlyTo(s.camera.tilt, tilt, s.camera.longitude, longitude);
    if (s.window) s.flyToTimer = SetTimer(s.window, kFlyToTimer, kFlyToMs, nullptr);
}

}  // namespace

void BuildCityPositions(MapState& s) {
    for (int i = 0; s.cities && i < s.cityCount; ++i) {
        CityRecord& c = s.cities[i];
        const Vector4 p = SphericalToVector(DegreesToRadians(c.latitude), DegreesToRadians(c.longitude),
                                            kPlanetRadius * kCityPositionScale);
        c.map.position[0] = p.x;
        c.map.position[1] = p.y;
        c.map.position[2] = p.z;
        c.map.position[3] = 1.0;
    }
}

void PrepareGlobeFrame(MapState& s) {
    GlobeViewState& v = GlobeView();
    SyncSceneCamera(s);
    FindNearestCity(s.cities, s.cityCount, v.hover.point, kMapLabelRadius, v.labelList, kMaxLabelCities,
                    &v.labelCount);
    if (CLamp* lamp = SceneGraph().lamp) {
        lamp->position[0] = 1.2 * v.hover.point.x;
        lamp->position[1] = 1.2 * v.hover.point.y;
        lamp->position[2] = 1.2 * v.hover.point.z;
        lamp->position[3] = 1.0;
    }
}

void FitCamera(MapState& s) {
    SyncSceneCamera(s);
    GlobeView().limbDepth = FitCameraLimbDepth(SceneGraph().root);
}

bool UpdateHover(MapState& s, int x, int y) {
    GlobeViewState& v = GlobeView();
    SyncSceneCamera(s);
    const CScene& scene = SceneGraph().root;
    v.hover.cursorX = x;
    v.hover.cursorY = y;
    Vector4 p{};
    const bool hit = PickGlobePoint(scene, kPlanetRadius, x, y, true, p);
    if (hit) v.hover.point = p;
    UpdateHoverPoint(v.hover, scene);
    return hit;
}

void BeginDrag(MapState& s) {
    GlobeViewState& v = GlobeView();
    v.dragTilt = s.camera.tilt;
    v.dragLongitude = s.camera.longitude;
    Vector4 p{};
    v.dragGrabbed = PickGlobePoint(SceneGraph().root, kPlanetRadius, s.cursorX, s.cursorY, false, p);
    if (v.dragGrabbed) {
        const LatLong ll = VectorToLatLongDegrees(p);
        v.dragLatitudeDeg = ll.latitude;
        v.dragLongitudeDeg = ll.longitude;
    }
}

void DragGlobe(MapState& s) {
    GlobeViewState& v = GlobeView();
    Vector4 p{};
    SyncSceneCamera(s);
    if (!PickGlobePoint(SceneGraph().root, kPlanetRadius, s.cursorX, s.cursorY, false, p)) return;
    // A drag that began beside the globe grabs the point where it reaches
    // the globe; an older drag's origin would make the view jump.
    if (!v.dragGrabbed) {
        BeginDrag(s);
        return;
    }
    const LatLong ll = VectorToLatLongDegrees(p);
    const int quarter = static_cast<int>(NormalizeAngle(v.dragTilt) / 90.0);
    const double dl = (quarter == 0 || quarter == 3) ? ll.longitude - v.dragLongitudeDeg
                                                     : v.dragLongitudeDeg - ll.longitude;
    s.camera.tilt = RotateAngle(v.dragTilt, -(ll.latitude - v.dragLatitudeDeg));
    s.camera.longitude = RotateAngle(v.dragLongitude, dl);
    SyncSceneCamera(s);
    if (s.window) InvalidateRect(s.window, nullptr, FALSE);
}

int HoveredNearestCity(MapState& s, int& withinRadius) {
    return FindNearestCity(s.cities, s.cityCount, GlobeView().hover.point, kMapLabelRadius, nullptr, 0,
                           &withinRadius);
}

void FlyToHovered(MapState& s) {
    const HoverPoint& h = GlobeView().hover;
    StartFlyTo(s, h.latitudeDeg, 360.0 - h.longitudeDeg);
}

void SelectMapCity(MapState& s, int city) {
    if (!s.cities || city < 0 || city >= s.cityCount) return;
    const CityRecord& c = s.cities[city];
    StartFlyTo(s, c.latitude, 360.0 - c.longitude);
    HoverPoint& h = GlobeView().hover;
    h.point = Vector4{c.map.position[0], c.map.position[1], c.map.position[2], 1.0};
    SyncSceneCamera(s);
    UpdateHoverPoint(h, SceneGraph().root);
    if (AskHostForPhotos(s, city) && s.context.MakeCurrent(s.dc)) ShowCityPhotos(s, city);
}

bool StepFlyTo(MapState& s) {
    FlyToPlan& plan = GlobeView().flyTo;
    const bool more = AdvanceFlyTo(plan, s.camera);
    s.camera.tilt = NormalizeAngle(s.camera.tilt);
    s.camera.longitude = NormalizeAngle(s.camera.longitude);
    SyncSceneCamera(s);
    if (!more) StopFlyTo(s);
    return more;
}

void StopFlyTo(MapState& s) {
    GlobeView().flyTo.running = false;
    if (s.flyToTimer && s.window) KillTimer(s.window, kFlyToTimer);
    s.flyToTimer = 0;
}

bool FlyToRunning() { return GlobeView().flyTo.running; }

void OpenCreditLine(MapState& s, int line) {
    if (line < 0 || line >= kCreditLines) return;
    System().ShellExecuteOpen(s.window, L"open", CreditLineAddress(line), nullptr, L".\\", SW_SHOWNORMAL);
}
