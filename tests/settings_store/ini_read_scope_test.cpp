// Reads inside an IniReadScope come from one read of each section and give
// what the profile functions give; writes through the store are seen at once.
#include <string>
#include <vector>

#include "common/settings/ini_read_scope.h"
#include "common/settings/ini_store.h"
#include "tests/settings_store/store_fixture.h"

using store_test::StoreTest;

namespace {

class IniReadScopeTest : public StoreTest {};

// Quotes, blanks, lines without "=", comments, a key twice, letter case,
// numbers the profile functions read in their own way, a value longer than
// a small buffer.
const wchar_t kAwkward[] =
    L"[bob:clock1]\r\n"
    L"  prefix =  \"  Here \"  \r\n"
    L"single='quoted'\r\n"
    L"half=\"open\r\n"
    L"empty=\r\n"
    L"bare line\r\n"
    L"; comment=1\r\n"
    L"Alpha=200\r\n"
    L"alpha=300\r\n"
    L"hex=0x1F\r\n"
    L"negative=-1\r\n"
    L"words=12abc\r\n"
    L"blank= \r\n"
    L"long=abcdefghijklmnopqrstuvwxyz\r\n"
    L"eq=a=b\r\n"
    L"[BOB:CLOCK1]\r\n"
    L"later=1\r\n"
    L"[bob:main]\r\n"
    L"language=de\r\n";

struct Read {
    std::wstring text;
    int number;
};

std::vector<Read> ReadAll(const wchar_t* file) {
    const wchar_t* keys[] = {L"prefix", L"single", L"half",  L"empty",  L"bare line", L"comment", L"; comment",
                             L"ALPHA",  L"hex",    L"negative", L"words", L"blank", L"long",  L"eq", L"later", L"none"};
    const wchar_t* defaults[] = {L"", L"def  ", L"\"q\"", L" "};
    const DWORD sizes[] = {1, 2, 5, 256};
    std::vector<Read> out;
    for (const wchar_t* section : {L"bob:clock1", L"Bob:Clock1", L"bob:main", L"bob:missing", L"bob:clock2", L"bob:empty"}) {
        for (const wchar_t* key : keys) {
            for (const wchar_t* def : defaults) {
                for (DWORD size : sizes) {
                    wchar_t buffer[256];
                    ReadIniString(file, section, key, def, buffer, size);
                    out.push_back({buffer, ReadIniInt(file, section, key, -7)});
                }
            }
        }
        std::wstring keyList;
        for (const std::wstring& k : ReadIniKeyList(file, section)) keyList += k + L"|";
        out.push_back({keyList + L"#" + ReadIniSection(file, section), 0});
    }
    return out;
}

// The file as this program writes it: read whole, in one go.
const wchar_t kPlain[] =
    L"[bob:clock1]\r\n"
    L"prefix=\"  Here \"\r\n"
    L"single='quoted'\r\n"
    L"empty=\r\n"
    L"Alpha=200\n"
    L"alpha=300\r\n"
    L"hex=0x1F\r\n"
    L"long=abc\tdefghijklmnopqrstuvwxyz\r\n"
    L"eq=a=b\r\n"
    L"\r\n"
    L"[bob:main]\r\n"
    L"language=de\r\n"
    L"[bob:empty]\r\n"
    L"[Bob:Clock1]\r\n"
    L"later=1\r\n"
    L"[bob:clock2]\r\n"
    L"words=12abc";

void ExpectSameReads(const wchar_t* file) {
    const std::vector<Read> direct = ReadAll(file);
    std::vector<Read> scoped;
    {
        IniReadScope scope;
        scoped = ReadAll(file);
    }
    ASSERT_EQ(direct.size(), scoped.size());
    for (size_t i = 0; i < direct.size(); ++i) {
        EXPECT_EQ(direct[i].text, scoped[i].text) << i;
        EXPECT_EQ(direct[i].number, scoped[i].number) << i;
    }
}

TEST_F(IniReadScopeTest, GivesWhatTheProfileFunctionsGive) {
    // Text the profile functions trim and split in their own ways, a plain
    // file in UTF-16, and the same file in 8-bit text.
    WriteUserIni(kAwkward);
    ExpectSameReads(user());
    WriteUserIni(kPlain);
    ExpectSameReads(user());
    std::wstring plain = kPlain;
    ASSERT_TRUE(testing_support::WriteBytes(UserIniPath(), std::string(plain.begin(), plain.end())));
    ExpectSameReads(user());
    // A file that is not there reads inside a scope as outside one.
    const std::wstring none = dir.file(L"none.ini");
    ASSERT_EQ(GetFileAttributesW(none.c_str()), INVALID_FILE_ATTRIBUTES);
    ExpectSameReads(none.c_str());
}

TEST_F(IniReadScopeTest, ReadsEachSectionOnceAndSeesItsOwnWrites) {
    WriteUserIni(L"[bob:main]\r\nlanguage=de\r\n[bob:clock1]\r\nprefix=Here\r\n");
    const std::wstring moved = dir.file(L"moved.ini");
    IniReadScope scope;
    EXPECT_EQ(ReadIniText(user(), L"bob:main", L"language"), L"de");
    // The file goes away: the one read of it has every section.
    ASSERT_TRUE(MoveFileW(user(), moved.c_str()));
    EXPECT_EQ(ReadIniText(user(), L"bob:main", L"language"), L"de");
    EXPECT_EQ(ReadIniText(user(), L"bob:clock1", L"prefix", L"none"), L"Here");
    ASSERT_TRUE(MoveFileW(moved.c_str(), user()));

    // Writes through the store reach the file and the next read sees them,
    // new sections included.
    ASSERT_TRUE(WriteIniString(user(), L"bob:main", L"language", L"fr"));
    EXPECT_EQ(ReadIniText(user(), L"bob:main", L"language"), L"fr");
    ASSERT_TRUE(WriteIniSection(user(), L"bob:clock2", std::wstring(L"prefix=There") + L'\0'));
    EXPECT_EQ(ReadIniText(user(), L"bob:clock2", L"prefix"), L"There");
    // Lines the file keeps in its own way read as the file has them.
    const std::wstring odd = std::wstring(L" spaced =  \"v\"  ") + L'\0' + L"[head]=1" + L'\0' + L"plain=1" + L'\0';
    ASSERT_TRUE(WriteIniSection(user(), L"bob:clock3", odd));
    for (const wchar_t* key : {L"spaced", L"[head]", L"plain"}) {
        wchar_t direct[64];
        GetPrivateProfileStringW(L"bob:clock3", key, L"-", direct, 64, user());
        EXPECT_EQ(ReadIniText(user(), L"bob:clock3", key, L"-"), direct);
    }
    ASSERT_TRUE(DeleteIniSection(user(), L"bob:clock2"));
    EXPECT_TRUE(ReadIniKeyList(user(), L"bob:clock2").empty());
    {
        // A nested scope is a new load: it reads what another program wrote
        // since, and the outer one goes on with that.
        ASSERT_TRUE(WritePrivateProfileStringW(L"bob:main", L"language", L"it", user()));
        IniReadScope inner;
        EXPECT_EQ(ReadIniText(user(), L"bob:main", L"language"), L"it");
    }
    ASSERT_TRUE(MoveFileW(user(), moved.c_str()));
    EXPECT_EQ(ReadIniText(user(), L"bob:main", L"language"), L"it");
}

}  // namespace
