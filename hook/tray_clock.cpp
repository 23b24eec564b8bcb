// Taking over the stock taskbar clock and giving it back.
#include "hook/tray_clock.h"

#include <windows.h>
#include <commctrl.h>

#include <new>
#include <utility>

#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "common/zones/city_list.h"
#include "common/platform/windows_version.h"
#include "common/platform/theme_library.h"
#include "hook/hook_shared.h"
#include "hook/panel_tray.h"
#include "hook/tooltip_window.h"
#include "hook/tray_restart.h"
#include "hook/tray_state.h"

namespace {

constexpr UINT_PTR kTrayTimerId = 1;
constexpr UINT kTrayTimerMs = 64;
constexpr int kParkedTooltip = -16384;
// (-16384, -16384) as TTM_TRACKPOSITION takes it: x in the low, y in the high word.
const LPARAM kParkedPosition = static_cast<LPARAM>(
    MAKELONG(static_cast<WORD>(kParkedTooltip & 0xFFFF), static_cast<WORD>(kParkedTooltip & 0xFFFF)));
constexpr DWORD kReleaseGraceMs = 1000;
// How long the release thread waits for the taskbar thread to come round.
constexpr DWORD kRoundTripMs = 30000;

// The blur request as dwmapi takes it (DWM_BLURBEHIND).
struct BlurBehind {
    DWORD flags;
    BOOL enable;
    HRGN region;
    BOOL transitionOnMaximized;
};
constexpr DWORD kBlurBehindEnable = 0x1;  // DWM_BB_ENABLE

template <typename Fn>
void Bind(Fn& fn, HMODULE module, const char* name) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void LoadDwm() {
    if (!IsWindowsVersionAtLeast(6, 0)) return;
    DwmEntries& dwm = g_tray.dwm;
    dwm.module = LoadLibraryW(L"dwmapi.dll");
    if (!dwm.module) return;
    Bind(dwm.IsCompositionEnabled, dwm.module, "DwmIsCompositionEnabled");
    Bind(dwm.EnableBlurBehindWindow, dwm.module, "DwmEnableBlurBehindWindow");
    Bind(dwm.ExtendFrameIntoClientArea, dwm.module, "DwmExtendFrameIntoClientArea");
}

void FreeDwm() {
    DwmEntries& dwm = g_tray.dwm;
    HMODULE module = dwm.module;
    dwm = DwmEntries();
    if (module) FreeLibrary(module);
}

LRESULT CALLBACK TooltipWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_PAINT && PaintTooltipBody(window)) return 0;
    } catch (...) {
    }
    WNDPROC own = g_tray.tooltipProc;
    return own ? CallWindowProcW(own, window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

void CreateTrackingTooltip(HWND clockWindow) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, clockWindow, nullptr, g_hookShared.module, nullptr);
    if (!tip) return;
    g_tray.tooltip = tip;
    g_tray.tooltipProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(tip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TooltipWndProc)));
    TTTOOLINFOW ti = ClockToolInfo(clockWindow);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(tip, TTM_TRACKPOSITION, 0, kParkedPosition);
}

void DestroyTrackingTooltip() {
    HWND tip = g_tray.tooltip;
    if (!tip) return;
    if (g_tray.tooltipProc && IsWindow(tip)) {
        SetWindowLongPtrW(tip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_tray.tooltipProc));
    }
    DestroyWindow(tip);
    g_tray.tooltip = nullptr;
    g_tray.tooltipProc = nullptr;
}

HCURSOR LoadOwnCursor(const wchar_t* id) {
    return static_cast<HCURSOR>(LoadImageW(nullptr, id, IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
}

void DestroyCursors() {
    if (g_tray.handCursor) DestroyCursor(g_tray.handCursor);
    if (g_tray.arrowCursor) DestroyCursor(g_tray.arrowCursor);
    g_tray.handCursor = nullptr;
    g_tray.arrowCursor = nullptr;
}


// The clock's window procedure lives in this library: while the clock runs it,
// the library holds itself, so that the end of the hook (or of the program
// that set it) cannot unload it from under the clock.
HMODULE g_heldSelf = nullptr;
// Frames of this library's clock code on the taskbar thread's stack, and a
// hold that waits for them to return: a release that comes inside a nested
// wait (the greeting's, say) must not free the code that waits.
int g_clockFrames = 0;
HMODULE g_pendingSelf = nullptr;
HWND g_pendingClock = nullptr;

void HoldOwnLibrary() {
    if (g_heldSelf) return;
    HMODULE self = nullptr;
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&TrayClockWndProc),
                           &self)) {
        g_heldSelf = self;
    }
}

