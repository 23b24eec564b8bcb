// The time table window: its bar of controls, the list of rows and the
// messages that drive them.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "common/settings/localisation.h"
#include "common/records/clock_table.h"
#include "common/zones/local_zone.h"
#include "tempovia/timetools/time_table.h"
#include "tempovia/timetools/time_table_detail.h"

namespace {

constexpr int kIntervals[] = {60, 30, 20, 15, 10, 5};

HWND MakeChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id = 0) {
    HWND child = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (child) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return child;
}

SIZE TextSize(HWND window, const std::wstring& text) {
    SIZE size{0, 0};
    HDC dc = GetDC(window);
    if (!dc) return size;
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (old) SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size;
}

int WindowWidth(HWND w) {
    RECT r{};
    return w && GetWindowRect(w, &r) ? r.right - r.left : 0;
}
int WindowHeight(HWND w) {
    RECT r{};
    return w && GetWindowRect(w, &r) ? r.bottom - r.top : 0;
}

void SizeStatic(HWND label) {
    wchar_t text[128] = {};
    GetWindowTextW(label, text, 128);
    const SIZE size = TextSize(label, text);
    SetWindowPos(label, nullptr, 0, 0, size.cx + 2, size.cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

}  // namespace

CTimeWindow::CTimeWindow() {
    timetable_detail::Today(&date_);
    timetable_detail::ReadTableSettings();
    CollectClocks();
    SYSTEMTIME start{};
    if (TableStartMoment(date_, LocalZone(), &start)) PrepareZones(start);
}

CTimeWindow::~CTimeWindow() { timetable_detail::Forget(this, nullptr); }

COLORREF CTimeWindow::CellColour(int row, int clock) const {
    if (row < 0 || row >= RowCount() || clock < 0 || clock >= clockCount_) return GetSysColor(COLOR_WINDOW);
    return colours_[row][clock];
}

void CTimeWindow::CollectClocks() {
    clocks_.clear();
    clockCount_ = 0;
    if (!g_clocks) return;
    for (int i = 0; i < g_clockCount && i < kMaxClocks && clockCount_ < kMaxClocks; ++i) {
        if (IsTimerClock(g_clocks[i])) continue;
        clocks_.push_back(g_clocks[i]);
        // The alarm list stays the clock table's; the table never reads it.
        clocks_.back().alarms = nullptr;
        clocks_.back().alarmCount = 0;
        ++clockCount_;
    }
}

void CTimeWindow::PrepareZones(const SYSTEMTIME& utc) {
    for (int c = 0; c < clockCount_; ++c) PrepareTableZone(clocks_[c], zones_[c], utc);
}

void CTimeWindow::DestroyControls() {
    for (HWND* w : {&list_, &intervalStatic_, &intervalCombo_, &dateStatic_, &datePicker_, &formatStatic_,
                    &formatCombo_}) {
        if (*w) DestroyWindow(*w);
        *w = nullptr;
    }
    colours_.clear();
}

void CTimeWindow::CreateControls() {
    HWND window = Handle();
    if (!window) return;
    const int h = std::max(GetSystemMetrics(SM_CYVSCROLL) + 4, GetSystemMetrics(SM_CYMENU));
    const LanguageStrings& language = Language();

    dateStatic_ = MakeChild(window, L"Static", language.LoadUiString(kTableDateLabelId).c_str(), SS_CENTERIMAGE);
    datePicker_ = MakeChild(window, DATETIMEPICK_CLASSW, L"", WS_TABSTOP, kTableDatePickerId);
    if (datePicker_) {
        SYSTEMTIME day = date_;
        SendMessageW(datePicker_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&day));
        wchar_t text[128] = {};
        GetWindowTextW(datePicker_, text, 128);
        if (!text[0]) GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, text, 128);
        const SIZE size = TextSize(datePicker_, text);
        SetWindowPos(datePicker_, nullptr, 0, 0, size.cx + GetSystemMetrics(SM_CXVSCROLL) + 14, h,
                     SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }

    intervalStatic_ =
        MakeChild(window, L"Static", language.LoadUiString(kTableIntervalLabelId).c_str(), SS_CENTERIMAGE);
    intervalCombo_ = MakeChild(window, WC_COMBOBOXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                               kTableIntervalComboId);
    formatStatic_ = MakeChild(window, L"Static", language.LoadUiString(kTableFormatLabelId).c_str(), SS_CENTERIMAGE);
    formatCombo_ =
        MakeChild(window, WC_COMBOBOXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kTableFormatComboId);
    for (HWND label : {dateStatic_, intervalStatic_, formatStatic_}) {
        if (label) SizeStatic(label);
    }

    const int interval = TimeTableInterval();
    if (intervalCombo_) {
        const std::wstring minutes = language.LoadUiString(kTableMinutesId);
        int widest = 0;
        for (int value : kIntervals) {
            std::wstring item;
            if (value == 60) {
                item = language.LoadUiString(kTableHourItemId);
            } else {
                wchar_t number[8];
                swprintf(number, 8, L"%2d", value);
                item = std::wstring(number) + L" " + minutes;
            }
            const LRESULT index = SendMessageW(intervalCombo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            if (index >= 0) {
                SendMessageW(intervalCombo_, CB_SETITEMDATA, index, value);
                if (value == interval) SendMessageW(intervalCombo_, CB_SETCURSEL, index, 0);
            }
            widest = std::max<int>(widest, TextSize(intervalCombo_, item).cx);
        }
        SetWindowPos(intervalCombo_, nullptr, 0, 0, widest + GetSystemMetrics(SM_CXVSCROLL) + 10, h * 8,
                     SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    if (formatCombo_) {
        const UINT ids[] = {kFormatNameDefaultId, kFormatName12Id, kFormatName24Id, kTableClockFormatId};
        int widest = 0;
        for (int format = 0; format <= kTableFormatClock; ++format) {
            const std::wstring item = language.LoadUiString(ids[format]);
            const LRESULT index = SendMessageW(formatCombo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            if (index >= 0) {
                SendMessageW(formatCombo_, CB_SETITEMDATA, index, format);
                if (format == TimeTableFormat()) SendMessageW(formatCombo_, CB_SETCURSEL, index, 0);
            }
            widest = std::max<int>(widest, TextSize(formatCombo_, item).cx);
        }
        const int width = std::max(widest, 40) + GetSystemMetrics(SM_CXVSCROLL) + 10;
        SetWindowPos(formatCombo_, nullptr, 0, 0, width, h * 6, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }

    list_ = MakeChild(window, WC_LISTVIEWW, L"", WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS,
                      kTableListId);
    if (!list_) return;
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    std::wstring titles[kMaxClocks + 1];
    titles[0] = language.LoadUiString(kTableLocalColumnId);
    for (int c = 0; c < clockCount_; ++c) {
        wchar_t prefix[33] = {};
        const size_t n = std::min<size_t>(wcsnlen(clocks_[c].prefix, 32), 32);
        wmemcpy(prefix, clocks_[c].prefix, n);
        titles[c + 1] = prefix;
    }
    int widest = 0;
    for (int i = 0; i <= clockCount_; ++i) {
        widest = std::max<int>(widest, static_cast<int>(SendMessageW(
                                           list_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(titles[i].c_str()))));
    }
    HWND header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
    const int margin = header ? static_cast<int>(SendMessageW(header, HDM_GETBITMAPMARGIN, 0, 0)) : 0;
    const int width = widest + 2 * (GetSystemMetrics(SM_CXEDGE) + margin);
    for (int i = 0; i <= clockCount_; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = width;
        column.pszText = const_cast<wchar_t*>(titles[i].c_str());
        column.iSubItem = i;
        SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        columnWidths_[i] = width;
    }
}

void CTimeWindow::Layout() {
    HWND window = Handle();
    if (!window) return;
    RECT client{};
    GetClientRect(window, &client);
    const int bar = std::max({GetSystemMetrics(SM_CYVSCROLL), GetSystemMetrics(SM_CYMENU), WindowHeight(datePicker_)}) +
                    2 * GetSystemMetrics(SM_CYEDGE);
    int x = 4;
    auto place = [&](HWND w, int gapAfter, bool combo) {
        if (!w) return;
        const int height = combo ? static_cast<int>(SendMessageW(w, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)) + 6
                                 : WindowHeight(w);
        SetWindowPos(w, nullptr, x, std::max(0, (bar - height) / 2), 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
        x += WindowWidth(w) + gapAfter;
    };
    place(dateStatic_, 4, false);
    place(datePicker_, 14, false);
    place(intervalStatic_, 4, false);
    place(intervalCombo_, 10, true);
    place(formatStatic_, 4, false);
    place(formatCombo_, 0, true);
    if (list_)
        SetWindowPos(list_, nullptr, 0, bar, client.right, std::max<LONG>(0, client.bottom - bar),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTimeWindow::Fill() {
    if (!list_ || TimeTableInterval() <= 0) return;
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    ClockRecord* shown[kMaxClocks] = {};
    for (int c = 0; c < clockCount_; ++c) shown[c] = &clocks_[c];
    const std::vector<TimeTableRow> rows = BuildTimeTableRows(date_, TimeTableInterval(), TimeTableFormat(),
                                                              LocalZone(), shown, clockCount_, window);
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    colours_.clear();
    const int edge = 6 * GetSystemMetrics(SM_CXEDGE);
    for (size_t r = 0; r < rows.size(); ++r) {
        const TimeTableRow& row = rows[r];
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(r);
        item.pszText = const_cast<wchar_t*>(row.cells[0].c_str());
        const int index = static_cast<int>(SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        for (size_t c = 0; c < row.cells.size() && c <= static_cast<size_t>(kMaxClocks); ++c) {
            if (c > 0 && index >= 0) {
                LVITEMW sub{};
                sub.iSubItem = static_cast<int>(c);
                sub.pszText = const_cast<wchar_t*>(row.cells[c].c_str());
                SendMessageW(list_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&sub));
            }
            const int width = static_cast<int>(
                                  SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(row.cells[c].c_str()))) +
                              edge;
            columnWidths_[c] = std::max(columnWidths_[c], width);
        }
        colours_.push_back(row.colours);
    }
    // The working zones show the rules of the last row.
    if (!rows.empty()) PrepareZones(rows.back().moment);
    for (int c = 0; c <= clockCount_; ++c) SendMessageW(list_, LVM_SETCOLUMNWIDTH, c, columnWidths_[c]);
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void CTimeWindow::SizeColumns() {
    HWND window = Handle();
    if (!window) return;
    int width = GetSystemMetrics(SM_CXVSCROLL);
    for (int c = 0; c <= clockCount_; ++c) width += columnWidths_[c];
    if (formatCombo_) {
        RECT combo{};
        GetWindowRect(formatCombo_, &combo);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&combo), 2);
        width = std::max<int>(width, combo.right);
    }
    int rowHeight = 16, headerHeight = 0;
    if (list_) {
        RECT item{};
        item.left = LVIR_BOUNDS;
        if (SendMessageW(list_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item))) rowHeight = item.bottom - item.top;
        headerHeight = WindowHeight(reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0)));
    }
    RECT client{};
    GetClientRect(window, &client);
    const int bar = list_ ? [&] {
        RECT r{};
        GetWindowRect(list_, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return static_cast<int>(r.top);
    }()
                          : 0;
    const int height = bar + headerHeight + RowCount() * rowHeight + GetSystemMetrics(SM_CYHSCROLL) + 8;
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int workWidth = work.right - work.left, workHeight = work.bottom - work.top;
    int w = frame.right - frame.left, h = frame.bottom - frame.top;
    int x = work.left, y = work.top;
    if (w < workWidth) {
        x = work.left + (workWidth - w) / 2;
    } else {
        w = workWidth;
    }
    if (h < workHeight) {
        y = work.top + (workHeight - h) / 2;
    } else {
        h = workHeight;
    }
    SetWindowPos(window, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    if (w >= workWidth) ShowWindow(window, SW_SHOWMAXIMIZED);
}

LRESULT CTimeWindow::OnCustomDraw(NMLVCUSTOMDRAW* draw) {
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        const int row = static_cast<int>(draw->nmcd.dwItemSpec);
        const int sub = draw->iSubItem;
        draw->clrTextBk = sub == 0 ? GetSysColor(COLOR_WINDOW) : CellColour(row, sub - 1);
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void CTimeWindow::OnNotify(const NMHDR* header, WindowMessage& message) {
    if (!header) return;
    if (header->hwndFrom == list_ && header->code == NM_CUSTOMDRAW) {
        message.result = OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(header)));
        return;
    }
    if (header->hwndFrom == datePicker_ && header->code == DTN_DATETIMECHANGE) {
        const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(header);
        if (change->dwFlags != GDT_VALID) return;
        SYSTEMTIME day = change->st;
        day.wHour = day.wMinute = day.wSecond = day.wMilliseconds = 0;
        SYSTEMTIME start{};
        if (!TableStartMoment(day, LocalZone(), &start)) return;  // a date no zone converts
        date_ = day;
        Fill();
    }
}

void CTimeWindow::OnCommand(WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if ((id != kTableIntervalComboId && id != kTableFormatComboId) || (code != CBN_SELENDOK && code != CBN_EDITCHANGE))
        return;
    HWND combo = id == kTableIntervalComboId ? intervalCombo_ : formatCombo_;
    const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index < 0) return;
    const int value = static_cast<int>(SendMessageW(combo, CB_GETITEMDATA, index, 0));
    if (id == kTableIntervalComboId) {
        if (value < kTableIntervalMin || value > kTableIntervalMax) return;
        timetable_detail::SetTableInterval(value);
    } else {
        if (value < kTableFormatDefault || value > kTableFormatClock) return;
        timetable_detail::SetTableFormat(value);
    }
    Fill();
}

void CTimeWindow::OnDestroy() {
    timetable_detail::WriteTableSettings();
    RECT rect{};
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(Handle(), &placement)) {
        rect = placement.rcNormalPosition;
    } else {
        GetWindowRect(Handle(), &rect);
    }
    timetable_detail::Forget(this, &rect);
    list_ = intervalStatic_ = intervalCombo_ = dateStatic_ = datePicker_ = formatStatic_ = formatCombo_ = nullptr;
}

bool CTimeWindow::OnMessage(WindowMessage& message) {
    switch (message.message) {
    case WM_CREATE:
        CollectClocks();
        CreateControls();
        Fill();
        Layout();
        message.result = 0;
        return true;
    case WM_DESTROY:
        OnDestroy();
        return false;
    case WM_SIZE:
        Layout();
        return false;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(Handle(), &client);
        FillRect(reinterpret_cast<HDC>(message.wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        message.result = 1;
        return true;
    }
    case WM_NOTIFY:
        message.result = 0;
        OnNotify(reinterpret_cast<const NMHDR*>(message.lParam), message);
        return true;
    case WM_COMMAND:
        OnCommand(message.wParam);
        return false;
    default:
        return false;
    }
}
