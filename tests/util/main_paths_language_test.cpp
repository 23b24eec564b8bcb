// The main program's file paths and its entry points into the language layer.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/settings/ini_paths.h"
#include "common/settings/localisation.h"
#include "common/records/clock_table.h"
#include "tempovia/util/main_language.h"
#include "tempovia/util/main_paths.h"
#include "tests/support/test_support.h"
#include "tests/util/message_box_watch.h"

namespace {

TEST(MainPaths, FollowTheProgramFolderAndTheUserName) {
    wcscpy(g_settings.programFolder, L"C:\\Programs\\Tempovia\\");
    g_settings.runFlags = 0x4;
    InitFilePaths();
    EXPECT_EQ(g_settings.runFlags, 0u);
    EXPECT_EQ(UserIniPath(), L"C:\\Programs\\Tempovia\\tempovia.ini");
    EXPECT_EQ(DefaultIniPath(), L"C:\\Programs\\Tempovia\\default.ini");
    EXPECT_EQ(SkinsFolder(), L"C:\\Programs\\Tempovia\\skins\\");

    wchar_t name[64] = {};
    DWORD size = 64;
    ASSERT_TRUE(GetUserNameW(name, &size));
    CharLowerW(name);
    EXPECT_EQ(UserPrefix(), name);

    // Without a folder of its own the program uses its module's.
    g_settings.programFolder[0] = 0;
    InitFilePaths();
    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring folder = module;
    folder.resize(folder.find_last_of(L'\\') + 1);
    EXPECT_EQ(UserIniPath(), folder + L"tempovia.ini");
}

TEST(MainLanguage, AbbreviationIsCutToTheBuffer) {
    wchar_t buf[17];
    EXPECT_EQ(GetLanguageAbbrev(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), buf, 17), 3);
    EXPECT_STREQ(buf, L"DEU");
    wchar_t small[3];
    EXPECT_EQ(GetLanguageAbbrev(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), small, 3), 2);
    EXPECT_STREQ(small, L"DE");
    EXPECT_EQ(GetLanguageAbbrev(0x7FF, buf, 17), 0);
    EXPECT_STREQ(buf, L"");
}

TEST(MainLanguage, MessageTextsComeFromTheLanguageFileSectionCut) {
    testing_support::TempDir dir;
    std::string longText(200, 'x');
    ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"tempovia_en.ini"),
                                            "[DLG_Test]\r\n300=" + longText +
                                                "\r\n301=A caption longer than thirty-two characters\r\n"));
    LanguageStrings& language = Language();
    std::wstring oldFolder = language.folder();
    std::wstring oldBase = language.baseName();
    std::wstring oldCode = language.languageCode();
    language.SetLanguageFolder(dir.path().c_str());
    language.SetLanguageFileBase(L"tempovia");
    language.SetLanguage(L"en");
    ASSERT_EQ(language.languageIniPath(), dir.file(L"tempovia_en.ini"));

    {
        MessageBoxWatch watch;
        ShowMessageById(nullptr, GetModuleHandleW(nullptr), 300, 301, L"DLG_Test");
        EXPECT_EQ(watch.boxes(), 1);
        EXPECT_EQ(watch.caption(), L"A caption longer than thirty-two");
        EXPECT_EQ(watch.text(), std::wstring(128, L'x'));
    }
    {
        // Keys missing from the section and no string table: empty texts.
        MessageBoxWatch watch;
        ShowMessageById(nullptr, GetModuleHandleW(nullptr), 302, 303, L"DLG_Test");
        EXPECT_EQ(watch.boxes(), 1);
        EXPECT_EQ(watch.caption(), L"");
        EXPECT_EQ(watch.text(), L"");
    }
    {
        // An empty section name skips the language file.
        MessageBoxWatch watch;
        ShowMessageById(nullptr, GetModuleHandleW(nullptr), 300, 301, L"");
        EXPECT_EQ(watch.caption(), L"");
    }

    language.SetLanguageFolder(oldFolder.c_str());
    language.SetLanguageFileBase(oldBase.c_str());
    language.SetLanguage(oldCode.empty() ? nullptr : oldCode.c_str());
}

}  // namespace
