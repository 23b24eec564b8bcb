// The panel of the map dialog: its controls, their places beside the map,
// and the two links drawn on the dialog itself.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "common/mapdialog/map_dialog_state.h"
#include "common/settings/localisation.h"

namespace mapwin {

namespace {

constexpr int kMargin = 8;
constexpr int kSearchWidth = 64;
constexpr int kCountryWidth = 48;
constexpr COLORREF kLinkColor = RGB(0, 0, 255);

HWND MakeControl(MapDialogState& s, const wchar_t* cls, UINT textId, DWORD style, int id) {
    const std::wstring text = textId ? Language().LoadUiString(textId) : std::wstring();
    HWND control = CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, s.dialog,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), FALSE);
    return control;
}

// The sample text's extent in the dialog font, widened by 20 and heightened by 4.
SIZE TextCell(const MapDialogState& s, const std::wstring& text) {
    SIZE size = {0, 0};
    HDC dc = GetDC(s.dialog);
    if (!dc) return size;
    HGDIOBJ old = SelectObject(dc, s.font);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(s.dialog, dc);
    size.cx += 20;
    size.cy += 4;
    return size;
}

std::wstring Caption(HWND control) {
    wchar_t text[128] = {};
    if (control) GetWindowTextW(control, text, 128);
    return text;
}

}  // namespace

void CreatePanelControls(MapDialogState& s) {
    s.searchLabel = MakeControl(s, L"Static", kStrSearch, SS_LEFT, -1);
    s.search = MakeControl(s, L"Edit", 0, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kIdcSearch);
    SendMessageW(s.search, EM_LIMITTEXT, kSearchChars, 0);
    HandSearchEnterToMap(s.search);
    s.countryLabel = MakeControl(s, L"Static", kStrCountry, SS_LEFT, -1);
    s.country = MakeControl(s, L"Edit", 0, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kIdcCountry);
    SendMessageW(s.country, EM_LIMITTEXT, kSearchChars, 0);
    s.citiesRadio = MakeControl(s, L"Button", kStrShowCities, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, kIdcListMode);
    s.zonesRadio = MakeControl(s, L"Button", kStrShowZones, BS_AUTORADIOBUTTON, kIdcListMode);
    SendMessageW(s.citiesRadio, BM_SETCHECK, BST_CHECKED, 0);
    s.list = MakeControl(s, WC_LISTVIEWW, 0,
                         WS_BORDER | WS_TABSTOP | WS_GROUP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                         kIdcCityList);
    SendMessageW(s.list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    s.showButton = MakeControl(s, L"Button", kStrShowOnMap, BS_PUSHBUTTON | WS_TABSTOP, kIdcShowOnMap);
    s.okButton = MakeControl(s, L"Button", kStrOk, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK);
    s.cancelButton = MakeControl(s, L"Button", kStrCancel, BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL);
    // Without an opener nobody would take the answer.
    EnableWindow(s.okButton, s.host.opener != nullptr);
    EnableWindow(s.cancelButton, s.host.opener != nullptr);
}

void LayoutMapDialog(MapDialogState& s) {
    RECT client = {};
    GetClientRect(s.dialog, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const int mapWidth = std::max(width - kPanelWidth, 1);
    if (s.map) MoveWindow(s.map, 0, 0, mapWidth, height, TRUE);

    const SIZE cell = TextCell(s, L"Wq1l");
    const int rowHeight = cell.cy + 4;
    const int left = (width > kPanelWidth ? width - kPanelWidth : 1) + kMargin;
    const int right = std::max(width - kMargin, left + 1);
    int x = left;
    int y = kMargin;

    const int searchLabel = TextCell(s, Caption(s.searchLabel)).cx;
    MoveWindow(s.searchLabel, x, y + 2, searchLabel, cell.cy, TRUE);
    x += searchLabel;
    MoveWindow(s.search, x, y, kSearchWidth, rowHeight, TRUE);
    x += kSearchWidth + kMargin;
    const int countryLabel = TextCell(s, Caption(s.countryLabel)).cx;
    MoveWindow(s.countryLabel, x, y + 2, countryLabel, cell.cy, TRUE);
    x += countryLabel;
    MoveWindow(s.country, x, y, kCountryWidth, rowHeight, TRUE);
    y += rowHeight + kMargin;

    const int half = (right - left) / 2;
    MoveWindow(s.citiesRadio, left, y, half, rowHeight, TRUE);
    MoveWindow(s.zonesRadio, left + half, y, right - left - half, rowHeight, TRUE);
    y += rowHeight + kMargin;

    // From the bottom: the links, then the buttons.
    int bottom = height - kMargin;
    for (auto it = s.links.rbegin(); it != s.links.rend(); ++it) {
        const SIZE size = TextCell(s, it->text);
        it->rect = {left, bottom - cell.cy, left + size.cx - 20, bottom};
        bottom -= cell.cy + 2;
    }
    const int buttonHeight = cell.cy + 8;
    bottom -= kMargin + buttonHeight;
    const int buttonWidth = (right - left - 2 * kMargin) / 3;
    MoveWindow(s.showButton, left, bottom, buttonWidth, buttonHeight, TRUE);
    MoveWindow(s.okButton, left + buttonWidth + kMargin, bottom, buttonWidth, buttonHeight, TRUE);
    MoveWindow(s.cancelButton, left + 2 * (buttonWidth + kMargin), bottom, buttonWidth, buttonHeight, TRUE);
    MoveWindow(s.list, left, y, right - left, std::max(bottom - kMargin - y, 1), TRUE);
    InvalidateRect(s.dialog, nullptr, TRUE);
}

void PaintLinks(MapDialogState& s, HDC dc) {
    if (s.links.empty()) return;
    HGDIOBJ old = SelectObject(dc, s.linkFont ? s.linkFont : s.font);
    SetTextColor(dc, kLinkColor);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, OPAQUE);
    for (const MapLink& link : s.links) {
        RECT r = link.rect;
        DrawTextW(dc, link.text.c_str(), static_cast<int>(link.text.size()), &r, DT_LEFT | DT_TOP | DT_SINGLELINE |
                                                                                   DT_NOPREFIX);
    }
    SelectObject(dc, old);
}

int LinkAt(const MapDialogState& s, POINT client) {
    for (size_t i = 0; i < s.links.size(); ++i) {
        if (PtInRect(&s.links[i].rect, client)) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace mapwin
