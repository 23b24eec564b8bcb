#include "common/graphics/faces/timer_face.h"

#include <algorithm>
#include <cwchar>

#include "common/graphics/gdi_handles.h"
#include "common/settings/resource_module.h"
#include "common/settings/time_format_timer.h"
#include "common/platform/text_bounds.h"
#include "common/settings/timer_state.h"

namespace {

// The picture is shared by every timer face of the process.
HBITMAP g_buttonPicture = nullptr;
SIZE g_buttonSize{0, 0};
bool g_buttonTried = false;
// Space between the value and the button, so that the mark never touches the
// last digit.
constexpr int kButtonGap = 3;

int ButtonSpace() { return g_buttonSize.cx > 0 ? g_buttonSize.cx + kButtonGap : 0; }

COLORREF PixelToColour(uint32_t pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

}  // namespace

void SetTimerButtonPicture(HBITMAP picture) {
    FreeTimerButtonPicture();
    g_buttonTried = true;
    if (!picture) return;
    BITMAP info{};
    if (!GetObjectW(picture, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
        DeleteObject(picture);
        return;
    }
    g_buttonPicture = picture;
    g_buttonSize = SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

bool LoadTimerButtonPicture(HMODULE module) {
    if (g_buttonPicture) return true;
    if (!module) module = ResourceModule();
    if (!module) return false;
    HANDLE image = LoadImageW(module, MAKEINTRESOURCEW(kTimerButtonResource), IMAGE_BITMAP, 0, 0, LR_MONOCHROME);
    SetTimerButtonPicture(static_cast<HBITMAP>(image));
    return g_buttonPicture != nullptr;
}

void FreeTimerButtonPicture() {
    if (g_buttonPicture) DeleteObject(g_buttonPicture);
    g_buttonPicture = nullptr;
    g_buttonSize = SIZE{0, 0};
    g_buttonTried = false;
}

SIZE TimerButtonSize() { return g_buttonSize; }

CTimer::CTimer(ClockRecord* record, CGraphics* skin) : CClock(record, skin) {
    if (!g_buttonTried) {
        g_buttonTried = true;
        LoadTimerButtonPicture(nullptr);
    }
    PaintButtonImage();
}

void CTimer::PaintButtonImage() {
    if (!g_buttonPicture || !skin_) return;
    if (!button_.Create(g_buttonSize.cx, g_buttonSize.cy, 0, 0)) return;
    gdi::MemoryDc source;
    if (!source) return;
    gdi::ScopedSelect picture(source.get(), g_buttonPicture);
    COLORREF text = ResolveColour(skin_->GetTextColor());
    if (text == 0 || text == kColourNotSet) text = 0x010101;  // never the same as a black key
    COLORREF back = skin_->GetBackColor();
    back = (back == kColourNone || back == kColourNotSet) ? 0 : ResolveColour(back);
    gdi::ScopedTextColor useText(button_.Dc(), text);
    gdi::ScopedBkColor useBack(button_.Dc(), back);
    BitBlt(button_.Dc(), 0, 0, g_buttonSize.cx, g_buttonSize.cy, source.get(), 0, 0, SRCCOPY);
}

void CTimer::FormatText(wchar_t* text, size_t size) const {
    if (!text || size == 0) return;
    text[0] = L'\0';
    if (!record_) return;
    size_t n = 0;
    CopyRecordText(text, size, record_->prefix);
    n = wcslen(text);
    if (n > 0 && n + 1 < size) {
        text[n++] = L' ';
        text[n] = L'\0';
    }
    wchar_t format[101];
    CopyRecordText(format, 101, record_->timerformat);
    // An empty format would leave the timer blank; show the usual one.
    if (!format[0]) CopyBounded(format, kDefaultTimerFormat);
    FormatDuration(text + n, size - n, format, record_->elapsed);
}

bool CTimer::ShowsSeconds() const {
    if (!record_) return false;
    wchar_t format[101];
    CopyRecordText(format, 101, record_->timerformat);
    return TimerFormatShowsSeconds(format[0] ? format : kDefaultTimerFormat);
}

int CTimer::HasChanged(const SYSTEMTIME& utc) {
    if (!record_) return 0;
    int result = UpdateTimerState(*record_, utc);
    ChooseBackground();
    return result;
}

void CTimer::MeasureLayout(Layout& layout) {
    FormatText(layout.text, kTimerTextChars + 1);
    JoinLines(layout.text, layout.oneLine, kTimerTextChars + 1);
    wchar_t prefix[33];
    CopyRecordText(prefix, 33, record_->prefix);
    layout.prefixLength = wcslen(prefix);
    layout.multi = skin_->MeasureMultiline(layout.text, 0);
    layout.single = skin_->MeasureText(layout.oneLine, 0);
}

bool CTimer::UseLines(const Layout& layout, int maxWidth, int maxHeight) const {
    bool fits = layout.multi.cy + 2 * verticalPadding_ <= maxHeight;
    long long buttonSpace = static_cast<long long>(ButtonSpace()) + 2 * horizontalPadding_;
    return lineMode_ == 1 || (wcschr(layout.text, L'\n') && fits) ||
           (lineMode_ == 0 && fits && buttonSpace + layout.single.cx > maxWidth);
}

void CTimer::CalcSize(HDC dc, int maxWidth, int maxHeight, HTHEME theme, const SYSTEMTIME*) {
    if (!record_ || !skin_) return;
    DrawScope scope(*this, dc, theme);
    Layout layout;
    MeasureLayout(layout);
    bool lines = UseLines(layout, maxWidth, maxHeight);
    int b = ButtonSpace() + 2 * horizontalPadding_;
    SIZE text = lines ? layout.multi : layout.single;
    SetRect(RECT{0, 0, b + text.cx, text.cy + 2 * verticalPadding_});
}

RECT CTimer::ButtonRect() const {
    RECT r = GetRect();
    int x = r.right - horizontalPadding_ - g_buttonSize.cx;
    int y = (r.top + r.bottom - g_buttonSize.cy) / 2;
    return RECT{x, y, x + g_buttonSize.cx, y + g_buttonSize.cy};
}

void CTimer::Draw(int flags) {
    if (!record_ || !skin_) return;
    if (flags & kDrawBackground) DrawBackground();
    if (!(flags & kDrawTexts)) return;
    DrawBorder();

    const RECT r = GetRect();
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    Layout layout;
    MeasureLayout(layout);
    bool lines = UseLines(layout, width, height);
    SIZE text = lines ? layout.multi : layout.single;
    int y = centreVertically_ ? r.top + (height - text.cy) / 2 : r.top + verticalPadding_;
    int textRight = r.right - horizontalPadding_ - ButtonSpace();
    if (lines || centreText_) {
        const wchar_t* shown = lines ? layout.text : layout.oneLine;
        if (centreText_) {
            skin_->DrawMultiline((r.left + textRight + horizontalPadding_) / 2, y, 1, shown, 0);
        } else {
            skin_->DrawMultiline(textRight, y, 2, shown, 0);
        }
    } else {
        // The prefix keeps to the left edge, the running value to the button.
        size_t prefix = std::min(layout.prefixLength, wcslen(layout.oneLine));
        if (prefix > 0) skin_->DrawText(r.left + horizontalPadding_, y, layout.oneLine, static_cast<int>(prefix));
        const wchar_t* rest = layout.oneLine + prefix;
        if (prefix > 0 && *rest == L' ') ++rest;
        if (*rest) {
            SIZE size = skin_->MeasureText(rest, 0);
            skin_->DrawText(textRight - size.cx, y, rest, 0);
        }
    }

    if (button_.IsValid() && skin_->GetDC()) {
        RECT b = ButtonRect();
        COLORREF key = PixelToColour(button_.GetPixel(0, button_.Height() - 1));
        button_.Draw(skin_->GetDC(), b.left, b.top, g_buttonSize.cx, g_buttonSize.cy, 0, 0, key);
    }
}

bool CTimer::HitTestButton(int x, int y) const {
    RECT b = ButtonRect();
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return false;
    if (!button_.IsValid()) return true;
    int h = button_.Height();
    uint32_t key = button_.GetPixel(0, h - 1);
    return button_.GetPixel(x - b.left, h - 1 - (y - b.top)) != key;
}
