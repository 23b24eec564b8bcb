// "Browser Control Class": a child window that shows HTML through TWebf.
// Parents talk to it by the messages below (those with a text in lParam
// through SendWithPointer, which lends it) and hear back by WM_COMMAND
// (codes kWebfLinkFollowed, kWebfDocumentComplete, kWebfNavigateError).
#pragma once

#include <windows.h>

inline constexpr wchar_t kBrowserClassName[] = L"Browser Control Class";

enum : UINT {
    WBM_READY = WM_USER,              // opens a page file; returns its handle
    WBM_SET = WM_USER + 1,            // appends the text in lParam; returns the bytes written
    WBM_GET_QUERY_LIST = WM_USER + 2, // the pairs of the last intercepted link
    WBM_GET_QUERY_VALUE = WM_USER + 3,// lParam: name; returns the value or NULL
    WBM_GET_DOCUMENT = WM_USER + 4,   // IHTMLDocument2, released by the caller
    WBM_GET_BROWSER = WM_USER + 5,    // IWebBrowser2 with a reference added
    WBM_FIND_ELEMENT = WM_USER + 6,   // lParam: name or id; IHTMLElement or NULL
    WBM_GET_LAST_ERROR = WM_USER + 7, // status code of the last navigation error
    WBM_GET_QUERY_TEXT = WM_USER + 8, // the whole URL of the last intercepted link
};

// Registers the class for `module` (CS_HREDRAW | CS_VREDRAW). Registering
// again is harmless.
bool RegisterBrowserClass(HINSTANCE module);
