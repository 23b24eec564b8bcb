#include "settings/page_news.h"

#include <cwchar>
#include <string>

#include "common/settings/global_settings_io.h"
#include "common/platform/lent_pointer.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "common/records/clock_table.h"
#include "common/platform/system_seam.h"
#include "common/platform/text_bounds.h"
#include "settings/main_dialog.h"
#include "settings/page_loading.h"
#include "settings/page_news_add.h"
#include "settings/page_news_channels.h"
#include "resources/resource_ids.h"

namespace {

constexpr wchar_t kSection[] = L"DLG_PageNews";
constexpr wchar_t kFeedPreset[] = L"http://";
constexpr UINT kDeleteQuestion = IDS_DELETE_QUESTION;
constexpr UINT kDeleteCaption = IDS_DELETE_CAPTION;
constexpr int kImageGap = 2;
constexpr int kTextGap = 6;

// The check box drawn before each channel: the system's own check box
// (DrawFrameControl), so that an enabled channel shows a tick and a disabled
// one an empty box on any background. The stock OBM_CHECKBOXES picture is a
// monochrome cross on some systems and takes whatever text colour the list's
// DC holds from the item drawn before.
constexpr SIZE kCheckSize = {13, 13};
// Where the last left press on the channel list happened.
POINT g_press = {-1, -1};

HWND List(HWND page) { return GetDlgItem(page, kChannelList); }
int Count(HWND page) { return static_cast<int>(SendMessageW(List(page), LB_GETCOUNT, 0, 0)); }
int Selection(HWND page) { return static_cast<int>(SendMessageW(List(page), LB_GETCURSEL, 0, 0)); }

RssChannel* ChannelAt(HWND page, int index) {
    if (index < 0 || index >= Count(page)) return nullptr;
    LRESULT data = SendMessageW(List(page), LB_GETITEMDATA, index, 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<RssChannel*>(data);
}

// The list's items own their channels.
int InsertChannel(HWND page, int at, RssChannel* channel) {
    HWND list = List(page);
    LRESULT index = SendMessageW(list, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(channel->url.c_str()));
    if (index == LB_ERR || index == LB_ERRSPACE) return -1;
    SendMessageW(list, LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(channel));
    return static_cast<int>(index);
}

void FreeListChannels(HWND page) {
    for (int i = Count(page) - 1; i >= 0; --i) delete ChannelAt(page, i);
    SendMessageW(List(page), LB_RESETCONTENT, 0, 0);
}

// Called only outside loading: EnableApply marks Apply as needed.
void Changed(HWND page) {
    if (PagesLoading() == 0) EnableApply(GetParent(page));
}

void Beep() { System().BeepTone(kInvalidBeepHz, kInvalidBeepMs); }

void UpdateButtons(HWND page) {
    const int count = Count(page);
    const int selected = Selection(page);
    bool allOn = true;
    bool allOff = true;
    for (int i = 0; i < count; ++i) {
        if (RssChannel* c = ChannelAt(page, i)) {
            allOn = allOn && c->enabled;
            allOff = allOff && !c->enabled;
        }
    }
    EnableWindow(GetDlgItem(page, kAddChannelButton), count < kMaxRssChannels);
    EnableWindow(GetDlgItem(page, kDeleteChannelButton), count > 0);
    EnableWindow(GetDlgItem(page, kChannelUpButton), selected > 0);
    EnableWindow(GetDlgItem(page, kChannelDownButton), selected >= 0 && selected < count - 1);
    EnableWindow(GetDlgItem(page, kEnableAllButton), !allOn);
    EnableWindow(GetDlgItem(page, kDisableAllButton), !allOff);
}

void ShowChannel(HWND page) {
    PageLoadingScope loading;
    RssChannel* channel = ChannelAt(page, Selection(page));
    if (!channel) {
        SetDlgItemTextW(page, kChannelUrlEdit, L"");
        SetDlgItemTextW(page, kChannelIntervalEdit, L"");
        CheckDlgButton(page, kFollowFeedCheck, BST_UNCHECKED);
        for (int id : {kChannelUrlEdit, kChannelIntervalEdit, kFollowFeedCheck}) EnableWindow(GetDlgItem(page, id), FALSE);
        return;
    }
    const bool follow = channel->ttl <= 0;
    const long long interval = channel->ttl < 0 ? -static_cast<long long>(channel->ttl) : channel->ttl;
    EnableWindow(GetDlgItem(page, kChannelUrlEdit), TRUE);
    EnableWindow(GetDlgItem(page, kFollowFeedCheck), TRUE);
    SetDlgItemTextW(page, kChannelUrlEdit, channel->url.c_str());
    SetDlgItemTextW(page, kChannelIntervalEdit, std::to_wstring(interval).c_str());
    CheckDlgButton(page, kFollowFeedCheck, follow ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(page, kChannelIntervalEdit), !follow);
}

// Takes the fields into the selected channel; the failing control, or null.
HWND StoreChannelFields(HWND page, int index) {
    RssChannel* channel = ChannelAt(page, index);
    if (!channel) return nullptr;
    wchar_t url[kRssUrlMaxChars + 1] = {};
    GetDlgItemTextW(page, kChannelUrlEdit, url, ARRAYSIZE(url));
    if (!IsFeedAddress(url)) return GetDlgItem(page, kChannelUrlEdit);
    // Both fields are read before either is taken, so that showing the
    // renamed channel again cannot overwrite an interval still being typed.
    wchar_t number[32] = {};
    GetDlgItemTextW(page, kChannelIntervalEdit, number, ARRAYSIZE(number));
    int32_t ttl = 0;
    if (!ChannelInterval(number, IsDlgButtonChecked(page, kFollowFeedCheck) == BST_CHECKED, ttl)) {
        return GetDlgItem(page, kChannelIntervalEdit);
    }
    channel->ttl = ttl;
    if (channel->url != url) {
        channel->url = url;
        PageLoadingScope loading;
        HWND list = List(page);
        SendMessageW(list, LB_DELETESTRING, index, 0);
        InsertChannel(page, index, channel);
        SendMessageW(list, LB_SETCURSEL, index, 0);
        ShowChannel(page);
    }
    return nullptr;
}

void LoadPage(HWND page) {
    PageLoadingScope loading;
    FreeListChannels(page);
    // The list gets copies, so that a settings read that renews the
    // program-wide array while the page is up leaves no item dangling.
    for (const auto& channel : RssChannelArray()) {
        auto copy = std::make_unique<RssChannel>(*channel);
        if (InsertChannel(page, -1, copy.get()) >= 0) copy.release();
    }
    if (Count(page) > 0) SendMessageW(List(page), LB_SETCURSEL, 0, 0);
    SetWindowLongPtrW(page, DWLP_USER, Selection(page));
    ShowChannel(page);
    CheckDlgButton(page, kNoAdsCheck, g_settings.ads == 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page, kNoNotificationsCheck, g_settings.notifications == 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page, kFadeNewsCheck, g_settings.fade_news == 1 ? BST_CHECKED : BST_UNCHECKED);
    UpdateButtons(page);
}

HWND StorePage(HWND page) {
    if (HWND failed = StoreChannelFields(page, Selection(page))) return failed;
    auto& array = RssChannelArray();
    array.clear();
    for (int i = 0; i < Count(page); ++i) {
        if (RssChannel* channel = ChannelAt(page, i)) array.push_back(std::make_unique<RssChannel>(*channel));
    }
    g_settings.ads = IsDlgButtonChecked(page, kNoAdsCheck) == BST_CHECKED ? 0 : 1;
    g_settings.notifications = IsDlgButtonChecked(page, kNoNotificationsCheck) == BST_CHECKED ? 0 : 1;
    g_settings.fade_news = IsDlgButtonChecked(page, kFadeNewsCheck) == BST_CHECKED ? 1 : 0;
    g_settings.newsChannels = static_cast<int32_t>(array.size());
    return nullptr;
}

void Select(HWND page, int index) {
    SendMessageW(List(page), LB_SETCURSEL, index, 0);
    SetWindowLongPtrW(page, DWLP_USER, Selection(page));
    ShowChannel(page);
    UpdateButtons(page);
}

void OnSelectionChange(HWND page) {
    if (PagesLoading() != 0) return;
    const int previous = static_cast<int>(GetWindowLongPtrW(page, DWLP_USER));
    if (StoreChannelFields(page, previous)) {
        Beep();
        SendMessageW(List(page), LB_SETCURSEL, previous, 0);
        SetFocus(List(page));
        return;
    }
    Select(page, Selection(page));
}

void AddChannel(HWND page) {
    if (Count(page) >= kMaxRssChannels) return;
    // The fields of the channel on show are kept before another one shows.
    if (HWND failed = StoreChannelFields(page, Selection(page))) {
        Beep();
        SetFocus(failed);
        return;
    }
    wchar_t url[kRssUrlMaxChars + 1] = {};
    CopyBounded(url, kFeedPreset);
    AddChannelRequest request{kRssUrlMaxChars, url, nullptr, nullptr};
    if (AskForChannel(page, request) != IDOK) return;
    // A whole address typed or pasted after the preset keeps the preset in
    // front of it: the address is what follows.
    const size_t preset = wcslen(kFeedPreset);
    if (_wcsnicmp(url, kFeedPreset, preset) == 0 && IsFeedAddress(url + preset)) {
        wmemmove(url, url + preset, wcslen(url + preset) + 1);
    }
    if (!IsFeedAddress(url)) return;
    for (int i = 0; i < Count(page); ++i) {
        RssChannel* existing = ChannelAt(page, i);
        if (existing && _wcsicmp(existing->url.c_str(), url) == 0) {
            Beep();
            return;
        }
    }
    auto channel = std::make_unique<RssChannel>();
    channel->url = url;
    channel->ttl = -kFollowFeedInterval;
    const int at = InsertChannel(page, Selection(page), channel.get());
    if (at < 0) {
        Beep();
        return;
    }
    channel.release();
    Select(page, at);
    Changed(page);
}

void DeleteChannel(HWND page) {
    const int selected = Selection(page);
    RssChannel* channel = ChannelAt(page, selected);
    if (!channel) return;
    const std::wstring text = Language().LoadUiString(kDeleteQuestion);
    const std::wstring caption = Language().LoadUiString(kDeleteCaption);
    const int answer = DialogHooks().askDelete ? DialogHooks().askDelete(page, text.c_str(), caption.c_str())
                                               : MessageBoxW(page, text.c_str(), caption.c_str(), MB_YESNO);
    if (answer != IDYES) return;
    delete channel;
    SendMessageW(List(page), LB_DELETESTRING, selected, 0);
    const int count = Count(page);
    Select(page, count == 0 ? -1 : (selected < count ? selected : count - 1));
    Changed(page);
}

void MoveChannel(HWND page, int step) {
    const int selected = Selection(page);
    const int count = Count(page);
    RssChannel* channel = ChannelAt(page, selected);
    if (!channel || count < 2) return;
    const int target = selected + step;
    if (target < 0 || target >= count) return;
    PageLoadingScope loading;
    SendMessageW(List(page), LB_DELETESTRING, selected, 0);
    InsertChannel(page, target, channel);
    SendMessageW(List(page), LB_SETCURSEL, target, 0);
    SetWindowLongPtrW(page, DWLP_USER, target);
    UpdateButtons(page);
    Changed(page);
}

void SetAllEnabled(HWND page, bool on) {
    if (PagesLoading() != 0) return;
    for (int i = 0; i < Count(page); ++i) {
        if (RssChannel* c = ChannelAt(page, i)) c->enabled = on ? 1 : 0;
    }
    InvalidateRect(List(page), nullptr, TRUE);
    UpdateButtons(page);
    Changed(page);
}

void OnMeasure(HWND page, MEASUREITEMSTRUCT* measure) {
    int textHeight = 0;
    int width = kCheckSize.cx + 8;
    HDC dc = GetDC(page);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(page, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    textHeight = metrics.tmHeight;
    if (RssChannel* channel = reinterpret_cast<RssChannel*>(measure->itemData)) {
        SIZE size = {};
        GetTextExtentPoint32W(dc, channel->url.c_str(), static_cast<int>(channel->url.size()), &size);
        if (size.cx > width) width = size.cx;
    }
    SelectObject(dc, old);
    ReleaseDC(page, dc);
    measure->itemWidth = static_cast<UINT>(width);
    measure->itemHeight = static_cast<UINT>(kCheckSize.cy + 2 > textHeight ? kCheckSize.cy + 2 : textHeight);
}

void OnDraw(HWND page, const DRAWITEMSTRUCT* draw) {
    if (draw->itemID == static_cast<UINT>(-1)) return;
    RssChannel* channel = ChannelAt(page, static_cast<int>(draw->itemID));
    const bool lit = (draw->itemState & (ODS_SELECTED | ODS_FOCUS)) != 0;
    HDC dc = draw->hDC;
    RECT r = draw->rcItem;
    FillRect(dc, &r, GetSysColorBrush(lit ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (!channel) return;
    const int height = r.bottom - r.top;
    RECT box = {r.left + kImageGap, r.top + (height - kCheckSize.cy) / 2, 0, 0};
    box.right = box.left + kCheckSize.cx;
    box.bottom = box.top + kCheckSize.cy;
    DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (channel->enabled ? DFCS_CHECKED : 0));
    RECT text = r;
    text.left += kImageGap + kCheckSize.cx + kTextGap;
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(page, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(lit ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, channel->url.c_str(), static_cast<int>(channel->url.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
}

void OnToggle(HWND page, int index) {
    if (PagesLoading() != 0) return;
    RssChannel* channel = ChannelAt(page, index);
    if (!channel) return;
    channel->enabled = channel->enabled ? 0 : 1;
    UpdateButtons(page);
    Changed(page);
}

void SetButtonIcon(HWND page, int id, UINT icon) {
    HMODULE resources = ResourceModule();
    if (!resources) return;
    if (HANDLE image = LoadImageW(resources, MAKEINTRESOURCEW(icon), IMAGE_ICON, 16, 16, LR_SHARED)) {
        // The button keeps its text when the library has no such icon.
        HWND button = GetDlgItem(page, id);
        SetWindowLongPtrW(button, GWL_STYLE, GetWindowLongPtrW(button, GWL_STYLE) | BS_ICON);
        SendDlgItemMessageW(page, id, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image));
    }
}

INT_PTR OnCommand(HWND page, int id, int code) {
    switch (id) {
        case kChannelList:
            if (code == LBN_SELCHANGE) OnSelectionChange(page);
            return TRUE;
        case kChannelUrlEdit:
        case kChannelIntervalEdit:
            if (code == EN_CHANGE) Changed(page);
            return TRUE;
        case kFollowFeedCheck:
            if (code == BN_CLICKED && PagesLoading() == 0) {
                EnableWindow(GetDlgItem(page, kChannelIntervalEdit), IsDlgButtonChecked(page, kFollowFeedCheck) != BST_CHECKED);
                Changed(page);
            }
            return TRUE;
        case kNoAdsCheck:
        case kNoNotificationsCheck:
        case kFadeNewsCheck:
            if (code == BN_CLICKED) Changed(page);
            return TRUE;
        case kAddChannelButton:
            AddChannel(page);
            return TRUE;
        case kDeleteChannelButton:
            DeleteChannel(page);
            return TRUE;
        case kChannelUpButton:
            MoveChannel(page, -1);
            return TRUE;
        case kChannelDownButton:
            MoveChannel(page, 1);
            return TRUE;
        case kEnableAllButton:
        case kDisableAllButton:
            SetAllEnabled(page, id == kEnableAllButton);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR HandleMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            Language().TranslateDialog(page, kSection);
            SendDlgItemMessageW(page, kChannelUrlEdit, EM_LIMITTEXT, kRssUrlMaxChars, 0);
            SendDlgItemMessageW(page, kChannelIntervalEdit, EM_LIMITTEXT, 4, 0);
            SetButtonIcon(page, kChannelUpButton, kChannelUpIcon);
            SetButtonIcon(page, kChannelDownButton, kChannelDownIcon);
            HWND list = List(page);
            SetWindowLongPtrW(list, GWLP_USERDATA,
                              SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ChannelListWndProc)));
            SetWindowLongPtrW(page, DWLP_USER, -1);
            ShowChannel(page);
            UpdateButtons(page);
            return TRUE;
        }
        case WM_PAGE_EXCHANGE: {
            auto* block = LentPointer<PageExchangeBlock>(lParam);
            if (wParam == 0) {
                LoadPage(page);
            } else if (HWND failed = StorePage(page); failed && block) {
                block->failedControl = failed;
            }
            return TRUE;
        }
        case MSG_LANGUAGE_CHANGED:
            Language().TranslateDialog(page, kSection);
            return TRUE;
        case WM_MEASUREITEM:
            if (wParam == kChannelList) {
                OnMeasure(page, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
                return TRUE;
            }
            return FALSE;
        case WM_DRAWITEM:
            if (wParam == kChannelList) {
                OnDraw(page, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
            return FALSE;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header && header->idFrom == kChannelList && header->code == kChannelToggleCode) {
                OnToggle(page, reinterpret_cast<const ChannelToggleNotify*>(lParam)->index);
                return TRUE;
            }
            return FALSE;
        }
        case WM_COMMAND:
            return OnCommand(page, LOWORD(wParam), HIWORD(wParam));
        case WM_DESTROY: {
            HWND list = List(page);
            FreeListChannels(page);
            if (LONG_PTR old = GetWindowLongPtrW(list, GWLP_USERDATA)) SetWindowLongPtrW(list, GWLP_WNDPROC, old);
            return FALSE;
        }
        default:
            return FALSE;
    }
}

}  // namespace

LRESULT CALLBACK ChannelListWndProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_USERDATA));
    try {
        if (message == WM_LBUTTONDOWN) {
            g_press = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        } else if (message == WM_LBUTTONUP) {
            const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const bool samePoint = at.x == g_press.x && at.y == g_press.y;
            g_press = {-1, -1};
            const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, lParam);
            RECT item = {};
            if (samePoint && HIWORD(hit) == 0 &&
                SendMessageW(list, LB_GETITEMRECT, LOWORD(hit), reinterpret_cast<LPARAM>(&item)) != LB_ERR) {
                const int size = item.bottom - item.top;
                if (at.x >= item.left && at.x < item.left + size && at.y >= item.top && at.y < item.bottom) {
                    ChannelToggleNotify notify = {};
                    notify.header.hwndFrom = list;
                    notify.header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
                    notify.header.code = kChannelToggleCode;
                    notify.index = LOWORD(hit);
                    SendMessageW(GetParent(list), WM_NOTIFY, notify.header.idFrom, reinterpret_cast<LPARAM>(&notify));
                    InvalidateRect(list, &item, TRUE);
                }
            }
        }
    } catch (...) {
    }
    return previous ? CallWindowProcW(previous, list, message, wParam, lParam) : DefWindowProcW(list, message, wParam, lParam);
}

INT_PTR CALLBACK NewsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may unwind into the dialog manager.
    try {
        return HandleMessage(page, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

void InstallNewsPage() {
    MainDialogHooks hooks = DialogHooks();
    hooks.pageProcs[kNewsPage] = NewsPageProc;
    SetDialogHooks(hooks);
    SetNewsChannelConsumer(AddRssChannel);
}
