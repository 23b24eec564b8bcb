// What the frame and the start-up hand to the pieces of the settings program
// that live in their own modules: the main settings dialog and its tree, the
// previews, the location picker's map host, the alarm log and the skin cache.
// A module that exists fills its entries with SetSettingsParts; an entry left
// empty means that piece is not there, and the frame behaves as without it
// (no main dialog: the program ends with its normal exit code).
#pragma once

#include <windows.h>

struct SettingsParts {
    // Creates the modeless main settings dialog (resource dialog 141 of the
    // resource library) owned by the frame; null when it cannot.
    HWND (*createMainDialog)(HWND frame, HMODULE resources) = nullptr;
    // Fills the dialog's tree control (id 1087) with the settings tree.
    void (*buildSettingsTree)(HWND dialog) = nullptr;
    // Frees every node of the settings tree.
    void (*destroySettingsTree)() = nullptr;

    // The clock the previews draw, with the general skin; and its end.
    void (*createPreviewClock)(const wchar_t* skinName) = nullptr;
    void (*destroyPreviewClock)() = nullptr;
    // Empties the taskbar preview's panel.
    void (*clearTrayPreview)() = nullptr;
    // The previews take the taskbar's look afresh at their next paint.
    void (*invalidatePreviewLook)() = nullptr;

    // Window procedure of the location picker's map host class.
    WNDPROC mapHostProc = nullptr;
    // Gives the alarm log window its caption in the language in force.
    void (*retitleAlarmLog)() = nullptr;
    // Gives the clock faces their way to the skin cache: a skin by name at
    // face size 200, and its release.
    void (*installSkinCallbacks)() = nullptr;
    // Whether the skin cache frees skins nobody uses any more.
    void (*setSkinCacheOwnsSkins)(bool owns) = nullptr;
};

// The entries in force (all empty until a module fills them).
const SettingsParts& LaterParts();
// Puts a set in force; returns the previous one.
SettingsParts SetSettingsParts(const SettingsParts& parts);
