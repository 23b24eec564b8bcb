#include <winsock2.h>
#include <ws2tcpip.h>

#include "velmora/name_lookup.h"

#include <atomic>
#include <string>

#include "velmora/sync_codes.h"

namespace {

// Owned by the waiting sync and the look-up thread; the last one frees it.
struct LookupJob {
    std::atomic<int> owners{2};
    NameLookup lookup = nullptr;
    std::string name;
    bool found = false;
    in_addr address{};
};

void Release(LookupJob* job) {
    if (--job->owners == 0) delete job;
}

bool SystemLookup(const char* name, in_addr& address) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0 || !found) return false;
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

DWORD WINAPI LookupThread(void* parameter) {
    LookupJob* job = static_cast<LookupJob*>(parameter);
    // A hold of its own on Windows Sockets: the engine may clean up while a
    // look-up left behind still waits.
    WSADATA data;
    const bool started = WSAStartup(MAKEWORD(2, 0), &data) == 0;
    job->found = started && job->lookup(job->name.c_str(), job->address);
    if (started) WSACleanup();
    Release(job);
    return 0;
}

}  // namespace

int LookUpServer(const char* name, NameLookup lookup, DWORD waitMs, HANDLE stop, in_addr& address) {
    LookupJob* job = new LookupJob;
    job->lookup = lookup ? lookup : SystemLookup;
    job->name = name;
    HANDLE thread = CreateThread(nullptr, 0, LookupThread, job, 0, nullptr);
    if (!thread) {
        delete job;
        return kSyncBadServer;
    }
    const HANDLE waits[] = {thread, stop};
    const DWORD wait = WaitForMultipleObjects(stop ? 2 : 1, waits, FALSE, waitMs);
    CloseHandle(thread);
    int code = kSyncBadServer;
    if (wait == WAIT_OBJECT_0 && job->found) {
        address = job->address;
        code = kSyncOk;
    } else if (wait == WAIT_OBJECT_0 + 1) {
        code = kSyncStopped;
    }
    Release(job);
    return code;
}
