#include <gtest/gtest.h>

#include <string>

#include "common/graphics/faces/clock_face.h"
#include "common/graphics/faces/mech_skin.h"
#include "common/graphics/faces/skin_manager.h"
#include "common/platform/theme_library.h"
#include "tests/skins/skins_fixtures.h"

namespace {

using namespace faces_test;
using namespace skins_test;

TEST(SkinRegistry, OneObjectPerNameWhateverTheCase) {
    SkinFolder folder;
    CSkinManager manager;
    CGraphics* a = manager.GetSkin(L"MySkin");
    CGraphics* b = manager.GetSkin(L"myskin");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->RefCount(), 2);
    EXPECT_EQ(manager.Count(), 1);
    EXPECT_EQ(a->GetOwner(), &manager);
    EXPECT_FALSE(manager.ReleaseSkin(a));
    EXPECT_EQ(manager.Count(), 1);
    EXPECT_TRUE(manager.ReleaseSkin(b));
    EXPECT_EQ(manager.Count(), 0);
}

TEST(SkinRegistry, BuiltInStylesAreDigitalAndOtherNamesAnalogueWithTheFaceLimit) {
    SkinFolder folder;
    ASSERT_TRUE(folder.CopyShipped(L"Daylight Dial"));
    CSkinManager manager;
    CGraphics* classic = manager.GetSkin(L"classic tempovia style");
    CGraphics* system = manager.GetSkin(kSystemClockStyleName);
    CGraphics* dial = manager.GetSkin(L"Daylight Dial", 100);
    ASSERT_TRUE(classic && system && dial);
    EXPECT_NE(dynamic_cast<CSkin*>(classic), nullptr);
    EXPECT_EQ(dynamic_cast<CMechSkin*>(classic), nullptr);
    EXPECT_EQ(dynamic_cast<CMechSkin*>(system), nullptr);
    EXPECT_EQ(classic->GetFontSource(), kFontSourceClassic);
    EXPECT_EQ(system->GetFontSource(), kFontSourceSystemClock);
    auto* mech = dynamic_cast<CMechSkin*>(dial);
    ASSERT_NE(mech, nullptr);
    EXPECT_EQ(mech->GetFaceSizeLimit(), 100);
    // 160 wide over a limit of 100: halved.
    EXPECT_EQ(mech->FaceWidth(), 80);
    // A name with no folder is a font face, still analogue-capable.
    CGraphics* font = manager.GetSkin(L"DejaVu Sans");
    ASSERT_NE(dynamic_cast<CMechSkin*>(font), nullptr);
    EXPECT_EQ(font->GetSkinFlags(), 0);
    EXPECT_EQ(dynamic_cast<CMechSkin*>(font)->GetFaceSizeLimit(), kRegistryFaceLimit);
    EXPECT_EQ(manager.Count(), 4);
    EXPECT_EQ(manager.At(0), classic);
    EXPECT_EQ(manager.At(3), font);
}

TEST(SkinRegistry, ThirtyDistinctSkinsAtMost) {
    SkinFolder folder;
    CSkinManager manager;
    for (int i = 0; i < kMaxSkins; ++i) {
        std::wstring name = L"Face " + std::to_wstring(i);
        ASSERT_NE(manager.GetSkin(name.c_str()), nullptr) << i;
    }
    EXPECT_EQ(manager.Count(), 30);
    EXPECT_EQ(manager.GetSkin(L"One Too Many"), nullptr);
    // A known name is still handed out.
    CGraphics* known = manager.GetSkin(L"face 7");
    ASSERT_NE(known, nullptr);
    EXPECT_EQ(known->RefCount(), 2);
    EXPECT_EQ(manager.GetSkin(nullptr), nullptr);
    EXPECT_EQ(manager.GetSkin(L""), nullptr);
}

