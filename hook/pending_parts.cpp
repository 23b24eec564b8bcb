// The least of the clock panel, tooltip, menu and photo that the taskbar
// clock window needs until their own modules replace these bodies (see
// pending_parts.h). Faces are equal slots side by side (one below the other
// on a vertical taskbar), chosen from the received records the way the panel
// chooses them; nothing is drawn on them.
#include "hook/pending_parts.h"

#include <vector>

#include "common/settings/clock_record.h"
#include "hook/tray_clock.h"
#include "hook/tray_state.h"

namespace {

constexpr int kMaxFaces = 12;
constexpr int kSlotWidth = 72;   // a slot's width on a horizontal taskbar
constexpr int kSlotHeight = 24;  // a slot's height on a vertical taskbar

struct Slot {
    int index;  // the record shown
    RECT rect;  // client coordinates
};

std::vector<Slot> g_slots;
SIZE g_panelSize = {0, 0};

const Slot* FindSlot(int index) {
    for (const Slot& s : g_slots) {
        if (s.index == index) return &s;
    }
    return nullptr;
}

}  // namespace

void PanelClear() {
    g_slots.clear();
    g_panelSize = SIZE{0, 0};
}

void PanelLoadSkins() {
    PanelClear();
    const GlobalSettings& settings = TraySettings();
    int keep = settings.trayclocks;
    if (keep < 1 || keep > kMaxFaces) keep = kMaxFaces;
    std::vector<int> candidates;
    for (int i = 0; i < TrayClockCount(); ++i) {
        const ClockRecord* c = TrayClock(i);
        if (c && c->enabled && !c->on_desktop) candidates.push_back(i);
    }
    const std::size_t first = candidates.size() > static_cast<std::size_t>(keep) ? candidates.size() - keep : 0;
    for (std::size_t k = first; k < candidates.size(); ++k) g_slots.push_back(Slot{candidates[k], RECT{}});
}

int PanelTick(bool force) { return force ? 1 : 0; }

SIZE GetTrayClockArea(HWND window) {
    g_panelSize = SIZE{0, 0};
    if (g_slots.empty()) return g_panelSize;
    RECT parent = {};
    GetClientRect(GetParent(window), &parent);
    const bool horizontal = IsTaskbarHorizontal();
    const int across = horizontal ? parent.bottom - parent.top : parent.right - parent.left;
    const int n = static_cast<int>(g_slots.size());
    for (int k = 0; k < n; ++k) {
        RECT& r = g_slots[k].rect;
        if (horizontal) {
            r = RECT{k * kSlotWidth, 0, (k + 1) * kSlotWidth, across > 0 ? across : kSlotHeight};
        } else {
            r = RECT{0, k * kSlotHeight, across > 0 ? across : kSlotWidth, (k + 1) * kSlotHeight};
        }
        if (ClockRecord* c = TrayClock(g_slots[k].index)) c->clockRect = r;
    }
    const RECT& last = g_slots.back().rect;
    g_panelSize = SIZE{last.right, last.bottom};
    return g_panelSize;
}

void ImposePanelSize(HWND window, WINDOWPOS* pos) {
    if (!pos) return;
    const SIZE size = GetTrayClockArea(window);
    if (!(pos->flags & SWP_NOSIZE) && g_tray.visible) {
        pos->cx = size.cx;
        pos->cy = size.cy;
    }
}

void PanelPaint(HWND window, HDC dc, HTHEME theme) {
    (void)theme;
    if (g_panelSize.cx <= 0 || g_panelSize.cy <= 0) return;
    RECT r = {0, 0, g_panelSize.cx, g_panelSize.cy};
    (void)window;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
}

int HitTestClock(int x, int y) {
    const POINT p = {x, y};
    for (const Slot& s : g_slots) {
        if (PtInRect(&s.rect, p)) return s.index;
    }
    return -1;
}

bool PanelClockRect(int index, RECT* rect) {
    const Slot* s = FindSlot(index);
    if (!s || !rect) return false;
    *rect = s->rect;
    return true;
}

bool PanelHoverTest(int index, POINT client) {
    const Slot* s = FindSlot(index);
    return s && PtInRect(&s->rect, client);
}

bool PanelIsTimerFace(int index) {
    const ClockRecord* c = FindSlot(index) ? TrayClock(index) : nullptr;
    return c && IsTimerClock(*c);
}

void HoverClock(HWND clockWindow, int index, int photoNumber, bool request) {
    (void)clockWindow;
    (void)photoNumber;
    (void)request;
    if (!TraySettings().tooltips || !TrayClock(index)) return;
    g_tray.hoveredClock = index;
}

void GetClockTooltipText(HWND clockWindow, NMTTDISPINFOW* info) {
    (void)clockWindow;
    if (info) info->lpszText = const_cast<wchar_t*>(L"");
}

void GetAllClocksTooltipText(HWND clockWindow, NMTTDISPINFOW* info) { GetClockTooltipText(clockWindow, info); }

void NoteTooltipTime() {}

bool PlaceTooltip(HWND clockWindow, RECT* rect) {
    (void)clockWindow;
    if (rect) SetRectEmpty(rect);
    return false;
}

bool PaintTooltipBody(HWND tooltip) {
    (void)tooltip;
    return false;
}

HMENU BuildClockMenu(HWND clockWindow, int index) {
    (void)clockWindow;
    (void)index;
    return nullptr;
}

void DropPhoto() {}
