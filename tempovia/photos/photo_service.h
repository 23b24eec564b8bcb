// What the photo worker depends on beyond the queue: the web service's
// addresses, the clock that ages index files, how a worker is started and
// whether photos are wanted at all. Tests put their own in place.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// An index file older than this is fetched again.
inline constexpr int64_t kPhotoIndexMaxAgeSeconds = 86400;
// URLs of the service, in characters before and in UTF-8 bytes after
// conversion (terminator included).
inline constexpr size_t kPhotoUrlChars = 512;

struct PhotoServiceAddress {
    std::string base;  // index files below it: "http://<host>/cms/"
    std::string root;  // photo paths follow it: "http://<host>"
};
const PhotoServiceAddress& PhotoService();
// Empty texts restore the shipped address.
void SetPhotoService(const std::string& base, const std::string& root);

// The current system time in FILETIME units.
using PhotoClock = int64_t (*)();
int64_t PhotoNow();
void SetPhotoClock(PhotoClock clock);  // null: the system clock

// Starts the worker that serves the queue; false when it could not be started.
using PhotoWorkerStarter = bool (*)();
bool StartPhotoWorker();
void SetPhotoWorkerStarter(PhotoWorkerStarter starter);  // null: a thread of its own

// Tells every worker started by StartPhotoWorker to stop, giving up a
// download under way, and waits up to ms for them to end (the program sets its
// exiting flag first); true when none is left running.
bool WaitForPhotoWorkers(DWORD ms);
// Set while the workers are told to stop: their downloads give up at once.
HANDLE PhotoWorkersStop();

// The program is not exiting and city photos are on. Read without a lock.
bool PhotosWanted();
