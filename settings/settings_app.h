// The settings program's own state: what it was started for, where it lives,
// its windows and the few handles it keeps for its whole run. One instance,
// owned by the GUI thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "resources/resource_ids.h"
#include "settings/command_line.h"
#include "settings/settings_resource_ids.h"

// Exit codes of the settings program.
inline constexpr int kSettingsExitNormal = 0;
inline constexpr int kSettingsExitNoClasses = 1;
inline constexpr int kSettingsExitNoFrame = 2;
// How long a start that finds another one starting waits for its window.
inline constexpr DWORD kInstanceWaitMs = 10000;

// UI strings the frame keeps: its caption and the text of a taskbar preview
// that has no clocks.
inline constexpr UINT kFrameCaptionId = IDS_SETTINGS_CAPTION;
inline constexpr UINT kEmptyTrayPreviewId = IDS_TRAY_PREVIEW_EMPTY;
inline constexpr int kFrameTextChars = 100;

// Resources of settings.exe itself.
inline constexpr UINT kClassIconId = IDI_SETTINGS_CLASS;
inline constexpr UINT kPickerIconId = IDI_LOCATION_PICKER;
inline constexpr UINT kFrameMenuId = IDR_FRAME_MENU;

struct SettingsApp {
    HINSTANCE instance = nullptr;
    bool windows51 = false;        // Windows 5.1 or later: uxtheme is bound
    SettingsCommand command;       // page code, clock N, item M of the start
    std::wstring programFolder;    // with a trailing backslash
    std::wstring mainProgramPath;  // programFolder + "tempovia.exe"

    HWND frame = nullptr;       // QX_SETTINGS
    HWND mainDialog = nullptr;  // the main settings dialog
    HWND picker = nullptr;      // the open location picker

    HICON classIcon = nullptr;
    HICON pickerIcon = nullptr;
    HCURSOR handCursor = nullptr;  // shared system cursor, never destroyed

    wchar_t frameCaption[kFrameTextChars + 1] = {};
    wchar_t emptyTrayText[kFrameTextChars + 1] = {};

    // The frame could not open its main dialog: the program ends normally.
    bool mainDialogFailed = false;
};

extern SettingsApp g_settingsApp;

// (Re)loads strings 149 and 218 into the program state.
void LoadFrameStrings();
