#include "tempovia/panels/timer_panel.h"

#include <windowsx.h>

#include "common/graphics/log_font.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/records/clock_table.h"
#include "tempovia/panels/main_window_source.h"

namespace panels {
namespace {

// A clock window in Explorer may hang; the panel then stays away.
constexpr UINT kAnchorTimeoutMs = 2000;

const ClockRecord* ClockOf(int number) {
    const int index = number - 1;
    if (!g_clocks || index < 0 || index >= g_clockCount) return nullptr;
    return &g_clocks[index];
}

}  // namespace

CTimerPanel::CTimerPanel() = default;

CTimerPanel::~CTimerPanel() {
    // The window goes first: its last messages still reach this object.
    Destroy();
    surface_.Destroy();
    if (font_) DeleteObject(font_);
}

int CTimerPanel::ButtonLeft(int i) {
    const SIZE cell = ButtonCellSize();
    return kButtonGap + i * (cell.cx + kButtonGap);
}

bool CTimerPanel::MakeFont() {
    if (font_) return true;
    LOGFONTW lf{};
    if (!MakeLogFont(L"Tahoma", 0, -11, FW_NORMAL, 0, &lf)) return false;
    lf.lfQuality = ANTIALIASED_QUALITY;
    font_ = CreateFontIndirectW(&lf);
    return font_ != nullptr;
}

void CTimerPanel::Destroy() { DestroyKeepingObject(); }

bool CTimerPanel::Show(HWND clockWindow, int clockNumber) {
    if (IsShown()) {
        if (clockNumber == clockNumber_) {
            ArmHideTimer();
            return true;
        }
        Destroy();
    }
    pressed_ = kNoButton;
    buttonCount_ = 0;
    mouseOver_ = false;
    clockNumber_ = clockNumber;
    clockWindow_ = clockWindow;
    for (int kind = 0; kind < 3; ++kind) {
        Language().LoadUiString(kButtonLabelIds[kind], labels_[kind], kLabelChars + 1);
    }

    const bool haveImage = LoadButtonImage();
    const ClockRecord* clock = ClockOf(clockNumber);
    if (!clock || !IsTimerClock(*clock) || !haveImage || !clockWindow || !IsWindow(clockWindow)) return false;
    const SIZE cell = ButtonCellSize();
    buttonWidth_ = cell.cx;
    buttonHeight_ = cell.cy;
    // A countdown to a date and a stopwatch from a set start cannot be reset.
    const uint32_t fixed = kClockTimer | kClockSetDate;
    buttonCount_ = (clock->kind & fixed) == fixed ? 1 : 2;

    if (!MakeFont()) return false;
    SIZE text{0, 0};
    {
        HDC dc = CreateCompatibleDC(nullptr);
        if (!dc) return false;
        HGDIOBJ old = SelectObject(dc, font_);
        GetTextExtentPoint32W(dc, L"1wql", 4, &text);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    const int width = buttonCount_ * buttonWidth_ + buttonCount_ * kButtonGap + kButtonGap;
    const int height = buttonHeight_ + text.cy + 8;
    if (!surface_.Create(width, height)) return false;

    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(clockWindow, MSG_TIMER_PANEL_ANCHOR, static_cast<WPARAM>(clockNumber),
                             MAKELPARAM(width, height), SMTO_ABORTIFHUNG | SMTO_NORMAL, kAnchorTimeoutMs,
                             &answer)) {
        return false;
    }
    POINT anchor{GET_X_LPARAM(static_cast<LPARAM>(answer)), GET_Y_LPARAM(static_cast<LPARAM>(answer))};
    ClientToScreen(clockWindow, &anchor);

    SetPosition(anchor.x, anchor.y);
    SetSize(width, height);
    // The record's text need not be terminated.
    wchar_t title[std::size(ClockRecord{}.prefix) + 1] = {};
    for (size_t i = 0; i < std::size(clock->prefix) && clock->prefix[i]; ++i) title[i] = clock->prefix[i];
    if (!Create(nullptr, title, WS_POPUP, WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST)) return false;
    // Layered only now: a window made layered at creation would be given
    // constant-alpha attributes, and then refuse per-pixel updates.
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
    SetWindowPos(Handle(), HWND_TOPMOST, anchor.x, anchor.y, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    SetClock(clockNumber);
    return IsShown();
}

void CTimerPanel::SetClock(int clockNumber) {
    clockNumber_ = clockNumber;
    const ClockRecord* clock = ClockOf(clockNumber);
    kinds_[0] = clock && clock->running ? kButtonStop : kButtonStart;
    kinds_[1] = kButtonReset;
    Render();
}

int CTimerPanel::HitTest(int x, int y) const {
    if (y - kButtonGap < 0 || y - kButtonGap > buttonHeight_ - 1) return kNoButton;
    for (int i = 0; i < buttonCount_; ++i) {
        const int left = ButtonLeft(i);
        if (x >= left && x < left + buttonWidth_) return kinds_[i];
    }
    return kNoButton;
}

bool CTimerPanel::IsOverClock() const {
    if (!clockWindow_ || !IsWindow(clockWindow_)) return false;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(clockWindow_, MSG_CLOCK_HOVER_TEST, static_cast<WPARAM>(clockNumber_), 0,
                             SMTO_ABORTIFHUNG | SMTO_NORMAL, kAnchorTimeoutMs, &answer)) {
        return false;
    }
    return answer == 1;
}

void CTimerPanel::ArmHideTimer() {
    if (Handle()) SetTimer(Handle(), kHideTimerId, kHideDelayMs, nullptr);
}

void CTimerPanel::OnHideTimer() {
    if (pressed_ != kNoButton || mouseOver_ || IsOverClock()) {
        ArmHideTimer();
        return;
    }
    Destroy();
}

void CTimerPanel::OnButtonUp(int x, int y) {
    const int hit = HitTest(x, y);
    HWND main = MainWindow();
    if (hit != kNoButton && hit == pressed_ && main && IsWindow(main)) {
        pressed_ = kNoButton;
        Render();
        // The command acts on the current clock: make it this one first. The
        // command usually hides the panel, so nothing of the window is
        // touched after it.
        const UINT index = static_cast<UINT>(clockNumber_ - 1);
        SendMessageW(main, MSG_CLOCK_MOUSE + index, CLOCK_MOUSE_UP, 0);
        SendMessageW(main, WM_COMMAND, kButtonCommands[hit], 0);
        return;
    }
    pressed_ = kNoButton;
    Render();
}

bool CTimerPanel::OnMessage(WindowMessage& message) {
    switch (message.message) {
    case WM_CREATE:
        ArmHideTimer();
        message.result = 0;
        return true;
    case WM_DESTROY:
        pressed_ = kNoButton;
        mouseOver_ = false;
        KillTimer(Handle(), kHideTimerId);
        message.result = 0;
        return true;
    case WM_TIMER:
        if (message.wParam != kHideTimerId) return false;
        OnHideTimer();
        message.result = 0;
        return true;
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        TrackMouseEvent(&track);
        mouseOver_ = true;
        ArmHideTimer();
        message.result = 0;
        return true;
    }
    case WM_LBUTTONDOWN:
        pressed_ = HitTest(GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam));
        Render();
        message.result = 0;
        return true;
    case WM_LBUTTONUP:
        OnButtonUp(GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam));
        message.result = 0;
        return true;
    case WM_MOUSELEAVE:
        pressed_ = kNoButton;
        mouseOver_ = false;
        Destroy();
        message.result = 0;
        return true;
    default:
        return false;
    }
}

}  // namespace panels
