// One frame of the map window, the hand-over of loaded textures and the
// reload after a change of the performance factor.
#include <windows.h>

#include <GL/gl.h>

#include <cstdio>

#include "kartix/globe_view.h"
#include "kartix/map_scene.h"
#include "kartix/map_state.h"
#include "kartix/map_window.h"
#include "kartix/photo_strip.h"
#include "kartix/planet_textures.h"

namespace {

constexpr wchar_t kTextureErrorFormat[] =
    L"Can not load textures.\n Check for the \"%s\" presence or make it smaller.";
constexpr wchar_t kEarthTextureName[] = L"map.jpg";

}  // namespace

void PaintMapFrame(MapState& s) {
    const DWORD start = GetTickCount();
    PAINTSTRUCT ps;
    HDC paintDc = BeginPaint(s.window, &ps);
    HDC dc = s.dcBorrowed ? s.dc : paintDc;
    if (!dc || !s.context.MakeCurrent(dc)) {
        EndPaint(s.window, &ps);
        return;
    }
    RECT client{};
    GetClientRect(s.window, &client);
    s.clientWidth = client.right > 0 ? client.right : 1;
    s.clientHeight = client.bottom > 0 ? client.bottom : 1;
    ResizeMapScene(s.clientWidth, s.clientHeight);
    PrepareGlobeFrame(s);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    DrawMapScene(s);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, s.clientWidth, 0.0, s.clientHeight, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    DrawGlobeTexts(s);
    DrawPhotoStrip(s);
    DrawOverlay(s);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glFlush();
    SwapBuffers(dc);

    const DWORD ms = GetTickCount() - start;
    s.fps = ms ? 1000.0 / ms : 1001.0;
    const bool busy = s.loadingTexture != 0 || s.splittingTextures != 0;
    const PerfVerdict verdict = AdaptPerfFactor(s.perf, static_cast<int>(ms), busy);
    EndPaint(s.window, &ps);
    if (verdict == PerfVerdict::kReload) ReloadAfterPerfChange(s, s.perf.factor);
    if (s.showFps || verdict == PerfVerdict::kMoreFrames) RedrawMap(s);
}

void OnMapTextureLoaded(MapState& s, WPARAM step, LPARAM success) {
    if (success) {
        HandOverEarthTexture(s, static_cast<int>(step));
        return;
    }
    DropEarthTiles(s);
    RedrawMap(s);
    wchar_t text[256];
    swprintf(text, 256, kTextureErrorFormat, kEarthTextureName);
    MessageBoxW(GetParent(s.window), text, L"Error", MB_ICONERROR);
}

void ChangePerfFactor(MapState& s, bool doubled) {
    const int factor = ChangedPerfFactor(s.perf.factor, doubled);
    if (factor != s.perf.factor) ReloadAfterPerfChange(s, factor);
}

void ReloadAfterPerfChange(MapState& s, int factor) {
    SetPerfFactor(s.perf, factor);
    if (s.context.MakeCurrent(s.dc)) CompileMapScene(s);
    s.perf.framesTested = kPerfTestIdle;
    RedrawMap(s);
    StartEarthLoader(s);
}
