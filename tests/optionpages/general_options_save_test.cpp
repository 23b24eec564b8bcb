// The general options as written to and read back from real INI files, the
// Run value under a test key, and the re-encoding of an 8-bit tempovia.ini.
#include <string>
#include <vector>

#include "common/settings/global_settings_io.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/records/clock_table.h"
#include "settings/general_options_save.h"
#include "tests/optionpages/page_fixture.h"

using optionpages_test::PageTest;
using testing_support::ReadBytes;

namespace {

const wchar_t kRunKey[] = L"Software\\TempoviaTests\\OptionPages\\Run";

std::wstring RunValue() {
    wchar_t value[600] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Tempovia", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return L"<none>";
    }
    return value;
}

int g_syncWrites = 0;
int g_newsWrites = 0;

class GeneralOptionsSave : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        AutostartLocation where{HKEY_CURRENT_USER, kRunKey, L"Tempovia"};
        SetAutostartLocation(&where);
        g_syncWrites = g_newsWrites = 0;
        oldWriters_ = SetOptionGroupWriters({[] { return ++g_syncWrites > 0; }, [] { return ++g_newsWrites > 0; }});
    }
    void TearDown() override {
        SetOptionGroupWriters(oldWriters_);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TempoviaTests");
        SetAutostartLocation(nullptr);
        PageTest::TearDown();
    }
    std::wstring Main(const wchar_t* key) { return ReadIniText(Ini().c_str(), L"tester:main", key, L"<none>"); }

    OptionGroupWriters oldWriters_;
};

TEST_F(GeneralOptionsSave, GroupsWriteOnlyTheirKeysAndReadBack) {
    CopyBounded(g_settings.language, L"de");
    g_settings.vistrel = 1;
    g_settings.trayclocks = 7;
    g_settings.transparentskin = 1;
    g_settings.overlayprefixes = 0;
    g_settings.tooltips = 1;
    g_settings.tooltipkind = 1;
    CopyBounded(g_settings.skin, L" Aqua ");
    AutostartOption() = false;

    ASSERT_TRUE(SaveGeneralOptions(kGroupTaskbar));
    EXPECT_EQ(Main(L"trayclocks"), L"7");
    EXPECT_EQ(Main(L"transparentskin"), L"1");
    EXPECT_EQ(Main(L"overlayprefixes"), L"0");
    EXPECT_EQ(Main(L"tooltips"), L"1");
    EXPECT_EQ(Main(L"tooltipkind"), L"1");
    EXPECT_EQ(Main(L"skin"), L" Aqua ");
    EXPECT_EQ(Main(L"language"), L"<none>");
    EXPECT_EQ(Main(L"autostart"), L"<none>");
    EXPECT_EQ(g_syncWrites + g_newsWrites, 0);

    // The language in force is no choice of the user's: it is not written.
    DeleteIniKey(Ini().c_str(), L"tester:main", L"language");
    LanguageChosen() = false;
    ASSERT_TRUE(SaveGeneralOptions(kGroupGeneral));
    EXPECT_EQ(Main(L"language"), L"<none>");
    LanguageChosen() = true;
    ASSERT_TRUE(SaveGeneralOptions(kGroupGeneral | kGroupSync | kGroupNews));
    LanguageChosen() = false;
    EXPECT_EQ(Main(L"language"), L"de");
    EXPECT_EQ(Main(L"vistrel"), L"1");
    EXPECT_EQ(Main(L"autostart"), L"0");
    EXPECT_FALSE(ReadAutostart());
    EXPECT_EQ(g_syncWrites, 1);
    EXPECT_EQ(g_newsWrites, 1);

    // The reader of every program takes the same values back.
    GlobalSettings back = {};
    ReadMainOptions(L"tester", back);
    EXPECT_EQ(back.trayclocks, 7);
    EXPECT_EQ(back.tooltips, 1);
    EXPECT_EQ(back.vistrel, 1);
    EXPECT_EQ(std::wstring(back.skin), L" Aqua ");
    EXPECT_EQ(std::wstring(back.language), L"de");
}

TEST_F(GeneralOptionsSave, AutostartOnWritesTheQuotedProgramPathAndOffRemovesIt) {
    AutostartOption() = true;
    ASSERT_TRUE(SaveGeneralOptions(kGroupGeneral));
    EXPECT_EQ(Main(L"autostart"), L"1");
    EXPECT_TRUE(ReadAutostart());
    // Quoted: a program folder with blanks must not start another program.
    EXPECT_EQ(RunValue(), L"\"" + SettingsFolder() + L"tempovia.exe\"");

    AutostartOption() = false;
    ASSERT_TRUE(SaveGeneralOptions(kGroupGeneral));
    EXPECT_EQ(RunValue(), L"<none>");
    EXPECT_FALSE(ReadAutostart());
}

