#include "tempovia/timetools/time_converter.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/graphics/dib_section.h"
#include "common/graphics/faces/clock_face.h"
#include "common/graphics/faces/mech_clock.h"
#include "common/graphics/faces/skin_manager.h"
#include "common/platform/dialog_utils.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/time_format.h"
#include "common/records/clock_table.h"
#include "common/platform/text_bounds.h"
#include "tempovia/timetools/converter_layout.h"
#include "tempovia/timetools/converter_text.h"
#include "tempovia/timetools/zone_moment.h"

namespace {

constexpr UINT_PTR kRedrawTimer = 1;
constexpr wchar_t kDatePicture[] = L"dd MMM yyyy";

void SystemNow(SYSTEMTIME* utc) { GetSystemTime(utc); }
ConverterNowFn g_now = SystemNow;

struct ConverterState {
    HWND dialog = nullptr;
    SYSTEMTIME moment{};
    // Faces keep pointers into the copies: the vector is never resized
    // while faces exist.
    std::vector<ClockRecord> clocks;
    std::vector<std::unique_ptr<CClock>> faces;
    std::vector<bool> analogue;
    CGraphics* skin = nullptr;
    HWND tooltip = nullptr;
    int hover = -1;
    SIZE picker{0, 0};
    bool redrawQueued = false;
    int rebuilding = 0;
    std::vector<HWND> timePickers;
    std::vector<HWND> datePickers;
    std::wstring tipText;
};

ConverterState g_state;

SYSTEMTIME NowUtc() {
    SYSTEMTIME now{};
    g_now(&now);
    return now;
}

void FreeFaces() {
    g_state.faces.clear();
    g_state.analogue.clear();
    if (g_state.skin) SkinManager().ReleaseSkin(g_state.skin);
    g_state.skin = nullptr;
    g_state.clocks.clear();
    g_state.hover = -1;
}

// Copies of the clocks with the rules of the moment, and their faces.
void BuildFaces() {
    FreeFaces();
    g_state.clocks = CopyConverterClocks(g_clocks, g_clockCount, g_settings.transparentskin != 0);
    ApplyRulesToClocks(g_state.clocks, g_state.moment);
    const wchar_t* name = g_settings.skin[0] ? g_settings.skin : kClassicStyleName;
    g_state.skin = SkinManager().GetSkin(name);
    if (!g_state.skin) g_state.skin = SkinManager().GetSkin(kClassicStyleName);
    HDC dc = CreateCompatibleDC(nullptr);
    for (ClockRecord& clock : g_state.clocks) {
        ConverterLocalTime(clock, g_state.moment, &clock.currentTime);
        const bool analogue = g_state.skin && (g_state.skin->GetSkinFlags() & kSkinFace) != 0;
        std::unique_ptr<CClock> face;
        if (analogue) {
            face = std::make_unique<CMechClock>(&clock, g_state.skin);
            face->SetPadding(0, 0);
        } else {
            face = std::make_unique<CClock>(&clock, g_state.skin);
        }
        if (g_state.skin && dc) face->CalcSize(dc, kUnlimited, kUnlimited, nullptr, &clock.currentTime);
        g_state.faces.push_back(std::move(face));
        g_state.analogue.push_back(analogue);
    }
    if (dc) DeleteDC(dc);
}

SIZE FaceSize(size_t k) {
    const RECT r = g_state.faces[k]->GetRect();
    return SIZE{std::max<LONG>(0, r.right - r.left), std::max<LONG>(0, r.bottom - r.top)};
}

SYSTEMTIME FirstOfLocalYear() {
    SYSTEMTIME utc = NowUtc(), local{};
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) local = utc;
    SYSTEMTIME first{};
    first.wYear = local.wYear;
    first.wMonth = 1;
    first.wDay = 1;
    return first;
}

