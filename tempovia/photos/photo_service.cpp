#include "tempovia/photos/photo_service.h"

#include <vector>

#include "common/settings/global_settings.h"
#include "common/time/clock_table.h"
#include "common/settings/photo_cache_paths.h"
#include "tempovia/photos/photo_worker.h"

namespace {

PhotoServiceAddress g_service{kPhotoServiceBase, kPhotoServiceRoot};

int64_t SystemNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return static_cast<int64_t>((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
}

// Workers started and not yet waited for; only the GUI thread starts and
// waits. A worker on its way out may overlap the next one briefly.
std::vector<HANDLE> g_workers;

// Set while the workers are told to stop.
class StopEvent {
public:
    StopEvent() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~StopEvent() {
        if (event_) CloseHandle(event_);
    }
    StopEvent(const StopEvent&) = delete;
    StopEvent& operator=(const StopEvent&) = delete;
    HANDLE get() const { return event_; }

private:
    HANDLE event_;
};
StopEvent g_stop;

void ForgetEndedWorkers() {
    for (auto it = g_workers.begin(); it != g_workers.end();) {
        if (WaitForSingleObject(*it, 0) == WAIT_OBJECT_0) {
            CloseHandle(*it);
            it = g_workers.erase(it);
        } else {
            ++it;
        }
    }
}

bool StartThread() {
    ForgetEndedWorkers();
    g_workers.reserve(g_workers.size() + 1);
    HANDLE thread = CreateThread(nullptr, 0, PhotoThread, nullptr, 0, nullptr);
    if (!thread) return false;
    g_workers.push_back(thread);
    return true;
}

PhotoClock g_clock = SystemNow;
PhotoWorkerStarter g_starter = StartThread;

}  // namespace

const PhotoServiceAddress& PhotoService() { return g_service; }

void SetPhotoService(const std::string& base, const std::string& root) {
    g_service.base = base.empty() ? kPhotoServiceBase : base;
    g_service.root = root.empty() ? kPhotoServiceRoot : root;
}

int64_t PhotoNow() { return g_clock(); }
void SetPhotoClock(PhotoClock clock) { g_clock = clock ? clock : SystemNow; }

bool StartPhotoWorker() { return g_starter(); }
void SetPhotoWorkerStarter(PhotoWorkerStarter starter) { g_starter = starter ? starter : StartThread; }

HANDLE PhotoWorkersStop() { return g_stop.get(); }

bool WaitForPhotoWorkers(DWORD ms) {
    if (g_stop.get()) SetEvent(g_stop.get());
    const DWORD start = GetTickCount();
    for (HANDLE worker : g_workers) {
        const DWORD used = GetTickCount() - start;
        WaitForSingleObject(worker, used >= ms ? 0 : ms - used);
    }
    ForgetEndedWorkers();
    if (!g_workers.empty()) return false;
    if (g_stop.get()) ResetEvent(g_stop.get());
    return true;
}

bool PhotosWanted() {
    // The GUI thread changes both while the worker runs; one plain read each.
    const volatile uint32_t& flags = g_settings.runFlags;
    const volatile int32_t& photos = g_settings.vistrel;
    return (flags & kRunFlagExiting) == 0 && photos != 0;
}
