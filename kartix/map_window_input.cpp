// Keys, mouse and timers of the map window.
#include <windows.h>

#include <algorithm>
#include <cmath>

#include "common/records/protocol.h"
#include "kartix/globe_view.h"
#include "kartix/map_math.h"
#include "kartix/map_state.h"
#include "kartix/map_window.h"
#include "kartix/photo_strip.h"

namespace {

// Overlay buttons that act when released rather than when pressed.
bool ActsOnRelease(int key) { return key == VK_PRIOR || key == VK_NEXT || key == VK_HOME || key == VK_INSERT; }

void RecomputeHover(MapState& s) { UpdateHover(s, s.cursorX, s.cursorY); }

// The main program answers at once (it queues photo work); one that hangs, or
// a host in another process that does, must not freeze the dialog around the
// map. A send that fails or times out reads as the reply 0.
LRESULT SendToHost(HWND host, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR reply = 0;
    if (!host || !SendMessageTimeoutW(host, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                                      kHostReplyTimeoutMs, &reply))
        return 0;
    return static_cast<LRESULT>(reply);
}

void CameraChanged(MapState& s) {
    FitCamera(s);
    RecomputeHover(s);
}

}  // namespace

void ArmHoverTimer(MapState& s, int signedCity, int x, int y) {
    CancelHoverTimer(s);
    s.hoverTimer.id = SetTimer(s.window, kHoverTimer, kHoverMs, nullptr);
    if (!s.hoverTimer.id) return;
    s.hoverTimer.window = s.window;
    s.hoverTimer.city = signedCity;
    s.hoverTimer.x = x;
    s.hoverTimer.y = y;
}

void CancelHoverTimer(MapState& s) {
    if (s.hoverTimer.id && s.hoverTimer.window) KillTimer(s.hoverTimer.window, kHoverTimer);
    s.hoverTimer = HoverTimerRecord{};
}

bool OnMapKey(MapState& s, WPARAM key) {
    switch (key) {
    case VK_HOME:
    case VK_CLEAR:
        s.camera.distance = kCameraHomeDistance;
        s.camera.tilt = kCameraHomeTilt;
        s.camera.longitude = 0.0;
        CameraChanged(s);
        break;
    case VK_LEFT:
    case VK_RIGHT: {
        // Upside down (tilt between 90 and 270) the globe turns the other way.
        const bool upright = s.camera.tilt < 90.0 || s.camera.tilt > 270.0;
        const double step = (key == VK_LEFT) == upright ? 1.0 : -1.0;
        s.camera.longitude = RotateAngle(s.camera.longitude, step);
        RecomputeHover(s);
        break;
    }
    case VK_UP:
    case VK_DOWN:
        s.camera.tilt = RotateAngle(s.camera.tilt, key == VK_UP ? 1.0 : -1.0);
        RecomputeHover(s);
        break;
    case VK_ADD:
    case VK_SUBTRACT:
        if (key == VK_ADD && s.camera.distance < kCameraNear) s.camera.distance += kCameraZoomStep;
        if (key == VK_SUBTRACT && s.camera.distance > kCameraFar) s.camera.distance -= kCameraZoomStep;
        CameraChanged(s);
        CancelHoverTimer(s);
        break;
    case VK_PRIOR:
    case VK_NEXT:
        ScrollPhotoStrip(s, static_cast<int>(key));
        break;
    case VK_INSERT:
        OpenAddPhotoPage(s);
        break;
    case 'F':
        s.showFps = !s.showFps;
        s.frameStart = GetTickCount();
        break;
    case 'I':
        s.showInfo = !s.showInfo;
        break;
    case 'H':
    case 'L':
        ChangePerfFactor(s, key == 'L');
        break;
    default:
        return false;
    }
    StopFlyTo(s);
    RedrawMap(s);
    return true;
}

void OnMapTimer(MapState& s, UINT_PTR id) {
    switch (id) {
    case kRepeatTimer:
        if (s.heldButtonKey) SendMessageW(s.window, WM_KEYDOWN, static_cast<WPARAM>(s.heldButtonKey), 0);
        break;
    case kFlyToTimer:
        if (!StepFlyTo(s)) {
            s.cursorX = s.clientWidth / 2;
            s.cursorY = s.clientHeight / 2;
            RecomputeHover(s);
        }
        RedrawMap(s);
        break;
    case kHoverTimer: {
        const HoverTimerRecord armed = s.hoverTimer;
        CancelHoverTimer(s);
        // A late or stray tick has no record: its zeros would name the first
        // city at the window's corner.
        if (!armed.id) break;
        POINT cursor{};
        if (!GetCursorPos(&cursor)) break;
        MapWindowPoints(nullptr, s.window, &cursor, 1);
        const long long magnitude = armed.city < 0 ? -static_cast<long long>(armed.city) : armed.city;
        if (cursor.x != armed.x || cursor.y != armed.y || magnitude >= s.cityCount) break;
        if (AskHostForPhotos(s, armed.city)) {
            ShowCityPhotos(s, armed.city);
            RedrawMap(s);
        }
        break;
    }
    default:
        break;
    }
}

