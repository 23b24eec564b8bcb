#include "tempovia/util/worker_threads.h"

#include <algorithm>

namespace {

// Every set of workers of the process; the GUI thread makes and ends them.
std::vector<WorkerThreads*>& AllSets() {
    static std::vector<WorkerThreads*> sets;
    return sets;
}

// Waits for the thread until the tick count reaches end (INFINITE: no end).
void WaitTakingSentMessages(HANDLE thread, DWORD start, DWORD ms) {
    for (;;) {
        const DWORD used = GetTickCount() - start;
        const DWORD left = ms == INFINITE ? INFINITE : (used >= ms ? 0 : ms - used);
        if (MsgWaitForMultipleObjects(1, &thread, FALSE, left, QS_SENDMESSAGE) != WAIT_OBJECT_0 + 1) return;
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

WorkerThreads::WorkerThreads() : stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    try {
        AllSets().push_back(this);
    } catch (...) {
        // Told to stop by its own wait only.
    }
}

void WorkerThreads::TellAllToStop() {
    for (WorkerThreads* set : AllSets()) {
        if (set->stop_) SetEvent(set->stop_);
    }
}

WorkerThreads::~WorkerThreads() {
    auto& sets = AllSets();
    sets.erase(std::remove(sets.begin(), sets.end(), this), sets.end());
    // A worker held up beyond the exit's bound keeps its event to the end of
    // the process.
    if (StopAndWait(0) && stop_) CloseHandle(stop_);
}

bool WorkerThreads::Start(LPTHREAD_START_ROUTINE routine, void* param) {
    if (!stop_ || WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) return false;
    ForgetEnded();
    try {
        threads_.reserve(threads_.size() + 1);
    } catch (...) {
        return false;
    }
    HANDLE thread = CreateThread(nullptr, 0, routine, param, 0, nullptr);
    if (!thread) return false;
    threads_.push_back(thread);
    return true;
}

bool WorkerThreads::StopAndWait(DWORD ms) {
    if (stop_) SetEvent(stop_);
    const DWORD start = GetTickCount();
    // Start refuses while the event is set, so the list holds still.
    for (HANDLE thread : threads_) WaitTakingSentMessages(thread, start, ms);
    ForgetEnded();
    if (!threads_.empty()) return false;
    if (stop_) ResetEvent(stop_);
    return true;
}

void WorkerThreads::ForgetEnded() {
    for (auto it = threads_.begin(); it != threads_.end();) {
        if (WaitForSingleObject(*it, 0) == WAIT_OBJECT_0) {
            CloseHandle(*it);
            it = threads_.erase(it);
        } else {
            ++it;
        }
    }
}