// The hold goes on a thread of its own once the taskbar's thread has come
// back for its next message, out of this library's code.
DWORD WINAPI ReleaseOwnLibrary(LPVOID param) {
    const auto* args = static_cast<const std::pair<HMODULE, HWND>*>(param);
    const HMODULE self = args->first;
    HWND clock = args->second;
    delete args;
    DWORD_PTR ignored = 0;
    if (!clock || !SendMessageTimeoutW(clock, WM_NULL, 0, 0, SMTO_NORMAL, kRoundTripMs, &ignored)) {
        Sleep(kReleaseGraceMs);  // no window to go round: give the thread time to return
    }
    FreeLibraryAndExitThread(self, 0);
}

void StartReleaseThread(HMODULE self, HWND clock) {
    auto* args = new (std::nothrow) std::pair<HMODULE, HWND>(self, clock && IsWindow(clock) ? clock : nullptr);
    HANDLE thread = args ? CreateThread(nullptr, 0, ReleaseOwnLibrary, args, 0, nullptr) : nullptr;
    if (thread) {
        CloseHandle(thread);
        return;
    }
    // Without the thread the hold stays: a library kept loaded is harmless,
    // one freed under running code is not.
    delete args;
}

void LetGoOfOwnLibrary(HWND clock) {
    if (!g_heldSelf) return;
    g_pendingSelf = g_heldSelf;
    g_pendingClock = clock;
    g_heldSelf = nullptr;
}

}  // namespace

// The main program answers the greeting with its own window; any other answer
// means the program that wrote the shared section is gone. One that is there
// but does not answer in time (still starting, or hung) is greeted again a
// moment later: the taskbar's thread does not wait for it meanwhile.
void GreetMainProgram(HWND clockWindow) {
    HWND main = g_hookShared.mainWindow;
    DWORD_PTR reply = 0;
    if (main && SendMessageTimeoutW(main, MSG_TRAY_CLOCK_READY, 0, reinterpret_cast<LPARAM>(clockWindow),
                                    SMTO_ABORTIFHUNG | SMTO_NORMAL, kMainProgramReplyMs, &reply)) {
        if (reinterpret_cast<HWND>(reply) != main) {
            RestartMainProgram(g_hookShared.programFolder, g_hookShared.commandLine);
        }
        return;
    }
    if (main && IsWindow(main)) {
        SetTimer(clockWindow, kGreetAgainTimerId, kGreetAgainMs, nullptr);
        return;
    }
    RestartMainProgram(g_hookShared.programFolder, g_hookShared.commandLine);
}

ClockFrame::ClockFrame() { ++g_clockFrames; }

ClockFrame::~ClockFrame() {
    if (--g_clockFrames != 0 || !g_pendingSelf) return;
    // The clock may have been taken again in the meantime: then it holds
    // the library once more and this hold goes.
    HMODULE self = g_pendingSelf;
    g_pendingSelf = nullptr;
    StartReleaseThread(self, g_pendingClock);
}

TTTOOLINFOW ClockToolInfo(HWND clockWindow) {
    TTTOOLINFOW ti = {};
    ti.cbSize = kClockToolInfoBytes;
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = clockWindow;
    ti.uId = kClockToolId;
    ti.lpszText = LPSTR_TEXTCALLBACKW;
    return ti;
}

bool IsCompositionEnabled() {
    BOOL enabled = FALSE;
    return g_tray.dwm.IsCompositionEnabled && SUCCEEDED(g_tray.dwm.IsCompositionEnabled(&enabled)) && enabled;
}

HRESULT SetTaskbarBlur(HWND window, bool enable) {
    if (!g_tray.dwm.EnableBlurBehindWindow) return 1;
    BlurBehind blur = {kBlurBehindEnable, enable ? TRUE : FALSE, nullptr, FALSE};
    return g_tray.dwm.EnableBlurBehindWindow(window, &blur);
}

