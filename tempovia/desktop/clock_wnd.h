// One clock standing on the desktop: a layered popup window that draws the
// clock's face, follows the mouse, zooms with the wheel, fades with the arrow
// keys, stays on top on request and moves and stacks with its group.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "tempovia/window/alpha_window.h"

class CClock;
class CGraphics;
struct ClockRecord;

namespace desktop {

// Drag states.
inline constexpr int kDragNone = 0;
inline constexpr int kDragMove = 1;
inline constexpr int kDragResize = 2;
// Resize edge bits: bit 0 the right edge (else the left), bit 1 the bottom (else the top).
inline constexpr int kEdgeRight = 1;
inline constexpr int kEdgeBottom = 2;

// Stored positions at or above this mean "no position".
inline constexpr int kNoPosition = 32767;
// Opacity steps of the arrow keys and their limits.
inline constexpr int kAlphaStep = 8;
inline constexpr int kMinKeyAlpha = 16;
inline constexpr int kMaxKeyAlpha = 255;

// Menu commands that the clock windows carry out themselves.
inline constexpr WORD kCommandGroup = 101;
inline constexpr WORD kCommandOnTop = 103;

class CClockWnd : public CAlphaWindow {
public:
    CClockWnd();
    ~CClockWnd() override;

    bool OnMessage(WindowMessage& message) override;
    // Draws the face into the surface and puts it on screen (the layered
    // window is always updated against the screen; dc is the caller's).
    virtual void Paint(HDC dc);
    // Creates the window for clock `index` of `clocks`, reads its desktop keys
    // and places it; false (nothing shown) when the skin or window cannot be had.
    virtual bool Load(HWND parent, ClockRecord* clocks, int index);

    // Writes the dsk_* keys of the clock's section.
    void Save() const;
    // Advances the face to `utc`; repaints only when the shown text changed.
    void Tick(const SYSTEMTIME& utc, bool force);
    // A window outside its monitor's work area comes back to its edge.
    void KeepOnMonitor();
    // The whole window inside its monitor's work area (the program's own
    // resizing; a window the user drags partly off stays where it is).
    void KeepWholeOnMonitor();
    // Bottom-right corner on the default corner, then onto the monitor.
    void KeepInWorkArea();

    ClockRecord* Record() const { return record_; }
    int Index() const { return index_; }
    CClock* Face() const { return face_.get(); }
    CGraphics* Skin() const { return skin_; }
    bool IsDigital() const { return digital_; }
    bool IsTopmost() const { return topmost_; }
    int Group() const { return group_; }
    int ZKey() const { return zKey_; }
    void SetZKey(int key) { zKey_ = key; }
    bool IsPositioned() const { return positioned_; }
    bool IsClicked() const { return clicked_; }
    SIZE MaxTrackSize() const { return maxTrack_; }
    int DragState() const { return drag_; }
    const std::wstring& SkinName() const { return skinName_; }

    // Applies the topmost flag to the window (z order among its kind kept).
    void ApplyTopmost(bool topmost);
    void SetGroup(int group) { group_ = group; }

private:
    bool OnCreate(WindowMessage& message);
    void OnWindowPosChanged();
    void OnActivate(WPARAM wParam);
    bool OnSetCursor(WindowMessage& message);
    void OnGetMinMaxInfo(MINMAXINFO* info) const;
    void OnContextMenu(LPARAM lParam);
    bool OnKeyDown(WPARAM key);
    bool OnCommand(WPARAM wParam);
    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    void OnLeftButtonDown(LPARAM lParam);
    void OnMouseWheel(WPARAM wParam);
    LRESULT OnTimerPanelAnchor(LPARAM size) const;
    LRESULT OnHoverTest(WPARAM number) const;

    // The face's rectangle as a window size for the window's style.
    SIZE WindowSizeForFace() const;
    // Measures the face again and resizes the window about its centre.
    void ResizeAboutCentre(bool redraw);
    void MoveWindowTo(int x, int y, bool redraw);
    RECT CurrentRect() const;
    RECT MonitorWorkArea() const;
    void PaintDigital();
    void PaintAnalogue();
    LRESULT SendToOwner(WPARAM code, LPARAM lParam) const;
    std::wstring Section() const;

    CGraphics* skin_ = nullptr;
    std::unique_ptr<CClock> face_;
    ClockRecord* record_ = nullptr;
    int index_ = -1;
    HWND owner_ = nullptr;
    std::wstring skinName_;
    bool digital_ = true;
    SIZE maxTrack_{0, 0};
    int drag_ = kDragNone;
    int edges_ = 0;
    POINT press_{0, 0};
    RECT rectAtPress_{0, 0, 0, 0};
    bool topmost_ = false;
    int group_ = 0;
    int zKey_ = -1;
    bool positioned_ = false;
    int lastDayKey_ = -1;
    int lastSecond_ = -1;
    bool clicked_ = false;
    LPARAM lastHover_ = -1;
};

}  // namespace desktop
