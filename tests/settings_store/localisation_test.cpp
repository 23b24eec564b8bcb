// Language files, UI strings, dialog translation and plural forms.
#include <string>

#include "common/settings/localisation.h"
#include "common/settings/plural_tables.h"
#include "tests/settings_store/store_fixture.h"

using store_test::StoreTest;
using store_test::Utf16File;
using testing_support::WriteBytes;

namespace {

TEST(PluralTables, RangesPickTheFormByTheLastTwoDigits) {
    PluralTables t;
    t.SetTable(1, L"min;1 minute;2-4,22-24 minutes");
    EXPECT_STREQ(t.Select(1, 1), L"minute");
    EXPECT_STREQ(t.Select(1, 101), L"minute");
    EXPECT_STREQ(t.Select(1, 201), L"minute");
    EXPECT_STREQ(t.Select(1, 3), L"minutes");
    EXPECT_STREQ(t.Select(1, 23), L"minutes");
    EXPECT_STREQ(t.Select(1, 5), L"min");
    EXPECT_STREQ(t.Select(1, 11), L"min");
    EXPECT_EQ(t.rangeCount(1), 3);
    // Later groups win over earlier ones.
    t.SetTable(0, L"s;1-99 many;5 five");
    EXPECT_STREQ(t.Select(0, 5), L"five");
    EXPECT_STREQ(t.Select(0, 6), L"many");
    EXPECT_STREQ(t.Select(0, 0), L"s");
}

TEST(PluralTables, BadTextsKeepWhatWasParsedAndUnknownUnitsAreIgnored) {
    PluralTables t;
    EXPECT_STREQ(t.Select(2, 7), L"h");  // built-in name until a table is set
    t.SetTable(2, L"hours;1 hour;2-x bad;3 three");
    EXPECT_STREQ(t.Select(2, 1), L"hour");
    EXPECT_STREQ(t.Select(2, 3), L"hours");  // parsing ended at "2-x"
    t.SetTable(3, L"days;1day");              // no blank after the ranges
    EXPECT_EQ(t.rangeCount(3), 0);
    EXPECT_STREQ(t.Select(3, 1), L"days");
    t.SetTable(3, L";1 day");                 // empty default ends parsing
    EXPECT_STREQ(t.Select(3, 1), L"d");
    t.SetTable(4, L"w;100 big;5-3 backwards;-1 negative;7 seven");
    EXPECT_STREQ(t.Select(4, 7), L"seven");
    EXPECT_EQ(t.rangeCount(4), 1);
    t.SetTable(5, L"x;1 y");  // only five units exist
    t.SetTable(-1, L"x;1 y");
    EXPECT_EQ(t.Select(5, 1), nullptr);
    EXPECT_EQ(t.Select(-1, 1), nullptr);
    // 150 ranges and a default far over the buffer: bounded.
    std::wstring many = std::wstring(3000, L'd');
    for (int i = 0; i < 150; ++i) many += L";" + std::to_wstring(i % 100) + L" t" + std::to_wstring(i);
    t.SetTable(0, many.c_str());
    EXPECT_EQ(std::wstring(t.Select(0, 42)).size(), 1023u);
    t.SetTable(0, (L"s" + std::wstring(L";1 ") + std::wstring(3000, L'x')).c_str());
    EXPECT_EQ(std::wstring(t.Select(0, 1)).size(), 1021u);
}

class Localisation : public StoreTest {};

TEST_F(Localisation, LanguageFileNamesFollowTheRemapping) {
    LanguageStrings s;
    s.SetLanguageFileBase(L"tempovia");
    s.SetLanguageFolder(dir.path().c_str());
    std::wstring path;
    EXPECT_FALSE(s.FindLanguageFile(L"jpn", path));
    EXPECT_EQ(path, dir.path() + L"\\tempovia_ja.ini");
    ASSERT_TRUE(WriteBytes(path, "[StringTable]\r\n"));
    EXPECT_TRUE(s.FindLanguageFile(L"JPN", path));
    s.FindLanguageFile(L"ma", path);
    EXPECT_EQ(path, dir.path() + L"\\tempovia_mr.ini");  // first match only
    s.FindLanguageFile(L"x", path);
    EXPECT_EQ(path, dir.path() + L"\\tempovia_.ini");
    EXPECT_FALSE(s.FindLanguageFile(L"", path));
    EXPECT_FALSE(s.FindLanguageFile(L"..", path));
    EXPECT_FALSE(s.FindLanguageFile(L"d\\", path));
    CreateDirectoryW(dir.file(L"tempovia_de.ini").c_str(), nullptr);
    EXPECT_FALSE(s.FindLanguageFile(L"de", path));  // a folder is no file
    s.SetLanguageFileBase(nullptr);
    EXPECT_FALSE(s.FindLanguageFile(L"de", path));
}

TEST_F(Localisation, LocalesAreFoundByTwoLetterCodes) {
    EXPECT_EQ(PRIMARYLANGID(LanguageStrings::FindLocaleForLanguage(L"de")), LANG_GERMAN);
    EXPECT_EQ(PRIMARYLANGID(LanguageStrings::FindLocaleForLanguage(L"FR")), LANG_FRENCH);
    EXPECT_EQ(LanguageStrings::FindLocaleForLanguage(L"deu"), kUserDefaultLanguage);
    EXPECT_EQ(LanguageStrings::FindLocaleForLanguage(L"zq"), kUserDefaultLanguage);
    EXPECT_EQ(LanguageStrings::FindLocaleForLanguage(nullptr), kUserDefaultLanguage);

    LanguageStrings s;
    s.SetLanguage(L"de");
    EXPECT_EQ(s.languageCode(), L"de");
    EXPECT_STREQ(g_dayNames[0], L"Sonntag");
    EXPECT_STREQ(g_dayNames[1], L"Montag");
    EXPECT_STREQ(g_monthNames[0], L"Januar");
    s.SetLanguage(L"");
    EXPECT_EQ(s.languageId(), kUserDefaultLanguage);
    EXPECT_TRUE(s.languageCode().empty());
    EXPECT_TRUE(s.languageIniPath().empty());
}

TEST_F(Localisation, UiStringsComeFromTheLanguageFileThenTheResources) {
    ASSERT_TRUE(WriteBytes(dir.file(L"tempovia_de.ini"),
                           Utf16File(L"[StringTable]\r\n141=Tempovia-Fehler\r\n263=\r\n[Other]\r\n141=Anders\r\n")));
    LanguageStrings s;
    s.SetLanguageFileBase(L"tempovia");
    s.SetLanguageFolder(dir.path().c_str());
    s.SetLanguage(L"de");
    EXPECT_EQ(s.LoadUiString(141), L"Tempovia-Fehler");
    EXPECT_EQ(s.LoadUiString(141, L"Other"), L"Anders");
    // No resource library: the program's own string table has none of these.
    EXPECT_EQ(s.LoadUiString(263), L"");
    EXPECT_EQ(s.LoadUiString(141, L""), L"");
    wchar_t small[5] = {L'x', L'x', L'x', L'x', L'#'};
    EXPECT_EQ(s.LoadUiString(141, small, 4), 3);
    EXPECT_STREQ(small, L"Tem");
    EXPECT_EQ(small[4], L'#');
    EXPECT_EQ(s.LoadUiString(141, small, 0), 0);
}

TEST_F(Localisation, DialogTextsFallBackToEnglishPerControl) {
    ASSERT_TRUE(WriteBytes(dir.file(L"tempovia_de.ini"),
                           Utf16File(L"[DLG_PageDetail]\r\nCaption=Uhr\r\n100=Weiter\r\n102=Bearbeiten\r\n")));
    ASSERT_TRUE(WriteBytes(dir.file(L"tempovia_en.ini"),
                           "[DLG_PageDetail]\r\nCaption=Clock\r\n100=Next\r\n101=Zone:\r\n103=Inner\r\n"));
    LanguageStrings s;
    s.SetLanguageFileBase(L"tempovia");
    s.SetLanguageFolder(dir.path().c_str());
    s.SetLanguage(L"de");

    HWND dlg = CreateWindowExW(0, L"STATIC", L"orig", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(dlg, nullptr);
    auto child = [&](HWND parent, const wchar_t* cls, int id) {
        return CreateWindowExW(0, cls, L"keep", WS_CHILD, 0, 0, 50, 20, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    };
    HWND button = child(dlg, L"BUTTON", 100);
    HWND label = child(dlg, L"Static", 101);
    HWND edit = child(dlg, L"EDIT", 102);
    HWND group = child(dlg, L"STATIC", 104);
    HWND inner = child(group, L"button", 103);
    HWND untranslated = child(dlg, L"BUTTON", 105);

    EXPECT_TRUE(s.TranslateDialog(dlg, L"DLG_PageDetail"));
    auto text = [](HWND w) {
        wchar_t buf[64] = {};
        GetWindowTextW(w, buf, 64);
        return std::wstring(buf);
    };
    EXPECT_EQ(text(dlg), L"Uhr");
    EXPECT_EQ(text(button), L"Weiter");
    EXPECT_EQ(text(label), L"Zone:");  // only the English file has it
    EXPECT_EQ(text(edit), L"keep");    // edits are not translated
    EXPECT_EQ(text(inner), L"Inner");  // descendants are
    EXPECT_EQ(text(untranslated), L"keep");
    EXPECT_FALSE(s.TranslateDialog(dlg, L""));
    s.SetLanguage(nullptr);
    EXPECT_FALSE(s.TranslateDialog(dlg, L"DLG_PageDetail"));
    DestroyWindow(dlg);
}

}  // namespace
