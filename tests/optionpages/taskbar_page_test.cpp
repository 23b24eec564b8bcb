// The taskbar page loaded from and stored into the program-wide options,
// the number of taskbar clocks kept within 1..12, and the skin list.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/settings/ini_paths.h"
#include "common/platform/text_bounds.h"
#include "common/records/clock_table.h"
#include "resources/resource_ids.h"
#include "settings/page_options_common.h"
#include "settings/page_taskbar.h"
#include "settings/preview.h"
#include "settings/settings_tree.h"
#include "tests/optionpages/page_fixture.h"
#include "tests/optionpages/tray_preview_probe.h"

using optionpages_test::PageTest;

namespace {

class TaskbarPage : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        CreateDirectoryW(dir_.file(L"skins").c_str(), nullptr);
        CreateDirectoryW(dir_.file(L"skins\\Aqua Blue").c_str(), nullptr);
        g_settings.trayclocks = 3;
        g_settings.tooltips = 1;
        CopyBounded(g_settings.skin, L"aqua");
    }
    HWND Page() {
        HWND page = CreatePage(IDD_PAGE_TASKBAR, TaskbarPageDlgProc);
        if (page) Exchange(page, 0, nullptr);
        return page;
    }
    int Selected(HWND page) { return static_cast<int>(SendDlgItemMessageW(page, kIdcSkinCombo, CB_GETCURSEL, 0, 0)); }
    void Select(HWND page, int index) {
        SendDlgItemMessageW(page, kIdcSkinCombo, CB_SETCURSEL, index, 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(kIdcSkinCombo, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, kIdcSkinCombo)));
    }
    // An arrow key to the up-down control: it sends the page its own UDN_DELTAPOS.
    void Arrow(HWND page, UINT key) {
        HWND spin = GetDlgItem(page, kIdcTrayClocksSpin);
        SendMessageW(spin, WM_KEYDOWN, key, 0);
        SendMessageW(spin, WM_KEYUP, key, 0);
    }
};

TEST_F(TaskbarPage, LoadsTheOptionsAndFindsTheSkinByPrefix) {
    HWND page = Page();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Text(page, kIdcTrayClocks), L"3");
    EXPECT_EQ(Text(page, kIdcSkinCombo), L"Aqua Blue");
    EXPECT_EQ(Selected(page), 2);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, kIdcTransparentSkin)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, kIdcTooltipKind)));
    wchar_t first[64] = {};
    SendDlgItemMessageW(page, kIdcSkinCombo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, L"Standard System Clock");
    SendDlgItemMessageW(page, kIdcSkinCombo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, L"Classic Tempovia Style");

    // An unknown skin falls back to the standard clock; 0 clocks show 12.
    CopyBounded(g_settings.skin, L"Gone");
    g_settings.trayclocks = 0;
    g_settings.tooltips = 0;
    Exchange(page, 0, nullptr);
    EXPECT_EQ(Selected(page), 0);
    EXPECT_EQ(Text(page, kIdcTrayClocks), L"12");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, kIdcTooltipKind)));
    EXPECT_EQ(ShownTrayClocks(-4), 12);
    EXPECT_EQ(ShownTrayClocks(40), 12);
}

TEST_F(TaskbarPage, TheNumberOfClocksStaysWithinOneToTwelve) {
    HWND page = Page();
    SetDlgItemTextW(page, kIdcTrayClocks, L"0");
    EXPECT_EQ(Text(page, kIdcTrayClocks), L"1");
    SetDlgItemTextW(page, kIdcTrayClocks, L"40");
    EXPECT_EQ(Text(page, kIdcTrayClocks), L"12");
    Arrow(page, VK_UP);
    EXPECT_EQ(Text(page, kIdcTrayClocks), L"12");
    Arrow(page, VK_DOWN);
    EXPECT_EQ(Text(page, kIdcTrayClocks), L"11");
    SetDlgItemTextW(page, kIdcTrayClocks, L"1");
    Arrow(page, VK_DOWN);
    EXPECT_EQ(Text(page, kIdcTrayClocks), L"1");
    Arrow(page, VK_UP);
    EXPECT_EQ(Text(page, kIdcTrayClocks), L"2");
    Arrow(page, VK_UP);
    EXPECT_EQ(Text(page, kIdcTrayClocks), L"3");
    // An emptied box stores the lowest count.
    SetDlgItemTextW(page, kIdcTrayClocks, L"");
    Exchange(page, 1, nullptr);
    EXPECT_EQ(g_settings.trayclocks, 1);
}

TEST_F(TaskbarPage, BuiltInLooksDisableTheSkinOptionsAndStoreTheirFlags) {
    HWND page = Page();
    Select(page, 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, kIdcTransparentSkin)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, kIdcOverlayPrefixes)));
    EXPECT_EQ(std::wstring(g_settings.skin), L"Standard System Clock");
    EXPECT_EQ(g_settings.skinIsFolder, 0);
    EXPECT_EQ(g_settings.classicStyle, 0);

    Select(page, 1);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, kIdcOverlayPrefixes)));
    EXPECT_EQ(g_settings.classicStyle, 1);
    EXPECT_EQ(g_settings.skinIsFolder, 0);

    Select(page, 2);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, kIdcOverlayPrefixes)));
    CheckDlgButton(page, kIdcOverlayPrefixes, BST_CHECKED);
    CheckDlgButton(page, kIdcTooltips, BST_UNCHECKED);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(kIdcTooltips, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, kIdcTooltipKind)));
    SetDlgItemTextW(page, kIdcTrayClocks, L"5");
    Exchange(page, 1, nullptr);
    EXPECT_EQ(std::wstring(g_settings.skin), L"Aqua Blue");
    EXPECT_EQ(g_settings.skinIsFolder, 1);
    EXPECT_EQ(g_settings.classicStyle, 0);
    EXPECT_EQ(g_settings.overlayprefixes, 1);
    EXPECT_EQ(g_settings.tooltips, 0);
    EXPECT_EQ(g_settings.trayclocks, 5);
}

// The preview's clocks come from the tree and follow every edit at once.
TEST_F(TaskbarPage, ThePreviewFollowsTheSkinTheNumberAndTheOptionsAtOnce) {
    WriteFile(L"tempovia.ini",
              "[tester:clock1]\r\nenabled=1\r\n[tester:clock2]\r\nenabled=1\r\n"
              "[tester:clock3]\r\nenabled=1\r\n[tester:clock4]\r\nenabled=1\r\n");
    BuildSettingsTree(TheSettingsTree());
    ASSERT_EQ(TheSettingsTree().clocks.size(), 4u);
    TrayPreviewHooks hooks;
    hooks.rebuildClocks = RebuildTrayPreview;
    const TrayPreviewHooks old = SetTrayPreviewHooks(hooks);
    g_settings.trayclocks = 2;
    HWND page = Page();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(TrayPreviewCount(), 2);

    Arrow(page, VK_UP);
    EXPECT_EQ(TrayPreviewCount(), 3);

    Select(page, 1);
    EXPECT_EQ(optionpages_test::TrayPreviewSkinName(), L"Classic Tempovia Style");
    Select(page, 0);
    EXPECT_EQ(optionpages_test::TrayPreviewSkinName(), L"Standard System Clock");

    Select(page, 2);
    CheckDlgButton(page, kIdcTransparentSkin, BST_CHECKED);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(kIdcTransparentSkin, BN_CLICKED), 0);
    EXPECT_EQ(optionpages_test::TrayPreviewRecordTransparent(3), 1);

    SetTrayPreviewHooks(old);
    ClearTrayPreview();
    DestroySettingsTree(TheSettingsTree());
}

}  // namespace
