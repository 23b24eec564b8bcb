// The two threads that end the main program from outside: the exit-event
// thread (a second start with /exit or /restart, or any program, sets the
// event) and the taskbar watcher (Explorer ended: restart once a new taskbar
// is up).
#pragma once

#include <windows.h>

// Starts the exit-event thread on g_app.exitEvent; its handle is closed at once.
bool StartExitEventThread();

// Opens Explorer's process (g_app.explorerProcessId) and starts the watcher
// with a new stop event; on failure the program runs without it.
bool StartTaskbarWatch();
// Signals the stop event, waits 512 ms, then terminates the watcher (exit
// code 1) if it still runs; closes its handles.
void StopTaskbarWatch();

// How the watcher starts the program again; tests replace it.
using RestartProgramFn = void (*)();
RestartProgramFn SetRestartProgramFn(RestartProgramFn fn);  // null restores the default

// The watcher's body, also run directly by tests: handles[0] is Explorer's
// process, handles[1] the stop event.
DWORD WINAPI TaskbarWatchThread(LPVOID handles);
