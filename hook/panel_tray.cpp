#include "hook/panel_tray.h"

#include "common/records/clock_table.h"
#include "common/platform/theme_helpers.h"
#include "hook/hook_process.h"
#include "hook/hook_shared.h"
#include "common/taskbar/clock_panel.h"
#include "common/taskbar/tray_limits.h"
#include "hook/tray_clock.h"
#include "hook/tray_state.h"

namespace {

HWND Taskbar(HWND window) {
    if (g_hookShared.taskbar && IsWindow(g_hookShared.taskbar)) return g_hookShared.taskbar;
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (taskbar) return taskbar;
    HWND parent = GetParent(window);
    return parent ? parent : window;
}

// A window's rectangle in the client coordinates of another.
RECT RectIn(HWND window, HWND other) {
    RECT r = {0, 0, 0, 0};
    if (!window) return r;
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, other, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

struct ScopedClockTheme {
    explicit ScopedClockTheme(HWND window) { OpenThemeIfActive(theme, window, L"CLOCK"); }
    ~ScopedClockTheme() { CloseThemeHandle(theme); }
    ScopedClockTheme(const ScopedClockTheme&) = delete;
    ScopedClockTheme& operator=(const ScopedClockTheme&) = delete;
    HTHEME theme = nullptr;
};

struct ScopedWindowDc {
    explicit ScopedWindowDc(HWND w) : window(w), dc(GetDC(w)) {}
    ~ScopedWindowDc() {
        if (dc) ReleaseDC(window, dc);
    }
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
    HWND window;
    HDC dc;
};

SIZE PanelSize() {
    const RECT r = TrayPanel().GetRect();
    return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace

ClockPanel& TrayPanel() {
    // Made on first use, on the taskbar's thread, not while the library is
    // being attached to Explorer.
    static ClockPanel panel;
    return panel;
}

void PanelLoadSkins() {
    SetThemesAvailable(g_hookProcess.themes);
    // The faces read the local-zone highlight from the program's general
    // options; inside Explorer those are the copy the main program sent.
    g_settings = TraySettings();
    TrayPanel().LoadSkins(TraySettings(), g_clocks, TrayClockCount());
}

void PanelClear() { TrayPanel().Clear(); }

int PanelTick(bool force) { return TrayPanel().Tick(force); }

void LayoutTrayClocks(HWND window, int maxWidth, int maxHeight, bool horizontal, int flags) {
    ClockPanel& panel = TrayPanel();
    ScopedWindowDc dc(window);
    ScopedClockTheme theme(window);
    panel.Layout(dc.dc, theme.theme, maxWidth, maxHeight, horizontal, flags);
    panel.Measure(dc.dc, flags);
}

SIZE GetTrayClockArea(HWND window) {
    HWND taskbar = Taskbar(window);
    HWND parent = GetParent(window);
    bool themed = false;
    {
        ScopedClockTheme theme(window);
        themed = theme.theme != nullptr;
    }
    const TrayLimits limits = TrayClockLimits(taskbar, parent, themed);
    RECT bar = {0, 0, 0, 0};
    GetClientRect(taskbar, &bar);
    const RECT clock = RectIn(window, taskbar);
    int flags;
    if (limits.horizontal) {
        flags = (bar.right - clock.right) < clock.left ? kPanelMarginLeft : kPanelReserveRight;
    } else {
        flags = (bar.bottom - clock.bottom) < clock.top ? kPanelMarginTop : kPanelReserveBottom;
    }
    LayoutTrayClocks(window, limits.maxWidth, limits.maxHeight, limits.horizontal, flags);
    return PanelSize();
}

void ImposePanelSize(HWND window, WINDOWPOS* pos) {
    if (!pos) return;
    const SIZE size = GetTrayClockArea(window);
    RECT parent = {0, 0, 0, 0};
    if (HWND p = GetParent(window)) GetClientRect(p, &parent);
    const int parentWidth = parent.right - parent.left;
    const int parentHeight = parent.bottom - parent.top;
    if (!(pos->flags & SWP_NOMOVE)) {
        if (IsTaskbarHorizontal()) {
            if (g_hookProcess.themes || parentHeight < GetSystemMetrics(SM_CYSMICON) + 4) {
                pos->y = (parentHeight - size.cy) / 2;
            }
        } else if (g_hookProcess.themes) {
            pos->x = (parentWidth - size.cx) / 2;
        }
    }
    if (!(pos->flags & SWP_NOSIZE) && g_tray.visible) {
        pos->cx = size.cx;
        pos->cy = size.cy;
    }
}

void PanelPaint(HWND window, HDC dc, HTHEME theme) { TrayPanel().Paint(window, dc, theme); }

int HitTestClock(int x, int y) {
    const ClockPanel& panel = TrayPanel();
    return panel.RecordIndexOf(panel.HitTest(x, y));
}

bool PanelClockRect(int index, RECT* rect) {
    const CClock* face = TrayPanel().FindRecord(index);
    if (!face || !rect) return false;
    *rect = face->GetRect();
    return true;
}

bool PanelHoverTest(int index, POINT client) {
    const CClock* face = TrayPanel().FindRecord(index);
    return face && face->HitTestButton(client.x, client.y);
}

bool PanelIsTimerFace(int index) {
    const CClock* face = TrayPanel().FindRecord(index);
    const ClockRecord* record = face ? face->GetRecord() : nullptr;
    // Under an analogue skin timers get no face at all, so a timer's face is
    // always a timer face.
    return record && IsTimerClock(*record);
}
