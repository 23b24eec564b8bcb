// The owner-drawn body of the taskbar clock's tooltip.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/graphics/gdi_handles.h"
#include "common/records/clock_table.h"
#include "hook/hook_shared.h"
#include "hook/tooltip_state.h"
#include "hook/tooltip_window.h"
#include "hook/tray_state.h"

namespace {

constexpr int kPhotoTextGap = 2;   // between the photo and the text
constexpr int kCaptionRuleGap = 2; // between the caption and the line under it

// The tooltip font of the system's non-client metrics.
HFONT CreateTooltipFont() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
    return CreateFontIndirectW(&metrics.lfStatusFont);
}

// Font, colours and transparent text for a scope.
class TooltipDcScope {
public:
    explicit TooltipDcScope(HDC dc)
        : font_(CreateTooltipFont()),
          select_(dc, font_.get()),
          text_(dc, GetSysColor(COLOR_INFOTEXT)),
          back_(dc, GetSysColor(COLOR_INFOBK)),
          dc_(dc),
          mode_(SetBkMode(dc, TRANSPARENT)) {}
    ~TooltipDcScope() {
        if (mode_) SetBkMode(dc_, mode_);
    }
    TooltipDcScope(const TooltipDcScope&) = delete;
    TooltipDcScope& operator=(const TooltipDcScope&) = delete;

private:
    gdi::Object<HFONT> font_;
    gdi::ScopedSelect select_;
    gdi::ScopedTextColor text_;
    gdi::ScopedBkColor back_;
    HDC dc_;
    int mode_;
};

void FillBackground(HWND window, HDC dc) {
    RECT client = {};
    if (window && GetClientRect(window, &client)) FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
}

int TextWidth(HDC dc, const std::wstring& text) {
    SIZE size = {};
    if (text.empty() || !GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size)) return 0;
    return size.cx;
}

void Put(HDC dc, int x, int y, const std::wstring& text) {
    if (!text.empty()) TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

// The size DrawTextW gives a text of lines.
SIZE MeasureLines(HDC dc, const wchar_t* text, UINT format) {
    if (!text || !*text) return SIZE{0, 0};
    RECT r = {0, 0, 0, 0};
    DrawTextW(dc, text, -1, &r, format | DT_CALCRECT);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace

SIZE DrawClocksTooltip(HWND window, HDC dc, const RECT& rect, bool paint) {
    if (!dc) return SIZE{0, 0};
    TooltipDcScope scope(dc);
    if (paint) FillBackground(window, dc);
    std::vector<ClockTipRow> rows =
        ClockTipRows(g_clocks, TrayClockCount(), NotedTooltipUtc(), CurrentTooltipLocale(), true);
    rows.erase(std::remove_if(rows.begin(), rows.end(), [](const ClockTipRow& r) { return r.timer; }), rows.end());
    if (rows.empty()) return SIZE{0, 0};

    SIZE sample = {};
    GetTextExtentPoint32W(dc, L"1Wqlj", 5, &sample);
    const int rowHeight = sample.cy;
    int labelWidth = 0, dateWidth = 0, timeWidth = 0;
    for (ClockTipRow& row : rows) {
        if (!row.label.empty()) row.label += L", ";
        row.date += L", ";
        labelWidth = std::max(labelWidth, TextWidth(dc, row.label));
        dateWidth = std::max(dateWidth, TextWidth(dc, row.date));
        timeWidth = std::max(timeWidth, TextWidth(dc, row.time));
    }
    if (paint) {
        int y = rect.top;
        for (const ClockTipRow& row : rows) {
            Put(dc, rect.left, y, row.label);
            Put(dc, rect.left + labelWidth, y, row.date);
            Put(dc, rect.left + labelWidth + dateWidth + timeWidth - TextWidth(dc, row.time), y, row.time);
            y += rowHeight;
        }
    }
    return SIZE{labelWidth + dateWidth + timeWidth, rowHeight * static_cast<int>(rows.size())};
}

SIZE DrawClockTooltip(HWND window, HDC dc, const RECT& rect, bool paint) {
    if (!dc) return SIZE{0, 0};
    TooltipDcScope scope(dc);
    if (paint) FillBackground(window, dc);
    TooltipState& s = TooltipNow();
    // The text escapes its ampersands for prefix processing; hiding the
    // prefixes shows the label as it was written.
    const UINT textFormat = DT_LEFT | DT_TOP | DT_HIDEPREFIX;
    const wchar_t* text = ComposeClockTip(g_hookShared.clockWindow);
    const SIZE textSize = MeasureLines(dc, text, textFormat);
    if (!s.photo.IsValid()) {
        if (paint && text[0]) {
            RECT r = {rect.left, rect.top, rect.left + textSize.cx, rect.top + textSize.cy};
            DrawTextW(dc, text, -1, &r, textFormat);
        }
        return textSize;
    }

    const UINT captionFormat = DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
    const SIZE captionSize = MeasureLines(dc, s.caption, captionFormat);
    const int captionBlock = captionSize.cy > 0 ? captionSize.cy + kCaptionRuleGap + 1 + kCaptionRuleGap : 0;
    const int photoWidth = s.photo.Width();
    const int photoHeight = s.photo.Height();
    const int width = std::max<int>(photoWidth + kPhotoTextGap + textSize.cx, captionSize.cx);
    const int height = captionBlock + std::max<int>(photoHeight, textSize.cy);
    if (paint) {
        if (captionBlock > 0) {
            RECT caption = {rect.left, rect.top, rect.left + width, rect.top + captionSize.cy};
            DrawTextW(dc, s.caption, -1, &caption, captionFormat);
            RECT rule = {rect.left, caption.bottom + kCaptionRuleGap, rect.left + width,
                         caption.bottom + kCaptionRuleGap + 1};
            FillRect(dc, &rule, GetSysColorBrush(COLOR_INFOTEXT));
        }
        const int top = rect.top + captionBlock;
        s.photo.Blit(dc, rect.left, top, photoWidth, photoHeight, 0, 0, SRCCOPY);
        if (text[0]) {
            RECT r = {rect.left + photoWidth + kPhotoTextGap, top, rect.left + width, top + textSize.cy};
            DrawTextW(dc, text, -1, &r, textFormat);
        }
    }
    return SIZE{width, height};
}

bool PaintTooltipBody(HWND tooltip) {
    if (!tooltip) return false;
    RECT body = {};
    GetWindowRect(tooltip, &body);
    TooltipBodyWithin(tooltip, &body);
    MapWindowPoints(HWND_DESKTOP, tooltip, reinterpret_cast<POINT*>(&body), 2);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(tooltip, &ps);
    if (!dc) return true;
    if (TooltipShowsAllClocks()) {
        DrawClocksTooltip(tooltip, dc, body, true);
    } else {
        DrawClockTooltip(tooltip, dc, body, true);
    }
    EndPaint(tooltip, &ps);
    return true;
}