bool IsTaskbarHorizontal() {
    RECT r = {};
    if (!GetClientRect(g_hookShared.taskbar, &r)) return true;
    return r.right - r.left > r.bottom - r.top;
}

void RestartTrayTimer() {
    HWND w = g_hookShared.clockWindow;
    if (!w) return;
    KillTimer(w, kTrayTimerId);
    SetTimer(w, kTrayTimerId, kTrayTimerMs, nullptr);
}

void DeactivateTooltip() {
    if (!g_tray.tooltip) return;
    TTTOOLINFOW ti = ClockToolInfo(g_hookShared.clockWindow);
    SendMessageW(g_tray.tooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

void ParkTooltip() {
    if (g_tray.tooltip) SendMessageW(g_tray.tooltip, TTM_TRACKPOSITION, 0, kParkedPosition);
}

void SubclassTrayClock(HWND clockWindow) {
    if (!clockWindow) return;
    ClockFrame frame;
    g_tray = TrayClockState();
    g_tray.owner = g_hookShared.mainWindow;
    HoldOwnLibrary();
    g_hookShared.clockWindow = clockWindow;
    g_hookShared.stockProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(clockWindow, GWLP_WNDPROC));
    g_tray.visible = (GetWindowLongPtrW(clockWindow, GWL_STYLE) & WS_VISIBLE) != 0;
    SetWindowLongPtrW(clockWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TrayClockWndProc));
    SetClassLongPtrW(clockWindow, GCL_STYLE, GetClassLongPtrW(clockWindow, GCL_STYLE) | CS_DBLCLKS);

    // The language: visual styles, the resource library and the language files.
    Language().SetLanguageFileBase(L"tempovia");
    LoadResourceModule(g_hookShared.programFolder);

    LoadDwm();
    if (IsCompositionEnabled()) SetTaskbarBlur(g_hookShared.taskbar, false);

    CreateTrackingTooltip(clockWindow);
    g_tray.savedExStyle = GetWindowLongPtrW(clockWindow, GWL_EXSTYLE);
    g_tray.exStyleSaved = true;
    SetWindowLongPtrW(clockWindow, GWL_EXSTYLE, g_tray.savedExStyle & ~static_cast<LONG_PTR>(WS_EX_LAYOUTRTL));
    g_tray.handCursor = LoadOwnCursor(IDC_HAND);
    g_tray.arrowCursor = LoadOwnCursor(IDC_ARROW);

    GreetMainProgram(clockWindow);
    // Given back while it greeted (the program ended at once).
    if (!g_hookShared.stockProc) return;

    RestartTrayTimer();
    PostMessageW(g_hookShared.taskbar, WM_SIZE, 0, 0);
    PostMessageW(GetParent(clockWindow), WM_SIZE, 0, 0);
    InvalidateRect(g_hookShared.taskbar, nullptr, TRUE);
}

void UnsubclassTrayClock() {
    DropPhoto();
    DestroyTrackingTooltip();
    HWND w = g_hookShared.clockWindow;
    if (w && IsWindow(w) && g_hookShared.stockProc) {
        if (g_tray.exStyleSaved) SetWindowLongPtrW(w, GWL_EXSTYLE, g_tray.savedExStyle);
        KillTimer(w, kTrayTimerId);
        KillTimer(w, kGreetAgainTimerId);
        SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_hookShared.stockProc));
        SendMessageW(w, WM_WININICHANGE, 0, 0);
    }
    // The clock window stays named while the hook that released it is in
    // place: the messages that keep reaching the clock until the program has
    // unhooked must not take it over again (RemoveHook forgets it).
    g_hookShared.stockProc = nullptr;
    g_tray.hoveredClock = -1;
    PanelClear();
    FreeClockRecords(true);
    FreeCityList();
    SetTaskbarBlur(g_hookShared.taskbar, true);
    FreeDwm();
    FreeResourceModule();
    FreeThemeLibrary();
    DestroyCursors();
    // A program that started while this one was still releasing (a hung
    // taskbar) waits for the clock: its hook takes it at the next message.
    if (g_hookShared.mainWindow && g_hookShared.mainWindow != g_tray.owner) g_hookShared.clockWindow = nullptr;
    LetGoOfOwnLibrary(w);
}
