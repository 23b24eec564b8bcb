#include "common/platform/hyperlink_control.h"

#include "common/platform/hyperlink_text.h"
#include "common/platform/system_seam.h"

#include <windowsx.h>

namespace {

constexpr int kMaxControlText = 2048;

// Each control keeps the procedure it had before, so that link controls of
// different classes can live side by side. The last one replaced also stays
// in g_previousProc for a control that lost its property.
constexpr WCHAR kPreviousProcProp[] = L"Tempovia.LinkPrevProc";
WNDPROC g_previousProc = nullptr;
HCURSOR g_handCursor = nullptr;

WNDPROC PreviousProc(HWND window) {
    auto proc = reinterpret_cast<WNDPROC>(GetPropW(window, kPreviousProcProp));
    if (!proc) proc = g_previousProc;
    return proc == HyperlinkWndProc ? nullptr : proc;
}

LRESULT CallPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc = PreviousProc(window);
    if (proc) return CallWindowProcW(proc, window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

struct Colors {
    COLORREF text;
    COLORREF link;
};

Colors ControlColors(HWND window) {
    Colors c{GetSysColor(COLOR_BTNTEXT), kDefaultLinkColor};
    auto* style = reinterpret_cast<const HyperlinkStyle*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (style && style->size == kHyperlinkStyleSize && style->magic == kHyperlinkStyleMagic) {
        if (style->textColor != CLR_INVALID) c.text = style->textColor;
        if (style->linkColor != CLR_INVALID) c.link = style->linkColor;
    }
    return c;
}

// The control's text, at most kMaxControlText characters; the caller's copy
// that the layout may cut up.
void ReadText(HWND window, WCHAR (&text)[kMaxControlText + 1]) {
    text[0] = L'\0';
    GetWindowTextW(window, text, kMaxControlText + 1);
    text[kMaxControlText] = L'\0';
}

HFONT ControlFont(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

// The link segment under a client point, or -1. The segments point into text.
int LinkAt(HWND window, int x, int y, WCHAR (&text)[kMaxControlText + 1], LinkSegment (&segments)[kMaxLinkSegments]) {
    ReadText(window, text);
    HDC dc = GetDC(window);
    if (!dc) return -1;
    RECT client;
    GetClientRect(window, &client);
    int hit = HitTestLinkText(dc, ControlFont(window), POINT{client.left, client.top}, text, x, y, segments);
    ReleaseDC(window, dc);
    return hit;
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (!dc) return;
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));

    WCHAR text[kMaxControlText + 1];
    ReadText(window, text);
    Colors colors = ControlColors(window);
    HFONT font = ControlFont(window);
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = GetTextColor(dc);
    HPEN pen = CreatePen(PS_SOLID, 1, colors.link);
    HGDIOBJ oldPen = pen ? SelectObject(dc, pen) : nullptr;

    LinkSegment segments[kMaxLinkSegments];
    int count = LayoutLinkText(text, POINT{client.left, client.top}, dc, segments, kMaxLinkSegments);
    for (int i = 0; i < count; ++i) {
        const LinkSegment& s = segments[i];
        SetTextColor(dc, s.target ? colors.link : colors.text);
        if (s.length > 0) TextOutW(dc, s.box.left, s.box.top, s.text, s.length);
        if (s.target && pen && s.box.right > s.box.left) {
            MoveToEx(dc, s.box.left, s.box.bottom - 1, nullptr);
            LineTo(dc, s.box.right, s.box.bottom - 1);
        }
    }

    if (oldPen) SelectObject(dc, oldPen);
    if (pen) DeleteObject(pen);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    if (oldFont) SelectObject(dc, oldFont);
    EndPaint(window, &ps);
}

LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT: {
        // Without redraw the old text would flash through the previous procedure's painting.
        SendMessageW(window, WM_SETREDRAW, FALSE, 0);
        LRESULT result = CallPrevious(window, message, wParam, lParam);
        SendMessageW(window, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(window, nullptr, TRUE);
        return result;
    }
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_SETCURSOR: {
        if (reinterpret_cast<HWND>(wParam) != window) break;
        HCURSOR hand = GetHyperlinkCursor();
        bool overLink = false;
        if (hand) {
            POINT pt;
            GetCursorPos(&pt);
            ScreenToClient(window, &pt);
            WCHAR text[kMaxControlText + 1];
            LinkSegment segments[kMaxLinkSegments];
            overLink = LinkAt(window, pt.x, pt.y, text, segments) >= 0;
        }
        if (overLink) {
            SetCursor(hand);
        } else if (HWND parent = GetParent(window)) {
            SendMessageW(parent, WM_SETCURSOR, wParam, lParam);
        }
        return 1;
    }
    case WM_NCHITTEST: {
        RECT r;
        GetWindowRect(window, &r);
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        return PtInRect(&r, pt) ? HTCLIENT : HTNOWHERE;
    }
    case WM_LBUTTONUP: {
        WCHAR text[kMaxControlText + 1];
        LinkSegment segments[kMaxLinkSegments];
        int hit = LinkAt(window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), text, segments);
        if (hit >= 0) System().ShellExecuteOpen(window, L"open", segments[hit].target, nullptr, nullptr, SW_SHOW);
        break;
    }
    case WM_NCDESTROY: {
        WNDPROC previous = PreviousProc(window);
        RemovePropW(window, kPreviousProcProp);
        if (previous) {
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            return CallWindowProcW(previous, window, message, wParam, lParam);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return CallPrevious(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK HyperlinkWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleMessage(window, message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool SubclassHyperlink(HWND control) {
    auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC));
    if (!proc || proc == HyperlinkWndProc) return false;
    SetPropW(control, kPreviousProcProp, reinterpret_cast<HANDLE>(proc));
    g_previousProc = proc;
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HyperlinkWndProc));
    return true;
}

void SetHyperlinkCursor(HCURSOR cursor) { g_handCursor = cursor; }
HCURSOR GetHyperlinkCursor() { return g_handCursor ? g_handCursor : LoadCursorW(nullptr, IDC_HAND); }
