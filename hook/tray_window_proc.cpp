// The window procedure of the taken-over taskbar clock. Messages it does not
// handle go to the stock clock's procedure.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include <climits>

#include "common/records/protocol.h"
#include "common/zones/city_list.h"
#include "common/records/clock_table.h"
#include "common/zones/local_zone.h"
#include "common/platform/popup_placement.h"
#include "common/platform/theme_helpers.h"
#include "hook/clock_menu.h"
#include "hook/hook_shared.h"
#include "hook/panel_tray.h"
#include "hook/tooltip_window.h"
#include "hook/tray_clock.h"
#include "hook/tray_state.h"

namespace {

constexpr UINT_PTR kTrayTimerId = 1;
constexpr WORD kUnsubclassCommand = static_cast<WORD>(MSG_QUIT);
constexpr int kMouseClocks = 30;  // MSG_CLOCK_MOUSE + 0..29
constexpr int kMaxTipWidth = 300;
#ifndef WM_DWMCOMPOSITIONCHANGED
constexpr UINT WM_DWMCOMPOSITIONCHANGED = 0x031E;
#endif

LRESULT Stock(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    WNDPROC stock = g_hookShared.stockProc;
    return stock ? CallWindowProcW(stock, w, m, wp, lp) : DefWindowProcW(w, m, wp, lp);
}

HWND Main() { return g_hookShared.mainWindow; }

void AllowForeground(HWND window) {
    DWORD pid = 0;
    if (window && GetWindowThreadProcessId(window, &pid) && pid) AllowSetForegroundWindow(pid);
}

// A hung main program must not freeze the taskbar.
LRESULT SendToMain(UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR reply = 0;
    if (!Main() || !SendMessageTimeoutW(Main(), message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                                        kMainProgramReplyMs, &reply)) {
        return 0;
    }
    return static_cast<LRESULT>(reply);
}

bool IsMouseClock(int clock) { return clock >= 0 && clock < kMouseClocks; }

void SendSize(HWND target, HWND w) {
    RECT r = {};
    if (w) GetClientRect(w, &r);
    if (target) SendMessageW(target, WM_SIZE, 0, w ? MAKELPARAM(r.right - r.left, r.bottom - r.top) : 0);
}

LRESULT OnSizeChanged(HWND w) {
    if (g_tray.layoutDepth != 0) return 0;
    ++g_tray.layoutDepth;
    const SIZE size = GetTrayClockArea(w);
    HWND parent = GetParent(w);
    HWND grandparent = parent ? GetParent(parent) : nullptr;
    if (grandparent) SendMessageW(grandparent, WM_SIZE, 0, 0);
    UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    if (g_tray.visible) flags |= SWP_SHOWWINDOW;
    SetWindowPos(w, nullptr, 0, 0, size.cx, size.cy, flags);
    if (parent) SendMessageW(parent, WM_SIZE, 0, 0);
    if (grandparent) SendMessageW(grandparent, WM_SIZE, 0, 0);
    --g_tray.layoutDepth;
    return 0;
}

LRESULT OnPaint(HWND w) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    if (!dc) return 0;
    const DWORD layout = GetLayout(dc);
    if (layout != GDI_ERROR && layout != 0) SetLayout(dc, 0);
    HTHEME theme = nullptr;
    OpenThemeIfActive(theme, w, L"CLOCK");
    PanelPaint(w, dc, theme);
    if (layout != GDI_ERROR && layout != 0) SetLayout(dc, layout);
    EndPaint(w, &ps);
    CloseThemeHandle(theme);
    return 0;
}

LRESULT OnRedraw(HWND w, UINT message, WPARAM wParam) {
    const bool isTick = message == WM_TIMER && wParam == kTrayTimerId;
    int change = 0;
    if (g_tray.visible && g_tray.taskbarClockCount > 0) change = PanelTick(!isTick);
    if (change != 0 || !isTick) {
        // A face that only shows the next second keeps its place: the
        // hovered clock, and the photo that arrives for it, stay. Anything
        // that may move the faces lets the next move hover afresh.
        if (change == 2 || !isTick) g_tray.hoveredClock = -1;
        if (change == 2) SendSize(w, w);
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT);
    }
    return 0;
}

LRESULT OnSettingsChanged(HWND w) {
    RefreshLocalZone();
    g_tray.hoveredClock = -1;
    DropPhoto();
    PanelLoadSkins();
    RestartTrayTimer();
    PanelTick(true);
    HWND parent = GetParent(w);
    if (g_tray.visible) {
        RECT r = {};
        GetClientRect(w, &r);
        MapWindowPoints(w, parent, reinterpret_cast<POINT*>(&r), 2);
        WINDOWPOS pos = {};
        pos.hwnd = w;
        pos.x = r.left;
        pos.y = r.top;
        pos.cx = r.right - r.left;
        pos.cy = r.bottom - r.top;
        ImposePanelSize(w, &pos);
        MoveWindow(w, pos.x, pos.y, pos.cx, pos.cy, TRUE);
        SendMessageW(w, WM_SIZE, 0, MAKELPARAM(pos.cx, pos.cy));
        if (HWND grandparent = parent ? GetParent(parent) : nullptr) SendMessageW(grandparent, WM_SIZE, 0, 0);
    }
    if (parent) SendMessageW(parent, WM_SIZE, 0, 0);
    return OnRedraw(w, MSG_TRAY_REDRAW, 0);
}

