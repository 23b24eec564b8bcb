// The settings program's host of the location picker: the world map dialog
// of the main program, run modally for the clock page, which gets the chosen
// city or time zone as a reply.
#pragma once

#include <windows.h>

// Runs the picker modally with the page as its opener; the initial city is
// the page's location text (control 1160) when it is a city label. True when
// the picker ended with a positive result.
bool ShowLocationPicker(HWND page);
// The same with the initial city given by its index in the city table (-1: none).
bool ShowLocationPickerAt(HWND page, int initialCity);

// The open picker's window, else null.
HWND LocationPickerWindow();

// Window procedure of the class "Tempovia World Map", which hosts the same
// picker procedure in a plain window.
LRESULT CALLBACK MapHostWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Left and top move out by dx and dy, right and bottom by the same amounts.
void InflateRectBy(RECT& rect, int dx, int dy);

// Puts the picker behind the clock page.
void InstallLocationPicker();
