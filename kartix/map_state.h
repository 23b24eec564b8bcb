// The one state block of the map plug-in: one map window at a time, all of
// it process-wide, zero at load unless a default is given here.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "common/records/city_record.h"
#include "kartix/gl_font.h"
#include "kartix/map_settings.h"
#include "kartix/perf_factor.h"
#include "kartix/render_context.h"

inline constexpr wchar_t kMapWindowClass[] = L"Tempovia 3D map window - OpenGL version";
inline constexpr wchar_t kMapWindowTitle[] = L"GL Map";
inline constexpr wchar_t kSettingsFileName[] = L"tempovia.ini";
inline constexpr int kProgramFolderChars = 260;

// Posted by the texture workers: wParam 0 loaded, 1 split; lParam 1 success.
inline constexpr UINT MSG_TEXTURE_LOADED = WM_USER + 1;

inline constexpr UINT_PTR kRepeatTimer = 1;   // 30 ms, auto-repeat of a held overlay button
inline constexpr UINT_PTR kFlyToTimer = 2;    // 20 ms, one fly-to step
inline constexpr UINT_PTR kHoverTimer = 3;    // 500 ms, photos of the city under a resting cursor
inline constexpr UINT kRepeatMs = 30;
inline constexpr UINT kFlyToMs = 20;
inline constexpr UINT kHoverMs = 500;

// The installation mode's waits on the texture mutex (FreeMap has a bound of
// its own, kMapFreeWaitMs).
inline constexpr DWORD kFreeWaitMs = 300000;

// The camera: distance along z (the scene's position), tilt about X and
// longitude about Y, in degrees.
inline constexpr float kCameraHomeDistance = -12.2f;
inline constexpr double kCameraHomeTilt = 40.0;
inline constexpr float kCameraNear = -4.1f;
inline constexpr float kCameraFar = -28.5f;
inline constexpr float kCameraZoomStep = 0.1f;

struct MapCamera {
    float distance = kCameraHomeDistance;
    double tilt = kCameraHomeTilt;
    double longitude = 0.0;
};

struct HoverTimerRecord {
    UINT_PTR id = 0;
    HWND window = nullptr;
    int city = 0;  // signed: negative asks for the whole country
    int x = 0;
    int y = 0;
};

struct MapState {
    // Module
    HMODULE module = nullptr;
    wchar_t programFolder[kProgramFolderChars] = {};  // with a trailing backslash
    wchar_t settingsPath[kProgramFolderChars + 16] = {};

    // Host data: used in place, never copied or freed.
    CityRecord* cities = nullptr;
    int cityCount = 0;

    // System
    bool windowsXp = false;
    HANDLE textureMutex = nullptr;
    DWORD creationStatus = 0;
    DWORD lastSysError = 0;
    bool classRegistered = false;

    // Window
    HWND window = nullptr;
    HDC dc = nullptr;
    bool dcBorrowed = false;  // a drawing surface given from outside, not the window's own DC
    HFONT uiFont = nullptr;
    HGDIOBJ replacedFont = nullptr;
    HCURSOR handCursor = nullptr;
    RenderContext context;
    GLBitmapFont font;
    int clientWidth = 1;
    int clientHeight = 1;

    // View
    MapCamera camera;

    // Input
    int heldButtonKey = 0;
    int heldCreditLine = -1;
    bool dragging = false;
    // The left button went down in this window (a drag needs its origin).
    bool leftPressed = false;
    bool mouseInside = false;
    UINT_PTR repeatTimer = 0;
    UINT_PTR flyToTimer = 0;
    HoverTimerRecord hoverTimer;
    int cursorX = 0;  // last cursor position, y counted upward
    int cursorY = 0;

    // Display flags
    bool showFps = false;
    bool showInfo = false;
    bool hostAcceptsPhotos = false;
    bool installMode = false;

    // Loading counters (raised around the loader steps)
    volatile LONG loadingTexture = 0;
    volatile LONG splittingTextures = 0;

    // Frame clock
    DWORD frameStart = 0;
    double fps = 0.0;

    // Settings and performance
    MapSettings settings;
    PerfState perf;

    // Local strings from SetLocalString
    std::map<int, std::wstring> localStrings;
};

MapState& Map();

// Where a map window draws. Normally its own DC (the class has CS_OWNDC);
// tests give a bitmap DC with a bitmap pixel format instead, because a
// headless display offers no pixel format for windows. nullptr restores.
void SetMapSurfaceOverride(HDC dc, DWORD pixelFormatFlags);
HDC MapSurfaceOverride();
DWORD MapSurfacePixelFormatFlags();

// Window y turned upward: client height - y - 1.
inline int UpwardY(const MapState& s, int y) { return s.clientHeight - y - 1; }

// The program folder from a command line: the quoted path, or the whole line
// without quotes, up to and including its last backslash (empty without one).
std::wstring ProgramFolderFromCommandLine(const wchar_t* commandLine);

// SetLocalString's store, and its reader with a default.
void StoreLocalString(int id, const wchar_t* text);
std::wstring GetLocalString(int id, const wchar_t* fallback);
