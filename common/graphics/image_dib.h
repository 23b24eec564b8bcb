// Image files into a PixelBuffer through hook.dll's image export (ordinal 10).
//
// This library does not link hook.dll: programs and tests that never load an
// image must not need it. The export is found at run time instead, in the
// hook.dll that the process already has loaded, else in the one beside the
// program (which then stays loaded, as a linked library would).
#pragma once

#include <windows.h>

class PixelBuffer;

// The signature of the export.
using PngDibExport = BOOL(WINAPI*)(const wchar_t* path, BITMAPV4HEADER* header, void** bits);

// The export, or null when there is no hook.dll to take it from.
PngDibExport FindPngDibExport();

// Frees the buffer's old pixels, then fills it from the image file. False,
// with the buffer empty, when the export is missing or fails, returns no
// pixels, or hands back a header that does not describe its block. The
// buffer owns the pixels it receives.
bool LoadImageDib(PixelBuffer& buffer, const wchar_t* path);
// The same through a given export (tests hand in stand-ins).
bool LoadImageDibWith(PngDibExport load, PixelBuffer& buffer, const wchar_t* path);
