#include "tempovia/photos/photo_request.h"

#include <cstring>
#include <cwchar>

namespace {

class Hold {
public:
    explicit Hold(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
    ~Hold() { LeaveCriticalSection(&cs_); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

private:
    CRITICAL_SECTION& cs_;
};

bool SameName(const wchar_t* a, const wchar_t* b) { return std::wcsncmp(a, b, kPhotoNameChars) == 0; }

// Built before the main window exists and gone at exit.
PhotoQueue g_queue;

}  // namespace

bool SamePhotoRequest(const PhotoRequest& a, const PhotoRequest& b) {
    if (a.requester != b.requester || IsCountryRequest(a) != IsCountryRequest(b)) return false;
    if (!SameName(a.country, b.country)) return false;
    return IsCountryRequest(a) || SameName(a.city, b.city);
}

PhotoQueue::PhotoQueue() {
    InitializeCriticalSection(&lock_);
    std::memset(entries_, 0, sizeof entries_);
}

PhotoQueue::~PhotoQueue() {
    bool idle;
    {
        Hold hold(lock_);
        count_ = 0;
        idle = workers_ == 0;
    }
    // A worker still inside a download at exit would enter a deleted lock.
    if (idle) DeleteCriticalSection(&lock_);
}

PhotoQueue::Added PhotoQueue::add(const PhotoRequest& request) {
    Hold hold(lock_);
    for (int i = count_ - 1; i >= 0; --i) {
        if (SamePhotoRequest(entries_[i], request)) return Added::Merged;
    }
    // The worker that emptied the queue may still be on its way out of its
    // loop: it takes this request too, and no second worker starts.
    const bool wasEmpty = !serving_;
    serving_ = true;
    if (count_ == kPhotoQueueSize) {
        std::memmove(&entries_[0], &entries_[1], sizeof(PhotoRequest) * (kPhotoQueueSize - 1));
        --count_;
    }
    entries_[count_++] = request;
    return wasEmpty ? Added::AppendedToEmpty : Added::Appended;
}

void PhotoQueue::withdraw(const PhotoRequest& request) {
    Hold hold(lock_);
    if (count_ > 0 && SamePhotoRequest(entries_[count_ - 1], request)) --count_;
    serving_ = false;
}

bool PhotoQueue::newest(PhotoRequest& out, bool keepGoing) {
    Hold hold(lock_);
    if (!keepGoing) count_ = 0;
    if (count_ == 0) {
        serving_ = false;
        return false;
    }
    out = entries_[count_ - 1];
    return true;
}

void PhotoQueue::removeServed(const PhotoRequest& served) {
    Hold hold(lock_);
    int kept = 0;
    for (int i = 0; i < count_; ++i) {
        if (SamePhotoRequest(entries_[i], served)) continue;
        if (kept != i) entries_[kept] = entries_[i];
        ++kept;
    }
    count_ = kept;
}

void PhotoQueue::clear() {
    Hold hold(lock_);
    count_ = 0;
}

int PhotoQueue::count() {
    Hold hold(lock_);
    return count_;
}

bool PhotoQueue::entry(int i, PhotoRequest& out) {
    Hold hold(lock_);
    if (i < 0 || i >= count_) return false;
    out = entries_[i];
    return true;
}

void PhotoQueue::workerStarted() {
    Hold hold(lock_);
    ++workers_;
}

void PhotoQueue::workerEnded() {
    Hold hold(lock_);
    --workers_;
}

PhotoQueue& ThePhotoQueue() { return g_queue; }
