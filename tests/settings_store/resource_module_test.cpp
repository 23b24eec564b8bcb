// Choosing and checking the language resource library, with the real
// res_en.dll of this build.
#include <string>

#include "common/settings/localisation.h"
#include "common/settings/resource_module.h"
#include "common/platform/theme_library.h"
#include "resources/resource_ids.h"
#include "tests/settings_store/store_fixture.h"

using store_test::Utf16File;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

std::wstring BuiltLibrary() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    path.erase(path.find_last_of(L'\\'));
    path.erase(path.find_last_of(L'\\') + 1);
    return path + L"bin\\res_en.dll";
}

// The library with string 139 changed from "5.0" to "4.0".
std::string OlderLibrary(std::string bytes) {
    const std::string version("\x03\x00" "5\x00.\x00" "0\x00", 8);
    size_t at = bytes.find(version);
    if (at != std::string::npos) bytes[at + 2] = '4';
    return bytes;
}

int g_messages = 0;
UINT g_textId = 0;
UINT g_captionId = 0;
std::wstring g_caption;
void RecordMessage(HWND, HMODULE module, UINT textId, UINT captionId) {
    ++g_messages;
    g_textId = textId;
    g_captionId = captionId;
    wchar_t buf[32] = {};
    LoadStringW(module, captionId, buf, 32);
    g_caption = buf;
}

class ResourceLibrary : public store_test::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        library = ReadBytes(BuiltLibrary());
        ASSERT_FALSE(library.empty()) << "res_en.dll is built into the program folder of the build";
        old_ = SetResourceMessageFn(RecordMessage);
        g_messages = 0;
        Language().SetLanguageFileBase(L"tempovia");
    }
    void TearDown() override {
        FreeResourceModule();
        SetResourceMessageFn(old_);
        Language().SetLanguage(nullptr);
        StoreTest::TearDown();
    }
    void Install(const wchar_t* name, const std::string& bytes) { ASSERT_TRUE(WriteBytes(dir.file(name), bytes)); }
    void ChooseLanguage(const wchar_t* code) {
        WriteUserIni(std::wstring(L"[bob:main]\r\nlanguage=") + code + L"\r\n");
    }

    std::string library;
    ResourceMessageFn old_ = nullptr;
};

TEST_F(ResourceLibrary, TheBuiltLibraryIsAcceptedAndFeedsThePluralTables) {
    Install(L"res_en.dll", library);
    ASSERT_TRUE(LoadResourceModule(dir.path().c_str()));
    ASSERT_NE(ResourceModule(), nullptr);
    EXPECT_TRUE(IsLanguageDllValid(ResourceModule()));
    EXPECT_EQ(Language().LoadUiString(IDS_RESOURCE_VERSION), L"5.0");
    EXPECT_EQ(Language().LoadUiString(IDS_ERROR_CAPTION), L"Tempovia Error");
    EXPECT_FALSE(Language().LoadUiString(IDS_DATA_FILES_MISSING).empty());
    EXPECT_STREQ(Language().SelectPluralText(1, 1), L"minute");
    EXPECT_STREQ(Language().SelectPluralText(1, 5), L"minutes");
    EXPECT_STREQ(Language().SelectPluralText(4, 1), L"week");
    // A second call only binds the visual styles again: the library in use
    // stays, even when another language has been chosen since.
    HMODULE first = ResourceModule();
    Install(L"res_de.dll", library);
    ChooseLanguage(L"de");
    FreeThemeLibrary();
    ASSERT_EQ(Themes().module, nullptr);
    EXPECT_TRUE(LoadResourceModule(dir.path().c_str()));
    EXPECT_EQ(ResourceModule(), first);
    EXPECT_EQ(Language().languageCode(), L"en");
    EXPECT_NE(Themes().module, nullptr);
    EXPECT_NE(Themes().IsThemeActive, nullptr);
}

