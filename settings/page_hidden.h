// Pages remember the record of their last load between messages. The node
// that owns it may be deleted, or the whole tree rebuilt, while the page is
// not shown; the dialog loads a page again before it shows it.
#pragma once

#include <windows.h>

// True for the WM_SHOWWINDOW that the dialog's own ShowWindow sends to hide a
// page (not one for a minimised or covered parent): the page must then let go
// of the record it loaded.
inline bool PageHiddenByDialog(WPARAM shown, LPARAM status) { return !shown && status == 0; }

// The clock, desktop, formats and background pages keep that record in their
// window's user data.
inline void ForgetPageRecordWhenHidden(HWND page, WPARAM shown, LPARAM status) {
    if (PageHiddenByDialog(shown, status)) SetWindowLongPtrW(page, GWLP_USERDATA, 0);
}
