#include "common/platform/message_loop.h"

#include <windows.h>

void RunMessageLoop() {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) break;
        // A failed fetch loses that message, not the program.
        if (got == -1) continue;
        HWND active = GetActiveWindow();
        if (active) {
            wchar_t cls[16] = {};
            if (GetClassNameW(active, cls, 16) && lstrcmpW(cls, L"#32770") == 0 && IsDialogMessageW(active, &msg)) {
                continue;
            }
        }
        // Date pickers and combo boxes in plain windows (the time table) take
        // typed characters only as WM_CHAR.
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
