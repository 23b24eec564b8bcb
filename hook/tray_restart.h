// Starting the main program again when the window that answers the taskbar
// clock's greeting is not the one that owns the shared section.
#pragma once

#include <cstddef>

// The parameters of the restart: "/restart", then a blank and the stored
// command line when that is not empty, at most 259 characters in all. False
// (and nothing to start) when the command line already holds "/restart" in any
// case: a program that restarts itself must not do so for ever.
bool BuildRestartParameters(const wchar_t* commandLine, wchar_t* parameters, std::size_t chars);

// Starts <program folder>tempovia.exe with those parameters through the shell
// seam. True when it was started.
bool RestartMainProgram(const wchar_t* programFolder, const wchar_t* commandLine);
