// The registry of shared skins: every clock of a program that names the same
// skin draws through one object, loaded once and deleted when the last clock
// lets go. It lives beside the faces because it creates them; the settings
// library sits below the faces and cannot.
#pragma once

#include <cstdint>

#include "common/graphics/faces/graphics.h"

// At most this many distinct skins are loaded at a time.
inline constexpr int kMaxSkins = 30;
// The face width an analogue skin is shrunk to at most.
inline constexpr int kRegistryFaceLimit = 200;

// What a skin sees of the registry that owns it.
class CSkins : public IGraphicsOwner {
public:
    // Takes the skin out of the list, keeping the order of the others.
    virtual void RemoveSkin(CGraphics* skin) = 0;
    // For a listed skin whether the registry lets it go; true for others.
    virtual bool MayDeleteSkin(CGraphics* skin) = 0;

    void OnGraphicsDestroyed(CGraphics* graphics) override { RemoveSkin(graphics); }
    bool MayDeleteGraphics(CGraphics* graphics) override { return MayDeleteSkin(graphics); }

protected:
    ~CSkins() = default;
};

class CSkinManager : public CSkins {
public:
    CSkinManager() = default;
    // Deletes every skin still listed.
    virtual ~CSkinManager();
    CSkinManager(const CSkinManager&) = delete;
    CSkinManager& operator=(const CSkinManager&) = delete;

    void RemoveSkin(CGraphics* skin) override;
    bool MayDeleteSkin(CGraphics* skin) override;

    // The skin of that name (any case) with one more reference, loaded when
    // it is new; null for no name or when 30 skins are loaded already.
    // size: the face width limit of a new analogue skin.
    CGraphics* GetSkin(const wchar_t* name, int size = kRegistryFaceLimit);
    // One reference less; true when that deleted the skin.
    bool ReleaseSkin(CGraphics* skin);
    // Off: skins nobody uses stay loaded (the settings program keeps them
    // while it rebuilds its previews).
    void SetOwnsSkins(bool owns) { ownsSkins_ = owns; }
    bool GetOwnsSkins() const { return ownsSkins_; }

    int Count() const { return count_; }
    CGraphics* At(int index) const { return index >= 0 && index < count_ ? skins_[index] : nullptr; }

private:
    int Find(const CGraphics* skin) const;

    CGraphics* skins_[kMaxSkins] = {};
    int32_t count_ = 0;
    bool ownsSkins_ = true;
};

// The program's registry, made at start-up and gone at exit.
CSkinManager& SkinManager();
