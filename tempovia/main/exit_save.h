// The saves of the program's end share one hold of the settings-file lock:
// another program that keeps the lock costs the end one wait, not one per
// save, and an end that cannot save says so.
#pragma once

#include <windows.h>

// Takes the hold for the rest of the end (once). Without the lock within its
// wait the saves of the end go to kKeptAtExitFile beside tempovia.ini, and
// the user is told: in a box when a person closed the program, in the
// debugger output when another start (/exit, /restart), the session's end or
// the taskbar's restart did.
void HoldSettingsForExit(HWND owner, bool closedByPerson);

// Writes what an end kept aside into tempovia.ini; a start calls it under the
// settings-file lock, before it reads the settings.
void SaveStateKeptAtExit();

inline constexpr wchar_t kKeptAtExitFile[] = L"tempovia-unsaved.ini";

// True when another start asked this instance to end (its exit event is set).
bool ExitAskedByAnotherStart();

// Gives the hold (or the side file) back once the last save of the end is done.
void EndExitHold();
