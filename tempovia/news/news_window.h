// The news reader window: toolbar, tree of channels and items, and a browser
// pane under a splitter that the user drags. At most one exists.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "tempovia/news/rss_model.h"
#include "tempovia/window/window.h"
#include "resources/resource_ids.h"

inline constexpr int kRssTreeId = 1087;
inline constexpr int kRssBrowserId = 1089;
inline constexpr int kRssToolbarId = 1111;
inline constexpr WORD kRssCmdSettings = 438;  // settings program at its news page
inline constexpr WORD kRssCmdDownload = 439;  // download every channel now

// Language strings of the window (the texts live in the language resources).
inline constexpr UINT kRssStrCaption = IDS_NEWS_CAPTION;
inline constexpr UINT kRssStrDownload = IDS_NEWS_REFRESH;
inline constexpr UINT kRssStrSettings = IDS_NEWS_CHANNELS;
inline constexpr UINT kRssStrLinkTitle = IDS_NEWS_LINK_TITLE;
inline constexpr UINT kRssStrNoChannel = IDS_NEWS_NO_CHANNEL;
inline constexpr UINT kRssStrNotLoaded = IDS_NEWS_NOT_LOADED;

inline constexpr wchar_t kRssPrefsLink[] = L"tempovia:prefs-rss";

class CRSSWindow : public CWindow {
public:
    // mainWindow receives the toolbar commands.
    explicit CRSSWindow(HWND mainWindow);
    ~CRSSWindow() override;

    bool OnMessage(WindowMessage& message) override;

    void Refresh();
    void ShowItem(RSS::Element* element);
    void UpdateItemNode(RSS::Item* item);
    void Clear();

    HWND Tree() const { return tree_; }
    HWND BrowserWindow() const { return browser_; }
    HWND Toolbar() const { return toolbar_; }
    int BrowserHeight() const { return browserHeight_; }
    RSS::Element* CurrentItem() const { return currentItem_; }
    bool Dragging() const { return dragging_ != 0; }

private:
    void OnCreate();
    void OnDestroy();
    void CreateToolbar();
    void Layout();
    int ToolbarHeight() const;
    RECT SplitterBand() const;
    void PaintSplitter(HDC dc) const;
    bool OnNotify(NMHDR* header);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnLinkFollowed();
    void OnItemRemoved(RSS::Item* item);
    void ClearNewFlag(RSS::Element* element, HTREEITEM node);
    HTREEITEM FindNode(const RSS::Element* element) const;
    RSS::Element* NodeElement(HTREEITEM node) const;
    bool IsItemNode(HTREEITEM node) const;
    void ShowMessagePage(UINT stringId);

    HWND tree_ = nullptr;
    HWND browser_ = nullptr;
    HWND toolbar_ = nullptr;
    HCURSOR splitterCursor_ = nullptr;
    HICON icon_ = nullptr;
    HIMAGELIST imageList_ = nullptr;
    int browserHeight_ = 120;
    RSS::Element* currentItem_ = nullptr;
    BYTE dragging_ = 0;
    int dragOffset_ = 0;
    int dragStartX_ = 0;

    HWND mainWindow_ = nullptr;
    bool rebuilding_ = false;  // node deletions and inserts show no pages
};

// The open news window, or NULL.
CRSSWindow* RssWindow();
// Creates the window when missing, rebuilds its tree, shows it and brings it
// to the foreground. Returns it, or NULL when it could not be created.
CRSSWindow* ShowRssWindow(HWND mainWindow);
// Empties the news window's tree.
void ClearRssWindows();
// Flag 1 rebuilds the news window's tree.
void RefreshRssWindows(int flags, int job);
