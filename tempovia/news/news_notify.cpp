#include "tempovia/news/news_notify.h"

#include <windowsx.h>
#include <exdisp.h>
#include <wininet.h>

#include <algorithm>

#include "common/records/global_settings.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/platform/wininet_on_first_use.h"
#include "common/records/clock_table.h"
#include "tempovia/browser/browser_window.h"
#include "tempovia/news/news_notify_draw.h"
#include "tempovia/news/news_window.h"
#include "tempovia/news/news_window_page.h"
#include "tempovia/news/news_window_texts.h"
#include "tempovia/news/rss_channels.h"
#include "tempovia/news/rss_notify.h"
#include "tempovia/news/web_link.h"

namespace {

CRSSNotify* g_rssNotify = nullptr;
std::wstring g_stripPage = kNotifyDefaultStripPage;

constexpr DWORD kNotifyStyle = WS_CLIPCHILDREN | WS_SYSMENU | WS_THICKFRAME | WS_CAPTION;
constexpr DWORD kNotifyExStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

RECT WorkArea() {
    RECT work = {0, 0, 640, 480};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) work = RECT{0, 0, 640, 480};
    return work;
}

// The window size that gives the pop-up's smallest client area.
SIZE MinimumWindowSize() {
    RECT frame = {0, 0, kNotifyClientWidth, kNotifyClientHeight};
    AdjustWindowRectEx(&frame, kNotifyStyle, FALSE, kNotifyExStyle);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

// The WebBrowser behind the strip, with a reference the caller releases.
IWebBrowser2* StripBrowser(HWND strip) {
    return strip ? reinterpret_cast<IWebBrowser2*>(SendMessageW(strip, WBM_GET_BROWSER, 0, 0)) : nullptr;
}

void ReloadStrip(HWND strip) {
    IWebBrowser2* browser = StripBrowser(strip);
    if (!browser) return;
    VARIANT level;
    VariantInit(&level);
    level.vt = VT_I4;
    level.lVal = REFRESH_COMPLETELY;
    browser->Refresh2(&level);
    browser->Release();
}

}  // namespace

CRSSNotify* RssNotify() { return g_rssNotify; }

void SetRssNotifyStripPage(const wchar_t* url) { g_stripPage = url && *url ? url : kNotifyDefaultStripPage; }
const std::wstring& RssNotifyStripPage() { return g_stripPage; }

CRSSNotify::~CRSSNotify() {
    if (g_rssNotify == this) g_rssNotify = nullptr;
}

int CRSSNotify::EntryCount() const {
    if (!list_) return 0;
    const LRESULT count = SendMessageW(list_, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

RSS::Item* CRSSNotify::EntryItem(int index) const {
    if (!list_ || index < 0 || index >= EntryCount()) return nullptr;
    const LRESULT data = SendMessageW(list_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<RSS::Item*>(data);
}

void CRSSNotify::OnCreate() {
    g_rssNotify = this;
    const HINSTANCE module = GetModuleHandleW(nullptr);
    if (g_settings.ads) CreateStrip();
    // A vertical scroll bar reaches the entries that a full-height pop-up
    // still cannot show.
    list_ = CreateWindowExW(0, L"LISTBOX", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE |
                                LBS_NOINTEGRALHEIGHT,
                            0, 0, 0, 0, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNotifyListId)), module,
                            nullptr);
    if (g_settings.fade_news) StartFadeTimer();
    g_rssNotifyList.Add(Handle());
    Layout();
}

void CRSSNotify::CreateStrip() {
    if (strip_) return;
    const HINSTANCE module = GetModuleHandleW(nullptr);
    RegisterBrowserClass(module);
    strip_ = CreateWindowExW(0, kBrowserClassName, L"about:blank", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0,
                             0, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNotifyStripId)), module,
                             nullptr);
    // Through the host's own path, which marks the navigation as its own:
    // otherwise the ad page would count as a link the user followed.
    if (strip_) SetWindowTextW(strip_, g_stripPage.c_str());
}