TEST_F(GeneralOptionsSave, AutostartReadsOnlyALeadingOne) {
    EXPECT_TRUE(ReadAutostart());  // no key: on
    WriteIniString(Ini().c_str(), L"tester:main", L"autostart", L"10");
    EXPECT_TRUE(ReadAutostart());
    WriteIniString(Ini().c_str(), L"tester:main", L"autostart", L"yes");
    EXPECT_FALSE(ReadAutostart());
    WriteIniString(Ini().c_str(), L"tester:main", L"autostart", L"");
    EXPECT_FALSE(ReadAutostart());
}

const char kAnsiIni[] =
    "[common]\r\nsynctype=2\r\n"
    "[map]\r\ninitialized=1\r\n"
    "[tester:main]\r\nlanguage=fr\r\nskin=Caf\xE9\r\n"
    "[tester:clock1]\r\nprefix=Home\r\n"
    "[tester:clock1:alarm1]\r\ncomment=Wake up\r\n"
    "[tester:rss1]\r\nurl=http://127.0.0.1/feed\r\n";

TEST_F(GeneralOptionsSave, AnEightBitFileBecomesUnicodeWithEverySection) {
    WriteFile(L"tempovia.ini", kAnsiIni);
    const std::vector<std::wstring> before = ReadIniSectionNames(Ini().c_str());
    const std::wstring skin = ReadIniText(Ini().c_str(), L"tester:main", L"skin");
    ASSERT_EQ(before.size(), 6u);

    ASSERT_TRUE(ConvertIniToUnicode(Ini()));
    const std::string bytes = ReadBytes(Ini());
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(ReadIniSectionNames(Ini().c_str()), before);
    EXPECT_EQ(ReadIniText(Ini().c_str(), L"tester:main", L"skin"), skin);
    EXPECT_EQ(ReadIniText(Ini().c_str(), L"tester:clock1:alarm1", L"comment"), L"Wake up");
    EXPECT_EQ(ReadIniInt(Ini().c_str(), L"common", L"synctype", 0), 2);

    // A second pass leaves the Unicode file alone, byte for byte.
    ASSERT_TRUE(ConvertIniToUnicode(Ini()));
    EXPECT_EQ(ReadBytes(Ini()), bytes);

    // Saving afterwards keeps writing Unicode: a name outside the code page survives.
    CopyBounded(g_settings.skin, L"\x65E5\x672C");
    ASSERT_TRUE(SaveGeneralOptions(kGroupTaskbar));
    EXPECT_EQ(ReadIniText(Ini().c_str(), L"tester:main", L"skin"), L"\x65E5\x672C");
    EXPECT_EQ(ReadIniSectionNames(Ini().c_str()), before);
}

TEST_F(GeneralOptionsSave, UnicodeFilesWithoutAMainSectionAreNotConvertedAgain) {
    // Only shared sections, written by the service before any settings: a
    // second conversion would turn every character into two.
    std::string unicode = "\xFF\xFE";
    for (char c : std::string("[common]\r\nsynctype=1\r\n")) {
        unicode += c;
        unicode += '\0';
    }
    WriteFile(L"tempovia.ini", unicode);
    EXPECT_TRUE(ConvertIniToUnicode(Ini()));
    EXPECT_EQ(ReadBytes(Ini()), unicode);
}

TEST_F(GeneralOptionsSave, MissingOrOversizedFilesStayAsTheyAre) {
    EXPECT_FALSE(ConvertIniToUnicode(Ini()));
    EXPECT_EQ(GetFileAttributesW(Ini().c_str()), INVALID_FILE_ATTRIBUTES);

    std::string big(kMaxConvertBytes + 1, 'x');
    big.replace(0, 16, "[tester:main]\r\n\r");
    WriteFile(L"tempovia.ini", big);
    EXPECT_FALSE(ConvertIniToUnicode(Ini()));
    EXPECT_EQ(ReadBytes(Ini()).size(), big.size());
    EXPECT_EQ(ReadBytes(Ini()).substr(0, 13), "[tester:main]");
}

TEST_F(GeneralOptionsSave, AnEmptyFileBecomesAUnicodeFile) {
    WriteFile(L"tempovia.ini", "");
    ASSERT_TRUE(ConvertIniToUnicode(Ini()));
    EXPECT_EQ(ReadBytes(Ini()), "\xFF\xFE");
}

}  // namespace
