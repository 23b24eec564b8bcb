#include "tempovia/news/news_notify_draw.h"

#include <algorithm>
#include <string>

#include "tempovia/news/news_notify.h"

namespace {

constexpr int kMargin = 10;
constexpr int kCornerWidth = 10;
constexpr int kCornerHeight = 6;
constexpr int kShadowOffset = 6;
constexpr int kBalloonInset = 3;
constexpr int kTextInset = 5;

const RSS::Item* EntryItem(ULONG_PTR data) {
    return data && data != static_cast<ULONG_PTR>(LB_ERR) ? reinterpret_cast<const RSS::Item*>(data) : nullptr;
}

// Restores what a DC had selected when the entry is done with it.
class DcState {
public:
    explicit DcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~DcState() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    DcState(const DcState&) = delete;
    DcState& operator=(const DcState&) = delete;

private:
    HDC dc_;
    int saved_;
};

class Brush {
public:
    explicit Brush(COLORREF colour) : brush_(CreateSolidBrush(colour)) {}
    ~Brush() {
        if (brush_) DeleteObject(brush_);
    }
    Brush(const Brush&) = delete;
    Brush& operator=(const Brush&) = delete;
    HBRUSH get() const { return brush_; }

private:
    HBRUSH brush_;
};

}  // namespace

std::wstring NotifyEntryText(const RSS::Item& item) {
    std::wstring text;
    if (const RSS::Channel* channel = item.GetChannel()) text = channel->title + L".\n";
    text += item.title;
    return text;
}

void MeasureNotifyEntry(HWND list, MEASUREITEMSTRUCT* measure) {
    if (!measure) return;
    const RSS::Item* item = EntryItem(measure->itemData);
    RECT client = {};
    if (list) GetClientRect(list, &client);
    RECT text = {0, 0, std::max<LONG>(client.right - kMargin, 1), 0};
    if (item) {
        const std::wstring entry = NotifyEntryText(*item);
        HDC dc = GetDC(list);
        if (dc) {
            {
                DcState state(dc);
                SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
                DrawTextW(dc, entry.c_str(), static_cast<int>(entry.size()), &text, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
            }
            ReleaseDC(list, dc);
        }
    }
    const int height = std::clamp<int>(text.bottom - text.top + kMargin, kMargin, kNotifyMaxEntryHeight);
    measure->itemHeight = static_cast<UINT>(height);
    measure->itemWidth = static_cast<UINT>(std::max<LONG>(text.right - text.left, 0) + kMargin);
}

void DrawNotifyEntry(const DRAWITEMSTRUCT* draw) {
    if (!draw || !draw->hDC || draw->itemID == static_cast<UINT>(-1)) return;
    const RSS::Item* item = EntryItem(draw->itemData);
    HDC dc = draw->hDC;
    DcState state(dc);
    const RECT& box = draw->rcItem;
    FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
    if (!item) return;

    const bool lit = (draw->itemState & (ODS_FOCUS | ODS_HOTLIGHT)) != 0;
    const COLORREF back = GetSysColor(lit ? COLOR_HIGHLIGHT : COLOR_INFOBK);
    const COLORREF fore = GetSysColor(lit ? COLOR_HIGHLIGHTTEXT : COLOR_INFOTEXT);

    SelectObject(dc, GetStockObject(NULL_PEN));
    {
        Brush shadow(GetSysColor(COLOR_3DDKSHADOW));
        SelectObject(dc, shadow.get());
        RoundRect(dc, box.left + kShadowOffset, box.top + kShadowOffset, box.right, box.bottom, kCornerWidth,
                  kCornerHeight);
        Brush balloon(back);
        SelectObject(dc, balloon.get());
        RoundRect(dc, box.left + kBalloonInset, box.top + kBalloonInset, box.right - kBalloonInset,
                  box.bottom - kBalloonInset, kCornerWidth, kCornerHeight);
        SelectObject(dc, GetStockObject(NULL_BRUSH));
    }

    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, fore);
    RECT text = {box.left + kTextInset, box.top + kTextInset, box.right - kTextInset, box.bottom - kTextInset};
    const std::wstring entry = NotifyEntryText(*item);
    DrawTextW(dc, entry.c_str(), static_cast<int>(entry.size()), &text, DT_WORDBREAK | DT_NOPREFIX);
}
