// The one skin of the taskbar panel. The panel makes its own rather than
// asking a registry: Explorer's copy of the library holds exactly one skin at
// a time, for exactly the faces of one panel.
#include <new>
#include <string>

#include "common/graphics/faces/mech_skin.h"
#include "common/graphics/faces/skin.h"
#include "common/settings/ini_paths.h"
#include "common/platform/file_paths.h"
#include "common/platform/theme_library.h"
#include "common/taskbar/clock_panel.h"

namespace {

constexpr int kMechFaceLimit = 200;

}  // namespace

CGraphics* CreateSkin(const GlobalSettings& settings) {
    const wchar_t* name = settings.skin;
    CGraphics* skin = nullptr;
    if (!settings.skinIsFolder) {
        skin = new (std::nothrow) CGraphics();
        if (skin && settings.classicStyle) {
            skin->SetStyleKind(Themes().themesActive ? kStyleThemedFrame : kStyleClassicFrame);
        }
    } else if (GetSkinFacePathIn(SettingsFolder(), name)) {
        skin = new (std::nothrow) CMechSkin(kMechFaceLimit);
    } else {
        skin = new (std::nothrow) CSkin();
    }
    if (!skin) return nullptr;
    skin->AddRef();
    skin->Load(name, 0, 8, 0, 0);
    return skin;
}

void ReleaseSkin(CGraphics* skin) {
    if (skin && skin->Release()) delete skin;
}
