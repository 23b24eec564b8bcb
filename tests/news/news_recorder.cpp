#include "tests/news/news_recorder.h"

#include "common/records/protocol.h"

namespace {
constexpr wchar_t kClass[] = L"TempoviaNewsRecorder";
}

NewsRecorder::NewsRecorder() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &NewsRecorder::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);  // a second registration fails harmlessly
    hwnd_ = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
}

NewsRecorder::~NewsRecorder() { Destroy(); }

void NewsRecorder::Destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

std::vector<WPARAM> NewsRecorder::codes() const {
    std::vector<WPARAM> result;
    for (const auto& call : calls_) result.push_back(call.first);
    return result;
}

LRESULT CALLBACK NewsRecorder::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    if (message == MSG_RSS_UPDATED) {
        auto* self = reinterpret_cast<NewsRecorder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self) self->calls_.emplace_back(wParam, lParam);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
