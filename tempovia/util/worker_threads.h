// Worker threads of one kind that the GUI thread starts and joins, and the
// event that tells them to give up (their downloads watch it): the program's
// exit joins them, within its bound.
#pragma once

#include <windows.h>

#include <vector>

class WorkerThreads {
public:
    WorkerThreads();
    // The exit has waited for the workers already (StopAndWait).
    ~WorkerThreads();
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    // Sets the stop event of every set of workers of the process, so that
    // each stops at once and the waits that follow overlap.
    static void TellAllToStop();

    // Manual reset; set while the workers are told to stop.
    HANDLE stop() const { return stop_; }

    // False when the thread cannot start, or while the workers are told to
    // stop (a request that comes while the exit waits for them).
    bool Start(LPTHREAD_START_ROUTINE routine, void* param);

    // Sets the stop event and waits up to ms for every worker. A worker may
    // be sending to a window of this thread: sent messages are taken while
    // waiting, or neither would go on. True when all have ended; the event is
    // then cleared for the next start.
    bool StopAndWait(DWORD ms);

private:
    void ForgetEnded();

    HANDLE stop_;
    std::vector<HANDLE> threads_;
};
