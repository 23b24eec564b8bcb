// The windows told of every change to the news model (MSG_RSS_UPDATED).
#pragma once

#include <windows.h>

class RssNotifyList {
public:
    static constexpr int kMaxWindows = 8;

    // True when the window is listed afterwards: already there, or appended
    // while there was room.
    bool Add(HWND window);
    // Drops every copy of the window.
    void Remove(HWND window);
    // Sends MSG_RSS_UPDATED (wParam code, lParam object) to every listed
    // window that still exists; nothing for a null object.
    void Broadcast(WPARAM code, const void* object) const;
    void Clear() { count_ = 0; }
    int Count() const { return count_; }

private:
    HWND windows_[kMaxWindows] = {};
    int count_ = 0;
};

// The one list every channel refers to.
extern RssNotifyList g_rssNotifyList;
