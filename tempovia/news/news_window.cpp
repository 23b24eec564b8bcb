#include "tempovia/news/news_window.h"

#include <windowsx.h>

#include <string>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/platform/window_place.h"
#include "tempovia/browser/browser_window.h"
#include "tempovia/news/news_window_layout.h"
#include "tempovia/news/news_window_page.h"
#include "tempovia/news/news_window_texts.h"
#include "tempovia/news/rss_channels.h"
#include "tempovia/news/rss_notify.h"
#include "tempovia/main/program_resource_ids.h"
#include "tempovia/news/web_link.h"

namespace {

CRSSWindow* g_rssWindow = nullptr;

std::wstring MainSection() { return UserPrefix() + L":main"; }

// A node at the end of parent's children that shows the element's title and
// keeps the element; state is the state of its one stateMask bit.
HTREEITEM AddNode(HWND tree, HTREEITEM parent, RSS::Element* element, const std::wstring& title, UINT stateMask,
                  bool state) {
    std::wstring text = RssNodeText(title);
    TVINSERTSTRUCTW ins = {};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    ins.item.pszText = text.data();
    ins.item.lParam = reinterpret_cast<LPARAM>(element);
    ins.item.stateMask = stateMask;
    ins.item.state = state ? stateMask : 0;
    return TreeView_InsertItem(tree, &ins);
}

}  // namespace

CRSSWindow* RssWindow() { return g_rssWindow; }

CRSSWindow::CRSSWindow(HWND mainWindow) : mainWindow_(mainWindow) {}

CRSSWindow::~CRSSWindow() {
    if (g_rssWindow == this) g_rssWindow = nullptr;
    // The window goes first (base destructor) only when it still exists;
    // the image list is the toolbar's, so it outlives it.
    if (Handle()) DestroyKeepingObject();
    if (imageList_) ImageList_Destroy(imageList_);
    if (icon_) DestroyIcon(icon_);
}

void CRSSWindow::OnCreate() {
    g_rssWindow = this;
    HWND window = Handle();
    RECT work = {0, 0, 640, 480};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) work = RECT{0, 0, 640, 480};

    const std::wstring ini = UserIniPath();
    browserHeight_ = ReadIniInt(ini.c_str(), MainSection().c_str(), L"rss_browser_height", kRssBrowserDefaultHeight);
    const std::wstring stored = ReadIniText(ini.c_str(), MainSection().c_str(), L"rss_wnd_pos");
    RECT place = {};
    if (!ParseRssWindowRect(stored.c_str(), &place) || !IsOnSomeMonitor(place)) place = DefaultRssWindowRect(work);
    SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    splitterCursor_ = LoadCursorW(nullptr, IDC_SIZENS);
    CreateToolbar();
    const HINSTANCE module = GetModuleHandleW(nullptr);
    tree_ = CreateWindowExW(0, WC_TREEVIEWW, L"RSS Channels",
                            WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                TVS_DISABLEDRAGDROP | TVS_SHOWSELALWAYS,
                            0, 0, 0, 0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRssTreeId)), module,
                            nullptr);
    RegisterBrowserClass(module);
    browser_ = CreateWindowExW(0, kBrowserClassName, L"about:blank", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                               0, 0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRssBrowserId)), module,
                               nullptr);
    icon_ = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_NEWS_WINDOW), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    if (icon_) SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    g_rssNotifyList.Add(window);
    Layout();
}

