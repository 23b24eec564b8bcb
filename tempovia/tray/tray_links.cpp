#include "tempovia/tray/tray_links.h"

namespace {

TrayLinks g_links;
TrayMessageFn g_message = nullptr;
TrackMenuFn g_track = nullptr;

}  // namespace

void SetTrayLinks(const TrayLinks& links) { g_links = links; }
const TrayLinks& Links() { return g_links; }

TrayMessageFn SetTrayMessageFn(TrayMessageFn fn) {
    TrayMessageFn previous = g_message;
    g_message = fn;
    return previous;
}

int TrayMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    return g_message ? g_message(owner, text, caption, type) : MessageBoxW(owner, text, caption, type);
}

TrackMenuFn SetTrackMenuFn(TrackMenuFn fn) {
    TrackMenuFn previous = g_track;
    g_track = fn;
    return previous;
}

BOOL TrackMenu(HMENU popup, UINT flags, int x, int y, HWND owner) {
    return g_track ? g_track(popup, flags, x, y, owner) : TrackPopupMenu(popup, flags, x, y, 0, owner, nullptr);
}