void CRSSNotify::OnDestroy() {
    if (g_rssNotify == this) g_rssNotify = nullptr;
    g_rssNotifyList.Remove(Handle());
    if (list_) DestroyWindow(list_);
    list_ = nullptr;
    StopFadeTimer();
}

void CRSSNotify::StartFadeTimer() {
    if (!timer_ && Handle()) timer_ = SetTimer(Handle(), kNotifyFadeTimer, kNotifyFadeIntervalMs, nullptr);
}

void CRSSNotify::StopFadeTimer() {
    if (timer_ && Handle()) KillTimer(Handle(), timer_);
    timer_ = 0;
}

bool CRSSNotify::StripShown() const { return strip_ && IsWindowVisible(strip_); }

void CRSSNotify::Layout() {
    RECT client = {};
    GetClientRect(Handle(), &client);
    const int stripHeight = StripShown() ? kNotifyStripHeight : 0;
    if (strip_) MoveWindow(strip_, 0, 0, client.right, stripHeight, TRUE);
    if (list_) MoveWindow(list_, 0, stripHeight, client.right, std::max<LONG>(client.bottom - stripHeight, 0), TRUE);
}

void CRSSNotify::ResetAlpha() {
    fadeDelay_ = kNotifyFadeDelayTicks;
    SetAlpha(255);
}

void CRSSNotify::Clear() {
    if (list_) SendMessageW(list_, LB_RESETCONTENT, 0, 0);
}

bool CRSSNotify::IsListed(const RSS::Item& item) const {
    const int count = EntryCount();
    for (int i = 0; i < count; ++i) {
        const RSS::Item* listed = EntryItem(i);
        if (listed && listed->IsSame(item)) return true;
    }
    return false;
}

int CRSSNotify::ShowItems(int job) {
    if (!list_) return 0;
    if (g_settings.ads) {
        if (!strip_) {
            CreateStrip();
            Layout();
        } else if (job != lastJob_) {
            lastJob_ = job;
            net::DeleteUrlCacheEntryW(g_stripPage.c_str());
            ReloadStrip(strip_);
        }
    }

    SetWindowRedraw(list_, FALSE);
    const bool replace = g_settings.fade_news != 0;
    if (replace) Clear();
    int added = 0;
    int insertAt = 0;
    const int channels = GetRssChannelCount();
    for (int c = 0; c < channels; ++c) {
        const RSS::Channel* channel = GetRssChannel(c);
        if (!channel || !channel->loaded || channel->lastJob < job) continue;
        for (RSS::Item* item : channel->itemsInOrder) {
            if (!item || item->title.empty() || !item->isNew) continue;
            LRESULT at;
            if (replace) {
                at = SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            } else {
                if (IsListed(*item)) continue;
                at = SendMessageW(list_, LB_INSERTSTRING, static_cast<WPARAM>(insertAt),
                                  reinterpret_cast<LPARAM>(item));
                if (at >= 0) ++insertAt;
            }
            if (at >= 0) ++added;
        }
    }
    SetWindowRedraw(list_, TRUE);
    if (added > 0) {
        InvalidateRect(list_, nullptr, TRUE);
        FitToList();
    }
    return added;
}

