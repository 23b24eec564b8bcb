#include "kartix/map_window.h"

#include <windowsx.h>

#include <cstdint>
#include <new>

#include "common/mapdialog/map_plugin_errors.h"
#include "common/records/protocol.h"
#include "kartix/globe_view.h"
#include "kartix/map_scene.h"
#include "kartix/map_state.h"
#include "kartix/photo_strip.h"
#include "kartix/planet_textures.h"
#include "kartix/policy_flags.h"

bool RegisterMapClass(HMODULE module) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = kMapClassStyle;
    wc.lpfnWndProc = MapWindowProc;
    wc.cbWndExtra = 8;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = kMapWindowClass;
    return RegisterClassExW(&wc) != 0;
}

void RedrawMap(const MapState& s) {
    if (s.window) InvalidateRect(s.window, nullptr, FALSE);
}

namespace {

LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MapState& s = Map();
    // Messages for another window of the class (a second one, refused at
    // creation) must not touch the state of the one that is shown.
    if (message != WM_CREATE && message != WM_NCCREATE && s.window && window != s.window)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        return OnMapCreate(s, window);
    case WM_DESTROY:
        if (window == s.window) OnMapDestroy(s);
        return 0;
    case WM_SIZE:
        if (s.window) OnMapSize(s, LOWORD(lParam), HIWORD(lParam));
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_PAINT:
        if (s.window) {
            PaintMapFrame(s);
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        if (s.window && OnMapSetCursor(s)) return 1;
        break;
    case WM_KEYDOWN:
        if (s.window && OnMapKey(s, wParam)) return 0;
        break;
    case WM_TIMER:
        if (s.window) OnMapTimer(s, wParam);
        return 0;
    case WM_MOUSEMOVE:
        if (s.window) OnMapMouseMove(s, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        if (s.window) OnMapButtonDown(s, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        if (s.window) OnMapButtonUp(s, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEWHEEL:
        if (s.window) OnMapWheel(s, GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_MOUSELEAVE:
        s.mouseInside = false;
        if (s.window) {
            UpdateOverlayHover(s, -1, -1, true);
            RedrawMap(s);
        }
        return 0;
    case WM_CAPTURECHANGED:
        // The release may never come (another window took the mouse).
        if (reinterpret_cast<HWND>(lParam) != window) s.leftPressed = false;
        return 0;
    case MSG_TEXTURE_LOADED:
        if (s.window) OnMapTextureLoaded(s, wParam, lParam);
        return 0;
    case MSG_MAP_SELECT_CITY: {
        const int city = static_cast<int>(wParam);
        if (s.window && city >= 0 && city < s.cityCount) {
            SelectMapCity(s, city);
            RedrawMap(s);
        }
        return 0;
    }
    case MSG_MAP_SHOW_PHOTO: {
        // Any program can send this: the record must be the table's own entry
        // for the index, compared as an address and never read from lParam.
        const int city = static_cast<int>(wParam);
        if (s.window && s.cities && city >= 0 && city < s.cityCount &&
            static_cast<uintptr_t>(lParam) == reinterpret_cast<uintptr_t>(&s.cities[city])) {
            ShowCityRecordPhotos(s, city, &s.cities[city]);
            RedrawMap(s);
        }
        return 0;
    }
    case MSG_MAP_CLOUDS:
        if (s.window) {
            const bool on = lParam != 0 && !(s.settings.policy & kPolicyNoCloudMap);
            if (SetCloudLayer(s, on)) {
                s.context.MakeCurrent(s.dc);
                CompileMapScene(s);
                RedrawMap(s);
            }
        }
        return 0;
    case MSG_PHOTO_READY: {
        const int city = static_cast<int>(wParam);
        const int photo = static_cast<int>(lParam);
        const long long magnitude = city < 0 ? -static_cast<long long>(city) : city;
        if (!s.window || magnitude >= s.cityCount || photo < 1) return 0;
        if (s.hoverTimer.id && s.hoverTimer.city == city) CancelHoverTimer(s);
        OnPhotoReady(s, city, photo);
        RedrawMap(s);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The creator reads the status: a window refused in WM_CREATE is a failure.
LRESULT RefuseAfterException(UINT message, DWORD error) {
    if (message != WM_CREATE) return 0;
    MapState& s = Map();
    if (s.creationStatus == 0) {
        s.creationStatus = MAP_ERR_MAKE_CURRENT;
        s.lastSysError = error;
    }
    return -1;
}

}  // namespace

LRESULT CALLBACK MapWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A host's message loop must never see an exception from the plug-in.
    try {
        return HandleMessage(window, message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        return RefuseAfterException(message, ERROR_NOT_ENOUGH_MEMORY);
    } catch (...) {
        return RefuseAfterException(message, ERROR_CANNOT_MAKE);
    }
}
