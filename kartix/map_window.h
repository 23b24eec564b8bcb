// The map window: its class, its window procedure and the handlers behind it.
#pragma once

#include <windows.h>

struct MapState;

// CS_VREDRAW | CS_HREDRAW | CS_OWNDC
inline constexpr UINT kMapClassStyle = 0x23;
// WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP
inline constexpr DWORD kMapChildStyle = 0x56010000;
inline constexpr DWORD kMapInstallStyle = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER;

bool RegisterMapClass(HMODULE module);
LRESULT CALLBACK MapWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Handlers (map_window_*.cpp).
LRESULT OnMapCreate(MapState& s, HWND window);
void OnMapDestroy(MapState& s);
void OnMapSize(MapState& s, int width, int height);
bool OnMapKey(MapState& s, WPARAM key);
void OnMapTimer(MapState& s, UINT_PTR id);
void OnMapMouseMove(MapState& s, WPARAM keys, int x, int y);
void OnMapButtonDown(MapState& s, int x, int y);
void OnMapButtonUp(MapState& s, int x, int y);
void OnMapWheel(MapState& s, int delta);
bool OnMapSetCursor(MapState& s);
void OnMapTextureLoaded(MapState& s, WPARAM step, LPARAM success);
void PaintMapFrame(MapState& s);

// Redraw without erasing.
void RedrawMap(const MapState& s);
void ArmHoverTimer(MapState& s, int signedCity, int x, int y);
void CancelHoverTimer(MapState& s);
// H halves, L doubles the factor; a change reloads at the new one.
void ChangePerfFactor(MapState& s, bool doubled);
void ReloadAfterPerfChange(MapState& s, int factor);
// The longest wait for the host's reply to a message of the map.
inline constexpr UINT kHostReplyTimeoutMs = 2000;
// MSG_PHOTO_REQUEST to the main window; true only for the reply 1 within
// kHostReplyTimeoutMs.
bool AskHostForPhotos(MapState& s, int signedCity);
