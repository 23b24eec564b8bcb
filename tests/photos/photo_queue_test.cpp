#include "tests/photos/photo_fixture.h"

#include "common/records/global_settings.h"
#include "common/records/clock_table.h"
#include "tempovia/photos/photo_worker.h"

namespace {

std::vector<PhotoRequest> Queued() {
    std::vector<PhotoRequest> out;
    PhotoRequest r;
    for (int i = 0; ThePhotoQueue().entry(i, r); ++i) out.push_back(r);
    return out;
}

HWND Requester(int n) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1000 + n)); }

TEST_F(PhotoTest, RequestsAreCopiedFromTheCityTableAndStartOneWorker) {
    EXPECT_TRUE(QueuePhotoRequest(2, window_));
    EXPECT_TRUE(QueuePhotoRequest(-1, window_));
    EXPECT_EQ(starts_, 1);  // the second found a worker on its way
    const auto queued = Queued();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_STREQ(queued[0].city, L"São Paulo");
    EXPECT_STREQ(queued[0].country, L"Brazil");
    EXPECT_EQ(queued[0].cityIndex, 2);
    EXPECT_EQ(queued[0].requester, window_);
    EXPECT_STREQ(queued[1].city, L"");  // a whole country
    EXPECT_STREQ(queued[1].country, L"Germany");
    EXPECT_EQ(queued[1].cityIndex, 1);
    // The cache root is made, with its parent, by the first request.
    EXPECT_NE(GetFileAttributesW(root().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PhotoTest, RequestsOutsideTheTableOrUnwantedAreRefused) {
    EXPECT_FALSE(QueuePhotoRequest(4, window_));  // equal to the number of cities
    EXPECT_FALSE(QueuePhotoRequest(-4, window_));
    EXPECT_FALSE(QueuePhotoRequest(1000000, window_));
    g_settings.vistrel = 0;
    EXPECT_FALSE(QueuePhotoRequest(0, window_));
    g_settings.vistrel = 1;
    g_settings.runFlags = kRunFlagExiting;
    EXPECT_FALSE(QueuePhotoRequest(0, window_));
    g_settings.runFlags = 0;
    EXPECT_EQ(ThePhotoQueue().count(), 0);
    EXPECT_EQ(starts_, 0);
}

TEST_F(PhotoTest, RepeatedRequestsMergeWhileDistinctOnesQueue) {
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(QueuePhotoRequest(0, window_));
    EXPECT_EQ(ThePhotoQueue().count(), 1);
    // Same country, other city; same city, other requester; the country itself.
    EXPECT_TRUE(QueuePhotoRequest(1, window_));
    EXPECT_TRUE(QueuePhotoRequest(0, Requester(1)));
    EXPECT_TRUE(QueuePhotoRequest(-1, window_));
    EXPECT_TRUE(QueuePhotoRequest(-1, window_));  // the same country again
    EXPECT_EQ(ThePhotoQueue().count(), 4);
    EXPECT_EQ(starts_, 1);
}

TEST_F(PhotoTest, TheThirtyThirdRequestDropsTheOldest) {
    for (int n = 0; n < kPhotoQueueSize + 1; ++n) EXPECT_TRUE(QueuePhotoRequest(n % 4, Requester(n)));
    const auto queued = Queued();
    ASSERT_EQ(queued.size(), 32u);
    EXPECT_EQ(queued.front().requester, Requester(1));
    EXPECT_EQ(queued.back().requester, Requester(32));
    EXPECT_EQ(queued.back().cityIndex, 0);
    EXPECT_EQ(starts_, 1);
}

TEST_F(PhotoTest, AWorkerThatCannotStartLeavesTheQueueOpen) {
    startResult_ = false;
    EXPECT_FALSE(QueuePhotoRequest(0, window_));
    EXPECT_EQ(ThePhotoQueue().count(), 0);
    startResult_ = true;
    EXPECT_TRUE(QueuePhotoRequest(0, window_));
    EXPECT_EQ(starts_, 2);
}

TEST_F(PhotoTest, ServedEntriesLeaveTheOthersInOrder) {
    PhotoQueue& queue = ThePhotoQueue();
    const PhotoRequest a = Request(0), b = Request(1), c = Request(-3);
    queue.add(a);
    queue.add(b);
    queue.add(c);
    PhotoRequest newest;
    ASSERT_TRUE(queue.newest(newest, true));
    EXPECT_TRUE(SamePhotoRequest(newest, c));
    EXPECT_EQ(queue.count(), 3);  // still queued while it is served
    queue.removeServed(b);
    const auto queued = Queued();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_TRUE(SamePhotoRequest(queued[0], a));
    EXPECT_TRUE(SamePhotoRequest(queued[1], c));
    // A worker told to stop empties the queue, so that the next request
    // starts a new one.
    EXPECT_FALSE(queue.newest(newest, false));
    EXPECT_EQ(queue.count(), 0);
}

TEST_F(PhotoTest, TheWorkerThatEmptiedTheQueueTakesTheNextRequest) {
    PhotoQueue& queue = ThePhotoQueue();
    EXPECT_TRUE(QueuePhotoRequest(0, window_));
    PhotoRequest served;
    ASSERT_TRUE(queue.newest(served, true));
    queue.removeServed(served);
    EXPECT_EQ(queue.count(), 0);
    // The worker has not looked at the queue again yet: no second one starts.
    EXPECT_TRUE(QueuePhotoRequest(1, window_));
    EXPECT_EQ(starts_, 1);
    ASSERT_TRUE(queue.newest(served, true));
    EXPECT_EQ(served.cityIndex, 1);
    queue.removeServed(served);
    EXPECT_FALSE(queue.newest(served, true));  // now it is done
    EXPECT_TRUE(QueuePhotoRequest(2, window_));
    EXPECT_EQ(starts_, 2);
}

TEST_F(PhotoTest, AWorkerStopsWhenPhotosAreTurnedOff) {
    EXPECT_TRUE(QueuePhotoRequest(0, window_));
    EXPECT_TRUE(QueuePhotoRequest(1, window_));
    g_settings.vistrel = 0;
    RunPhotoQueue();
    EXPECT_EQ(ThePhotoQueue().count(), 0);
    g_settings.vistrel = 1;
    EXPECT_TRUE(QueuePhotoRequest(0, window_));
    EXPECT_EQ(starts_, 2);
}

}  // namespace
