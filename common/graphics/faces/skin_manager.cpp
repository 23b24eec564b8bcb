#include "common/graphics/faces/skin_manager.h"

#include <cwchar>

#include "common/graphics/faces/mech_skin.h"
#include "common/platform/theme_library.h"

namespace {

CSkinManager g_skinManager;

}  // namespace

CSkinManager& SkinManager() { return g_skinManager; }

CSkinManager::~CSkinManager() {
    // Each skin is taken off the list before it goes: its destructor tells
    // this registry, which must not find it again.
    while (count_ > 0) {
        CGraphics* skin = skins_[--count_];
        skins_[count_] = nullptr;
        skin->SetDefaultOwner(nullptr);
        delete skin;
    }
}

int CSkinManager::Find(const CGraphics* skin) const {
    for (int i = 0; i < count_; ++i) {
        if (skins_[i] == skin) return i;
    }
    return -1;
}

void CSkinManager::RemoveSkin(CGraphics* skin) {
    int at = Find(skin);
    if (at < 0) return;
    for (int i = at; i + 1 < count_; ++i) skins_[i] = skins_[i + 1];
    skins_[--count_] = nullptr;
}

bool CSkinManager::MayDeleteSkin(CGraphics* skin) { return Find(skin) < 0 || ownsSkins_; }

CGraphics* CSkinManager::GetSkin(const wchar_t* name, int size) {
    if (!name || !*name) return nullptr;
    CGraphics* skin = nullptr;
    for (int i = count_ - 1; i >= 0; --i) {
        if (_wcsicmp(skins_[i]->GetName(), name) == 0) {
            skin = skins_[i];
            break;
        }
    }
    if (!skin) {
        if (count_ >= kMaxSkins) return nullptr;
        if (IsBuiltInStyleName(name)) {
            skin = new CSkin;
        } else {
            skin = new CMechSkin(size);
        }
        skin->SetDefaultOwner(this);
        skin->Load(name, 0, 8, 0, 0);
        skins_[count_++] = skin;
    }
    skin->AddRef();
    // Visual styles may have come or gone since the skin was loaded.
    if (skin->GetStyleKind() != kStylePlain) {
        skin->SetStyleKind(Themes().themesActive ? kStyleThemedFrame : kStyleClassicFrame);
    }
    return skin;
}

bool CSkinManager::ReleaseSkin(CGraphics* skin) {
    if (Find(skin) < 0) return false;
    if (!skin->Release() || !ownsSkins_) return false;
    RemoveSkin(skin);
    delete skin;
    return true;
}
