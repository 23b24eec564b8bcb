// One queued request for city photos and the queue that holds them until the
// photo worker has served them.
#pragma once

#include <windows.h>

#include <cstdint>

inline constexpr int kPhotoQueueSize = 32;
inline constexpr int kPhotoNameChars = 80;  // at most 79 characters kept

struct PhotoRequest {
    HWND requester;                   // answered by PostMessage; may be null
    int32_t cityIndex;                // into the city table, never negative
    wchar_t city[kPhotoNameChars];    // empty for the photos of a whole country
    wchar_t country[kPhotoNameChars]; // the city's region or country
};

inline bool IsCountryRequest(const PhotoRequest& r) { return r.city[0] == L'\0'; }

// The wParam of the replies: the city index, negative for a country request.
inline WPARAM PhotoReplyParam(const PhotoRequest& r) {
    return static_cast<WPARAM>(static_cast<INT_PTR>(IsCountryRequest(r) ? -r.cityIndex : r.cityIndex));
}

// Two requests that one serving answers: the same requester and, for a city,
// the same city and country among city requests, for a country the same
// country among country requests.
bool SamePhotoRequest(const PhotoRequest& a, const PhotoRequest& b);

// The queue: entry 0 is the oldest. Its lock guards only the entries and the
// count; downloads happen outside it.
class PhotoQueue {
public:
    PhotoQueue();
    ~PhotoQueue();
    PhotoQueue(const PhotoQueue&) = delete;
    PhotoQueue& operator=(const PhotoQueue&) = delete;

    // AppendedToEmpty: appended while no worker serves the queue; the caller
    // starts one, which then counts as serving.
    enum class Added { Merged, Appended, AppendedToEmpty };
    // Merges with an equal queued request, else appends (dropping the oldest
    // when full).
    Added add(const PhotoRequest& request);
    // Takes back an entry just appended (its worker could not be started).
    void withdraw(const PhotoRequest& request);
    // A copy of the newest entry, left queued; false when the queue is empty,
    // and the serving worker is then done. With keepGoing false the queue is
    // emptied instead (the worker stops).
    bool newest(PhotoRequest& out, bool keepGoing);
    // Removes every entry equal to the served one, keeping the others' order.
    void removeServed(const PhotoRequest& served);
    void clear();

    int count();
    // Entry i (0 the oldest) copied out; false past the end.
    bool entry(int i, PhotoRequest& out);
    // Workers in flight, so that the lock outlives them at exit.
    void workerStarted();
    void workerEnded();

private:
    CRITICAL_SECTION lock_;
    PhotoRequest entries_[kPhotoQueueSize];
    int count_ = 0;
    long workers_ = 0;
    // A worker serves the queue, from the request that started it to the
    // newest() that finds the queue empty: one at a time.
    bool serving_ = false;
};

// The main program's one queue.
PhotoQueue& ThePhotoQueue();
