// A request given up at the sync's deadline leaves nothing behind once WinINet
// has finished it on its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>
#include <new>

#include "tests/velmora/loopback.h"
#include "tests/velmora/sync_fixture.h"
#include "velmora/sync_codes.h"

using namespace velmora_test;

// The request's shared state is the one object of the sync made with the
// non-throwing new; the test program keeps those still alive in a table of
// its own (no allocation inside), whichever thread frees them. Other
// threads' allocations do not count.
std::mutex g_liveLock;
void* g_live[256] = {};

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    void* p = std::malloc(size ? size : 1);
    std::lock_guard<std::mutex> hold(g_liveLock);
    for (void*& slot : g_live) {
        if (!slot) {
            slot = p;
            break;
        }
    }
    return p;
}

void operator delete(void* p) noexcept {
    if (!p) return;
    {
        std::lock_guard<std::mutex> hold(g_liveLock);
        for (void*& slot : g_live) {
            if (slot == p) slot = nullptr;
        }
    }
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

size_t LiveRequestStates() {
    std::lock_guard<std::mutex> hold(g_liveLock);
    size_t n = 0;
    for (void* slot : g_live) n += slot != nullptr;
    return n;
}

}  // namespace

class HttpDeadlineTest : public SyncFixture {};

TEST_F(HttpDeadlineTest, RequestsGivenUpAreFreedWhenWinInetLetsGoOfThem) {
    // Each reply takes about half a second; the sync waits 100 ms for it.
    HttpResponder slow("HTTP/1.1 200 OK\r\nDate: Tue, 15 Nov 1994 08:12:31 GMT\r\nContent-Length: 0\r\n"
                       "Connection: close\r\n\r\n");
    slow.Trickle(5);
    ASSERT_TRUE(UseServer(LoopbackHttp(slow.port())));
    auto giveUp = [&](int times) {
        for (int i = 0; i < times; ++i) EXPECT_EQ(SyncOnce(100), kSyncNoReply);
    };
    giveUp(1);  // what the process keeps once it has synchronised
    Sleep(700);
    const size_t before = LiveRequestStates();

    giveUp(2);
    // The replies end, WinINet finishes the requests and reports them closed.
    // Both requests were given up, so their states are still WinINet's.
    EXPECT_EQ(LiveRequestStates(), before + 2);
    size_t after = LiveRequestStates();
    for (int i = 0; i < 200 && after > before; ++i) {
        Sleep(50);
        after = LiveRequestStates();
    }
    EXPECT_EQ(after, before);
    EXPECT_EQ(slow.requests(), 3);
}