void CRSSWindow::CreateToolbar() {
    HWND window = Handle();
    if (toolbar_) DestroyWindow(toolbar_);
    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_BORDER | TBSTYLE_FLAT | TBSTYLE_LIST, 0, 0,
                               0, 0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRssToolbarId)),
                               GetModuleHandleW(nullptr), nullptr);
    if (!toolbar_) return;
    if (!imageList_) imageList_ = CreateRssToolbarImages();
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(imageList_));
    SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(24, 24));
    const std::wstring download = RssUiText(kRssStrDownload);
    const std::wstring settings = RssUiText(kRssStrSettings);
    TBBUTTON buttons[2] = {};
    buttons[0].iBitmap = 0;
    buttons[0].idCommand = kRssCmdDownload;
    buttons[0].fsState = TBSTATE_ENABLED;
    buttons[0].fsStyle = BTNS_AUTOSIZE;
    buttons[0].iString = reinterpret_cast<INT_PTR>(download.c_str());
    buttons[1].iBitmap = 1;
    buttons[1].idCommand = kRssCmdSettings;
    buttons[1].fsState = TBSTATE_ENABLED;
    buttons[1].fsStyle = BTNS_AUTOSIZE;
    buttons[1].iString = reinterpret_cast<INT_PTR>(settings.c_str());
    SendMessageW(toolbar_, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    ShowWindow(toolbar_, SW_SHOW);
}

int CRSSWindow::ToolbarHeight() const {
    if (!toolbar_) return 0;
    RECT r = {};
    GetWindowRect(toolbar_, &r);
    return r.bottom - r.top;
}

void CRSSWindow::Layout() {
    RECT client = {};
    GetClientRect(Handle(), &client);
    const int toolbarHeight = ToolbarHeight();
    if (toolbar_) SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    const RssPaneLayout layout = LayoutRssPanes(client.right, client.bottom, toolbarHeight, browserHeight_);
    browserHeight_ = layout.browserHeight;
    if (tree_)
        MoveWindow(tree_, layout.tree.left, layout.tree.top, layout.tree.right - layout.tree.left,
                   layout.tree.bottom - layout.tree.top, TRUE);
    if (browser_)
        MoveWindow(browser_, layout.browser.left, layout.browser.top, layout.browser.right - layout.browser.left,
                   layout.browser.bottom - layout.browser.top, TRUE);
    InvalidateRect(Handle(), nullptr, TRUE);
}

RECT CRSSWindow::SplitterBand() const {
    RECT client = {};
    GetClientRect(Handle(), &client);
    return LayoutRssPanes(client.right, client.bottom, ToolbarHeight(), browserHeight_).splitter;
}

