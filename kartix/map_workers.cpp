#include "kartix/map_workers.h"

#include <process.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace {

struct WorkerJob {
    void(__cdecl* body)(void*);
    void* argument;
};

class WorkerRegistry {
public:
    bool Start(void(__cdecl* body)(void*), void* argument) {
        std::lock_guard<std::mutex> lock(mutex_);
        ForgetFinished();
        // A stop outlasts its call while a stopped worker still runs, so that
        // the worker still sees it; a new worker started meanwhile gives up.
        if (threads_.empty() && stopping_) Restart();
        auto job = std::make_unique<WorkerJob>(WorkerJob{body, argument});
        const uintptr_t thread = _beginthreadex(nullptr, 0, Run, job.get(), 0, nullptr);
        if (thread == 0) return false;
        job.release();  // the thread owns it now
        threads_.push_back(reinterpret_cast<HANDLE>(thread));
        return true;
    }

    HANDLE StopEvent() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!stop_) stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        return stop_;
    }

    bool StopAll(DWORD ms) {
        HANDLE stop = StopEvent();
        std::vector<HANDLE> threads;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            threads.swap(threads_);
        }
        stopping_ = true;
        if (stop) SetEvent(stop);
        const DWORD start = GetTickCount();
        std::vector<HANDLE> running;
        for (HANDLE thread : threads) {
            const DWORD spent = GetTickCount() - start;
            if (WaitForSingleObject(thread, spent < ms ? ms - spent : 0) == WAIT_OBJECT_0)
                CloseHandle(thread);
            else
                running.push_back(thread);
        }
        std::lock_guard<std::mutex> lock(mutex_);
        threads_.insert(threads_.end(), running.begin(), running.end());
        if (threads_.empty()) Restart();
        return running.empty();
    }

    bool Stopping() const { return stopping_; }

    ~WorkerRegistry() {
        for (HANDLE thread : threads_) CloseHandle(thread);
        if (stop_) CloseHandle(stop_);
    }

private:
    static unsigned __stdcall Run(void* raw) {
        std::unique_ptr<WorkerJob> job(static_cast<WorkerJob*>(raw));
        job->body(job->argument);
        return 0;
    }

    void Restart() {
        if (stop_) ResetEvent(stop_);
        stopping_ = false;
    }

    void ForgetFinished() {
        std::vector<HANDLE> running;
        for (HANDLE thread : threads_) {
            if (WaitForSingleObject(thread, 0) == WAIT_OBJECT_0)
                CloseHandle(thread);
            else
                running.push_back(thread);
        }
        threads_.swap(running);
    }

    std::mutex mutex_;
    std::vector<HANDLE> threads_;
    HANDLE stop_ = nullptr;
    std::atomic<bool> stopping_{false};  // read on every decoded row: no system call
};

WorkerRegistry& Workers() {
    static WorkerRegistry registry;
    return registry;
}

}  // namespace

bool StartMapWorker(void(__cdecl* body)(void*), void* argument) { return Workers().Start(body, argument); }

bool WaitForTextureMutex(HANDLE mutex, DWORD ms) {
    if (!mutex) return false;
    HANDLE stop = Workers().StopEvent();
    const HANDLE handles[2] = {mutex, stop};
    const DWORD wait = WaitForMultipleObjects(stop ? 2 : 1, handles, FALSE, ms);
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED_0;
}

bool MapWorkersStopping() { return Workers().Stopping(); }

bool StopMapWorkers(DWORD ms) { return Workers().StopAll(ms); }
