// The texts of a frame above the globe: city labels, credit lines, the
// hovered point's readout, the information and status lines.
#include <windows.h>

#include <GL/gl.h>

#include <cstdio>

#include "kartix/globe_view.h"
#include "kartix/map_scene.h"
#include "kartix/map_state.h"

void DrawGlobeTexts(MapState& s) {
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
