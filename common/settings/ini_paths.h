// Where the settings live and whose they are: the program folder, the two INI
// files in it and the per-user section prefix. Every program sets these once at
// start-up, before the first read; tests point them at a private folder.
#pragma once

#include <string>

// The program folder as the settings use it, ending in a backslash: the running
// module's folder (ProgramFolder, common/platform/file_paths.h) unless another one
// was set.
const std::wstring& SettingsFolder();
// SettingsFolder() + "tempovia.ini": the user settings, written by the programs.
const std::wstring& UserIniPath();
// SettingsFolder() + "default.ini": the shipped defaults, read only.
const std::wstring& DefaultIniPath();
// SettingsFolder() + "skins\".
std::wstring SkinsFolder();

// The Windows user name as the system gives it (at most 63 characters; empty
// when it cannot be had).
const std::wstring& WindowsUserName();
// The user name in lower case: every per-user section is "<prefix>:<suffix>".
const std::wstring& UserPrefix();

// Recomputes the folder from the running module and the paths from it.
void ResetSettingsFolder();
// Uses the given folder instead (a trailing backslash is added when missing);
// an empty text goes back to the module's folder.
void SetSettingsFolder(const std::wstring& folder);
// Uses the given user name instead of the system's (the prefix follows it);
// nullptr goes back to the system's.
void SetUserNameOverride(const wchar_t* name);

// The folder part of a path including its last backslash; empty when none.
std::wstring FolderOfPath(const std::wstring& path);