void CRSSWindow::PaintSplitter(HDC dc) const {
    RECT client = {};
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const RECT band = SplitterBand();
    const int browserTop = band.bottom;
    RECT dark = {0, browserTop - 5, client.right, browserTop - 4};
    RECT light = {0, browserTop - 2, client.right, browserTop - 1};
    FillRect(dc, &dark, GetSysColorBrush(COLOR_3DDKSHADOW));
    FillRect(dc, &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

RSS::Element* CRSSWindow::NodeElement(HTREEITEM node) const {
    if (!node) return nullptr;
    TVITEMW tvi = {};
    tvi.mask = TVIF_PARAM | TVIF_HANDLE;
    tvi.hItem = node;
    if (!TreeView_GetItem(tree_, &tvi)) return nullptr;
    return reinterpret_cast<RSS::Element*>(tvi.lParam);
}

bool CRSSWindow::IsItemNode(HTREEITEM node) const { return node && TreeView_GetParent(tree_, node) != nullptr; }

HTREEITEM CRSSWindow::FindNode(const RSS::Element* element) const {
    if (!element || !tree_) return nullptr;
    for (HTREEITEM root = TreeView_GetRoot(tree_); root; root = TreeView_GetNextSibling(tree_, root)) {
        if (NodeElement(root) == element) return root;
        for (HTREEITEM child = TreeView_GetChild(tree_, root); child; child = TreeView_GetNextSibling(tree_, child))
            if (NodeElement(child) == element) return child;
    }
    return nullptr;
}

void CRSSWindow::ShowMessagePage(UINT stringId) {
    WriteNewsPage(browser_, BuildNewsMessageHtml(RssUiText(stringId).c_str()));
}

void CRSSWindow::Refresh() {
    if (!tree_) return;
    HTREEITEM selected = TreeView_GetSelection(tree_);
    RSS::Element* rememberedItem = nullptr;
    RSS::Element* rememberedChannel = nullptr;
    if (selected) {
        if (IsItemNode(selected)) {
            rememberedItem = NodeElement(selected);
            rememberedChannel = NodeElement(TreeView_GetParent(tree_, selected));
        } else {
            rememberedChannel = NodeElement(selected);
        }
    }
    rebuilding_ = true;
    SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(tree_);

    const int count = GetRssChannelCount();
    int shown = 0;
    HTREEITEM itemNode = nullptr;
    HTREEITEM channelNode = nullptr;
    for (int i = 0; i < count; ++i) {
        RSS::Channel* channel = GetRssChannel(i);
        if (!channel || !channel->loaded) continue;
        ++shown;
        HTREEITEM root = AddNode(tree_, TVI_ROOT, channel, channel->title, TVIS_EXPANDED, channel->expanded);
        if (!root) continue;
        if (channel == rememberedChannel) channelNode = root;
        for (RSS::Item* item : channel->itemsInOrder) {
            if (!item) continue;
            HTREEITEM node = AddNode(tree_, root, item, item->title, TVIS_BOLD, item->isNew);
            if (node && item == rememberedItem) itemNode = node;
        }
        // An expanded state given before children exist is not always kept.
        if (channel->expanded) TreeView_Expand(tree_, root, TVE_EXPAND);
    }
    rebuilding_ = false;

    HTREEITEM pick = itemNode ? itemNode : channelNode;
    if (!pick) {
        pick = TreeView_GetRoot(tree_);
        if (pick && (TreeView_GetItemState(tree_, pick, TVIS_EXPANDED) & TVIS_EXPANDED)) {
            HTREEITEM child = TreeView_GetChild(tree_, pick);
            if (child) pick = child;
        }
    }
    if (shown == 0) {
        currentItem_ = nullptr;
        ShowMessagePage(count == 0 ? kRssStrNoChannel : kRssStrNotLoaded);
    } else if (pick) {
        TreeView_SelectItem(tree_, pick);
        ShowItem(NodeElement(pick));
    }
    SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_, nullptr, TRUE);
}

void CRSSWindow::Clear() {
    if (!tree_) return;
    rebuilding_ = true;
    TreeView_DeleteAllItems(tree_);
    rebuilding_ = false;
    currentItem_ = nullptr;
}

void CRSSWindow::ShowItem(RSS::Element* element) {
    currentItem_ = element;
    if (!element) return;
    const std::wstring linkTitle = Language().LoadUiString(kRssStrLinkTitle);
    WriteNewsPage(browser_, BuildItemHtml(element->description.c_str(), element->link.c_str(),
                                          DefaultNewsPageFont(), linkTitle.c_str()));
}

void CRSSWindow::UpdateItemNode(RSS::Item* item) {
    HTREEITEM node = FindNode(item);
    if (!node) return;
    TreeView_SetItemState(tree_, node, item->isNew ? TVIS_BOLD : 0, TVIS_BOLD);
    TreeView_SelectItem(tree_, node);
}

void CRSSWindow::ClearNewFlag(RSS::Element* element, HTREEITEM node) {
    if (!element || !node || !IsItemNode(node)) return;
    element->isNew = 0;
    TreeView_SetItemState(tree_, node, 0, TVIS_BOLD);
}

void CRSSWindow::OnItemRemoved(RSS::Item* item) {
    // The item is about to be destroyed: nothing may point at it afterwards.
    if (currentItem_ == item) currentItem_ = nullptr;
    if (HTREEITEM node = FindNode(item)) {
        rebuilding_ = true;
        TreeView_DeleteItem(tree_, node);
        rebuilding_ = false;
    }
}

bool CRSSWindow::OnNotify(NMHDR* header) {
    if (!header || header->hwndFrom != tree_ || !tree_) return false;
    switch (header->code) {
        case TVN_SELCHANGEDW: {
            if (rebuilding_) return true;
            auto* change = reinterpret_cast<NMTREEVIEWW*>(header);
            ShowItem(reinterpret_cast<RSS::Element*>(change->itemNew.lParam));
            // The page takes the focus when written; the tree keeps it, but a
            // refresh in the background must not bring this window forward.
            if (GetActiveWindow() == Handle()) SetFocus(tree_);
            return true;
        }
        case TVN_ITEMEXPANDEDW: {
            auto* change = reinterpret_cast<NMTREEVIEWW*>(header);
            HTREEITEM node = change->itemNew.hItem;
            if (rebuilding_ || IsItemNode(node)) return true;
            auto* channel = static_cast<RSS::Channel*>(NodeElement(node));
            if (!channel) return true;
            const bool expanded = change->action == TVE_EXPAND;
            channel->expanded = expanded ? 1 : 0;
            const std::wstring section = UserPrefix() + L":rss" + std::to_wstring(channel->position + 1);
            WriteIniString(UserIniPath().c_str(), section.c_str(), L"expanded", expanded ? L"1" : L"0");
            return true;
        }
        case NM_DBLCLK: {
            TVHITTESTINFO hit = {};
            GetCursorPos(&hit.pt);
            ScreenToClient(tree_, &hit.pt);
            HTREEITEM node = TreeView_HitTest(tree_, &hit);
            if (!node) node = TreeView_GetSelection(tree_);
            RSS::Element* element = NodeElement(node);
            if (!element) return true;
            ClearNewFlag(element, node);
            if (!element->link.empty()) OpenWebLink(Handle(), element->link);
            return true;
        }
        default:
            return false;
    }
}

void CRSSWindow::OnLinkFollowed() {
    const auto* url = reinterpret_cast<const wchar_t*>(SendMessageW(browser_, WBM_GET_QUERY_TEXT, 0, 0));
    if (!url || !*url) return;
    if (_wcsicmp(url, kRssPrefsLink) == 0) {
        if (mainWindow_) SendMessageW(mainWindow_, WM_COMMAND, MAKEWPARAM(kRssCmdSettings, 0), 0);
        return;
    }
    const std::wstring link = url;  // the browser may reuse its buffer
    if (OpenWebLink(Handle(), link) && currentItem_) {
        HTREEITEM node = FindNode(currentItem_);
        ClearNewFlag(currentItem_, node);
    }
}

void CRSSWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    const WORD id = LOWORD(wParam);
    if (id == kRssBrowserId && HIWORD(wParam) == 2) {
        OnLinkFollowed();
        return;
    }
    if (id == kRssCmdSettings || id == kRssCmdDownload) {
        if (mainWindow_) SendMessageW(mainWindow_, WM_COMMAND, wParam, lParam);
    }
}