void OnMapMouseMove(MapState& s, WPARAM keys, int x, int rawY) {
    const int y = UpwardY(s, rawY);
    CancelHoverTimer(s);
    if (!s.mouseInside) {
        s.mouseInside = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, s.window, 0};
        TrackMouseEvent(&track);
    }
    s.cursorX = x;
    s.cursorY = y;
    if (FlyToRunning()) return;
    const bool onGlobe = UpdateHover(s, x, y);
    const bool anyButton = (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
    // A press outside the window gave no origin: the view must not jump to it.
    if ((keys & MK_LBUTTON) && s.leftPressed && s.heldButtonKey == 0 && s.heldCreditLine < 0) {
        s.dragging = true;
        if (onGlobe) DragGlobe(s);
    } else if (!anyButton && onGlobe && (PhotoStripEmpty() || x < PhotoStripLeft(s))) {
        int within = 0;
        const int city = HoveredNearestCity(s, within);
        // The first city of the table never arms the timer: its index has no
        // negative form for the whole country.
        if (city > 0 && city < s.cityCount) ArmHoverTimer(s, within > 0 ? city : -city, x, rawY);
    }
    RedrawMap(s);
}

void OnMapButtonDown(MapState& s, int x, int rawY) {
    const int y = UpwardY(s, rawY);
    s.cursorX = x;
    s.cursorY = y;
    s.dragging = false;
    s.leftPressed = true;
    UpdateHover(s, x, y);
    BeginDrag(s);
    SetFocus(s.window);
    SetCapture(s.window);
    s.heldButtonKey = UpdateOverlayHover(s, x, y, false);
    s.heldCreditLine = CreditLineAt(s, x, y);
    if (s.heldButtonKey && !ActsOnRelease(s.heldButtonKey)) {
        SendMessageW(s.window, WM_KEYDOWN, static_cast<WPARAM>(s.heldButtonKey), 0);
        s.repeatTimer = SetTimer(s.window, kRepeatTimer, kRepeatMs, nullptr);
    }
    RedrawMap(s);
}

void OnMapButtonUp(MapState& s, int x, int rawY) {
    const int y = UpwardY(s, rawY);
    s.cursorX = x;
    s.cursorY = y;
    const bool onGlobe = UpdateHover(s, x, y);
    KillTimer(s.window, kRepeatTimer);
    s.repeatTimer = 0;
    // Read before the capture goes: giving it up clears the flag.
    const bool pressedHere = s.leftPressed;
    ReleaseCapture();
    const int key = UpdateOverlayHover(s, x, y, true);
    bool photoOpened = false;
    if (key && key == s.heldButtonKey && ActsOnRelease(key)) {
        SendMessageW(s.window, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
    } else if (pressedHere) {
        const int photo = PhotoStripItemAt(s, x, y);
        if (photo >= 0) {
            OpenPhotoPage(s, photo);
            photoOpened = true;
        }
    }
    if (s.heldCreditLine >= 0 || photoOpened) s.heldCreditLine = CreditLineAt(s, x, y);
    // A release whose press fell outside the map (the dialog's background,
    // another window) is no click.
    if (pressedHere && !s.dragging && s.heldButtonKey == 0 && (PhotoStripEmpty() || x < PhotoStripLeft(s))) {
        if (s.heldCreditLine >= 0) {
            OpenCreditLine(s, s.heldCreditLine);
        } else if (onGlobe) {
            int within = 0;
            const int city = HoveredNearestCity(s, within);
            if (city >= 0 && city < s.cityCount) {
                if (within > 0)
                    SendToHost(GetParent(s.window), MSG_MAP_SELECT_CITY, static_cast<WPARAM>(city),
                               reinterpret_cast<LPARAM>(&s.cities[city]));
                const int request = within > 0 ? city : -city;
                if (AskHostForPhotos(s, request)) ShowCityPhotos(s, request);
            }
            FlyToHovered(s);
        }
    }
    s.heldButtonKey = 0;
    s.dragging = false;
    s.leftPressed = false;
    s.heldCreditLine = -1;
    RedrawMap(s);
}

void OnMapWheel(MapState& s, int delta) {
    const int n = delta / -120;
    if (!PhotoStripEmpty() && s.cursorX > PhotoStripLeft(s) &&
        !AllPhotosOnScreen()) {
        if (n > 0) SendMessageW(s.window, WM_KEYDOWN, VK_NEXT, 0);
        if (n < 0) SendMessageW(s.window, WM_KEYDOWN, VK_PRIOR, 0);
        return;
    }
    s.camera.distance = std::clamp(s.camera.distance + static_cast<float>(n) * kCameraZoomStep, kCameraFar,
                                   kCameraNear);
    CameraChanged(s);
    CancelHoverTimer(s);
    RedrawMap(s);
}

bool OnMapSetCursor(MapState& s) {
    POINT cursor{};
    if (!GetCursorPos(&cursor)) return false;
    MapWindowPoints(nullptr, s.window, &cursor, 1);
    if (CreditLineAt(s, cursor.x, UpwardY(s, cursor.y)) < 0) return false;
    SetCursor(s.handCursor);
    return true;
}

bool AskHostForPhotos(MapState& s, int signedCity) {
    HWND host = FindWindowW(kMainWindowClass, nullptr);
    s.hostAcceptsPhotos = host && SendToHost(host, MSG_PHOTO_REQUEST, static_cast<WPARAM>(signedCity),
                                             reinterpret_cast<LPARAM>(s.window)) == 1;
    return s.hostAcceptsPhotos;
}
