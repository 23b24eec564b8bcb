#include "tempovia/photos/photo_service.h"

#include "common/records/global_settings.h"
#include "common/records/clock_table.h"
#include "common/settings/photo_cache_paths.h"
#include "tempovia/photos/photo_worker.h"
#include "tempovia/util/worker_threads.h"

namespace {

PhotoServiceAddress g_service{kPhotoServiceBase, kPhotoServiceRoot};

int64_t SystemNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return static_cast<int64_t>((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
}

// The photo download threads; only the GUI thread starts and waits for them.
WorkerThreads g_workers;

bool StartThread() { return g_workers.Start(PhotoThread, nullptr); }

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

HANDLE PhotoWorkersStop() { return g_workers.stop(); }

bool WaitForPhotoWorkers(DWORD ms) { return g_workers.StopAndWait(ms); }

bool PhotosWanted() {
    // The GUI thread changes both while the worker runs; one plain read each.
    const volatile uint32_t& flags = g_settings.runFlags;
    const volatile int32_t& photos = g_settings.vistrel;
    return (flags & kRunFlagExiting) == 0 && photos != 0;
}
