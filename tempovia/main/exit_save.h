// The saves of the program's end share one hold of the settings-file lock:
// another program that keeps the lock costs the end one wait, not one per
// save, and an end that cannot save says so.
#pragma once

#include <windows.h>

// Takes the hold for the rest of the end (once). Without the lock within its
// wait the user is told: in a box when a person closed the program, in the
// debugger output when another start (/exit, /restart), the session's end or
// the taskbar's restart did.
void HoldSettingsForExit(HWND owner, bool closedByPerson);

// True when another start asked this instance to end (its exit event is set).
bool ExitAskedByAnotherStart();

// Gives the hold back once the last save of the end is done.
void EndExitHold();
