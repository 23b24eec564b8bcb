#include <windows.h>

#include "tempovia/desktop/skin_source.h"

#include "common/graphics/faces/graphics.h"
#include "common/graphics/faces/skin_manager.h"

namespace desktop {

CGraphics* AcquireSkin(const wchar_t* name) { return SkinManager().GetSkin(name); }
void ReleaseSkin(CGraphics* skin) {
    if (skin) SkinManager().ReleaseSkin(skin);
}
int LoadedSkinCount() { return SkinManager().Count(); }

int SkinBitmapKind(const CGraphics& skin) { return skin.GetSkinFlags() & (kSkinDigits | kSkinLetters); }
int SkinBackgroundKind(const CGraphics& skin) { return skin.GetStyleKind(); }
COLORREF SkinKeyColour(const CGraphics& skin) { return skin.GetBackColor(); }
void SetSkinKeyColour(CGraphics& skin, COLORREF colour) { skin.SetBackColor(colour); }

}  // namespace desktop
