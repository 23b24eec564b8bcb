// What a start tells the user when it gives up on a lock the programs share
// (the single-instance rule or the settings-file lock).
#pragma once

#include <windows.h>

#include <string>

// The text for a failure as NamedMutex::failure and IniFileLock::failure give
// it: a lock not given back within waitMs, or one that could not be made.
// Empty when no resource library is loaded.
std::wstring LockFailureText(DWORD failure, DWORD waitMs);

// Shows that text in an error box with the library's error caption, after
// `lead` (what the start was asked to do and did not) when there is one.
void ShowLockFailure(DWORD failure, DWORD waitMs, const std::wstring& lead = {});
