// Creation and destruction of the map window, and its size changes.
#include <windows.h>

#include <GL/gl.h>

#include "common/mapdialog/map_plugin_errors.h"
#include "common/settings/time_format.h"
#include "kartix/globe_view.h"
#include "kartix/map_scene.h"
#include "kartix/map_state.h"
#include "kartix/map_textures.h"
#include "kartix/map_window.h"
#include "kartix/photo_strip.h"
#include "kartix/planet_textures.h"

namespace {

constexpr wchar_t kUiFontName[] = L"MS Sans Serif";
constexpr int kUiFontHeight = -8;

}  // namespace

LRESULT OnMapCreate(MapState& s, HWND window) {
    s.creationStatus = 0;
    // One map window at a time: the state block holds one DC and one context.
    // The host is told why, or it would take the missing window for success.
    if (s.window && s.window != window && IsWindow(s.window)) {
        s.creationStatus = MAP_ERR_MAKE_CURRENT;
        s.lastSysError = ERROR_BUSY;
        return -1;
    }
    s.window = window;
    s.dcBorrowed = MapSurfaceOverride() != nullptr;
    s.dc = s.dcBorrowed ? MapSurfaceOverride() : GetDC(window);
    s.uiFont = CreateFontW(kUiFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           kUiFontName);
    if (s.dc && s.uiFont) s.replacedFont = SelectObject(s.dc, s.uiFont);
    s.handCursor = LoadCursorW(nullptr, IDC_HAND);

    if (!s.dc) {
        // Without a DC no context can be made current: say so rather than
        // create a window that never draws.
        s.creationStatus = MAP_ERR_MAKE_CURRENT;
        s.lastSysError = GetLastError();
        return -1;  // WM_DESTROY follows and gives everything back
    }
    const DWORD status = s.context.Create(s.dc, MapSurfacePixelFormatFlags());
    if (status != 0) {
        s.creationStatus = status;
        s.lastSysError = s.context.win32Error();
        return -1;
    }
    s.font.Create(s.dc, false);

    GLint maxTexture = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
    s.perf.cardMaxTexture = maxTexture;
    s.perf.currentMaxTexture = maxTexture;
    ReadMapSettings(s.settingsPath, s.settings, s.perf);
    // A child window hears of no locale change: each map reads the locale
    // afresh for its label times.
    ReadLocaleTimeFormat();

    s.camera.distance = kCameraHomeDistance;
    s.camera.tilt = kCameraHomeTilt;

    BuildMapScene(s);
    AttachCloudTiles(s);
    if (s.installMode)
        RunInstallFitLoop(s);
    else
        AttachEarthOrStartLoader(s);
    InitMapScene();
    BuildOverlay(s);
    BuildCityPositions(s);
    s.frameStart = GetTickCount();
    return 0;
}

void OnMapDestroy(MapState& s) {
    // GL names are given back with the context current.
    const bool current = s.context.context() && s.context.MakeCurrent(s.dc);
    if (current) {
        DeleteMapScene();
        DeletePhotoStrip();
    }
    if (s.window) {
        KillTimer(s.window, kRepeatTimer);
        KillTimer(s.window, kHoverTimer);
        KillTimer(s.window, kFlyToTimer);
    }
    s.repeatTimer = 0;
    s.flyToTimer = 0;
    s.hoverTimer = HoverTimerRecord{};
    StopFlyTo(s);
    if (current) s.font.Delete();
    s.context.Release();
    if (s.dc && s.replacedFont) SelectObject(s.dc, s.replacedFont);
    s.replacedFont = nullptr;
    if (s.uiFont) DeleteObject(s.uiFont);
    s.uiFont = nullptr;
    // IDC_HAND is a shared system cursor: it is not ours to destroy.
    s.handCursor = nullptr;
    if (s.dc && !s.dcBorrowed) ReleaseDC(s.window, s.dc);
    s.dc = nullptr;
    s.dcBorrowed = false;
    s.heldButtonKey = 0;
    s.heldCreditLine = -1;
    s.dragging = false;
    s.leftPressed = false;
    s.mouseInside = false;
    s.window = nullptr;
}

void OnMapSize(MapState& s, int width, int height) {
    CancelHoverTimer(s);
    s.clientWidth = width > 0 ? width : 1;
    s.clientHeight = height > 0 ? height : 1;
    if (!s.context.MakeCurrent(s.dc)) return;
    ResizeMapScene(s.clientWidth, s.clientHeight);
    CompileMapScene(s);
    FitCamera(s);
}
