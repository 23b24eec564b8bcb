// The alarm log window: its class, creation, layout, messages and end.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/alarms/alarm_actions.h"
#include "common/alarms/alarm_log.h"
#include "common/alarms/alarm_log_state.h"
#include "common/alarms/alarm_schedule_check.h"
#include "common/platform/window_place.h"

namespace {

AlarmLogState g_log;

constexpr int kTitleChars = 100;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 20;
constexpr int kMinPlacedWidth = 40;
constexpr int kMinPlacedHeight = 22;
constexpr int kButtonLeft = 20;

HINSTANCE ProgramInstance() { return GetModuleHandleW(nullptr); }

std::wstring LogTitle() {
    wchar_t title[kTitleChars];
    if (Language().LoadUiString(kLogTitleStringId, title, kTitleChars) > 0) return title;
    return kAlarmLogDefaultTitle;
}

RECT WorkArea() {
    RECT area;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) area = {0, 0, 640, 480};
    return area;
}

// The saved placement when it is usable, else the lower right corner of the
// work area, a third of its width and a sixth of its height.
RECT InitialPlacement() {
    RECT placed;
    if (ReadLogWindowPos(placed) && placed.right - placed.left > kMinPlacedWidth &&
        placed.bottom - placed.top > kMinPlacedHeight && IsOnSomeMonitor(placed)) {
        return placed;
    }
    const RECT area = WorkArea();
    const LONG width = (area.right - area.left) / 3;
    const LONG height = (area.bottom - area.top) / 6;
    return {area.right - width, area.bottom - height, area.right, area.bottom};
}

void OnCreate(HWND window) {
    g_log.window = window;
    const RECT placed = InitialPlacement();
    SetWindowPos(window, nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    RECT client;
    GetClientRect(window, &client);
    g_log.list = CreateWindowExW(0, WC_LISTVIEWW, L"",
                                 WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                                     LVS_NOCOLUMNHEADER,
                                 0, 0, client.right, client.bottom, window, nullptr, ProgramInstance(), nullptr);
    if (g_log.list) {
        SendMessageW(g_log.list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        SetupAlarmLogColumns();
    }

    const std::wstring caption = Language().LoadUiString(kLogDeleteStringId);
    g_log.button = CreateWindowExW(0, L"Button", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_VCENTER, 0,
                                   0, kButtonWidth, kButtonHeight, window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAlarmLogDeleteButtonId)),
                                   ProgramInstance(), nullptr);
    if (g_log.button) {
        if (g_log.list) SendMessageW(g_log.button, WM_SETFONT, SendMessageW(g_log.list, WM_GETFONT, 0, 0), FALSE);
        EnableWindow(g_log.button, FALSE);
    }
}

void OnSize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    const int menuHeight = GetSystemMetrics(SM_CYMENU);
    if (g_log.list) MoveWindow(g_log.list, 0, 0, client.right, client.bottom - menuHeight - 20, TRUE);
    if (g_log.button) MoveWindow(g_log.button, kButtonLeft, client.bottom - menuHeight - 10, kButtonWidth, menuHeight, TRUE);
}

void OnDestroy(HWND window) {
    if (g_alarmCheck.checkedOnce) SaveLastAlarmCheck();
    RECT placed;
    if (GetWindowRect(window, &placed)) WriteLogWindowPos(placed);
    if (g_log.list) {
        for (int column = 0; column < 2; ++column) {
            const int width = static_cast<int>(SendMessageW(g_log.list, LVM_GETCOLUMNWIDTH, column, 0));
            if (width > 0) g_log.columnWidths[column] = width;
        }
    }
    WriteLogColumns(g_log.columnWidths);
    g_log.window = g_log.list = g_log.button = nullptr;
}

LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_SIZE:
        OnSize(window);
        return 0;
    case WM_SETFOCUS:
        // The frame itself takes no keys: however the log was brought up or
        // activated, the first key typed belongs to its rows.
        if (g_log.list) SetFocus(g_log.list);
        return 0;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && header->hwndFrom == g_log.list && header->code == LVN_KEYDOWN &&
            reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_DELETE) {
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(kAlarmLogDeleteButtonId, BN_CLICKED),
                         reinterpret_cast<LPARAM>(g_log.button));
        }
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kAlarmLogDeleteButtonId) DeleteAlarmLogRow();
        return 0;
    case WM_CLOSE:
        ShowWindow(window, SW_HIDE);
        return 0;
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case MSG_LANGUAGE_CHANGED:
        RetitleAlarmLog();
        return DefWindowProcW(window, message, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK AlarmLogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleMessage(window, message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool RegisterLogClass() {
    if (g_log.registered) return true;
    HMODULE resources = Language().resourceModule();
    g_log.icon = resources ? static_cast<HICON>(LoadImageW(resources, MAKEINTRESOURCEW(kAlarmLogIconId), IMAGE_ICON,
                                                           0, 0, LR_DEFAULTSIZE))
                           : nullptr;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = AlarmLogProc;
    wc.hInstance = ProgramInstance();
    wc.hIcon = g_log.icon;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.lpszClassName = kAlarmLogClass;
    if (!RegisterClassExW(&wc)) {
        if (g_log.icon) DestroyIcon(g_log.icon);
        g_log.icon = nullptr;
        return false;
    }
    g_log.registered = true;
    return true;
}

}  // namespace

AlarmLogState& LogState() { return g_log; }

HWND AlarmLogHandle() { return g_log.window; }

HWND AlarmLogList() { return g_log.list; }

void BeginAlarmCheck() {
    g_log.checkBegun = true;
    GetSystemTime(&g_alarmCheck.previousCheck);
    LoadLastAlarmCheck();
}

HWND CreateAlarmLogWindow() {
    if (g_log.window) return g_log.window;
    BeginAlarmCheck();
    return AlarmLogWindow();
}

HWND AlarmLogWindow() {
    if (g_log.window) return g_log.window;
    g_log.columnWidths[0] = kDefaultLogColumnWidths[0];
    g_log.columnWidths[1] = kDefaultLogColumnWidths[1];
    if (!RegisterLogClass()) return nullptr;
    const std::wstring title = LogTitle();
    // WM_CREATE fills the module state, the window handle included.
    CreateWindowExW(0, kAlarmLogClass, title.c_str(),
                    WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, ProgramInstance(), nullptr);
    return g_log.window;
}

void RetitleAlarmLog() {
    if (!g_log.window) return;
    wchar_t title[kTitleChars];
    if (Language().LoadUiString(kLogTitleStringId, title, kTitleChars) > 0) SetWindowTextW(g_log.window, title);
    if (g_log.list) {
        const UINT ids[2] = {kLogColumnWhenStringId, kLogColumnMessageStringId};
        for (int column = 0; column < 2; ++column) {
            std::wstring text = Language().LoadUiString(ids[column]);
            LVCOLUMNW lvc = {};
            lvc.mask = LVCF_TEXT;
            lvc.pszText = text.data();
            SendMessageW(g_log.list, LVM_SETCOLUMNW, column, reinterpret_cast<LPARAM>(&lvc));
        }
    }
    if (g_log.button) SetWindowTextW(g_log.button, Language().LoadUiString(kLogDeleteStringId).c_str());
}

void DestroyAlarmWindows() {
    AlarmWindowsState& actions = AlarmWindows();
    if (actions.stopPlayingWindow && IsWindow(actions.stopPlayingWindow)) DestroyWindow(actions.stopPlayingWindow);
    actions.stopPlayingWindow = nullptr;
    if (actions.countdownWindow && IsWindow(actions.countdownWindow)) DestroyWindow(actions.countdownWindow);
    actions.countdownWindow = nullptr;
    // The log saves the check moment, its place and its widths when it goes.
    // A log this run never needed is made now, hidden, so that the same keys
    // are written whether or not an alarm fired.
    if (!g_log.window && g_log.checkBegun) AlarmLogWindow();
    if (g_log.window) {
        DestroyWindow(g_log.window);
    } else if (g_alarmCheck.checkedOnce) {
        SaveLastAlarmCheck();
    }
    g_log.checkBegun = false;
    StopAlarmSound();
    if (g_log.registered) {
        UnregisterClassW(kAlarmLogClass, ProgramInstance());
        g_log.registered = false;
    }
    if (g_log.icon) DestroyIcon(g_log.icon);
    g_log.icon = nullptr;
}
