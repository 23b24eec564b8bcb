#include <windows.h>

#include "common/platform/lent_pointer.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "common/platform/system_seam.h"
#include "settings/main_dialog.h"
#include "settings/main_dialog_state.h"
#include "settings/page_loading.h"
#include "resources/resource_ids.h"

const PageSpec kPageTable[kPageCount] = {
    {IDD_PAGE_GENERAL, 1231},       {IDD_PAGE_INI, 1112},        {IDD_PAGE_TIME, 1029},
    {IDD_PAGE_NEWS, 1258},          {IDD_PAGE_TASKBAR, 1037},    {IDD_PAGE_CLOCK, 1161},
    {IDD_PAGE_FORMATS, 1079},       {IDD_PAGE_DESKTOP, 1166},    {IDD_PAGE_ALARMS, 0},
    {IDD_PAGE_ALARM, 1089},         {IDD_PAGE_BKGS, 0},          {IDD_PAGE_BKG, 1016},
    {IDD_PAGE_COUNTDOWN, 1161},     {IDD_PAGE_STOPWATCH, 1161},  {IDD_PAGE_TIMER_FORMATS, 1079},
    {IDD_PAGE_ALARM_AT, 1089},      {IDD_PAGE_ALARM_DOWN, 1089}, {IDD_PAGE_ALARM_UP, 1089},
    {IDD_PAGE_BKG_AT, 1016},        {IDD_PAGE_BKG_DOWN, 1016},   {IDD_PAGE_BKG_UP, 1016},
};

namespace {

const wchar_t* GroupPageSection(UINT resource) {
    return resource == IDD_PAGE_ALARMS ? L"DLG_PageAlarms" : L"DLG_PageBkgs";
}

// The alarms and backgrounds group pages only carry a hint in the language
// in force.
INT_PTR CALLBACK GroupPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(page, GWLP_USERDATA, lParam);
            Language().TranslateDialog(page, GroupPageSection(static_cast<UINT>(lParam)));
            return TRUE;
        case MSG_LANGUAGE_CHANGED:
            Language().TranslateDialog(page, GroupPageSection(static_cast<UINT>(GetWindowLongPtrW(page, GWLP_USERDATA))));
            return TRUE;
        default:
            return FALSE;
    }
}

HWND CreatePage(int index, HWND dialog) {
    const MainDialogHooks& hooks = DialogHooks();
    if (hooks.createPage) return hooks.createPage(index, dialog);
    DLGPROC proc = hooks.pageProcs[index];
    if (index == kAlarmsGroupPage || index == kBackgroundsGroupPage) proc = GroupPageProc;
    HMODULE resources = DialogState().resources ? DialogState().resources : ResourceModule();
    if (!proc || !resources) return nullptr;
    const UINT id = kPageTable[index].resource;
    return CreateDialogParamW(resources, MAKEINTRESOURCEW(id), dialog, proc, static_cast<LPARAM>(id));
}

}  // namespace

HWND PageWindow(int index) {
    if (index < 0 || index >= kPageCount) return nullptr;
    HWND page = DialogState().pages[index];
    return page && IsWindow(page) ? page : nullptr;
}

int PageExchangeDepth() { return DialogState().exchangeDepth; }

HWND EnsurePageWindow(int index) {
    if (index < 0 || index >= kPageCount) return nullptr;
    if (HWND page = PageWindow(index)) return page;
    MainDialogState& s = DialogState();
    if (!s.dialog) return nullptr;
    HWND page = nullptr;
    {
        // What the controls report while the page sets itself up is no edit.
        PageLoadingScope creating;
        page = CreatePage(index, s.dialog);
    }
    s.pages[index] = page;
    if (!page) return nullptr;
    ShowWindow(page, SW_HIDE);
    if (s.hasPageArea) {
        const RECT& area = s.pageArea;
        SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return page;
}

void CreatePages(HWND dialog) {
    MainDialogState& s = DialogState();
    if (HWND placeholder = GetDlgItem(dialog, IDC_PAGE_AREA)) {
        GetWindowRect(placeholder, &s.pageArea);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&s.pageArea), 2);
        s.hasPageArea = true;
        DestroyWindow(placeholder);
    }
    LoadPageModels();
    EnsurePageWindow(0);
}

void LoadPageModels() {
    const MainDialogHooks& hooks = DialogHooks();
    for (int i = 0; i < kPageCount; ++i) {
        if (hooks.loadPageModel[i]) hooks.loadPageModel[i]();
    }
}

bool FlagInvalidControl(HWND control) {
    if (!control || !IsWindow(control)) return false;
    if (IsWindowVisible(control)) {
        System().BeepTone(kInvalidBeepHz, kInvalidBeepMs);
        SetFocus(control);
    }
    return true;
}

HWND ExchangePageData(CTreeNode* node, bool load, WPARAM flags) {
    if (!node) return nullptr;
    SettingsTreeLink& tree = TreeLink();
    CTreeNode* top = node;
    while (CTreeNode* parent = tree.Parent(top)) top = parent;
    if (load) {
        tree.ReadItemState(node);
    } else {
        tree.StoreTreeState(top);
    }
    PageExchangeBlock block = {tree.Record(node), nullptr};
    MainDialogState& s = DialogState();
    ++s.exchangeDepth;
    if (HWND page = PageWindow(tree.PageIndex(node))) {
        if (load) {
            PageLoadingScope loading;
            SendWithPointer(page, WM_PAGE_EXCHANGE, 0, &block);
        } else {
            SendWithPointer(page, WM_PAGE_EXCHANGE, 1, &block);
        }
    }
    --s.exchangeDepth;
    if (load) return nullptr;
    if (flags & 1) tree.RefreshTitle(node);
    return block.failedControl && IsWindow(block.failedControl) ? block.failedControl : nullptr;
}

HWND StoreShownPage(WPARAM flags) { return ExchangePageData(DialogState().shownNode, false, flags); }

void ForgetShownNode(CTreeNode* node) {
    if (DialogState().shownNode == node) DialogState().shownNode = nullptr;
}

void ShowNodePage(CTreeNode* node, bool focusPage) {
    MainDialogState& s = DialogState();
    if (!node) return;
    const int index = TreeLink().PageIndex(node);
    EnsurePageWindow(index);
    s.shownNode = node;
    ExchangePageData(node, true, 0);
    if (index != s.shownPage) {
        if (HWND old = PageWindow(s.shownPage)) ShowWindow(old, SW_HIDE);
        if (HWND page = PageWindow(index)) ShowWindow(page, SW_SHOW);
        for (int i = 0; i < kPageCount; ++i) {
            if (i != index && PageWindow(i)) ShowWindow(PageWindow(i), SW_HIDE);
        }
        s.shownPage = index;
    }
    if (focusPage && GetFocus() != s.tree) {
        HWND target = s.tree;
        if (index >= 0 && index < kPageCount && kPageTable[index].firstControl != 0) {
            if (HWND control = GetDlgItem(PageWindow(index), kPageTable[index].firstControl)) target = control;
        }
        if (target) SetFocus(target);
    }
}

void SendToAllPages(UINT message, WPARAM wParam, LPARAM lParam) {
    for (int i = 0; i < kPageCount; ++i) {
        if (HWND page = PageWindow(i)) SendMessageW(page, message, wParam, lParam);
    }
}
