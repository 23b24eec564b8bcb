// The clock panel: the faces of the clocks that the taskbar shows (the
// settings program's preview uses it too), laid out in the space the taskbar
// gives, brought up to date once a second and painted together into one
// off-screen bitmap over the taskbar's background.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include <memory>
#include <vector>

#include "common/graphics/bitmap.h"
#include "common/graphics/faces/clock_face.h"
#include "common/graphics/faces/graphics.h"
#include "common/records/clock_record.h"
#include "common/records/global_settings.h"
#include "common/taskbar/clock_panel_layout.h"

inline constexpr int kMaxPanelFaces = 12;
inline constexpr int kPanelMargin = 2;

// The skin for every face of the panel: a built-in style, an analogue skin
// (its folder holds a clock face picture) or a digital one; loaded and
// holding one reference. Null only when it cannot be made.
CGraphics* CreateSkin(const GlobalSettings& settings);
// Drops a reference; the skin is deleted with its last one.
void ReleaseSkin(CGraphics* skin);

// How many of the last candidates the panel shows for `trayclocks`: 0 means
// the default 10, anything of 12 or more (or negative) means 12, as the
// settings loader reads the key.
int PanelClockLimit(int trayclocks);

// Record indices the panel shows, in record order: enabled, not on the
// desktop, no timers under an analogue skin; the last `limit` of those.
std::vector<int> ChoosePanelClocks(const ClockRecord* records, int count, int limit, bool analogue);

class ClockPanel {
public:
    ClockPanel();
    ~ClockPanel();
    ClockPanel(const ClockPanel&) = delete;
    ClockPanel& operator=(const ClockPanel&) = delete;

    // Rebuilds the faces for the records (which must outlive them) under the
    // settings' skin; the background picture comes from the skins folder.
    void LoadSkins(const GlobalSettings& settings, ClockRecord* records, int count);
    // 0 nothing shown changed, 1 a face changed, 2 a face changed its size.
    int Tick(bool force);
    int Tick(bool force, const SYSTEMTIME& utc);
    // Measures every face for the limits and places them; flags: clock_panel_layout.h.
    void Layout(HDC dc, HTHEME theme, int maxWidth, int maxHeight, bool horizontal, int flags);
    // The panel rectangle from the placed faces.
    void Measure(HDC dc, int flags);
    // window null: a preview, whose background is what dc already shows.
    void Paint(HWND window, HDC dc, HTHEME theme);
    // The face under a point, never one of a clock on the desktop; null none.
    CClock* HitTest(int x, int y) const;
    // The face of the clock with that number (`ClockRecord::number`).
    CClock* FindClock(int number) const;
    // The face showing record `index` of the array given to LoadSkins.
    CClock* FindRecord(int index) const;
    // The record index of a face of this panel, -1 for any other.
    int RecordIndexOf(const CClock* face) const;
    RECT GetRect() const { return rect_; }
    void Clear();

    int FaceCount() const { return static_cast<int>(faces_.size()); }
    CClock* Face(int i) const { return i >= 0 && i < FaceCount() ? faces_[i].clock.get() : nullptr; }
    int Margin() const { return margin_; }
    bool HasBackground() const { return background_.IsValid(); }
    CGraphics& Graphics() { return graphics_; }

private:
    struct Slot {
        std::unique_ptr<CClock> clock;
        int recordIndex;
    };

    std::vector<Slot> faces_;
    int dateKey_ = 0;
    int seconds_ = 0;
    int margin_ = kPanelMargin;
    RECT rect_ = {0, 0, 0, 0};
    CBitmap background_;
    CGraphics graphics_;
};