TEST(SkinRegistry, ReleasingASkinAnotherClockUsesKeepsItAndOrderIsKept) {
    SkinFolder folder;
    CSkinManager manager;
    CGraphics* a = manager.GetSkin(L"A");
    CGraphics* b = manager.GetSkin(L"B");
    CGraphics* c = manager.GetSkin(L"C");
    manager.GetSkin(L"B");
    EXPECT_FALSE(manager.ReleaseSkin(b));
    EXPECT_EQ(manager.Count(), 3);
    EXPECT_TRUE(manager.ReleaseSkin(b));
    ASSERT_EQ(manager.Count(), 2);
    EXPECT_EQ(manager.At(0), a);
    EXPECT_EQ(manager.At(1), c);
    // A skin the registry never made is not its to release.
    CSkin stranger;
    stranger.AddRef();
    EXPECT_FALSE(manager.ReleaseSkin(&stranger));
    EXPECT_EQ(stranger.RefCount(), 1);
    EXPECT_TRUE(manager.MayDeleteSkin(&stranger));
}

TEST(SkinRegistry, ClocksShareAndTheLastOneDeletesThroughTheOwner) {
    SkinFolder folder;
    CSkinManager manager;
    ClockRecord one, two;
    InitClock(one, L"HH:mm", L"None", nullptr);
    InitClock(two, L"HH:mm", L"None", nullptr);
    CGraphics* skin = manager.GetSkin(L"Shared");
    {
        CClock first(&one, skin);
        // The clock's own reference and the one GetSkin handed out.
        EXPECT_EQ(skin->RefCount(), 2);
        EXPECT_FALSE(manager.ReleaseSkin(skin));
        {
            CClock second(&two, manager.GetSkin(L"shared"));
            manager.ReleaseSkin(skin);
            EXPECT_EQ(skin->RefCount(), 2);
        }
        EXPECT_EQ(manager.Count(), 1);
    }
    // The last clock deleted it, and the skin took itself off the list.
    EXPECT_EQ(manager.Count(), 0);
}

TEST(SkinRegistry, WithoutOwningSkinsUnusedOnesStayLoaded) {
    SkinFolder folder;
    CSkinManager manager;
    manager.SetOwnsSkins(false);
    CGraphics* skin = manager.GetSkin(L"Kept");
    EXPECT_FALSE(manager.MayDeleteSkin(skin));
    EXPECT_FALSE(manager.ReleaseSkin(skin));
    EXPECT_EQ(skin->RefCount(), 0);
    EXPECT_EQ(manager.Count(), 1);
    // Released below zero: stays at zero and still loaded.
    EXPECT_FALSE(manager.ReleaseSkin(skin));
    EXPECT_EQ(skin->RefCount(), 0);
    EXPECT_EQ(manager.GetSkin(L"KEPT"), skin);
    EXPECT_EQ(skin->RefCount(), 1);
    manager.SetOwnsSkins(true);
    EXPECT_TRUE(manager.ReleaseSkin(skin));
    EXPECT_EQ(manager.Count(), 0);
}

TEST(SkinRegistry, DestroyingTheRegistryDeletesEverySkin) {
    SkinFolder folder;
    auto* manager = new CSkinManager;
    // Each skin's font lives exactly as long as the skin: a font still known
    // to GDI after the registry went means its skin was never deleted. One
    // skin still has a clock's reference; the registry deletes it all the same.
    HFONT fonts[3] = {manager->GetSkin(L"One")->GetFont(), manager->GetSkin(L"Two")->GetFont(),
                      manager->GetSkin(kClassicStyleName)->GetFont()};
    manager->GetSkin(L"Two");
    ASSERT_EQ(manager->Count(), 3);
    for (HFONT font : fonts) ASSERT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    delete manager;  // no double delete, no touch of a freed list
    for (HFONT font : fonts) EXPECT_EQ(GetObjectType(font), 0u);
}

TEST(SkinRegistry, FramedStylesFollowVisualStylesWhenHandedOut) {
    SkinFolder folder;
    CSkinManager manager;
    CGraphics* classic = manager.GetSkin(kClassicStyleName);
    classic->SetStyleKind(kStyleThemedFrame);
    manager.GetSkin(kClassicStyleName);
    EXPECT_EQ(classic->GetStyleKind(), Themes().themesActive ? kStyleThemedFrame : kStyleClassicFrame);
    CGraphics* plain = manager.GetSkin(kSystemClockStyleName);
    EXPECT_EQ(plain->GetStyleKind(), kStylePlain);
}

}  // namespace