void CRSSNotify::FitToList() {
    if (!Handle()) return;
    int height = 0;
    const int count = EntryCount();
    for (int i = 0; i < count; ++i) {
        const LRESULT entry = SendMessageW(list_, LB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0);
        if (entry > 0) height += static_cast<int>(entry);
    }
    if (g_settings.ads) height += kNotifyStripHeight;
    height += 2 * GetSystemMetrics(SM_CYEDGE);
    RECT frame = {0, 0, kNotifyClientWidth, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    // Never below the smallest size the pop-up allows, or the system would
    // push its bottom off the work area.
    const int windowHeight = std::max<int>(frame.bottom - frame.top, MinimumWindowSize().cy);
    const RECT work = WorkArea();
    const int top = std::max<LONG>(work.top, work.bottom - windowHeight);
    RECT now = {};
    GetWindowRect(Handle(), &now);
    SetWindowPos(Handle(), nullptr, now.left, top, now.right - now.left, work.bottom - top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ResetAlpha();
}

void CRSSNotify::FadeTick() {
    if (!g_settings.fade_news) {
        ResetAlpha();
        StopFadeTimer();
        return;
    }
    // A hidden pop-up has nothing to fade; it is reset when shown again.
    if (!IsWindowVisible(Handle())) return;
    if (GetForegroundWindow() == Handle()) return;
    if (fadeDelay_ > 0) {
        --fadeDelay_;
        return;
    }
    const int alpha = Alpha() - kNotifyFadeStep;
    if (alpha < kNotifyCloseAlpha) {
        PostMessageW(Handle(), WM_CLOSE, 0, 0);
        return;
    }
    SetAlpha(alpha);
}

void CRSSNotify::RemoveItem(const RSS::Item* item) {
    if (!item || !list_) return;
    for (int i = EntryCount() - 1; i >= 0; --i) {
        const RSS::Item* listed = EntryItem(i);
        if (listed && (listed == item || listed->IsSame(*item)))
            SendMessageW(list_, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
    }
}

void CRSSNotify::OnListDoubleClick() {
    ResetAlpha();
    const LRESULT selected = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    RSS::Item* item = selected == LB_ERR ? nullptr : EntryItem(static_cast<int>(selected));
    if (item && !item->link.empty()) {
        item->isNew = 0;
        if (CRSSWindow* news = RssWindow()) news->UpdateItemNode(item);
        const std::wstring link = item->link;  // the news window may rebuild meanwhile
        OpenWebLink(Handle(), link);
        InvalidateRect(list_, nullptr, TRUE);
    }
    ResetAlpha();
}

void CRSSNotify::OnStripLinkFollowed() {
    const auto* url = reinterpret_cast<const wchar_t*>(SendMessageW(strip_, WBM_GET_QUERY_TEXT, 0, 0));
    if (!url || !*url) return;
    const std::wstring link = url;  // the browser may reuse its buffer
    OpenWebLink(Handle(), link);
}

void CRSSNotify::OnStripLoadFailed() {
    if (!strip_) return;
    const RSS::Item* item = nullptr;
    if (StripShown() && EntryCount() > 0) {
        const LRESULT selected = SendMessageW(list_, LB_GETCURSEL, 0, 0);
        item = EntryItem(selected == LB_ERR ? 0 : static_cast<int>(selected));
    }
    if (!item) {
        WriteNewsPage(strip_, std::wstring());
        return;
    }
    const std::wstring linkTitle = Language().LoadUiString(kRssStrLinkTitle);
    WriteNewsPage(strip_, BuildItemHtml(item->description.c_str(), item->link.c_str(), DefaultNewsPageFont(),
                                        linkTitle.c_str()));
}

void CRSSNotify::OnSettingsChanged() {
    if (g_settings.ads) CreateStrip();
    if (strip_) ShowWindow(strip_, g_settings.ads ? SW_SHOW : SW_HIDE);
    if (g_settings.fade_news) StartFadeTimer();
    ResetAlpha();
    Layout();
}

bool CRSSNotify::OnMessage(WindowMessage& m) {
    switch (m.message) {
        case WM_CREATE:
            OnCreate();
            m.result = 0;
            return true;
        case WM_DESTROY:
            OnDestroy();
            m.result = 0;
            return true;
        case WM_SIZE:
            Layout();
            m.result = 0;
            return true;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(m.lParam);
            if (!info) return false;
            const SIZE minimum = MinimumWindowSize();
            info->ptMinTrackSize.x = minimum.cx;
            info->ptMinTrackSize.y = minimum.cy;
            m.result = 0;
            return true;
        }
        case WM_WINDOWPOSCHANGING: {
            auto* pos = reinterpret_cast<WINDOWPOS*>(m.lParam);
            if (pos && !(pos->flags & SWP_NOSIZE)) pos->cx = std::max<int>(pos->cx, MinimumWindowSize().cx);
            return false;
        }
        case WM_ACTIVATE:
            if (LOWORD(m.wParam) != WA_INACTIVE) ResetAlpha();
            return false;
        case WM_CLOSE:
            if (g_settings.notifications)
                ShowWindow(Handle(), SW_HIDE);
            else
                Destroy();
            m.result = 0;
            return true;
        case WM_TIMER:
            if (m.wParam != kNotifyFadeTimer) return false;
            FadeTick();
            m.result = 0;
            return true;
        case WM_MEASUREITEM: {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(m.lParam);
            if (!measure || measure->CtlID != kNotifyListId) return false;
            MeasureNotifyEntry(list_ ? list_ : GetDlgItem(Handle(), kNotifyListId), measure);
            m.result = TRUE;
            return true;
        }
        case WM_DRAWITEM: {
            auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(m.lParam);
            if (!draw || draw->CtlID != kNotifyListId) return false;
            DrawNotifyEntry(draw);
            m.result = TRUE;
            return true;
        }
        case WM_COMMAND: {
            const WORD id = LOWORD(m.wParam);
            const WORD code = HIWORD(m.wParam);
            if (id == kNotifyListId && code == LBN_DBLCLK && list_) {
                OnListDoubleClick();
            } else if (id == kNotifyStripId && strip_ && code == 2) {
                OnStripLinkFollowed();
            } else if (id == kNotifyStripId && strip_ && code == 4) {
                OnStripLoadFailed();
            } else {
                return false;
            }
            m.result = 0;
            return true;
        }
        case MSG_RSS_UPDATED:
            if (m.wParam == RSS::kItemRemoved && IsListedRssItem(reinterpret_cast<const void*>(m.lParam)))
                RemoveItem(reinterpret_cast<const RSS::Item*>(m.lParam));
            m.result = 0;
            return true;
        case MSG_SETTINGS_CHANGED:
            OnSettingsChanged();
            m.result = 0;
            return true;
        default:
            return false;
    }
}

void ShowRssNotify(int job) {
    if (!g_settings.notifications) {
        if (g_rssNotify) g_rssNotify->Destroy();
        return;
    }
    if (CountNewRssItems() < 1) return;
    CRSSNotify* notify = g_rssNotify;
    if (!notify) {
        auto created = CWindow::NewDeletedWithWindow<CRSSNotify>();
        const SIZE minimum = MinimumWindowSize();
        const RECT work = WorkArea();
        created->SetPosition(work.right - minimum.cx, work.top);
        created->SetSize(minimum.cx, work.bottom - work.top);
        if (!created->Create(nullptr, RssUiText(kNotifyStrCaption).c_str(), kNotifyStyle, kNotifyExStyle)) {
            g_rssNotify = nullptr;
            return;
        }
        notify = created.release();
    }
    if (notify->ShowItems(job) == 0) return;
    HWND window = notify->Handle();
    if (IsWindowVisible(window) || !AnimateWindow(window, 200, AW_SLIDE | AW_VER_NEGATIVE) ||
        !IsWindowVisible(window))
        ShowWindow(window, SW_SHOWNOACTIVATE);
}

void RefreshRssNotify(int flags, int job) {
    if (!g_rssNotify) return;
    if (!g_settings.notifications) {
        g_rssNotify->Destroy();
        return;
    }
    // Only a pop-up on screen is kept up to date: items slipped into a hidden
    // one would count as listed when the job's last feed comes, and the
    // pop-up would stay hidden with them.
    if ((flags & 2) && IsWindowVisible(g_rssNotify->Handle())) g_rssNotify->ShowItems(job);
}

void ClearRssNotify() {
    if (g_rssNotify) g_rssNotify->Clear();
}

void HideRssNotify() {
    if (g_rssNotify && g_rssNotify->Handle()) ShowWindow(g_rssNotify->Handle(), SW_HIDE);
}
