// The face of a clock whose skin is analogue: the skin's face with hour,
// minute and optional seconds hands, rendered into a premultiplied bitmap
// whenever the time moves on, painted with per-pixel alpha under a label
// (prefix and date) and an AM/PM text. With a skin that has no face it is
// the digital CClock in every respect.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include <cstdint>

#include "common/graphics/dib_section.h"
#include "common/graphics/faces/clock_face.h"
#include "common/graphics/faces/mech_skin.h"

// The face sizes a clock snaps to, smallest first.
inline constexpr int kFaceSizes[] = {16, 20, 24, 28, 32, 40, 48, 56, 64, 75, 100, 128, 150, 200, 250, 300, 400, 500,
                                     600, 800};
inline constexpr int kFaceSizeCount = static_cast<int>(sizeof kFaceSizes / sizeof kFaceSizes[0]);
static_assert(kFaceSizeCount == 20);

// Where the label goes.
inline constexpr int kLabelInside = 0;      // inside the face
inline constexpr int kLabelOverlay = 1;     // the prefix over the face's lower left corner
inline constexpr int kLabelBelow = 2;       // below the face
inline constexpr int kLabelLeft = 3;        // left of the face

class CMechClock : public CClock {
public:
    // skin: the clock's drawing object; an analogue one when it is a CMechSkin.
    CMechClock(ClockRecord* record, CGraphics* skin);
    ~CMechClock() override = default;

    void Paint(HDC dc, HTHEME theme) override;
    void CalcSize(HDC dc, int maxWidth, int maxHeight, HTHEME theme, const SYSTEMTIME* time) override;
    bool Zoom(HDC dc, bool larger) override;
    int HasChanged(const SYSTEMTIME& utc) override;
    int GetFaceSize() const override { return faceSize_; }
    void SetSize(int fontSize, int faceSize = 0) override;
    bool ShowsSeconds() const override;

    // The prefix, then (unless only the prefix is shown) a line feed and the
    // date; no line feed when nothing follows it.
    void FormatLabel(const SYSTEMTIME& time, wchar_t* out, size_t outChars) const;
    // Fits the face and label into the space: with scan the largest face
    // size that fits, else the current one.
    void Layout(HDC dc, int maxWidth, int maxHeight, HTHEME theme, const SYSTEMTIME* time, bool scan);

    bool HasFace() const { return mechSkin_ && mechSkin_->HasFace(); }
    CMechSkin* GetMechSkin() const { return mechSkin_; }
    const CDibSection& RenderedFace() const { return faceBitmap_; }
    int GetLayoutMode() const { return layoutMode_; }
    bool GetOverlayPrefix() const { return overlayPrefix_; }
    void SetOverlayPrefix(bool overlay) { overlayPrefix_ = overlay; }

    // Hand angles in degrees, clockwise from the hand's rest position
    // (pointing right), for a zone time.
    static int HourAngle(const SYSTEMTIME& time, int skinAngle, bool face24h);
    static int MinuteAngle(const SYSTEMTIME& time, int skinAngle);
    static int SecondAngle(const SYSTEMTIME& time, int skinAngle);

private:
    // The face with hands at the record's zone time into the face bitmap.
    void RenderFace();
    // The label of a zone time, measured with the skin as set now.
    SIZE MeasureLabel(const SYSTEMTIME& time, wchar_t* label, size_t labelChars);

    CMechSkin* mechSkin_;
    CDibSection faceBitmap_;
    int32_t faceSize_ = 20;
    int32_t layoutMode_ = kLabelBelow;
    bool overlayPrefix_ = false;
};
