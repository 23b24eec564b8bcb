#include "tempovia/news/news_window_texts.h"

#include "common/settings/localisation.h"
#include "tempovia/main/program_resource_ids.h"
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

}  // namespace

HIMAGELIST CreateRssToolbarImages() {
    HIMAGELIST list = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, 2, 0);
    if (!list) return nullptr;
    // Image 0 is the download button's, image 1 the channels button's.
    const HINSTANCE module = GetModuleHandleW(nullptr);
    for (const UINT id : {IDB_NEWS_REFRESH, IDB_NEWS_CHANNELS}) {
        HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
        if (bitmap) {
            ImageList_AddMasked(list, bitmap, kMaskColour);
            DeleteObject(bitmap);
        }
    }
    return list;
}