void CRSSWindow::OnDestroy() {
    if (g_rssWindow == this) g_rssWindow = nullptr;
    g_rssNotifyList.Remove(Handle());
    if (dragging_) {
        dragging_ = 0;
        ReleaseCapture();
    }
    RECT rect = {};
    if (IsIconic(Handle())) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        GetWindowPlacement(Handle(), &placement);
        rect = placement.rcNormalPosition;
    } else {
        GetWindowRect(Handle(), &rect);
    }
    const std::wstring ini = UserIniPath();
    const std::wstring section = MainSection();
    WriteIniString(ini.c_str(), section.c_str(), L"rss_wnd_pos", FormatRssWindowRect(rect).c_str());
    WriteIniInt(ini.c_str(), section.c_str(), L"rss_browser_height", browserHeight_);
    tree_ = browser_ = toolbar_ = nullptr;
    currentItem_ = nullptr;
}

bool CRSSWindow::OnMessage(WindowMessage& m) {
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
            if (m.wParam != SIZE_MINIMIZED) Layout();
            m.result = 0;
            return true;
        case WM_ERASEBKGND: {
            // The flat toolbar is transparent: it shows what the window
            // paints here as its own background.
            RECT client = {};
            GetClientRect(Handle(), &client);
            FillRect(reinterpret_cast<HDC>(m.wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
            m.result = 1;
            return true;
        }
        case WM_PRINTCLIENT:
            PaintSplitter(reinterpret_cast<HDC>(m.wParam));
            m.result = 0;
            return true;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Handle(), &ps);
            PaintSplitter(dc);
            EndPaint(Handle(), &ps);
            m.result = 0;
            return true;
        }
        case WM_SETCURSOR: {
            if (reinterpret_cast<HWND>(m.wParam) != Handle() || LOWORD(m.lParam) != HTCLIENT) return false;
            POINT pt;
            GetCursorPos(&pt);
            ScreenToClient(Handle(), &pt);
            const RECT band = SplitterBand();
            if (!dragging_ && !PtInRect(&band, pt)) return false;
            SetCursor(splitterCursor_);
            m.result = TRUE;
            return true;
        }
        case WM_LBUTTONDOWN: {
            const POINT pt = {GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
            const RECT band = SplitterBand();
            if (!PtInRect(&band, pt)) return false;
            RECT client = {};
            GetClientRect(Handle(), &client);
            dragging_ = 1;
            dragOffset_ = client.bottom - browserHeight_ - pt.y;
            dragStartX_ = pt.x;
            SetCapture(Handle());
            m.result = 0;
            return true;
        }
        case WM_MOUSEMOVE: {
            if (!dragging_) return false;
            RECT client = {};
            GetClientRect(Handle(), &client);
            browserHeight_ =
                DraggedRssBrowserHeight(client.bottom, dragOffset_, GET_Y_LPARAM(m.lParam), ToolbarHeight());
            Layout();
            m.result = 0;
            return true;
        }
        case WM_LBUTTONUP:
            if (!dragging_) return false;
            dragging_ = 0;
            ReleaseCapture();
            m.result = 0;
            return true;
        case WM_CAPTURECHANGED:
            // Capture taken by another window ends the drag.
            if (reinterpret_cast<HWND>(m.lParam) != Handle()) dragging_ = 0;
            return false;
        case WM_NOTIFY:
            if (!OnNotify(reinterpret_cast<NMHDR*>(m.lParam))) return false;
            m.result = 0;
            return true;
        case WM_COMMAND:
            OnCommand(m.wParam, m.lParam);
            m.result = 0;
            return true;
        case MSG_SETTINGS_CHANGED:
            SetWindowTextW(Handle(), RssUiText(kRssStrCaption).c_str());
            CreateToolbar();
            Layout();
            m.result = 0;
            return true;
        case MSG_RSS_UPDATED:
            if (m.wParam == RSS::kItemRemoved) OnItemRemoved(reinterpret_cast<RSS::Item*>(m.lParam));
            m.result = 0;
            return true;
        default:
            return false;
    }
}

