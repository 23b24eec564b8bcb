// The plug-in's worker threads (the earth loader and splitter). Every one
// started here is joined before the plug-in frees the data they fill and
// before its host may unload it; a stop makes waiting workers give up at once.
#pragma once

#include <windows.h>

// Runs body(argument) on a thread of its own; false when none could start.
bool StartMapWorker(void(__cdecl* body)(void*), void* argument);

// A worker's wait for the texture mutex: true when obtained (an abandoned
// mutex counts), false after ms or as soon as the workers are being stopped.
bool WaitForTextureMutex(HANDLE mutex, DWORD ms);
// True from StopMapWorkers until every worker it stopped has ended; cheap
// enough for a decode to ask on every row.
bool MapWorkersStopping();

// Tells the workers to stop waiting and decoding and waits up to ms for every
// one to end. True when none is left running; afterwards workers may start
// again. A worker still running is waited for again by the next call.
bool StopMapWorkers(DWORD ms);
