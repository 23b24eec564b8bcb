// Static controls that show hyperlink text (see hyperlink_text.h) and open a
// link's target through the shell when it is clicked.
#pragma once

#include <windows.h>

// The subclass procedure of link controls.
LRESULT CALLBACK HyperlinkWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Makes the control a link control. False, and nothing changed, when the
// control has no procedure or already is one.
bool SubclassHyperlink(HWND control);

// The cursor shown over a link: the program's hand cursor, loaded at start-up;
// the system's hand cursor until a program gives its own (null goes back).
void SetHyperlinkCursor(HCURSOR cursor);
HCURSOR GetHyperlinkCursor();