CRSSWindow* ShowRssWindow(HWND mainWindow) {
    CRSSWindow* window = g_rssWindow;
    if (!window) {
        auto created = CWindow::NewDeletedWithWindow<CRSSWindow>(mainWindow);
        const DWORD style = WS_CLIPCHILDREN | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CAPTION;
        if (!created->Create(nullptr, RssUiText(kRssStrCaption).c_str(), style, WS_EX_APPWINDOW)) {
            g_rssWindow = nullptr;
            return nullptr;
        }
        window = created.release();
    }
    window->Refresh();
    HWND shown = window->Handle();
    ShowWindow(shown, IsIconic(shown) ? SW_RESTORE : SW_SHOW);
    // The first window a program shows takes the state its starter asked for
    // (hidden, minimised) instead of the one given: the user asked for it now.
    if (!IsWindowVisible(shown) || IsIconic(shown)) ShowWindow(shown, SW_RESTORE);
    SetForegroundWindow(shown);
    // The refresh above ran while the window was hidden or inactive, so the
    // selection kept no focus: the user asked for the window, the keyboard
    // works its tree.
    if (window->Tree()) SetFocus(window->Tree());
    return window;
}

void ClearRssWindows() {
    if (g_rssWindow) g_rssWindow->Clear();
}

void RefreshRssWindows(int flags, int /*job*/) {
    if ((flags & 1) && g_rssWindow) g_rssWindow->Refresh();
}
