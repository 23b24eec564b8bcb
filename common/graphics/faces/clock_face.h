// One digital clock face: binds a clock record to a shared drawing context,
// measures itself, decides when it must be drawn again, picks the background
// profile in force and paints prefix, time and date.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include <cstdint>

#include "common/graphics/faces/clock_texts.h"
#include "common/graphics/faces/graphics.h"
#include "common/records/clock_record.h"

// Sizes that mean "no limit" to CalcSize.
inline constexpr int kUnlimited = 0x3FFFFFFF;

// Draw flags.
inline constexpr int kDrawBackground = 1;
inline constexpr int kDrawTexts = 2;

class CClock {
public:
    // Takes a share of the skin; the record stays the caller's.
    CClock(ClockRecord* record, CGraphics* skin);
    // Gives the share back and deletes the skin when it was the last one.
    // Virtual, as owners keep timers and analogue faces through this class.
    virtual ~CClock();
    CClock(const CClock&) = delete;
    CClock& operator=(const CClock&) = delete;

    virtual void Draw(int flags);
    virtual void DrawHighlight();
    virtual void Paint(HDC dc, HTHEME theme);
    // time: the zone time to measure, or null for a sample of the current one.
    virtual void CalcSize(HDC dc, int maxWidth, int maxHeight, HTHEME theme, const SYSTEMTIME* time);
    virtual RECT GetRect() const;
    virtual void SetRect(const RECT& rect);
    virtual bool Zoom(HDC dc, bool larger);
    // 0 nothing shown changed, 1 redraw at the same size, 2 measure again.
    virtual int HasChanged(const SYSTEMTIME& utc);
    virtual CGraphics* GetSkin() const { return skin_; }
    virtual int GetFaceSize() const { return 0; }
    virtual void SetSize(int fontSize, int faceSize = 0);
    virtual bool CanZoom() const;
    virtual bool ShowsSeconds() const;
    virtual bool HitTestButton(int x, int y) const;

    // The profile in force: the general one, one of the clock's, or null.
    const BackgroundProfile* GetActiveBackground() const;
    int GetActiveBackgroundIndex() const { return activeBackground_; }
    void SetRequestedBackground(int index) { requestedBackground_ = index; }
    ClockRecord* GetRecord() const { return record_; }
    // The "CLOCK" theme of a window when visual styles are on, else null.
    static HTHEME OpenClockTheme(HWND window);
    // 23:58:58.888 on the 2088 day whose date text is the widest the
    // clock's date format gives: the size that fits every moment. Measured
    // with the skin's DC and font as they are set now.
    SYSTEMTIME GetSampleTime();

    int GetFontSize() const { return fontSize_; }
    int GetBaseFontHeight() const { return skin_ ? skin_->GetBaseFontHeight() : 0; }
    int GetLineMode() const { return lineMode_; }
    // One line unless the date has line breaks and two lines fit.
    void SetLineMode() { lineMode_ = 2; }
    void SetLineMode(int mode) { lineMode_ = mode; }
    int GetPanelIndex() const { return panelIndex_; }
    void SetPanelIndex(int index) { panelIndex_ = index; }
    void SetPadding(int horizontal, int vertical) {
        horizontalPadding_ = horizontal;
        verticalPadding_ = vertical;
    }
    int GetHorizontalPadding() const { return horizontalPadding_; }
    int GetVerticalPadding() const { return verticalPadding_; }
    bool GetCentreText() const { return centreText_; }
    void SetCentreText(bool centre) { centreText_ = centre; }
    void SetCentreVertically(bool centre) { centreVertically_ = centre; }

protected:
    // Sets the skin's font height, DC and theme for a scope and puts the
    // previous ones back.
    class DrawScope {
    public:
        DrawScope(CClock& clock, HDC dc, HTHEME theme);
        ~DrawScope();
        DrawScope(const DrawScope&) = delete;
        DrawScope& operator=(const DrawScope&) = delete;

    private:
        CGraphics* skin_;
        int height_;
        HDC dc_;
        HTHEME theme_;
    };

    // The texts of the record for a zone time, measured with the skin.
    ClockTexts MeasureTexts(const SYSTEMTIME& zoneTime);
    // Colour, background and texts through an off-screen copy of dc.
    void PaintWithProfile(HDC dc, HTHEME theme, const BackgroundProfile& profile);
    // Bit 0 of Draw: the skin's background, hollow for a transparent clock.
    void DrawBackground();
    // The border frame of framed styles.
    void DrawBorder();
    void ChooseBackground();

    int32_t activeBackground_ = kNoBackground;
    int32_t requestedBackground_ = kNoBackground;
    ClockRecord* record_;
    CGraphics* skin_;
    int32_t fontSize_ = 0;
    int32_t lineMode_ = 0;
    int32_t verticalPadding_ = 2;
    int32_t horizontalPadding_ = 4;
    bool centreText_ = false;
    bool centreVertically_ = true;
    int32_t panelIndex_ = 0;
};
