// The exit tells every set of workers to stop before it waits for any: a
// worker of the last set ends while the first set is still waited for.
#include <gtest/gtest.h>

#include <windows.h>

#include "tempovia/util/worker_threads.h"

namespace {

DWORD WINAPI WaitForStop(LPVOID stop) {
    WaitForSingleObject(static_cast<HANDLE>(stop), INFINITE);
    return 0;
}

TEST(WorkerThreads, AllSetsAreToldToStopAtOnce) {
    WorkerThreads news, photos, imports;
    HANDLE stops[] = {news.stop(), photos.stop(), imports.stop()};
    ASSERT_TRUE(news.Start(WaitForStop, stops[0]));
    ASSERT_TRUE(imports.Start(WaitForStop, stops[2]));
    WorkerThreads::TellAllToStop();
    for (HANDLE stop : stops) EXPECT_EQ(WaitForSingleObject(stop, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    // Told already: new work is refused until the waits are over.
    EXPECT_FALSE(photos.Start(WaitForStop, stops[1]));
    EXPECT_TRUE(news.StopAndWait(5000));
    EXPECT_TRUE(imports.StopAndWait(5000));
    EXPECT_TRUE(photos.StopAndWait(0));
}

}  // namespace
