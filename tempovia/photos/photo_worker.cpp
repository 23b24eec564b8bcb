#include "tempovia/photos/photo_worker.h"

#include <cstdlib>
#include <string>

#include "common/settings/photo_cache_paths.h"
#include "common/zones/city_list.h"
#include "common/platform/text_bounds.h"
#include "tempovia/news/http_download.h"
#include "tempovia/photos/photo_service.h"

namespace {

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The root and, on a machine where no program of the maker has run yet, its
// parent.
bool EnsurePhotoRoot() {
    std::wstring root;
    if (!GetCityPhotoRoot(root)) return false;
    if (IsFolder(root)) return true;
    const size_t slash = root.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 0) {
        const std::wstring parent = root.substr(0, slash);
        if (!IsFolder(parent)) CreateDirectoryW(parent.c_str(), nullptr);
    }
    return CreateDirectoryW(root.c_str(), nullptr) || IsFolder(root);
}

class WorkerCount {
public:
    WorkerCount() { ThePhotoQueue().workerStarted(); }
    ~WorkerCount() { ThePhotoQueue().workerEnded(); }
    WorkerCount(const WorkerCount&) = delete;
    WorkerCount& operator=(const WorkerCount&) = delete;
};

}  // namespace

bool QueuePhotoRequest(int cityIndex, HWND requester) {
    if (!PhotosWanted()) return false;
    const bool country = cityIndex < 0;
    const long long index = std::llabs(static_cast<long long>(cityIndex));
    if (!g_cities.cities || index >= g_cities.count) return false;
    if (!EnsurePhotoRoot()) return false;

    const CityRecord& city = g_cities.cities[index];
    PhotoRequest request{};
    request.requester = requester;
    request.cityIndex = static_cast<int32_t>(index);
    CopyBounded(request.country, city.region);
    if (!country) CopyBounded(request.city, city.city);

    PhotoQueue& queue = ThePhotoQueue();
    if (queue.add(request) == PhotoQueue::Added::AppendedToEmpty && !StartPhotoWorker()) {
        // Without a worker the request would hold the queue shut.
        queue.withdraw(request);
        return false;
    }
    return true;
}

void ClearPhotoQueue() { ThePhotoQueue().clear(); }

void RunPhotoQueue() {
    WorkerCount counted;
    ScopedHttpSession scope;
    PhotoQueue& queue = ThePhotoQueue();
    PhotoRequest request;
    // Stopping for photos off empties the queue: the next request then finds
    // it empty and starts a worker again.
    while (queue.newest(request, PhotosWanted())) {
        if (FetchPhotoIndex(scope.get(), request)) FetchPhotos(scope.get(), request);
        queue.removeServed(request);
    }
}

DWORD WINAPI PhotoThread(void*) {
    try {
        RunPhotoQueue();
    } catch (...) {
        // Out of memory: the queue is left to the next request's worker.
        PhotoRequest none;
        ThePhotoQueue().newest(none, false);
        return 1;
    }
    return 0;
}