std::wstring TimePickerFormat() {
    wchar_t picture[81] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, picture, 81) <= 0) CopyBounded(picture, L"HH:mm:ss");
    return StripSecondsFromTimePicture(picture);
}

void DestroyPickers() {
    for (HWND w : g_state.timePickers) DestroyWindow(w);
    for (HWND w : g_state.datePickers) DestroyWindow(w);
    g_state.timePickers.clear();
    g_state.datePickers.clear();
}

void CreatePickers() {
    DestroyPickers();
    HWND dialog = g_state.dialog;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    const std::wstring timeFormat = TimePickerFormat();
    SYSTEMTIME range[2] = {FirstOfLocalYear(), {}};
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    for (size_t k = 0; k < g_state.clocks.size(); ++k) {
        HWND time = CreateWindowExW(0, DATETIMEPICK_CLASSW, L"",
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_UPDOWN | DTS_TIMEFORMAT, -500, -500,
                                    100, 20, dialog, reinterpret_cast<HMENU>(kConverterTimePickerId + k), instance,
                                    nullptr);
        HWND date = CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, -500, -500, 100,
                                    20, dialog, reinterpret_cast<HMENU>(kConverterDatePickerId + k), instance, nullptr);
        for (HWND picker : {time, date}) {
            if (!picker) continue;
            if (font) SendMessageW(picker, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            SendMessageW(picker, DTM_SETRANGE, GDTR_MIN, reinterpret_cast<LPARAM>(range));
        }
        if (time) SendMessageW(time, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(timeFormat.c_str()));
        if (date) SendMessageW(date, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(kDatePicture));
        g_state.timePickers.push_back(time);
        g_state.datePickers.push_back(date);
    }
}

// The widest date of the picture and the widest time sample, in the
// dialog's font.
void MeasurePickers() {
    HWND dialog = g_state.dialog;
    HDC dc = GetDC(dialog);
    if (!dc) return;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SIZE widest{0, 0};
    auto measure = [&](const wchar_t* text) {
        SIZE size{};
        if (GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size)) {
            widest.cx = std::max(widest.cx, size.cx);
            widest.cy = std::max(widest.cy, size.cy);
        }
    };
    wchar_t text[kDateTextChars] = {};
    for (int month = 1; month <= 12; ++month) {
        SYSTEMTIME day{};
        day.wYear = 2055;
        day.wMonth = static_cast<WORD>(month);
        day.wDay = 20;
        if (GetDateFormatW(LOCALE_USER_DEFAULT, 0, &day, kDatePicture, text, kDateTextChars) > 0) measure(text);
    }
    const wchar_t* sample = CurrentLocaleTimeFormat().is24Hour ? L"HH:mm:ss" : L"hh:mm:ss:tt";
    for (int hour : {10, 22}) {
        SYSTEMTIME t{};
        t.wYear = 2055;
        t.wMonth = 1;
        t.wDay = 20;
        t.wHour = static_cast<WORD>(hour);
        if (GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &t, sample, text, kDateTextChars) > 0) measure(text);
    }
    if (old) SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    g_state.picker.cx = widest.cx + GetSystemMetrics(SM_CXVSCROLL) + 9;
    g_state.picker.cy = widest.cy + 8;
}

