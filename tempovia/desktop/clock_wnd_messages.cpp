// The messages of a desktop clock window.
#include <algorithm>
#include <vector>

#include "common/graphics/faces/clock_face.h"
#include "common/graphics/gdi_handles.h"
#include "common/records/clock_record.h"
#include "common/records/protocol.h"
#include "common/platform/popup_placement.h"
#include "tempovia/desktop/clock_wnd.h"
#include "tempovia/desktop/desktop_clocks.h"
#include "tempovia/desktop/desktop_registry.h"
#include "tempovia/main/program_resource_ids.h"

namespace desktop {
namespace {

constexpr WORD kProgramIconId = IDI_PROGRAM;
constexpr int kAnalogueMinClient = 32;
constexpr int kWheelStep = 120;

// The signed coordinates of a mouse message (windowsx.h would clash with the
// drawing classes' member names).
int XOf(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int YOf(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

bool AnyMouseButton(WPARAM keys) { return (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0; }

std::vector<CClockWnd*> GroupMembers(int group) {
    std::vector<CClockWnd*> members;
    if (group == 0) return members;
    for (CClockWnd* c : RegisteredWindows()) {
        if (c->Group() == group) members.push_back(c);
    }
    return members;
}

}  // namespace

bool CClockWnd::OnMessage(WindowMessage& message) {
    // The surface follows the window first; the clock adds its own part.
    const bool handledByBase = CAlphaWindow::OnMessage(message);
    switch (message.message) {
    case WM_CREATE:
        if (handledByBase) return true;
        return OnCreate(message);
    case WM_MOVE:
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        // The base answers WM_WINDOWPOSCHANGED itself, so WM_MOVE and WM_SIZE
        // never follow: the rectangle is taken here.
        OnWindowPosChanged();
        return handledByBase;
    case WM_ACTIVATE:
        OnActivate(message.wParam);
        return handledByBase;
    case WM_KILLFOCUS:
    case WM_MOUSELEAVE:
        lastHover_ = -1;
        clicked_ = false;
        return handledByBase;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        Paint(dc);
        EndPaint(Handle(), &ps);
        message.result = 0;
        return true;
    }
    case WM_SETCURSOR:
        return OnSetCursor(message);
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(message.lParam));
        message.result = 0;
        return true;
    case WM_CONTEXTMENU:
        OnContextMenu(message.lParam);
        message.result = 0;
        return true;
    case WM_KEYDOWN:
        if (!OnKeyDown(message.wParam)) return handledByBase;
        message.result = 0;
        return true;
    case WM_COMMAND:
        if (!OnCommand(message.wParam)) return handledByBase;
        message.result = 1;
        return true;
    case WM_MOUSEMOVE:
        OnMouseMove(message.wParam, message.lParam);
        message.result = 0;
        return true;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(message.lParam);
        message.result = 0;
        return true;
    case WM_LBUTTONUP:
        drag_ = kDragNone;
        clicked_ = true;
        message.result = 0;
        return true;
    case WM_LBUTTONDBLCLK:
        SendToOwner(CLOCK_MOUSE_DBLCLK, message.lParam);
        message.result = 0;
        return true;
    case WM_MOUSEWHEEL:
        OnMouseWheel(message.wParam);
        message.result = 0;
        return true;
    case MSG_TIMER_PANEL_ANCHOR:
        message.result = OnTimerPanelAnchor(message.lParam);
        return true;
    case MSG_CLOCK_HOVER_TEST:
        message.result = OnHoverTest(message.wParam);
        return true;
    default:
        return handledByBase;
    }
}

bool CClockWnd::OnCreate(WindowMessage& message) {
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId));
    if (icon) SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    message.result = 0;
    return false;
}

void CClockWnd::OnWindowPosChanged() {
    HWND window = Handle();
    RECT r{};
    if (!window || !GetWindowRect(window, &r)) return;
    x_ = r.left;
    y_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    topmost_ = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void CClockWnd::OnActivate(WPARAM wParam) {
    const WORD state = LOWORD(wParam);
    if ((state == WA_ACTIVE || state == WA_CLICKACTIVE) && !IsBusy()) RenumberZKeys();
}

bool CClockWnd::OnSetCursor(WindowMessage& message) {
    if (clicked_ && face_ && face_->CanZoom() && GetForegroundWindow() == Handle() && HandCursor()) {
        SetCursor(HandCursor());
        message.result = TRUE;
        return true;
    }
    return false;
}

void CClockWnd::OnGetMinMaxInfo(MINMAXINFO* info) const {
    if (!info || maxTrack_.cx <= 0 || maxTrack_.cy <= 0) return;
    info->ptMaxTrackSize = POINT{maxTrack_.cx, maxTrack_.cy};
    if (digital_) {
        info->ptMinTrackSize = info->ptMaxTrackSize;
    } else {
        RECT r{0, 0, kAnalogueMinClient, kAnalogueMinClient};
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
        info->ptMinTrackSize = POINT{r.right - r.left, r.bottom - r.top};
    }
}

void CClockWnd::OnContextMenu(LPARAM lParam) {
    if (SendToOwner(CLOCK_MOUSE_MENU, lParam) != 0) return;
    POINT at{XOf(lParam), YOf(lParam)};
    if (lParam == -1) {
        // From the keyboard: the menu opens at the clock's centre.
        const RECT r = CurrentRect();
        at = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    const DesktopClockHost& host = Host();
    if (!host.showClockMenu) return;
    const bool hook = host.hookInstalled && host.hookInstalled();
    host.showClockMenu(owner_, index_, topmost_, group_ != 0, hook, at);
}

bool CClockWnd::OnKeyDown(WPARAM key) {
    switch (key) {
    case VK_PRIOR:
        SendMessageW(Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-kWheelStep)), 0);
        return true;
    case VK_NEXT:
        SendMessageW(Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, kWheelStep), 0);
        return true;
    case VK_UP:
    case VK_ADD:
        SetAlpha(std::clamp(alpha_ + kAlphaStep, kMinKeyAlpha, kMaxKeyAlpha));
        return true;
    case VK_DOWN:
    case VK_SUBTRACT:
        SetAlpha(std::clamp(alpha_ - kAlphaStep, kMinKeyAlpha, kMaxKeyAlpha));
        return true;
    default:
        return false;
    }
}

