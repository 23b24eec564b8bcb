#include <algorithm>

#include "common/settings/localisation.h"
#include "common/records/clock_table.h"
#include "settings/preview.h"
#include "settings/preview_state.h"
#include "settings/settings_tree.h"
#include "resources/resource_ids.h"

namespace {

constexpr UINT kNoTrayClocksText = IDS_TRAY_PREVIEW_EMPTY;
constexpr int kHorizontalFlags = kPanelReserveRight;
constexpr int kVerticalFlags = kPanelReserveBottom;

SIZE ClientSize(HWND window) {
    RECT r = {};
    if (window) GetClientRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void DrawPanelInStrip(HDC strip, POINT at, HTHEME theme, void*) {
    ClockPanel& panel = Preview().panel;
    const RECT r = panel.GetRect();
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    CBitmap off;
    if (w <= 0 || h <= 0 || !off.Create(w, h, 0, 0)) return;
    // Without a window the panel paints over what its DC shows already: the strip.
    BitBlt(off.Dc(), 0, 0, w, h, strip, at.x, at.y, SRCCOPY);
    CClock* first = panel.Face(0);
    CGraphics* skin = first ? first->GetSkin() : nullptr;
    const bool builtIn = skin && IsBuiltInStyle(*skin);
    const COLORREF text = skin ? skin->GetTextColor() : 0;
    if (builtIn) skin->SetTextColor(StartPanelTextColour(nullptr));
    panel.Paint(nullptr, off.Dc(), theme);
    if (builtIn) skin->SetTextColor(text);
    BitBlt(strip, at.x, at.y, w, h, off.Dc(), 0, 0, SRCCOPY);
}

}  // namespace

void LoadTrayPreview(ClockRecord* records, int count) {
    PreviewState& p = Preview();
    p.panel.Clear();
    p.panelRecords.clear();
    if (records && count > 0) {
        count = std::min(count, kMaxClocks);
        p.panelRecords.assign(records, records + count);
        for (ClockRecord& r : p.panelRecords) {
            r.alarms = nullptr;
            r.alarmCount = 0;
        }
    }
    if (p.panelRecords.empty()) return;
    p.panel.LoadSkins(g_settings, p.panelRecords.data(), static_cast<int>(p.panelRecords.size()));
    p.lastTrayTaskbar = SIZE{0, 0};
}

void RebuildTrayPreview() {
    std::vector<ClockRecord> records;
    for (const CClockNode* node : TheSettingsTree().clocks) {
        if (node) records.push_back(node->Record());
    }
    LoadTrayPreview(records.data(), static_cast<int>(records.size()));
}

void ClearTrayPreview() {
    PreviewState& p = Preview();
    p.panel.Clear();
    p.panelRecords.clear();
}

int TrayPreviewCount() { return Preview().panel.FaceCount(); }

RECT TrayPreviewRect() { return Preview().panel.GetRect(); }

bool DrawTrayClocksPreview(HWND control, bool force) {
    PreviewState& p = Preview();
    HWND taskbar = PreviewTaskbar();
    if (p.panel.FaceCount() == 0 || !taskbar) return false;
    const SIZE size = ClientSize(taskbar);
    const bool horizontal = size.cy < size.cx;
    const int flags = horizontal ? kHorizontalFlags : kVerticalFlags;
    if (CClock* first = p.panel.Face(0)) {
        if (CGraphics* skin = first->GetSkin()) {
            if (p.refresh) RefreshThemedStyle(*skin);
            if (TakesTaskbarColours(*skin)) skin->SetBackColor(kColourNone);
        }
    }
    const bool resized = size.cx != p.lastTrayTaskbar.cx || size.cy != p.lastTrayTaskbar.cy;
    if (p.panel.Tick(force || resized) == 0 && !force && !resized) return false;
    p.lastTrayTaskbar = size;
    TaskbarTheme theme(control);
    const SIZE area = PreviewClockArea(taskbar, theme.get() != nullptr);
    if (HDC dc = GetDC(control)) {
        p.panel.Layout(dc, theme.get(), std::max<int>(1, area.cx), std::max<int>(1, area.cy), horizontal, flags);
        p.panel.Measure(dc, flags);
        ReleaseDC(control, dc);
    }
    return true;
}

void PaintTrayClocksPreview(const DRAWITEMSTRUCT& item) {
    PreviewState& p = Preview();
    HWND taskbar = PreviewTaskbar();
    if (p.panel.FaceCount() == 0) {
        FillColour(item.hDC, item.rcItem, GetSysColor(COLOR_BTNFACE));
        const std::wstring text = Language().LoadUiString(kNoTrayClocksText);
        const int oldMode = SetBkMode(item.hDC, TRANSPARENT);
        const COLORREF oldColour = SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
        HGDIOBJ oldFont = SelectObject(item.hDC, GetStockObject(DEFAULT_GUI_FONT));
        TextOutW(item.hDC, item.rcItem.left, item.rcItem.top, text.c_str(), static_cast<int>(text.size()));
        SelectObject(item.hDC, oldFont);
        SetTextColor(item.hDC, oldColour);
        SetBkMode(item.hDC, oldMode);
        return;
    }
    if (!taskbar) {
        FillColour(item.hDC, item.rcItem, GetSysColor(COLOR_BTNFACE));
        return;
    }
    // The pages only invalidate; the panel catches up with the time here.
    DrawTrayClocksPreview(item.hwndItem, false);
    const RECT r = p.panel.GetRect();
    PaintTaskbarStrip(item, taskbar, SIZE{r.right - r.left, r.bottom - r.top}, DrawPanelInStrip, nullptr);
}
