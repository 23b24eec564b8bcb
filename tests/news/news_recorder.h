// A message-only window that records the MSG_RSS_UPDATED it receives.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

class NewsRecorder {
public:
    NewsRecorder();
    ~NewsRecorder();
    NewsRecorder(const NewsRecorder&) = delete;
    NewsRecorder& operator=(const NewsRecorder&) = delete;
    NewsRecorder(NewsRecorder&&) = delete;

    HWND hwnd() const { return hwnd_; }
    void Destroy();
    const std::vector<std::pair<WPARAM, LPARAM>>& calls() const { return calls_; }
    void Reset() { calls_.clear(); }
    // The codes received, in order.
    std::vector<WPARAM> codes() const;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    std::vector<std::pair<WPARAM, LPARAM>> calls_;
};
