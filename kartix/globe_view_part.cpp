// The globe view as the map window drives it: hover, drag, fly-to, labels,
// credit lines and the status lines of a frame.
#include <windows.h>

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

#include "common/time/system_seam.h"
#include "kartix/globe_view.h"
#include "kartix/map_parts.h"
#include "kartix/map_scene.h"
#include "kartix/map_state.h"
#include "kartix/map_textures.h"
#include "kartix/map_window.h"

namespace {

class GlobeViewImpl final : public GlobeViewPart {
public:
    void BuildCityPositions(MapState& s) override {
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

    void PrepareFrame(MapState& s) override {
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

    void FitCamera(MapState& s) override {
        SyncSceneCamera(s);
        GlobeView().limbDepth = FitCameraLimbDepth(SceneGraph().root);
    }

    bool UpdateHover(MapState& s, int x, int y) override {
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

    void BeginDrag(MapState& s) override {
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

    void Drag(MapState& s) override {
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

    int NearestCity(MapState& s, int& withinRadius) override {
        return FindNearestCity(s.cities, s.cityCount, GlobeView().hover.point, kMapLabelRadius, nullptr, 0,
                               &withinRadius);
    }

    void FlyToHovered(MapState& s) override {
        const HoverPoint& h = GlobeView().hover;
        StartFlyTo(s, h.latitudeDeg, 360.0 - h.longitudeDeg);
    }

    void SelectCity(MapState& s, int city) override {
        if (!s.cities || city < 0 || city >= s.cityCount) return;
        const CityRecord& c = s.cities[city];
        StartFlyTo(s, c.latitude, 360.0 - c.longitude);
        HoverPoint& h = GlobeView().hover;
        h.point = Vector4{c.map.position[0], c.map.position[1], c.map.position[2], 1.0};
        SyncSceneCamera(s);
        UpdateHoverPoint(h, SceneGraph().root);
        if (AskHostForPhotos(s, city) && s.context.MakeCurrent(s.dc)) CurrentMapParts().photos->ShowStrip(s, city);
    }

    bool StepFlyTo(MapState& s) override {
        FlyToPlan& plan = GlobeView().flyTo;
        const bool more = AdvanceFlyTo(plan, s.camera);
        s.camera.tilt = NormalizeAngle(s.camera.tilt);
        s.camera.longitude = NormalizeAngle(s.camera.longitude);
        SyncSceneCamera(s);
        if (!more) StopFlyTo(s);
        return more;
    }

    void StopFlyTo(MapState& s) override {
        GlobeView().flyTo.running = false;
        if (s.flyToTimer && s.window) KillTimer(s.window, kFlyToTimer);
        s.flyToTimer = 0;
    }

    bool Flying() const override { return GlobeView().flyTo.running; }

    int CreditLineAt(MapState& s, int x, int y) override { return ::CreditLineAt(s, x, y); }

    void OpenCreditLine(MapState& s, int line) override {
        if (line < 0 || line >= kCreditLines) return;
        System().ShellExecuteOpen(s.window, L"open", CreditLineAddress(line), nullptr, L".\\", SW_SHOWNORMAL);
    }

    void Draw2D(MapState& s) override {
        GlobeViewState& v = GlobeView();
        DrawCityLabels(s, v.labelList, v.labelCount);
        const int step = s.font.Height() + 2;
        int y = 4;
        for (int i = 0; i < kCreditLines; ++i, y += step) {
            const char* text = CreditLineText(i);
            const int w = s.font.TextWidth(text, -1);
            const bool over = s.cursorX >= 4 && s.cursorX < 4 + w && s.cursorY >= y && s.cursorY < y + step;
            if (over)
                glColor3d(0.0, 1.0, 0.33);
            else
                glColor3d(0.0, 0.75, 0.25);
            glBegin(GL_LINES);
            glVertex2d(4.0, y - 2.0);
            glVertex2d(4.0 + w, y - 2.0);
            glEnd();
            s.font.DrawTextA(4.0f, static_cast<float>(y), 0.0f, text, -1);
        }
        char text[256];
        FormatLatLong(v.hover.latitudeDeg, v.hover.longitudeDeg, text, sizeof(text));
        glColor3d(1.0, 1.0, 1.0);
        s.font.DrawTextA(4.0f, static_cast<float>(y), 0.0f, text, -1);
        y += step;
        if (s.showInfo) {
            const CPlanet* planet = SceneGraph().planet;
            if (planet && planet->HasEarth()) {
                int n = snprintf(text, sizeof(text),
                                 "per. factor: %d%%, atmo layers: %d, slices: %d, stacks %d, texture size %dx%d(max "
                                 "%dx%d)",
                                 s.perf.factor, s.perf.layers, s.perf.slices, s.perf.stacks, 4 * planet->tileWidth,
                                 2 * planet->tileHeight, 4 * s.perf.cardMaxTexture, 2 * s.perf.cardMaxTexture);
                if (s.perf.framesTested != kPerfTestIdle && n > 0 && n < static_cast<int>(sizeof(text)))
                    snprintf(text + n, sizeof(text) - n, ", test %d/%d", s.perf.framesTested, kPerfTestFrames);
                s.font.DrawTextA(4.0f, static_cast<float>(y), 0.0f, text, -1);
                y += step + 4;
            }
            snprintf(text, sizeof(text), "Renderer: %s, Version: %s", s.context.renderer(), s.context.version());
            s.font.DrawTextA(4.0f, static_cast<float>(y), 0.0f, text, -1);
            y += step;
            snprintf(text, sizeof(text), "Vendor: %s", s.context.vendor());
            s.font.DrawTextA(4.0f, static_cast<float>(y), 0.0f, text, -1);
            y += step;
        }
        if (s.showFps) {
            if (s.fps > 1000.0)
                snprintf(text, sizeof(text), "FPS N/A");
            else
                snprintf(text, sizeof(text), "%1.1f FPS", s.fps);
            s.font.DrawTextA(4.0f, static_cast<float>(y), 0.0f, text, -1);
            y += step;
        }
        glColor3d(1.0, 0.0, 0.0);
        if (s.loadingTexture) {
            s.font.DrawTextA(4.0f, static_cast<float>(y), 0.0f, "Loading texture...", -1);
            y += step;
        }
        if (s.splittingTextures)
            s.font.DrawTextA(4.0f, static_cast<float>(y), 0.0f, "Rescaling and splitting textures...", -1);
    }

private:
    static void StartFlyTo(MapState& s, double tilt, double longitude) {
        GlobeView().flyTo = PlanFlyTo(s.camera.tilt, tilt, s.camera.longitude, longitude);
        if (s.window) s.flyToTimer = SetTimer(s.window, kFlyToTimer, kFlyToMs, nullptr);
    }
};

}  // namespace

GlobeViewPart& GlobeViewPartImpl() {
    static GlobeViewImpl view;
    return view;
}