TEST_F(ResourceLibrary, ALanguageWithoutItsLibraryFallsBackToEnglishEntirely) {
    Install(L"res_en.dll", library);
    ASSERT_TRUE(WriteBytes(dir.file(L"tempovia_pt.ini"), Utf16File(L"[StringTable]\r\n141=Erro\r\n")));
    ChooseLanguage(L"pt");
    ASSERT_TRUE(LoadResourceModule(dir.path().c_str()));
    EXPECT_EQ(Language().languageCode(), L"en");
    EXPECT_EQ(Language().languageIniPath(), dir.path() + L"\\tempovia_en.ini");
    EXPECT_EQ(Language().LoadUiString(IDS_ERROR_CAPTION), L"Tempovia Error");
}

TEST_F(ResourceLibrary, ALanguageLibraryIsUsedWithItsLanguageFile) {
    Install(L"res_en.dll", library);
    Install(L"res_de.dll", library);
    ASSERT_TRUE(WriteBytes(dir.file(L"tempovia_de.ini"),
                           Utf16File(L"[StringTable]\r\n141=Tempovia-Fehler\r\n263=\r\n")));
    ChooseLanguage(L"DE");
    ASSERT_TRUE(LoadResourceModule(dir.path().c_str()));
    EXPECT_EQ(Language().languageCode(), L"de");
    EXPECT_EQ(PRIMARYLANGID(Language().languageId()), LANG_GERMAN);
    EXPECT_EQ(Language().LoadUiString(IDS_ERROR_CAPTION), L"Tempovia-Fehler");
    // Present but empty in the language file: the library's text.
    EXPECT_EQ(Language().LoadUiString(IDS_DATA_FILES_MISSING),
              Language().LoadUiString(IDS_DATA_FILES_MISSING, L""));
    EXPECT_FALSE(Language().LoadUiString(IDS_DATA_FILES_MISSING).empty());
}

TEST_F(ResourceLibrary, LanguageFromTheDefaultsFileWhenTheUserHasNone) {
    Install(L"res_en.dll", library);
    Install(L"res_fr.dll", library);
    WriteUserIni(L"[carol:main]\r\nlanguage=de\r\n");
    WriteDefaultIni(L"[default:main]\r\nlanguage=fr\r\n");
    ASSERT_TRUE(LoadResourceModule(dir.path().c_str()));
    EXPECT_EQ(Language().languageCode(), L"fr");
}

TEST_F(ResourceLibrary, AnOlderLanguageLibraryIsNeverUsed) {
    Install(L"res_en.dll", library);
    Install(L"res_de.dll", OlderLibrary(library));
    ChooseLanguage(L"de");
    ASSERT_TRUE(LoadResourceModule(dir.path().c_str()));
    EXPECT_EQ(Language().languageCode(), L"en");
    EXPECT_EQ(g_messages, 0);
}

TEST_F(ResourceLibrary, ALanguageCodeCannotReachOutsideTheProgramFolder) {
    std::wstring program = dir.file(L"p");
    ASSERT_TRUE(CreateDirectoryW(program.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((program + L"\\res_x").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(program + L"\\res_en.dll", library));
    Install(L"q.dll", library);  // beside, not inside, the program folder
    SetSettingsFolder(program);
    WriteUserIni(L"[bob:main]\r\nlanguage=x\\..\\..\\q\r\n");
    ASSERT_TRUE(LoadResourceModule(program.c_str()));
    EXPECT_EQ(Language().languageCode(), L"en");
}

TEST_F(ResourceLibrary, AWrongEnglishLibraryIsReportedWithItsOwnTexts) {
    Install(L"res_en.dll", OlderLibrary(library));
    EXPECT_FALSE(LoadResourceModule(dir.path().c_str()));
    EXPECT_EQ(ResourceModule(), nullptr);
    EXPECT_EQ(g_messages, 1);
    EXPECT_EQ(g_textId, 140u);
    EXPECT_EQ(g_captionId, 141u);
    EXPECT_EQ(g_caption, L"Tempovia Error");
}

TEST_F(ResourceLibrary, NoLibraryAtAllFailsSilently) {
    EXPECT_FALSE(LoadResourceModule(dir.path().c_str()));
    Install(L"res_en.dll", "MZ but not a library");
    EXPECT_FALSE(LoadResourceModule(dir.path().c_str()));
    EXPECT_EQ(g_messages, 0);
    EXPECT_FALSE(IsLanguageDllValid(nullptr));
}

}  // namespace
