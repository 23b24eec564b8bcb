#include "tempovia/news/news_window_texts.h"

#include "common/settings/localisation.h"
#include "tempovia/news/news_window.h"

std::wstring RssUiText(UINT id) {
    std::wstring text = Language().LoadUiString(id);
    if (!text.empty()) return text;
    switch (id) {
        case kRssStrCaption: return L"News";
        case kRssStrDownload: return L"Refresh";
        case kRssStrSettings: return L"Channels...";
        case kRssStrNoChannel: return L"No news channel is subscribed.";
        case kRssStrNotLoaded: return L"The news channels have not been downloaded yet.";
        default: return text;
    }
}

namespace {

constexpr COLORREF kMaskColour = RGB(0xC0, 0xC0, 0xC0);
constexpr int kImageSize = 20;

// Draws one glyph on the mask colour: 0 a circular arrow, 1 a list.
HBITMAP DrawImage(HDC screen, int which) {
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kImageSize, kImageSize);
    if (!dc || !bitmap) {
        if (dc) DeleteDC(dc);
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HBRUSH back = CreateSolidBrush(kMaskColour);
    RECT all = {0, 0, kImageSize, kImageSize};
    FillRect(dc, &all, back);
    DeleteObject(back);
    HPEN pen = CreatePen(PS_SOLID, 2, which == 0 ? RGB(0x20, 0x80, 0x20) : RGB(0x20, 0x40, 0xA0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    if (which == 0) {
        Arc(dc, 3, 3, 17, 17, 17, 10, 10, 3);
        MoveToEx(dc, 10, 3, nullptr);
        LineTo(dc, 13, 1);
        MoveToEx(dc, 10, 3, nullptr);
        LineTo(dc, 13, 6);
    } else {
        for (int y = 5; y <= 15; y += 5) {
            MoveToEx(dc, 3, y, nullptr);
            LineTo(dc, 5, y);
            MoveToEx(dc, 8, y, nullptr);
            LineTo(dc, 17, y);
        }
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
    return bitmap;
}

}  // namespace

HIMAGELIST CreateRssToolbarImages() {
    HIMAGELIST list = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, 2, 0);
    if (!list) return nullptr;
    HDC screen = GetDC(nullptr);
    for (int i = 0; i < 2; ++i) {
        HBITMAP bitmap = DrawImage(screen, i);
        if (bitmap) {
            ImageList_AddMasked(list, bitmap, kMaskColour);
            DeleteObject(bitmap);
        }
    }
    if (screen) ReleaseDC(nullptr, screen);
    return list;
}
