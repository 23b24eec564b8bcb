// City photos decoded into bitmaps for the taskbar clock's tooltip.
#pragma once

#include <cstdint>

class CBitmap;

// The pixel conversion of the decoder: a COLORREF 0x00BBGGRR (R, G, B in
// memory) becomes 0xFFRRGGBB (B, G, R, alpha in memory), except 1, which
// becomes 0xFF010101. Bits 24-31 of the input are ignored.
uint32_t PhotoPixelToArgb(uint32_t colour);

// Decodes a JPEG file into the bitmap (its previous picture freed first),
// at the picture's own size up to 256 x 256; a larger picture is shrunk to
// fit, keeping its proportions. Only pictures of 3 or 4 bytes a pixel are
// taken; on any failure the bitmap is left empty.
bool LoadPhotoFile(const wchar_t* path, CBitmap& bitmap);

// Photo `n` of city `cityIndex` of the received table; false for a city
// outside the table.
bool LoadCityPhoto(int cityIndex, int n, CBitmap& bitmap);
