#include <algorithm>

#include "common/records/protocol.h"
#include "common/taskbar/tray_limits.h"
#include "common/platform/theme_library.h"
#include "settings/preview.h"
#include "settings/preview_state.h"

namespace {

constexpr int kStartPanelTextPart = 8;
constexpr int kTextColourProperty = 3803;  // TMT_TEXTCOLOR
constexpr int kTaskbarHorizontalPart = 1;
constexpr int kTaskbarVerticalPart = 2;
constexpr int kSampleSide = 8;
constexpr int kStripEndGap = 4;

bool ThemesOn() {
    EnsureThemeLibrary();
    const ThemeLibrary& t = Themes();
    return t.available && t.themesActive && t.OpenThemeData && t.CloseThemeData;
}

}  // namespace

bool TakesTaskbarColours(const CGraphics& skin) {
    const int mode = skin.GetFontSource();
    return mode == kFontSourceSystemClock || mode == kFontSourceClassic;
}

TaskbarTheme::TaskbarTheme(HWND window, const wchar_t* themeClass) {
    if (ThemesOn()) theme_ = Themes().OpenThemeData(window, themeClass);
}

TaskbarTheme::~TaskbarTheme() {
    if (theme_ && Themes().CloseThemeData) Themes().CloseThemeData(theme_);
}

COLORREF StartPanelTextColour(HWND window) {
    COLORREF colour = GetSysColor(COLOR_BTNTEXT);
    TaskbarTheme panel(window, L"STARTPANEL");
    COLORREF themed = 0;
    if (panel.get() && Themes().GetThemeColor &&
        SUCCEEDED(Themes().GetThemeColor(panel.get(), kStartPanelTextPart, 0, kTextColourProperty, &themed))) {
        colour = themed;
    }
    return colour;
}

void SampleTaskbarColours(CGraphics& skin, HWND window) {
    if (!TakesTaskbarColours(skin)) return;
    COLORREF text = GetSysColor(COLOR_BTNTEXT);
    COLORREF back = GetSysColor(COLOR_BTNFACE);
    if (ThemesOn()) {
        text = StartPanelTextColour(window);
        TaskbarTheme taskbar(window);
        CBitmap sample;
        if (taskbar.get() && Themes().DrawThemeBackground && sample.Create(kSampleSide, kSampleSide, 0, 0)) {
            const RECT all = {0, 0, kSampleSide, kSampleSide};
            if (SUCCEEDED(Themes().DrawThemeBackground(taskbar.get(), sample.Dc(), kTaskbarHorizontalPart, 0, &all,
                                                        nullptr))) {
                back = GetPixel(sample.Dc(), 0, 0);
            }
        }
    }
    skin.SetTextColor(text);
    skin.SetBackColor(back);
}

void RefreshThemedStyle(CGraphics& skin) {
    if (skin.GetSkinFlags() != 0 || skin.GetStyleKind() == kStylePlain) return;
    skin.SetStyleKind(ThemesOn() ? kStyleThemedFrame : kStyleClassicFrame);
}

bool IsBuiltInStyle(const CGraphics& skin) { return IsBuiltInStyleName(skin.GetName()); }

COLORREF DesktopColour() { return GetSysColor(COLOR_BACKGROUND); }

