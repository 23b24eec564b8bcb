// The small borderless panel with start/stop and reset buttons that pops up
// beside a timer or stopwatch clock (in the taskbar or on the desktop) while
// the mouse rests on the clock. Its buttons act through the main window's menu
// commands, so the panel keeps no timer logic of its own.
//
// The program has exactly one panel object, which outlives every window it
// shows: its window is made and destroyed as the panel is shown and hidden.
#pragma once

#include <windows.h>

#include "common/graphics/dib_section.h"
#include "resources/resource_ids.h"
#include "tempovia/window/window.h"

namespace panels {

// Button kinds, which are also the image's columns.
inline constexpr int kButtonReset = 0;
inline constexpr int kButtonStop = 1;
inline constexpr int kButtonStart = 2;
inline constexpr int kNoButton = -1;

// The main window's command of each kind: reset, stop, start.
inline constexpr WORD kButtonCommands[3] = {448, 445, 443};
// Label string ids of each kind.
inline constexpr UINT kButtonLabelIds[3] = {IDS_TIMER_PANEL_RESET, IDS_TIMER_PANEL_STOP, IDS_TIMER_PANEL_START};

inline constexpr UINT_PTR kHideTimerId = 1;
inline constexpr UINT kHideDelayMs = 1500;
// Space around and between the buttons.
inline constexpr int kButtonGap = 4;
inline constexpr int kLabelChars = 64;
inline constexpr wchar_t kButtonImageName[] = L"tbuttons.png";

class CTimerPanel : public CWindow {
public:
    CTimerPanel();
    ~CTimerPanel() override;

    bool OnMessage(WindowMessage& message) override;
    // Destroys the window only; the object stays for the next time.
    void Destroy() override;

    // The hover action over a timer clock: shows the panel beside the clock's
    // window (or keeps it up when it already is there for this clock). False
    // when the clock is no timer, the button image is missing or the window
    // cannot be made.
    bool Show(HWND clockWindow, int clockNumber);
    // Binds the clock, puts stop or start on the first button as the clock
    // runs or not, and redraws.
    void SetClock(int clockNumber);
    // The kind of the button under a client point, or kNoButton.
    int HitTest(int x, int y) const;
    // The clock's window says the cursor is on its button.
    bool IsOverClock() const;

    bool IsShown() const { return Handle() != nullptr; }
    int ClockNumber() const { return clockNumber_; }
    HWND ClockWindow() const { return clockWindow_; }
    int ButtonCount() const { return buttonCount_; }
    int ButtonKind(int i) const { return i >= 0 && i < buttonCount_ ? kinds_[i] : kNoButton; }
    int Pressed() const { return pressed_; }
    bool MouseOver() const { return mouseOver_; }
    const wchar_t* Label(int kind) const { return kind >= 0 && kind < 3 ? labels_[kind] : L""; }
    const CDibSection& Surface() const { return surface_; }
    // Left edge of button i in client coordinates.
    static int ButtonLeft(int i);

private:
    void ArmHideTimer();
    void OnHideTimer();
    void OnButtonUp(int x, int y);
    void Render();
    void DrawLabel(int i, int left);
    bool MakeFont();

    HWND clockWindow_ = nullptr;
    int clockNumber_ = 0;
    int pressed_ = kNoButton;
    bool mouseOver_ = false;
    int buttonCount_ = 0;
    int kinds_[2] = {kButtonStop, kButtonReset};
    wchar_t labels_[3][kLabelChars + 1] = {};
    int buttonWidth_ = 0;
    int buttonHeight_ = 0;
    CDibSection surface_;
    HFONT font_ = nullptr;
};

// The button image shared by every panel: <program folder>tbuttons.png, 3
// columns (the kinds) by 2 rows (released, pressed), loaded once. Every pixel
// is made at least half opaque on the way in. False when the file is missing
// or not a 32-bit image.
bool LoadButtonImage();
const CDibSection& ButtonImage();
// One cell: a third of the image's width, half its height.
SIZE ButtonCellSize();
void FreeButtonImage();
// Where the image is read from; empty: the program folder of the settings.
void SetButtonImageFolder(const wchar_t* folder);

}  // namespace panels
