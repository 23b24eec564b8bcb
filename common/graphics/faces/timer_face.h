// The face of a timer or stopwatch clock: elapsed or remaining time after an
// optional prefix, and a small start/stop button at the right.
#pragma once

#include <windows.h>

#include "common/graphics/faces/clock_face.h"
#include "common/graphics/transp_bitmap.h"
#include "resources/resource_ids.h"

// The button picture: bitmap 209 of the language resource library, black
// pixels for the text colour and white for the background.
inline constexpr UINT kTimerButtonResource = IDB_TIMER_BUTTON;

// Loads the picture once per process from the module (null: the language
// resource library in force). Its size is shared by every timer face.
bool LoadTimerButtonPicture(HMODULE module);
// Takes over a monochrome picture in place of the resource (null: none).
void SetTimerButtonPicture(HBITMAP picture);
void FreeTimerButtonPicture();
SIZE TimerButtonSize();

// Most characters of a timer's text.
inline constexpr size_t kTimerTextChars = 256;

class CTimer : public CClock {
public:
    CTimer(ClockRecord* record, CGraphics* skin);

    void Draw(int flags) override;
    void CalcSize(HDC dc, int maxWidth, int maxHeight, HTHEME theme, const SYSTEMTIME* time) override;
    int HasChanged(const SYSTEMTIME& utc) override;
    bool ShowsSeconds() const override;
    bool HitTestButton(int x, int y) const override;

    // The prefix, a blank and the duration in the timer's format.
    void FormatText(wchar_t* text, size_t size) const;
    int GetButtonState() const { return buttonState_; }
    void SetButtonState(int state) { buttonState_ = state; }
    const CTranspBitmap& ButtonImage() const { return button_; }

private:
    struct Layout {
        wchar_t text[kTimerTextChars + 1];
        wchar_t oneLine[kTimerTextChars + 1];
        size_t prefixLength;  // characters of the prefix in text (0 when none)
        SIZE multi;
        SIZE single;
    };
    void MeasureLayout(Layout& layout);
    bool UseLines(const Layout& layout, int maxWidth, int maxHeight) const;
    RECT ButtonRect() const;
    void PaintButtonImage();

    CTranspBitmap button_;
    int32_t buttonState_ = 0;
};
