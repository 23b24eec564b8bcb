// A request given up at the sync's deadline leaves nothing behind once WinINet
// has finished it on its own.
#include <gtest/gtest.h>

#include <malloc.h>

#include "tests/velmora/loopback.h"
#include "tests/velmora/sync_fixture.h"
#include "velmora/sync_codes.h"

using namespace velmora_test;

namespace {

// Blocks in use on the program's heap.
int HeapBlocks() {
    _HEAPINFO entry{};
    int count = 0;
    while (_heapwalk(&entry) == _HEAPOK) count += entry._useflag == _USEDENTRY ? 1 : 0;
    return count;
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
    const int before = HeapBlocks();

    giveUp(2);
    // The replies end, WinINet finishes the requests and reports them closed.
    int after = HeapBlocks();
    for (int i = 0; i < 200 && after > before; ++i) {
        Sleep(50);
        after = HeapBlocks();
    }
    EXPECT_EQ(after, before);
    EXPECT_EQ(slow.requests(), 3);
}
