// Where the desktop clocks get their shared drawing objects by skin name (the
// program's skin registry), and what they read and set of a skin.
#pragma once

class CGraphics;

namespace desktop {

// A reference to the skin of that name, loaded on first use; null for no name
// or when the registry is full.
CGraphics* AcquireSkin(const wchar_t* name);
// Gives one reference back; the object goes with the last one.
void ReleaseSkin(CGraphics* skin);
// Number of skins loaded now (for the tests).
int LoadedSkinCount();

// What the desktop clocks need to know of a skin's pictures: its bitmap kind
// (the skin flags: 0 none, 1 digits only, more with letters), its background
// kind (the style kind: 2 a rounded frame) and its key colour, the colour that
// its backgrounds are filled with.
int SkinBitmapKind(const CGraphics& skin);
int SkinBackgroundKind(const CGraphics& skin);
COLORREF SkinKeyColour(const CGraphics& skin);
void SetSkinKeyColour(CGraphics& skin, COLORREF colour);

}  // namespace desktop
