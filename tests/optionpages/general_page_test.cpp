// The general page: the unused template controls go, the language list
// holds only languages with a file, and the choices reach the options.
#include <string>

#include "common/settings/global_settings_io.h"
#include "common/settings/ini_store.h"
#include "common/platform/text_bounds.h"
#include "common/settings/localisation.h"
#include "common/records/clock_table.h"
#include "resources/resource_ids.h"
#include "settings/general_options_save.h"
#include "settings/page_general.h"
#include "settings/page_options_common.h"
#include "tests/optionpages/page_fixture.h"

using optionpages_test::PageTest;

namespace {

class GeneralPage : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        // The settings reader applies the autostart choice: keep it off the real Run key.
        AutostartLocation where{HKEY_CURRENT_USER, L"Software\\TempoviaTests\\GeneralPage\\Run", L"Tempovia"};
        SetAutostartLocation(&where);
        WriteFile(L"tempovia_de.ini", "[StringTable]\r\n");
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TempoviaTests");
        SetAutostartLocation(nullptr);
        PageTest::TearDown();
    }
    HWND Page() { return CreatePage(IDD_PAGE_GENERAL, GeneralPageDlgProc); }
    int Count(HWND page) { return static_cast<int>(SendDlgItemMessageW(page, kIdcLanguage, CB_GETCOUNT, 0, 0)); }
    LPARAM Data(HWND page, int i) { return SendDlgItemMessageW(page, kIdcLanguage, CB_GETITEMDATA, i, 0); }
};

TEST_F(GeneralPage, CreationReadsTheSettingsAndListsOnlyLanguagesWithAFile) {
    WritePrivateProfileStringW(L"tester:main", L"vistrel", L"1", Ini().c_str());
    WritePrivateProfileStringW(L"tester:main", L"autostart", L"0", Ini().c_str());
    HWND page = Page();
    ASSERT_NE(page, nullptr);
    for (int id : {1245, 1250, 1275, 1279}) EXPECT_EQ(GetDlgItem(page, id), nullptr) << id;
    EXPECT_EQ(IsDlgButtonChecked(page, kIdcCityPhotos), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, kIdcAutostart), BST_UNCHECKED);
    // The system's language is shown without listing the locales; dropping
    // the list down lists them and keeps that choice.
    EXPECT_EQ(Count(page), 1);
    SendDlgItemMessageW(page, kIdcLanguage, CB_SHOWDROPDOWN, TRUE, 0);
    // The list drops with room for twenty languages.
    RECT dropped = {};
    SendDlgItemMessageW(page, kIdcLanguage, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    const LRESULT itemHeight = SendDlgItemMessageW(page, kIdcLanguage, CB_GETITEMHEIGHT, 0, 0);
    EXPECT_EQ(dropped.bottom - dropped.top, itemHeight * 20);
    SendDlgItemMessageW(page, kIdcLanguage, CB_SHOWDROPDOWN, FALSE, 0);
    ASSERT_GT(Count(page), 1);
    EXPECT_EQ(Data(page, 0), 0);
    EXPECT_EQ(SendDlgItemMessageW(page, kIdcLanguage, CB_GETCURSEL, 0, 0), 0);
    // Every other item has a language file in the folder.
    for (int i = 1; i < Count(page); ++i) {
        std::wstring path;
        EXPECT_TRUE(Language().FindLanguageFile(LanguageCodeOfItemData(Data(page, i)).c_str(), path)) << i;
    }
    int german = -1;
    for (int i = 1; i < Count(page); ++i) {
        if (Data(page, i) == LanguageItemData(L"de")) german = i;
    }
    ASSERT_GT(german, 0);
    // A stored code selects its item; an unknown one the system's language.
    CopyBounded(g_settings.language, L"de");
    Exchange(page, 0, nullptr);
    EXPECT_EQ(SendDlgItemMessageW(page, kIdcLanguage, CB_GETCURSEL, 0, 0), german);
    // Choosing a language puts it in force at once and tells the windows.
    SendDlgItemMessageW(page, kIdcLanguage, CB_SETCURSEL, german, 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(kIdcLanguage, CBN_SELENDOK), 0);
    EXPECT_EQ(std::wstring(g_settings.language), L"de");
    EXPECT_EQ(Language().languageCode(), L"de");
    EXPECT_EQ(LanguageNotices(), 1);
    CopyBounded(g_settings.language, L"zz");
    Exchange(page, 0, nullptr);
    EXPECT_EQ(SendDlgItemMessageW(page, kIdcLanguage, CB_GETCURSEL, 0, 0), 0);
    DestroyWindow(page);
    // A page made with a language in force shows it at once.
    WritePrivateProfileStringW(L"tester:main", L"language", L"de", Ini().c_str());
    page = Page();
    ASSERT_NE(page, nullptr);
    const LRESULT shown = SendDlgItemMessageW(page, kIdcLanguage, CB_GETCURSEL, 0, 0);
    ASSERT_GT(shown, 0);
    EXPECT_EQ(Data(page, static_cast<int>(shown)), LanguageItemData(L"de"));
}

TEST_F(GeneralPage, StoringTakesTheChoices) {
    HWND page = Page();
    ASSERT_NE(page, nullptr);
    CheckDlgButton(page, kIdcAutostart, BST_CHECKED);
    CheckDlgButton(page, kIdcCityPhotos, BST_UNCHECKED);
    SendDlgItemMessageW(page, kIdcLanguage, CB_SETCURSEL, 0, 0);
    Exchange(page, 1, nullptr);
    EXPECT_TRUE(AutostartOption());
    EXPECT_EQ(g_settings.vistrel, 0);
    EXPECT_EQ(std::wstring(g_settings.language), L"");
}

TEST(GeneralPageText, LanguageNamesAndItemData) {
    EXPECT_EQ(ShortLanguageName(L"German (Germany)"), L"German");
    EXPECT_EQ(ShortLanguageName(L"English"), L"English");
    EXPECT_EQ(ShortLanguageName(L"(odd)"), L"");
    // What the combo box keeps for an item gives back its code (in small
    // letters), and two codes never share a value.
    EXPECT_EQ(LanguageCodeOfItemData(LanguageItemData(L"de")), L"de");
    EXPECT_EQ(LanguageCodeOfItemData(LanguageItemData(L"FR")), L"fr");
    EXPECT_NE(LanguageItemData(L"de"), LanguageItemData(L"ed"));
    EXPECT_NE(LanguageItemData(L"de"), 0);
    EXPECT_EQ(LanguageItemData(L"d"), 0);
    EXPECT_EQ(LanguageCodeOfItemData(0), L"");
}

}  // namespace