LRESULT OnNotify(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
    if (!hdr || !g_tray.tooltip || hdr->hwndFrom != g_tray.tooltip) return Stock(w, m, wp, lp);
    if (hdr->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lp);
        SendMessageW(g_tray.tooltip, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
        if (TraySettings().tooltipkind) {
            GetAllClocksTooltipText(w, info);
        } else {
            GetClockTooltipText(w, info);
        }
        return 0;
    }
    if (hdr->code == TTN_SHOW) {
        NoteTooltipTime();
        RECT r = {};
        if (PlaceTooltip(w, &r)) {
            SetWindowPos(g_tray.tooltip, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 1;
    }
    return Stock(w, m, wp, lp);
}

// The keyboard's menu (lParam -1) opens at the middle of the hovered clock,
// else of the first clock, else of the window.
POINT KeyboardMenuPoint(HWND w) {
    RECT r = {};
    if (!PanelClockRect(g_tray.hoveredClock, &r) && !PanelClockRect(0, &r)) GetClientRect(w, &r);
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(w, &p);
    return p;
}

LRESULT OnContextMenu(HWND w, LPARAM lp) {
    POINT pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (pt.x == -1 && pt.y == -1) {
        pt = KeyboardMenuPoint(w);
        lp = MAKELPARAM(pt.x, pt.y);
    }
    POINT client = pt;
    ScreenToClient(w, &client);
    int clock = HitTestClock(client.x, client.y);
    if (!IsMouseClock(clock)) clock = -1;
    AllowForeground(Main());
    const UINT message = clock >= 0 ? MSG_CLOCK_MOUSE + static_cast<UINT>(clock) : MSG_CLOCK_MOUSE_NONE;
    if (SendToMain(message, CLOCK_MOUSE_MENU, lp) != 0) return 0;
    HMENU menu = BuildClockMenu(w, clock);
    g_tray.hoveredClock = -1;
    DeactivateTooltip();
    SetForegroundWindow(w);
    SetFocus(w);
    if (menu) {
        TrackPopupMenu(menu, TPM_RIGHTBUTTON, pt.x, pt.y, 0, w, nullptr);
        DestroyMenu(menu);
    }
    return 0;
}

void OnMouseMove(HWND w, WPARAM wp, LPARAM lp) {
    if (!g_tray.tooltip) return;
    const POINT pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    const int o = HitTestClock(pt.x, pt.y);
    const bool noButton = (wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0;
    if (noButton && o >= 0 && lp != g_tray.lastHoverPos && PanelHoverTest(o, pt)) {
        g_tray.lastHoverPos = lp;
        if (IsMouseClock(o)) {
            SendToMain(MSG_CLOCK_MOUSE + static_cast<UINT>(o), CLOCK_MOUSE_HOVER, reinterpret_cast<LPARAM>(w));
        }
        return;
    }
    POINT cursor = {};
    RECT window = {};
    GetCursorPos(&cursor);
    GetWindowRect(w, &window);
    if (!PtInRect(&window, cursor)) {
        g_tray.lastHoverPos = -1;
        ParkTooltip();
        DeactivateTooltip();
        g_tray.hoveredClock = -1;
        return;
    }
    // The taskbar is rarely the foreground window, so a capture would not
    // bring the move that leaves it: Windows reports the leave instead.
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, w, 0};
    TrackMouseEvent(&track);
    if (o >= 0 && o != g_tray.hoveredClock) HoverClock(w, o, 0, true);
}

LRESULT OnLeftButtonDown(HWND w, LPARAM lp) {
    const int clock = HitTestClock(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
    (void)w;
    if (IsMouseClock(clock) && Main()) {
        AllowForeground(Main());
        SendToMain(MSG_CLOCK_MOUSE + static_cast<UINT>(clock), CLOCK_MOUSE_DOWN, lp);
    }
    return 0;
}

LRESULT OnLeftButtonDoubleClick(LPARAM lp) {
    const int clock = HitTestClock(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
    if (!IsMouseClock(clock)) return 0;
    if (HWND settings = FindWindowW(kSettingsWindowClass, nullptr)) AllowForeground(settings);
    AllowForeground(Main());
    if (Main()) PostMessageW(Main(), MSG_CLOCK_MOUSE + static_cast<UINT>(clock), CLOCK_MOUSE_DBLCLK, lp);
    return 0;
}

LRESULT OnTimerPanelAnchor(HWND w, WPARAM number, LPARAM size) {
    const int index = static_cast<int>(number) - 1;
    RECT r = {};
    if (!PanelIsTimerFace(index) || !PanelClockRect(index, &r)) return 0;
    const POINT p = PlacePopupNearRect(w, r, SIZE{LOWORD(size), HIWORD(size)});
    return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(p.x, p.y)));
}

LRESULT OnHoverTest(HWND w, WPARAM number) {
    POINT p = {};
    GetCursorPos(&p);
    ScreenToClient(w, &p);
    return PanelHoverTest(static_cast<int>(number) - 1, p) ? 1 : 0;
}

LRESULT Dispatch(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        return OnSizeChanged(w);
    case WM_KILLFOCUS:
    case WM_NCMOUSELEAVE:
    case WM_MOUSELEAVE:
        g_tray.hoveredClock = -1;
        g_tray.lastHoverPos = -1;
        DeactivateTooltip();
        return 0;
    case WM_PAINT:
        return OnPaint(w);
    case WM_SHOWWINDOW:
        g_tray.visible = wp != 0;
        return Stock(w, m, wp, lp);
    case WM_WININICHANGE:
        if (IsCompositionEnabled()) SetTaskbarBlur(g_hookShared.taskbar, false);
        if (wp == SPI_SETWORKAREA) return Stock(w, m, wp, lp);
        return OnSettingsChanged(w);
    case WM_FONTCHANGE:
    case WM_TIMECHANGE:
    case MSG_SETTINGS_CHANGED:
        return OnSettingsChanged(w);
    case WM_TIMER:
        if (wp == kGreetAgainTimerId) {
            KillTimer(w, kGreetAgainTimerId);
            GreetMainProgram(w);
            return 0;
        }
        return OnRedraw(w, m, wp);
    case WM_SYSCOLORCHANGE:
    case MSG_TRAY_REDRAW:
        return OnRedraw(w, m, wp);
    case WM_WINDOWPOSCHANGING:
        ImposePanelSize(w, reinterpret_cast<WINDOWPOS*>(lp));
        return 0;
    case WM_COPYDATA:
        return ReceiveTrayBlock(w, wp, reinterpret_cast<const COPYDATASTRUCT*>(lp));
    case WM_NOTIFY:
        return OnNotify(w, m, wp, lp);
    case WM_CONTEXTMENU:
        return OnContextMenu(w, lp);
    case WM_NCHITTEST:
        return DefWindowProcW(w, m, wp, lp);
    case WM_COMMAND:
        if (LOWORD(wp) == kUnsubclassCommand) {
            // Only the program that has the clock gives it back, or anyone
            // once that program is gone: a late release of an older program
            // must not undo a newer one's hand-over.
            HWND from = reinterpret_cast<HWND>(lp);
            if (from != g_tray.owner && g_tray.owner && IsWindow(g_tray.owner)) return 0;
            ReleaseCapture();
            UnsubclassTrayClock();
            return 0;
        }
        AllowForeground(Main());
        if (Main()) PostMessageW(Main(), WM_COMMAND, wp, reinterpret_cast<LPARAM>(w));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(w, wp, lp);
        return Stock(w, m, wp, lp);
    case WM_LBUTTONDOWN:
        return OnLeftButtonDown(w, lp);
    case WM_LBUTTONDBLCLK:
        return OnLeftButtonDoubleClick(lp);
    case WM_ERASEBKGND:
        return 0;
    case WM_DWMCOMPOSITIONCHANGED:
        if (IsCompositionEnabled()) SetTaskbarBlur(g_hookShared.taskbar, false);
        return Stock(w, m, wp, lp);
    case MSG_TRAY_QUERY_SIZE: {
        if (g_tray.layoutDepth == 0) InvalidateRect(w, nullptr, FALSE);
        if (!g_tray.visible) return 0;
        const SIZE size = GetTrayClockArea(w);
        return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(size.cx, size.cy)));
    }
    case MSG_CLOCK_COUNT: {
        const int count = wp ? static_cast<int>(wp) : TrayClockCount();
        g_canAddClock = count < kMaxClocks;
        g_multipleClocks = count > 1;
        return 0;
    }
    case MSG_TIMER_PANEL_ANCHOR:
        return OnTimerPanelAnchor(w, wp, lp);
    case MSG_CLOCK_HOVER_TEST:
        return OnHoverTest(w, wp);
    case MSG_PHOTO_READY:
        // Asking again would fetch the city's next photo while this one is
        // never shown.
        if (static_cast<INT_PTR>(wp) >= 0 && static_cast<INT_PTR>(wp) < g_cities.count && lp >= 1 && lp < INT_MAX) {
            ShowArrivedPhoto(w, static_cast<int>(wp), static_cast<int>(lp));
        }
        return 0;
    default:
        return Stock(w, m, wp, lp);
    }
}

}  // namespace

LRESULT CALLBACK TrayClockWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Explorer must never see an exception of ours.
    try {
        ClockFrame frame;
        return Dispatch(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}
