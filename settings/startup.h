// The life of the settings program from its entry point to its exit code.
#pragma once

#include <windows.h>

#include <string>

// Program folder (with its trailing backslash), INI paths and user prefix,
// and the main program's path. An empty folder means the running module's.
void InitProgramPaths(const std::wstring& folder);

// Loads timezones.txt and tz_changes.txt from the program folder, applies the
// dated changes valid at `utc`, and loads cities.txt. A missing or unreadable
// file leaves its table empty; the program goes on. Returns how many of the
// three files loaded.
int LoadSettingsDataFiles(const std::wstring& folder, const SYSTEMTIME& utc);
void FreeSettingsDataFiles();

// WinMain's body: the whole command line as GetCommandLineW gives it. The
// folder is that of the running module unless one is given.
int RunSettingsProgram(HINSTANCE instance, const wchar_t* commandLine, const std::wstring& folder = std::wstring());