bool CClockWnd::OnCommand(WPARAM wParam) {
    if (static_cast<int>(HIWORD(wParam)) != index_) return false;
    const WORD id = LOWORD(wParam);
    if (id == kCommandGroup) {
        group_ = group_ == 0 ? 1 : 0;
        bool topmost = topmost_;
        for (const CClockWnd* other : GroupMembers(group_)) {
            if (other != this) {
                topmost = other->IsTopmost();
                break;
            }
        }
        ApplyTopmost(topmost);
        return true;
    }
    if (id == kCommandOnTop) {
        const bool topmost = !topmost_;
        ApplyTopmost(topmost);
        if (group_ != 0) {
            int others = 0;
            for (const CClockWnd* c : RegisteredWindows()) {
                if (c != this && (c->Group() != 0 || (c->Handle() && IsWindowVisible(c->Handle())))) ++others;
            }
            if (others > 0) {
                for (CClockWnd* member : GroupMembers(group_)) {
                    if (member != this) member->ApplyTopmost(topmost);
                }
            }
        }
        return true;
    }
    return false;
}

void CClockWnd::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    const int mx = XOf(lParam);
    const int my = YOf(lParam);
    if (drag_ == kDragMove) {
        const RECT r = CurrentRect();
        const int dx = mx - press_.x;
        const int dy = my - press_.y;
        if (dx == 0 && dy == 0) return;
        BusyScope busy;
        MoveWindowTo(r.left + dx, r.top + dy, true);
        for (CClockWnd* member : GroupMembers(group_)) {
            if (member == this || !member->Handle()) continue;
            const RECT m = member->CurrentRect();
            member->MoveWindowTo(m.left + dx, m.top + dy, false);
        }
        return;
    }
    if (drag_ == kDragResize) {
        RECT r = CurrentRect();
        POINT screen{r.left + mx, r.top + my};
        const int dx = screen.x - (rectAtPress_.left + press_.x);
        const int dy = screen.y - (rectAtPress_.top + press_.y);
        RECT n = rectAtPress_;
        if (edges_ & kEdgeRight) n.right += dx; else n.left += dx;
        if (edges_ & kEdgeBottom) n.bottom += dy; else n.top += dy;
        MINMAXINFO limits{};
        OnGetMinMaxInfo(&limits);
        const int width = std::clamp<int>(n.right - n.left, limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x);
        const int height = std::clamp<int>(n.bottom - n.top, limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y);
        if (!(edges_ & kEdgeRight)) n.left = n.right - width;
        if (!(edges_ & kEdgeBottom)) n.top = n.bottom - height;
        BusyScope busy;
        SetWindowPos(Handle(), nullptr, n.left, n.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
    TrackMouseEvent(&track);
    const bool moved = lParam != lastHover_;
    lastHover_ = lParam;
    if (moved && record_ && IsTimerClock(*record_) && !AnyMouseButton(wParam) && face_ &&
        face_->HitTestButton(mx, my)) {
        SendToOwner(CLOCK_MOUSE_HOVER, reinterpret_cast<LPARAM>(Handle()));
    }
}

void CClockWnd::OnLeftButtonDown(LPARAM lParam) {
    if (group_ != 0) {
        // The group comes forward together, its lowest z key on top.
        std::vector<CClockWnd*> members = GroupMembers(group_);
        std::stable_sort(members.begin(), members.end(),
                         [](const CClockWnd* a, const CClockWnd* b) { return a->ZKey() > b->ZKey(); });
        BusyScope busy;
        for (CClockWnd* member : members) {
            if (member->Handle()) {
                SetWindowPos(member->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
        }
    }
    drag_ = kDragMove;
    press_ = POINT{XOf(lParam), YOf(lParam)};
    rectAtPress_ = CurrentRect();
}

void CClockWnd::OnMouseWheel(WPARAM wParam) {
    if (!clicked_ || !face_) return;
    const bool larger = GET_WHEEL_DELTA_WPARAM(wParam) < 0;
    if (!face_->Zoom(surface_.Dc(), larger)) return;
    ResizeAboutCentre(true);
    if (Handle() && IsWindowVisible(Handle())) InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT CClockWnd::OnTimerPanelAnchor(LPARAM size) const {
    if (!face_) return 0;
    const POINT p = PlacePopupNearRect(Handle(), face_->GetRect(), SIZE{LOWORD(size), HIWORD(size)});
    return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(p.x, p.y)));
}

LRESULT CClockWnd::OnHoverTest(WPARAM number) const {
    if (!face_ || number != static_cast<WPARAM>(index_ + 1)) return 0;
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(Handle(), &p);
    return face_->HitTestButton(p.x, p.y) ? 1 : 0;
}

}  // namespace desktop
