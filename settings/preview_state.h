// What the previews keep between paints, and the look helpers they share.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include <memory>
#include <vector>

#include "common/graphics/bitmap.h"
#include "common/graphics/faces/clock_face.h"
#include "common/graphics/faces/graphics.h"
#include "common/records/clock_record.h"
#include "common/taskbar/clock_panel.h"

struct PreviewState {
    ClockRecord record = {};
    std::unique_ptr<CClock> clock;
    CGraphics* skin = nullptr;  // one reference of the skin cache
    bool desktop = false;
    int opacity = 255;
    bool transparent = false;
    CBitmap wallpaper;
    bool refresh = false;
    bool fresh = false;  // made again without a control: look and wallpaper still to take
    int lastDateKey = -1;
    int lastSecond = -1;
    SIZE lastTaskbar = {0, 0};

    ClockPanel panel;
    std::vector<ClockRecord> panelRecords;
    SIZE lastTrayTaskbar = {0, 0};
};
PreviewState& Preview();

// Colour modes 0 and 1 imitate the taskbar; other skins keep their colours.
bool TakesTaskbarColours(const CGraphics& skin);
// Text and background colours of the taskbar's theme (or the button colours).
void SampleTaskbarColours(CGraphics& skin, HWND window);
// A framed built-in style follows the theme state: rounded when themed.
void RefreshThemedStyle(CGraphics& skin);
bool IsBuiltInStyle(const CGraphics& skin);
// TMT_TEXTCOLOR of the start panel's theme, else COLOR_BTNTEXT.
COLORREF StartPanelTextColour(HWND window);

// The theme of class "TASKBAR" for a window (null without themes), closed on scope end.
class TaskbarTheme {
public:
    explicit TaskbarTheme(HWND window, const wchar_t* themeClass = L"TASKBAR");
    ~TaskbarTheme();
    TaskbarTheme(const TaskbarTheme&) = delete;
    TaskbarTheme& operator=(const TaskbarTheme&) = delete;
    HTHEME get() const { return theme_; }

private:
    HTHEME theme_ = nullptr;
};

// The background of a taskbar strip of that size.
void DrawTaskbarImitation(HDC dc, int width, int height, bool horizontal, HWND taskbar, HTHEME theme);
COLORREF DesktopColour();
void FillColour(HDC dc, const RECT& rect, COLORREF colour);

// Paints an owner-drawn control as a taskbar strip holding content of that
// size at its far end; draw paints the content at the given point.
using StripContent = void (*)(HDC strip, POINT at, HTHEME theme, void* context);
void PaintTaskbarStrip(const DRAWITEMSTRUCT& item, HWND taskbar, SIZE content, StripContent draw, void* context);
