#include "settings/frame_window.h"

#include <commctrl.h>

#include "common/graphics/small_icon.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "common/alarms/alarm_log.h"
#include "settings/box_wait.h"
#include "settings/location_picker.h"
#include "settings/main_dialog.h"
#include "settings/preview.h"
#include "settings/settings_app.h"
#include "settings/settings_tree.h"

namespace {

ClockTickState g_tick;
// Set once WM_CREATE succeeded: a frame that never came up must not end the
// message loop of whoever tried to create it.
bool g_frameUp = false;
MainDialogOpener g_openMainDialog = CreateMainSettingsDialog;

bool IsDialogWindow(HWND window) {
    wchar_t cls[16] = {};
    return GetClassNameW(window, cls, 16) && lstrcmpW(cls, L"#32770") == 0;
}

BOOL CALLBACK SendLanguageChanged(HWND window, LPARAM) {
    if (IsDialogWindow(window)) SendMessageW(window, MSG_LANGUAGE_CHANGED, 0, 0);
    return TRUE;
}

void OnLanguageChanged(HWND frame) {
    LoadFrameStrings();
    SetWindowTextW(frame, g_settingsApp.frameCaption);
    HWND dialog = g_settingsApp.mainDialog;
    if (dialog && IsWindow(dialog)) {
        SendMessageW(dialog, MSG_LANGUAGE_CHANGED, 0, 0);
        EnumChildWindows(dialog, SendLanguageChanged, 0);
    }
    RetitleAlarmLog();
    if (dialog && IsWindow(dialog)) RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void OnSettingChange(UINT message, WPARAM wParam, LPARAM lParam) {
    // With a library loaded this only binds the visual-styles entries again.
    LoadResourceModule(nullptr);
    InvalidatePreviewLook();
    SendToMainDialog(message, wParam, lParam);
}

void OnDestroy(HWND frame) {
    KillTimer(frame, kFrameTimerId);
    HWND dialog = g_settingsApp.mainDialog;
    g_settingsApp.mainDialog = nullptr;
    if (dialog && IsWindow(dialog)) DestroyWindow(dialog);
    g_settingsApp.frame = nullptr;
    DestroyProgramTree();
    ClearTrayPreview();
    if (g_frameUp) PostQuitMessage(0);
    g_frameUp = false;
}

LRESULT OnCreate(HWND frame) {
    g_settingsApp.frame = frame;
    g_settingsApp.mainDialogFailed = false;
    if (!CreateMainDialog()) {
        g_settingsApp.mainDialogFailed = true;
        return -1;
    }
    g_frameUp = true;
    g_tick = ClockTickState();
    SetTimer(frame, kFrameTimerId, kFrameTimerMs, nullptr);
    return 0;
}

LRESULT HandleFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case SETTINGS_MSG_OPEN_PAGE:
            if (wParam != 0) SendToMainDialog(SETTINGS_MSG_SELECT_PAGE, wParam, lParam);
            return 0;
        case SETTINGS_MSG_RESERVED_4:
            return 0;
        case SETTINGS_MSG_ON_DESKTOP:
        case SETTINGS_MSG_RESERVED_6:
        case MSG_SYNC_STATE:
        case MSG_CLOUDS_CHANGED:
            return SendToMainDialog(message, wParam, lParam);
        case SETTINGS_MSG_END_MODAL:
            if (g_settingsApp.picker && IsWindow(g_settingsApp.picker)) {
                EndDialog(g_settingsApp.picker, kPickerEndedResult);
            }
            return 0;
        case MSG_LANGUAGE_CHANGED:
            OnLanguageChanged(window);
            return 0;
        case WM_WININICHANGE:
            OnSettingChange(message, wParam, lParam);
            return 0;
        case WM_TIMER:
            if (wParam == kFrameTimerId) {
                SYSTEMTIME utc = {};
                GetSystemTime(&utc);
                OnClockTick(utc, g_tick);
            }
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == CMD_QUIT_MENU) {
                DestroyWindow(window);
                return 0;
            }
            if (LOWORD(wParam) == CMD_SETTINGS_MENU) {
                CreateMainDialog();
                return 0;
            }
            break;
        case WM_CLOSE:
            // The main program's exit closes the frame too; its end frees
            // every node, which the code behind an open box still holds.
            if (SettingsBoxOpen()) {
                PostWhenNoBoxOpen(window, WM_CLOSE, 0, 0);
                return 0;
            }
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            OnDestroy(window);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

ClockTickState& FrameTickState() { return g_tick; }

LRESULT SendToMainDialog(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND dialog = g_settingsApp.mainDialog;
    if (!dialog || !IsWindow(dialog)) return 0;
    return SendMessageW(dialog, message, wParam, lParam);
}

bool CreateMainDialog() {
    HMODULE resources = ResourceModule();
    if (!resources) return false;
    if (g_settingsApp.mainDialog && IsWindow(g_settingsApp.mainDialog)) return true;
    g_settingsApp.mainDialog = nullptr;
    HWND dialog = g_openMainDialog(g_settingsApp.frame, resources);
    if (!dialog) return false;
    g_settingsApp.mainDialog = dialog;
    ShowWindow(dialog, SW_SHOWNORMAL);
    // Showing activates only where the system lets it: the starter allowed
    // this program the front, which it takes over the starter's window.
    SetForegroundWindow(dialog);
    BuildProgramTree(dialog);
    if (HWND tree = GetDlgItem(dialog, kSettingsTreeId)) {
        HTREEITEM root = TreeView_GetRoot(tree);
        if (root) TreeView_SelectItem(tree, root);
    }
    return IsWindow(g_settingsApp.mainDialog) != FALSE;
}

MainDialogOpener SetMainDialogOpener(MainDialogOpener opener) {
    const MainDialogOpener old = g_openMainDialog;
    g_openMainDialog = opener ? opener : CreateMainSettingsDialog;
    return old;
}

LRESULT CALLBACK FrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may unwind into the system's code that called us.
    try {
        return HandleFrameMessage(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

bool RegisterSettingsClasses(HINSTANCE instance) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, kSettingsControlClasses};
    InitCommonControlsEx(&icc);

    WNDCLASSEXW frame = {};
    frame.cbSize = sizeof frame;
    frame.style = CS_HREDRAW | CS_VREDRAW;
    frame.lpfnWndProc = FrameWndProc;
    frame.hInstance = instance;
    frame.hIcon = g_settingsApp.classIcon;
    frame.hIconSm = SharedSmallIcon(instance, kClassIconId);
    frame.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    frame.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    frame.lpszMenuName = MAKEINTRESOURCEW(kFrameMenuId);
    frame.lpszClassName = kSettingsWindowClass;
    if (!RegisterClassExW(&frame)) return false;

    WNDCLASSEXW host = {};
    host.cbSize = sizeof host;
    host.style = CS_HREDRAW | CS_VREDRAW;
    host.lpfnWndProc = MapHostWndProc;
    host.cbWndExtra = kMapHostExtraBytes;
    host.hInstance = instance;
    host.hIcon = g_settingsApp.classIcon;
    host.hIconSm = frame.hIconSm;
    host.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    host.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    host.lpszClassName = kMapHostClass;
    if (!RegisterClassExW(&host)) {
        UnregisterClassW(kSettingsWindowClass, instance);
        return false;
    }
    return true;
}

void UnregisterSettingsClasses(HINSTANCE instance) {
    UnregisterClassW(kSettingsWindowClass, instance);
    UnregisterClassW(kMapHostClass, instance);
}

HWND CreateFrameWindow(HINSTANCE instance) {
    g_settingsApp.mainDialogFailed = false;
    HWND frame = CreateWindowExW(0, kSettingsWindowClass, g_settingsApp.frameCaption, WS_OVERLAPPEDWINDOW,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                                 nullptr);
    if (!frame) g_settingsApp.frame = nullptr;
    return frame;
}
