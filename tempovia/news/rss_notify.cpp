#include "tempovia/news/rss_notify.h"

#include "common/records/protocol.h"

RssNotifyList g_rssNotifyList;

bool RssNotifyList::Add(HWND window) {
    for (int i = 0; i < count_; ++i) {
        if (windows_[i] == window) return true;
    }
    if (count_ >= kMaxWindows) return false;
    windows_[count_++] = window;
    return true;
}

void RssNotifyList::Remove(HWND window) {
    int kept = 0;
    for (int i = 0; i < count_; ++i) {
        if (windows_[i] != window) windows_[kept++] = windows_[i];
    }
    for (int i = kept; i < count_; ++i) windows_[i] = nullptr;
    count_ = kept;
}

void RssNotifyList::Broadcast(WPARAM code, const void* object) const {
    if (!object) return;
    // A receiver may remove itself while being told; work on a copy.
    HWND targets[kMaxWindows];
    const int count = count_;
    for (int i = 0; i < count; ++i) targets[i] = windows_[i];
    for (int i = 0; i < count; ++i) {
        if (IsWindow(targets[i])) {
            SendMessageW(targets[i], MSG_RSS_UPDATED, code, reinterpret_cast<LPARAM>(object));
        }
    }
}
