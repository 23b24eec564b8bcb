#include "webf_fixture.h"

namespace webf_test {

FakeControl* FakeControl::last = nullptr;
LONG FakeControl::live = 0;

std::vector<Notice>& Notices() {
    static std::vector<Notice> notices;
    return notices;
}

namespace {

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        Notices().push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND CreateParent() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"WebfTestParent";
        registered = RegisterClassW(&wc) != 0;
    }
    return CreateWindowExW(0, L"WebfTestParent", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

HRESULT NoControl(IOleObject** control) {
    *control = nullptr;
    return REGDB_E_CLASSNOTREG;
}

HRESULT FakeControlFactory(IOleObject** control) {
    *control = new FakeControl;
    return S_OK;
}

}  // namespace webf_test
