// The hidden frame window QX_SETTINGS: it owns the main settings dialog,
// runs the 300 ms tick and passes the other programs' messages on.
#pragma once

#include <windows.h>

#include "settings/clock_tick.h"

inline constexpr wchar_t kMapHostClass[] = L"Tempovia World Map";
inline constexpr DWORD kSettingsControlClasses = 0x5FF;
inline constexpr UINT_PTR kFrameTimerId = 1;
inline constexpr UINT kFrameTimerMs = 300;
inline constexpr int kSettingsTreeId = 1087;
inline constexpr int kMapHostExtraBytes = 16;
// What an open location picker returns when another start ends it.
inline constexpr INT_PTR kPickerEndedResult = 16;

// The common controls and the two window classes (QX_SETTINGS and the
// location picker's map host). False when either class cannot be registered.
bool RegisterSettingsClasses(HINSTANCE instance);
void UnregisterSettingsClasses(HINSTANCE instance);

// Creates the frame (never shown). Null when it could not be created; when
// its main dialog could not be opened, g_settingsApp.mainDialogFailed is set.
HWND CreateFrameWindow(HINSTANCE instance);

// Opens the main dialog when there is a resource library and no dialog yet,
// fills its tree and selects the first root item. True when the dialog exists.
bool CreateMainDialog();

// How the frame opens its main dialog: CreateMainSettingsDialog unless tests
// of the frame put a stand-in dialog here. Null puts the real one back;
// returns the one in force before.
using MainDialogOpener = HWND (*)(HWND frame, HMODULE resources);
MainDialogOpener SetMainDialogOpener(MainDialogOpener opener);

// Sends a message to the main dialog when it is a window; 0 otherwise.
LRESULT SendToMainDialog(UINT message, WPARAM wParam, LPARAM lParam);

// The tick state of the frame.
ClockTickState& FrameTickState();

LRESULT CALLBACK FrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
