// How the settings program reaches the other running programs: the main
// program's window, and an instance of itself that is already running.
#pragma once

#include <windows.h>

#include "settings/command_line.h"

// How long a message to another program may take before that program counts
// as hung: a hung receiver must not hang the sender with it.
inline constexpr UINT kCrossProgramTimeoutMs = 10000;

// Every message from the settings program to the main program goes through
// here. Finds TempoviaClass (0 when it is not running), lets its process take
// the foreground, then sends (returning the reply) or posts (returning
// whether it was posted).
LRESULT NotifyMainProgram(UINT message, WPARAM wParam, LPARAM lParam, bool send);

// When a settings window already exists, hands it this start's page (the
// window first ends an open location picker and comes to the front) and
// answers true: this instance then ends. False when no instance runs.
bool HandOverToRunningInstance(const SettingsCommand& command);
