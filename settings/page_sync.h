// The time synchronisation page (dialog 196 of the resource library, page
// index 2 of the main settings dialog).
#pragma once

#include <windows.h>
#include "resources/resource_ids.h"

inline constexpr UINT kSyncPageResource = IDD_PAGE_TIME;
inline constexpr int kSyncResultControl = 1025;
inline constexpr int kSyncTimeControl = 1070;
inline constexpr int kAutoSyncCheck = 1029;
inline constexpr int kSyncTypeList = 1157;
inline constexpr int kTimeServerCombo = 1030;
inline constexpr int kSyncNowButton = 1032;
inline constexpr int kTimeServerMaxChars = 127;

// Shows the message that the service could not be reached (MessageBoxW with
// MB_ICONERROR unless a test put its own in place; nullptr restores it).
using SyncErrorBox = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption);
SyncErrorBox SetSyncErrorBox(SyncErrorBox box);

// The page shows and edits ProgramSyncOptions(); it does not read them.
INT_PTR CALLBACK SyncPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
// Reads ProgramSyncOptions() from the INI: the main dialog does it when it
// opens, so that Apply writes them back unchanged when the page never showed.
void LoadProgramSyncOptions();
// Puts the page into the main dialog's hooks.
void InstallSyncPage();