void LayoutColumns(bool centre) {
    HWND dialog = g_state.dialog;
    std::vector<SIZE> sizes;
    for (size_t k = 0; k < g_state.faces.size(); ++k) sizes.push_back(FaceSize(k));
    const ConverterLayout layout = LayoutConverter(sizes, g_state.picker);
    for (size_t k = 0; k < layout.columns.size(); ++k) {
        const ConverterColumnPlace& place = layout.columns[k];
        HWND time = k < g_state.timePickers.size() ? g_state.timePickers[k] : nullptr;
        HWND date = k < g_state.datePickers.size() ? g_state.datePickers[k] : nullptr;
        if (!place.placed) {
            for (HWND w : {time, date}) {
                if (!w) continue;
                SetWindowPos(w, nullptr, -500, -500, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
                EnableWindow(w, FALSE);
            }
            continue;
        }
        g_state.faces[k]->SetRect(place.face);
        if (date)
            SetWindowPos(date, nullptr, place.datePicker.x, place.datePicker.y, g_state.picker.cx, g_state.picker.cy,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        if (time)
            SetWindowPos(time, nullptr, place.timePicker.x, place.timePicker.y, g_state.picker.cx, g_state.picker.cy,
                         SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT frame{0, 0, std::max<LONG>(layout.client.cx, 40), std::max<LONG>(layout.client.cy, 32)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(dialog, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    if (centre) {
        CenterOnDesktop(dialog);
        return;
    }
    // Kept in place, but back inside the desktop when it would stick out.
    RECT desktop{}, r{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(dialog, &r);
    int x = r.left, y = r.top;
    x = std::min<int>(x, desktop.right - 2 - width);
    y = std::min<int>(y, desktop.bottom - 2 - height);
    x = std::max<int>(x, desktop.left + 2);
    y = std::max<int>(y, desktop.top + 2);
    if (x != r.left || y != r.top) SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

void RequestRedraw() {
    if (!g_state.dialog || g_state.redrawQueued) return;
    g_state.redrawQueued = true;
    SetTimer(g_state.dialog, kRedrawTimer, 1, nullptr);
}

void SetConverterPickers() {
    ++g_state.rebuilding;
    for (size_t k = 0; k < g_state.clocks.size(); ++k) {
        g_state.faces[k]->HasChanged(g_state.moment);
        SYSTEMTIME local{};
        if (!ConverterLocalTime(g_state.clocks[k], g_state.moment, &local)) continue;
        g_state.clocks[k].currentTime = local;
        for (HWND picker : {g_state.timePickers[k], g_state.datePickers[k]}) {
            if (picker) SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&local));
        }
    }
    --g_state.rebuilding;
    RequestRedraw();
}

void FocusFirstPicker() {
    if (!g_state.timePickers.empty() && g_state.timePickers[0]) SetFocus(g_state.timePickers[0]);
}

void CreateTooltip() {
    if (g_state.tooltip) DestroyWindow(g_state.tooltip);
    g_state.tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, g_state.dialog, nullptr, nullptr,
                                      nullptr);
    if (!g_state.tooltip) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = g_state.dialog;
    tool.uId = 1;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(g_state.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(g_state.tooltip, TTM_SETMAXTIPWIDTH, 0, 300);
}

TTTOOLINFOW TrackTool() {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = g_state.dialog;
    tool.uId = 1;
    return tool;
}

void HideTip() {
    g_state.hover = -1;
    if (!g_state.tooltip) return;
    TTTOOLINFOW tool = TrackTool();
    SendMessageW(g_state.tooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void OnMouseMove(POINT at) {
    int hit = -1;
    for (size_t k = 0; k < g_state.faces.size(); ++k) {
        const RECT r = g_state.faces[k]->GetRect();
        if (PtInRect(&r, at)) {
            hit = static_cast<int>(k);
            break;
        }
    }
    if (hit == g_state.hover) return;
    HideTip();
    if (hit < 0 || !g_state.tooltip) return;
    g_state.hover = hit;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, g_state.dialog, 0};
    TrackMouseEvent(&track);
    TTTOOLINFOW tool = TrackTool();
    const RECT face = g_state.faces[hit]->GetRect();
    POINT centre{(face.left + face.right) / 2, face.top};
    ClientToScreen(g_state.dialog, &centre);
    SendMessageW(g_state.tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(centre.x, centre.y));
    SendMessageW(g_state.tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    // Now that the text is known, centred 4 pixels above the face.
    RECT tip{};
    if (GetWindowRect(g_state.tooltip, &tip)) {
        const int x = centre.x - (tip.right - tip.left) / 2;
        const int y = centre.y - 4 - (tip.bottom - tip.top);
        SendMessageW(g_state.tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(x, y));
    }
}

void OnTipText(NMTTDISPINFOW* info) {
    const int k = g_state.hover;
    if (k < 0 || static_cast<size_t>(k) >= g_state.clocks.size()) {
        info->szText[0] = 0;
        info->lpszText = info->szText;
        return;
    }
    g_state.tipText = ConverterTipText(g_state.clocks[k], g_state.clocks[k].currentTime);
    info->lpszText = const_cast<wchar_t*>(g_state.tipText.c_str());
}

void PaintFaces(HDC target, const RECT& update) {
    RECT client{};
    GetClientRect(g_state.dialog, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    CDibSection surface;
    if (!surface.Create(client.right, client.bottom)) {
        FillRect(target, &update, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    FillRect(surface.Dc(), &client, GetSysColorBrush(COLOR_BTNFACE));
    for (size_t k = 0; k < g_state.faces.size(); ++k) {
        CClock& face = *g_state.faces[k];
        const RECT r = face.GetRect();
        RECT meet{};
        if (!IntersectRect(&meet, &r, &update) || !face.GetSkin()) continue;
        CGraphics* skin = face.GetSkin();
        if (g_state.analogue[k]) {
            CBitmap* previous = skin->GetTargetBitmap();
            skin->SetTargetBitmap(&surface);
            face.Paint(surface.Dc(), nullptr);
            skin->SetTargetBitmap(previous);
        } else {
            face.Paint(surface.Dc(), nullptr);
        }
    }
    GdiFlush();
    BitBlt(target, update.left, update.top, update.right - update.left, update.bottom - update.top, surface.Dc(),
           update.left, update.top, SRCCOPY);
}

void RebuildAll(bool reloaded) {
    ++g_state.rebuilding;
    HideTip();
    if (reloaded) DestroyPickers();
    BuildFaces();
    if (reloaded || g_state.timePickers.size() != g_state.clocks.size()) {
        CreatePickers();
    } else {
        // The locale's time picture may have changed.
        const std::wstring timeFormat = TimePickerFormat();
        for (HWND picker : g_state.timePickers) {
            if (picker) SendMessageW(picker, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(timeFormat.c_str()));
        }
    }
    MeasurePickers();
    LayoutColumns(false);
    --g_state.rebuilding;
    SetConverterPickers();
    InvalidateRect(g_state.dialog, nullptr, FALSE);
    if (reloaded) FocusFirstPicker();
}

void OnSettingsChanged(LPARAM reason) {
    if (reason == 30) {
        // The computer's time changed: the copies and faces follow the
        // rules now in force, at the moment shown.
        ++g_state.rebuilding;
        BuildFaces();
        --g_state.rebuilding;
        if (g_state.timePickers.size() != g_state.clocks.size()) {
            RebuildAll(true);
            return;
        }
        LayoutColumns(false);
        SetConverterPickers();
        return;
    }
    if (reason == 26) ReadLocaleTimeFormat();
    RebuildAll(reason != 26);
}

void OnInitDialog(HWND dialog) {
    g_state.dialog = dialog;
    std::wstring title = Language().LoadUiString(kConverterTitleId);
    if (!title.empty()) SetWindowTextW(dialog, title.c_str());
    Language().TranslateDialog(dialog, L"DLG_TimeConverter");
    ReadLocaleTimeFormat();
    g_state.moment = ConverterOpeningMoment(NowUtc());
    ++g_state.rebuilding;
    BuildFaces();
    CreateTooltip();
    CreatePickers();
    MeasurePickers();
    LayoutColumns(true);
    --g_state.rebuilding;
    SetConverterPickers();
    FocusFirstPicker();
}

int PickerColumn(UINT_PTR id, int base) {
    const int k = static_cast<int>(id) - base;
    return k >= 0 && static_cast<size_t>(k) < g_state.clocks.size() ? k : -1;
}

void OnPickerChanged(const NMDATETIMECHANGE* change) {
    if (g_state.rebuilding > 0 || change->dwFlags != GDT_VALID) return;
    const UINT_PTR id = change->nmhdr.idFrom;
    if (int k = PickerColumn(id, kConverterDatePickerId); k >= 0 && id >= static_cast<UINT_PTR>(kConverterDatePickerId)) {
        if (ConvertPickedDate(g_state.clocks, k, change->st, g_state.moment)) SetConverterPickers();
        return;
    }
    if (int k = PickerColumn(id, kConverterTimePickerId); k >= 0) {
        if (ConvertPickedTime(g_state.clocks, k, change->st, g_state.moment)) SetConverterPickers();
    }
}

INT_PTR OnNotify(const NMHDR* header) {
    if (!header) return FALSE;
    if (header->code == DTN_DATETIMECHANGE) {
        OnPickerChanged(reinterpret_cast<const NMDATETIMECHANGE*>(header));
    } else if (header->code == TTN_GETDISPINFOW && header->hwndFrom == g_state.tooltip) {
        OnTipText(reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header)));
    }
    return FALSE;
}

void OnWheel(WPARAM wParam) {
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != g_state.dialog) return;
    const WPARAM key = GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? VK_UP : VK_DOWN;
    SendMessageW(focus, WM_KEYDOWN, key, 1);
    SendMessageW(focus, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

void OnDestroy() {
    if (g_state.tooltip) DestroyWindow(g_state.tooltip);
    g_state.tooltip = nullptr;
    KillTimer(g_state.dialog, kRedrawTimer);
    g_state.redrawQueued = false;
    g_state.timePickers.clear();
    g_state.datePickers.clear();
    FreeFaces();
    g_state.dialog = nullptr;
    g_state.moment = SYSTEMTIME{};
}

INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return FALSE;  // the focus is set
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) DestroyWindow(dialog);
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return TRUE;
    case WM_MOUSELEAVE:
        HideTip();
        return TRUE;
    case WM_MOUSEWHEEL:
        OnWheel(wParam);
        return TRUE;
    case WM_TIMER:
        if (wParam == kRedrawTimer) {
            KillTimer(dialog, kRedrawTimer);
            g_state.redrawQueued = false;
            InvalidateRect(dialog, nullptr, FALSE);
        }
        return TRUE;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(dialog, &ps);
        if (dc) PaintFaces(dc, ps.rcPaint);
        EndPaint(dialog, &ps);
        return TRUE;
    }
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = POINT{40, 32};
        return TRUE;
    }
    case WM_TIMECHANGE:
        OnSettingsChanged(30);
        return TRUE;
    case MSG_SETTINGS_CHANGED:
        OnSettingsChanged(lParam);
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK ConverterProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may leave a dialog procedure.
    try {
        return HandleMessage(dialog, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

}  // namespace

HWND ShowTimeConverterDialog(HWND owner) {
    if (g_state.dialog) {
        ShowWindow(g_state.dialog, SW_SHOW);
        SetForegroundWindow(g_state.dialog);
        return g_state.dialog;
    }
    HWND dialog = CreateDialogParamW(Language().resourceModule(), MAKEINTRESOURCEW(kConverterDialogId), owner,
                                     ConverterProc, 0);
    if (!dialog) return nullptr;
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    return dialog;
}

HWND GetTimeConverterWindow() { return g_state.dialog; }

void CloseTimeConverter() {
    if (g_state.dialog) DestroyWindow(g_state.dialog);
}

SYSTEMTIME TimeConverterMoment() { return g_state.moment; }

ConverterNowFn SetConverterNowFn(ConverterNowFn fn) {
    ConverterNowFn previous = g_now;
    g_now = fn ? fn : SystemNow;
    return previous;
}
