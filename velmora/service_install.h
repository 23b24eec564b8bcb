// Installing, starting and removing the service through the Service Control
// Manager. Each step returns 0 or the id of its failure message.
#pragma once

#include <windows.h>

#include <string>

// The service acted on: "QXTime" unless a test named its own.
const std::wstring& ServiceName();
void SetServiceNameOverride(const wchar_t* name);  // nullptr restores "QXTime"
// The program the service runs: this module unless a test names another.
void SetServiceProgramOverride(const wchar_t* path);
// The binary path registered: the program's full path in double quotes.
std::wstring ServiceCommand();

UINT ServiceInstall(bool autoStart);
UINT ServiceSetDescription();
UINT ServiceStart();
UINT ServiceUninstall();

// With messages: failures are shown (MB_ICONERROR); successes unless quiet.
// A service that was created but could not be described is removed again.
bool InstallWithMessages(bool quiet, bool autoStart);
bool StartWithMessages(bool quiet);
bool UninstallWithMessages(bool quiet);
