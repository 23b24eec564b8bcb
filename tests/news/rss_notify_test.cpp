#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "common/records/protocol.h"
#include "tempovia/news/rss_notify.h"
#include "tests/news/news_recorder.h"

namespace {

TEST(RssNotifyList, HoldsEightWindowsAndRefusesTheNinth) {
    NewsRecorder windows[9];
    RssNotifyList list;
    for (int i = 0; i < 8; ++i) EXPECT_TRUE(list.Add(windows[i].hwnd()));
    EXPECT_TRUE(list.Add(windows[3].hwnd()));  // already listed
    EXPECT_FALSE(list.Add(windows[8].hwnd()));
    EXPECT_EQ(list.Count(), 8);

    list.Remove(windows[0].hwnd());
    EXPECT_EQ(list.Count(), 7);
    EXPECT_TRUE(list.Add(windows[8].hwnd()));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(RssNotifyList, BroadcastReachesLiveWindowsOnly) {
    NewsRecorder a, b;
    RssNotifyList list;
    list.Add(a.hwnd());
    list.Add(b.hwnd());
    int object = 0;
    list.Broadcast(3, &object);
    ASSERT_EQ(a.calls().size(), 1u);
    EXPECT_EQ(a.calls()[0].first, 3u);
    EXPECT_EQ(a.calls()[0].second, reinterpret_cast<LPARAM>(&object));
    EXPECT_EQ(b.calls().size(), 1u);

    list.Broadcast(4, nullptr);  // nothing for no object
    EXPECT_EQ(a.calls().size(), 1u);

    b.Destroy();
    list.Broadcast(1, &object);  // a window that is gone is skipped
    EXPECT_EQ(a.calls().size(), 2u);

    list.Remove(a.hwnd());
    list.Broadcast(1, &object);
    EXPECT_EQ(a.calls().size(), 2u);
}

TEST(RssNotifyList, RemoveDropsEveryCopy) {
    NewsRecorder a, b;
    RssNotifyList list;
    list.Add(a.hwnd());
    list.Add(b.hwnd());
    list.Remove(a.hwnd());
    list.Remove(a.hwnd());
    EXPECT_EQ(list.Count(), 1);
    int object = 0;
    list.Broadcast(2, &object);
    EXPECT_TRUE(a.calls().empty());
    EXPECT_EQ(b.calls().size(), 1u);
}

}  // namespace