void FillColour(HDC dc, const RECT& rect, COLORREF colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    const COLORREF old = SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

SIZE PreviewClockArea(HWND taskbar, bool themed) {
    // The room the taskbar clock itself lays its clocks out in: the preview
    // then puts them in as many rows as the taskbar does.
    HWND notify = taskbar ? FindWindowExW(taskbar, nullptr, kTrayNotifyClass, nullptr) : nullptr;
    const TrayLimits limits = TrayClockLimits(taskbar, notify, themed);
    return SIZE{limits.maxWidth, limits.maxHeight};
}

void DrawTaskbarImitation(HDC dc, int width, int height, bool horizontal, HWND taskbar, HTHEME theme) {
    const RECT all = {0, 0, width, height};
    if (theme) {
        RECT client = {};
        RECT desktop = {};
        RECT overlap = {};
        if (taskbar && GetClientRect(taskbar, &client)) {
            MapWindowPoints(taskbar, nullptr, reinterpret_cast<POINT*>(&client), 2);
            GetWindowRect(GetDesktopWindow(), &desktop);
        }
        const int tw = client.right - client.left;
        const int th = client.bottom - client.top;
        if (tw > 2 && th > 2 && IntersectRect(&overlap, &client, &desktop)) {
            // The real taskbar's own pixels: a line of it, stretched.
            if (HDC source = GetDC(taskbar)) {
                const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
                if (horizontal) {
                    StretchBlt(dc, 0, 0, width, height, source, tw - 2, 0, 1, th, SRCCOPY);
                } else {
                    StretchBlt(dc, 0, 0, width, height, source, 0, th - 2, tw, 1, SRCCOPY);
                }
                SetStretchBltMode(dc, oldMode);
                ReleaseDC(taskbar, source);
                return;
            }
        }
        if (Themes().DrawThemeBackground &&
            SUCCEEDED(Themes().DrawThemeBackground(theme, dc, horizontal ? kTaskbarHorizontalPart : kTaskbarVerticalPart,
                                                   0, &all, nullptr))) {
            return;
        }
    }
    FillColour(dc, all, GetSysColor(COLOR_BTNFACE));
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    if (horizontal) {
        FillColour(dc, RECT{0, 0, width, 1}, highlight);
    } else {
        FillColour(dc, RECT{0, 0, 1, height}, highlight);
    }
    FillColour(dc, RECT{width - 1, 0, width, height}, shadow);
    FillColour(dc, RECT{0, height - 1, width, height}, shadow);
}

void PaintTaskbarStrip(const DRAWITEMSTRUCT& item, HWND taskbar, SIZE content, StripContent draw, void* context) {
    const RECT rc = item.rcItem;
    const int cw = rc.right - rc.left;
    const int ch = rc.bottom - rc.top;
    if (cw <= 0 || ch <= 0) return;
    RECT client = {};
    GetClientRect(taskbar, &client);
    const bool horizontal = client.bottom < client.right;
    const int thickness = std::max<int>(1, horizontal ? client.bottom : client.right);
    int stripW = horizontal ? cw : std::min(thickness, cw);
    int stripH = horizontal ? std::min(thickness, ch) : ch;
    // Content longer than the control is drawn on a longer strip that is
    // then shrunk to the control, so that no clock is cut off.
    const int need = (horizontal ? content.cx : content.cy) + 2 * kStripEndGap;
    if (horizontal && need > stripW) stripW = need;
    if (!horizontal && need > stripH) stripH = need;
    TaskbarTheme theme(item.hwndItem);
    CBitmap strip;
    if (!strip.Create(stripW, stripH, 0, 0)) {
        FillColour(item.hDC, rc, GetSysColor(COLOR_BTNFACE));
        return;
    }
    DrawTaskbarImitation(strip.Dc(), stripW, stripH, horizontal, taskbar, theme.get());
    POINT at = horizontal ? POINT{stripW - kStripEndGap - content.cx, (stripH - content.cy) / 2}
                          : POINT{(stripW - content.cx) / 2, stripH - kStripEndGap - content.cy};
    if (draw) draw(strip.Dc(), at, theme.get(), context);

    // The strip as shown: the control's length, its thickness shrunk alike.
    int shownW = stripW;
    int shownH = stripH;
    if (horizontal && stripW > cw) {
        shownW = cw;
        shownH = std::max(1, MulDiv(stripH, cw, stripW));
    } else if (!horizontal && stripH > ch) {
        shownH = ch;
        shownW = std::max(1, MulDiv(stripW, ch, stripH));
    }
    const int sx = horizontal ? 0 : (cw - shownW) / 2;
    const int sy = horizontal ? (ch - shownH) / 2 : 0;
    const RECT before = horizontal ? RECT{rc.left, rc.top, rc.right, rc.top + sy}
                                   : RECT{rc.left, rc.top, rc.left + sx, rc.bottom};
    const RECT after = horizontal ? RECT{rc.left, rc.top + sy + shownH, rc.right, rc.bottom}
                                  : RECT{rc.left + sx + shownW, rc.top, rc.right, rc.bottom};
    FillColour(item.hDC, before, DesktopColour());
    if (after.right > after.left && after.bottom > after.top) {
        if (!(theme.get() && Themes().DrawThemeParentBackground &&
              SUCCEEDED(Themes().DrawThemeParentBackground(item.hwndItem, item.hDC, &after)))) {
            FillColour(item.hDC, after, GetSysColor(COLOR_BTNFACE));
        }
    }
    if (shownW == stripW && shownH == stripH) {
        BitBlt(item.hDC, rc.left + sx, rc.top + sy, stripW, stripH, strip.Dc(), 0, 0, SRCCOPY);
        return;
    }
    const int oldMode = SetStretchBltMode(item.hDC, HALFTONE);
    POINT origin;
    SetBrushOrgEx(item.hDC, 0, 0, &origin);
    StretchBlt(item.hDC, rc.left + sx, rc.top + sy, shownW, shownH, strip.Dc(), 0, 0, stripW, stripH, SRCCOPY);
    SetBrushOrgEx(item.hDC, origin.x, origin.y, nullptr);
    SetStretchBltMode(item.hDC, oldMode);
}
