// Copying profiles between files, export and import, and the guard that
// keeps tempovia.ini from being overwritten.
#include <algorithm>
#include <string>
#include <vector>

#include "common/settings/ini_copy.h"
#include "common/settings/ini_store.h"
#include "common/settings/settings_export.h"
#include "tests/settings_store/store_fixture.h"

using store_test::StoreTest;
using testing_support::ReadBytes;

namespace {

const wchar_t kProfiles[] =
    L"[common]\r\nsynctype=2\r\n"
    L"[map]\r\ninitialized=1\r\n"
    L"[bob:main]\r\nlanguage=de\r\ntrayclocks=3\r\n"
    L"[bob:clock1]\r\nenabled=1\r\nprefix=\" Home \"\r\n"
    L"[bob:clock1:alarm1]\r\ncomment=Wake\r\n"
    L"[bob:clock2]\r\nenabled=0\r\n"
    L"[bob:clock31]\r\nenabled=1\r\n"
    L"[bob:clock0]\r\nenabled=1\r\n"
    L"[bo:main]\r\nlanguage=fr\r\n"
    L"[bo:clock1]\r\nprefix=Not Bob\r\n"
    L"[bobby:clock3]\r\nprefix=Not Bob either\r\n"
    L"[:main]\r\nlanguage=xx\r\n"
    L"[carol:main]\r\nlanguage=it\r\n"
    L"[carol:clock1]\r\nprefix=Carol\r\n";

bool HasSection(const wchar_t* file, const wchar_t* name) {
    auto names = ReadIniSectionNames(file);
    return std::any_of(names.begin(), names.end(), [&](const std::wstring& n) { return _wcsicmp(n.c_str(), name) == 0; });
}

class SettingsExport : public StoreTest {};

TEST_F(SettingsExport, ExportHoldsTheUsersSectionsUnderTheDefaultPrefix) {
    WriteUserIni(kProfiles);
    std::wstring out = dir.file(L"export.ini");
    ASSERT_TRUE(ExportSettings(out.c_str()));
    EXPECT_EQ(ReadBytes(out).substr(0, 2), "\xFF\xFE");

    const wchar_t* f = out.c_str();
    EXPECT_EQ(ReadIniText(f, L"default:main", L"language"), L"de");
    EXPECT_EQ(ReadIniText(f, L"default:clock1", L"prefix"), L" Home ");
    EXPECT_EQ(ReadIniText(f, L"default:clock1:alarm1", L"comment"), L"Wake");
    EXPECT_EQ(ReadIniInt(f, L"common", L"synctype", 0), 2);
    EXPECT_TRUE(HasSection(f, L"map"));
    std::wstring description = ReadIniText(f, L"default:main", L"description");
    EXPECT_EQ(description.rfind(L"Dravik World Clock settings exported by Bob on ", 0), 0u) << description;
    for (const std::wstring& name : ReadIniSectionNames(f)) {
        EXPECT_EQ(name.find(L"bob"), std::wstring::npos) << name;
        EXPECT_EQ(name.find(L"carol"), std::wstring::npos) << name;
    }
    // Neither a shorter nor a longer user name matches, nor the empty one.
    EXPECT_NE(ReadIniText(f, L"default:clock1", L"prefix"), L"Not Bob");
    EXPECT_FALSE(HasSection(f, L"default:clock3"));
    EXPECT_FALSE(HasSection(f, L"default:clock31"));
    EXPECT_FALSE(HasSection(f, L"default:clock0"));
    EXPECT_TRUE(HasSection(f, L"default:clock2"));
}

TEST_F(SettingsExport, RoundTripIntoAnotherUserLosesNothingAndMixesNothingIn) {
    WriteUserIni(kProfiles);
    std::wstring out = dir.file(L"export.ini");
    ASSERT_TRUE(ExportSettings(out.c_str()));

    // Carol imports Bob's export; her stale second clock and alarm must go.
    SetUserNameOverride(L"Carol");
    WritePrivateProfileStringW(L"carol:clock1:alarm1", L"comment", L"stale", user());
    WritePrivateProfileStringW(L"carol:clock3", L"prefix", L"stale", user());
    ASSERT_TRUE(ImportSettings(out.c_str()));
    EXPECT_EQ(ReadIniText(user(), L"carol:main", L"language"), L"de");
    EXPECT_FALSE(IniKeyExists(user(), L"carol:main", L"description"));
    EXPECT_EQ(ReadIniText(user(), L"carol:clock1", L"prefix"), L" Home ");
    EXPECT_EQ(ReadIniText(user(), L"carol:clock1:alarm1", L"comment"), L"Wake");
    EXPECT_TRUE(ReadIniKeyList(user(), L"carol:clock1:alarm2").empty());
    EXPECT_EQ(ReadIniInt(user(), L"carol:clock2", L"enabled", 9), 0);
    EXPECT_TRUE(ReadIniKeyList(user(), L"carol:clock3").empty());
    // Bob's own sections and the other users' are untouched.
    EXPECT_EQ(ReadIniText(user(), L"bob:main", L"language"), L"de");
    EXPECT_EQ(ReadIniText(user(), L"bo:clock1", L"prefix"), L"Not Bob");
    EXPECT_FALSE(HasSection(user(), L"default:main"));
    EXPECT_FALSE(HasSection(user(), L"carol:clock31"));
}

TEST_F(SettingsExport, ImportWithoutDescriptionChangesNothing) {
    WriteUserIni(kProfiles);
    std::string before = ReadBytes(UserIniPath());
    std::wstring in = dir.file(L"in.ini");
    ASSERT_TRUE(testing_support::WriteBytes(in, "[default:main]\r\nlanguage=pt\r\n[default:clock1]\r\nprefix=X\r\n"));
    EXPECT_FALSE(ImportSettings(in.c_str()));
    EXPECT_FALSE(ImportSettings(dir.file(L"missing.ini").c_str()));
    ASSERT_TRUE(testing_support::WriteBytes(in, std::string("\xFF\xFE\x00\xD8garbage", 10)));
    EXPECT_FALSE(ImportSettings(in.c_str()));
    EXPECT_EQ(ReadBytes(UserIniPath()), before);
}

TEST_F(SettingsExport, TheSettingsFileItselfIsRefusedHoweverItIsSpelt) {
    WriteUserIni(kProfiles);
    std::string before = ReadBytes(UserIniPath());
    CreateDirectoryW(dir.file(L"sub").c_str(), nullptr);
    std::wstring upper = UserIniPath();
    CharUpperW(upper.data());
    std::wstring spellings[] = {UserIniPath(), upper, dir.file(L"sub\\..\\tempovia.ini"),
                                dir.file(L".\\tempovia.ini"), dir.path() + L"/tempovia.ini"};
    for (const std::wstring& s : spellings) {
        EXPECT_FALSE(ExportSettings(s.c_str())) << s;
        EXPECT_FALSE(ImportSettings(s.c_str())) << s;
        EXPECT_FALSE(CopyIniSections(s.c_str(), L"bob", UserIniPath().c_str(), L"default")) << s;
    }
    EXPECT_EQ(ReadBytes(UserIniPath()), before);
    EXPECT_FALSE(ExportSettings(L""));
    EXPECT_FALSE(ExportSettings(nullptr));
    EXPECT_FALSE(ExportSettings(dir.file(L"no\\such\\folder\\x.ini").c_str()));
    EXPECT_FALSE(CopyIniSections(nullptr, L"bob", UserIniPath().c_str(), nullptr));
}

// Other ways the system reaches a file: Wine's own spelling of its host path,
// the volume's name, the device object, and a hard and a symbolic link made
// in `aside`. Only those this system has are given.
std::vector<std::wstring> ReachedAnotherWay(const std::wstring& file, const std::wstring& aside) {
    std::vector<std::wstring> ways;
    using UnixName = char*(CDECL*)(const wchar_t*);
    if (auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")))) {
        if (char* name = unixName(file.c_str())) {
            ways.push_back(L"\\\\?\\unix" + std::wstring(name, name + strlen(name)));
            HeapFree(GetProcessHeap(), 0, name);
        }
    }
    wchar_t root[MAX_PATH] = {}, volume[MAX_PATH] = {}, device[MAX_PATH] = {};
    if (GetVolumePathNameW(file.c_str(), root, MAX_PATH)) {
        const std::wstring rest = file.substr(wcslen(root));
        if (GetVolumeNameForVolumeMountPointW(root, volume, MAX_PATH)) ways.push_back(volume + rest);
        const std::wstring drive = std::wstring(root).substr(0, 2);
        if (QueryDosDeviceW(drive.c_str(), device, MAX_PATH)) ways.push_back(L"\\\\?\\GLOBALROOT" + std::wstring(device) + L"\\" + rest);
    }
    const std::wstring name = file.substr(file.find_last_of(L'\\') + 1);
    if (CreateHardLinkW((aside + L"\\hard-" + name).c_str(), file.c_str(), nullptr)) ways.push_back(aside + L"\\hard-" + name);
    if (CreateSymbolicLinkW((aside + L"\\link-" + name).c_str(), file.c_str(), 0)) ways.push_back(aside + L"\\link-" + name);
    // Only spellings that really reach the file count.
    ways.erase(std::remove_if(ways.begin(), ways.end(),
                              [](const std::wstring& w) { return GetFileAttributesW(w.c_str()) == INVALID_FILE_ATTRIBUTES; }),
               ways.end());
    return ways;
}

TEST_F(SettingsExport, TheProgramsOwnFilesAreNoExportTargetHoweverTheyAreReached) {
    WriteUserIni(kProfiles);
    const std::string mine = ReadBytes(UserIniPath());
    // Relative spellings start from the program folder.
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.path().c_str()));
    struct Back {
        const wchar_t* to;
        ~Back() { SetCurrentDirectoryW(to); }
    } back{current};
    auto FolderName = [&] { return dir.path().substr(dir.path().find_last_of(L'\\') + 1); };
    WriteDefaultIni(L"[default:main]\r\nskin=Shipped\r\n");
    const std::string shipped = ReadBytes(DefaultIniPath());
    CreateDirectoryW(dir.file(L"skins").c_str(), nullptr);
    CreateDirectoryW(dir.file(L"mine").c_str(), nullptr);
    for (const wchar_t* name : {L"timezones.txt", L"tempovia_en.ini", L"settings.exe", L"res_en.dll", L"skins\\face.ini"}) {
        ASSERT_TRUE(testing_support::WriteBytes(dir.file(name), "shipped"));
        EXPECT_FALSE(ExportSettings(dir.file(name).c_str())) << name;
    }
    std::wstring upper = DefaultIniPath();
    CharUpperW(upper.data());
    // Prefixed, slashed, with a stream name or trailing dots, or relative to
    // the folder: the same files all the same.
    std::wstring slashed = DefaultIniPath();
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    for (const std::wstring& spelling :
         {upper, dir.file(L"mine\\..\\default.ini"), L"\\\\?\\" + DefaultIniPath(), L"\\\\.\\" + upper,
          L"\\\\?\\" + dir.file(L"timezones.txt"), L"//?/" + slashed.substr(0, slashed.size() - 11) + L"SETTINGS.EXE",
          DefaultIniPath() + L"::$DATA", DefaultIniPath() + L". .", std::wstring(L"default.ini"),
          L"..\\" + FolderName() + L"\\res_en.dll"}) {
        EXPECT_FALSE(ExportSettings(spelling.c_str())) << std::string(spelling.begin(), spelling.end());
    }
    // Both settings files reached by another name, and tempovia.ini before
    // the programs made it.
    testing_support::TempDir aside;
    std::vector<std::wstring> ways;
    for (const std::wstring& file : {UserIniPath(), DefaultIniPath()}) {
        for (const std::wstring& way : ReachedAnotherWay(file, aside.path())) {
            ways.push_back(way);
            EXPECT_FALSE(ExportSettings(way.c_str())) << std::string(way.begin(), way.end());
        }
    }
    EXPECT_GE(ways.size(), 4u);
    EXPECT_EQ(ReadBytes(UserIniPath()), mine);
    EXPECT_EQ(ReadBytes(DefaultIniPath()), shipped);
    const std::wstring wineName = ways.empty() ? std::wstring() : ways[0];
    ASSERT_TRUE(DeleteFileW(UserIniPath().c_str()));
    EXPECT_FALSE(ExportSettings(UserIniPath().c_str()));
    if (wineName.rfind(L"\\\\?\\unix", 0) == 0) {
        EXPECT_FALSE(ExportSettings(wineName.c_str()));
    }
    EXPECT_EQ(GetFileAttributesW(UserIniPath().c_str()), INVALID_FILE_ATTRIBUTES);
    // The user's own files beside them are fine, whatever their names look like.
    for (const wchar_t* name : {L"backup.ini", L"mine\\default.ini", L"tempovia-copy.ini", L"notes.txt", L"map.png"}) {
        EXPECT_TRUE(ExportSettings(dir.file(name).c_str())) << name;
    }
}

TEST_F(SettingsExport, CopyKeepsNamesWithoutTargetPrefixAndCutsStaleClocks) {
    WriteUserIni(kProfiles);
    std::wstring target = dir.file(L"t.ini");
    ASSERT_TRUE(testing_support::WriteBytes(
        target, store_test::Utf16File(L"[bob:clock5]\r\nx=1\r\n[bob:clock1:alarm2]\r\ny=1\r\n[keep:me]\r\nz=1\r\n")));
    ASSERT_TRUE(CopyIniSections(UserIniPath().c_str(), L"BOB", target.c_str(), nullptr));
    EXPECT_EQ(ReadIniText(target.c_str(), L"bob:clock1", L"prefix"), L" Home ");
    EXPECT_TRUE(ReadIniKeyList(target.c_str(), L"bob:clock5").empty());
    EXPECT_TRUE(ReadIniKeyList(target.c_str(), L"bob:clock1:alarm2").empty());
    EXPECT_EQ(ReadIniInt(target.c_str(), L"keep:me", L"z", 0), 1);
    EXPECT_FALSE(HasSection(target.c_str(), L"carol:main"));
}

TEST_F(SettingsExport, ImportTakesOnlyTheUsersOwnSectionsAndLeavesNoOtherClocksAlarms) {
    WriteUserIni(
        L"[bob:clock1]\r\nprefix=Old\r\n[bob:clock1:alarm1]\r\ncomment=Old1\r\n[bob:clock1:alarm2]\r\ncomment=Old2\r\n"
        L"[bob:clock2]\r\nprefix=Two\r\n[bob:clock2:alarm1]\r\ncomment=Stale\r\n[bob:clock3:alarm1]\r\ncomment=Stray\r\n");
    std::wstring in = dir.file(L"in.ini");
    ASSERT_TRUE(testing_support::WriteBytes(
        in, store_test::Utf16File(L"[default:main]\r\ndescription=test\r\n"
                                  L"[..\\..\\evil]\r\nx=1\r\n[common]\r\nsynctype=1\r\n"
                                  L"[default:clock1]\r\nprefix=New\r\n[default:clock1:alarm1]\r\ncomment=New1\r\n"
                                  L"[default:clock1:alarm0]\r\nx=1\r\n[default:clock1:alarm2147483647]\r\nx=1\r\n"
                                  L"[default:clock1:alarm21]\r\nx=1\r\n[default:clock01]\r\nx=1\r\n"
                                  L"[default:clock1x]\r\nx=1\r\n[default:skins]\r\nx=1\r\n"
                                  L"[default:clock1:alarm1:more]\r\nx=1\r\n")));
    ASSERT_TRUE(ImportSettings(in.c_str()));
    EXPECT_EQ(ReadIniText(user(), L"bob:clock1", L"prefix"), L"New");
    EXPECT_EQ(ReadIniText(user(), L"bob:clock1:alarm1", L"comment"), L"New1");
    EXPECT_EQ(ReadIniInt(user(), L"common", L"synctype", 0), 1);
    std::vector<std::wstring> names = ReadIniSectionNames(user());
    std::sort(names.begin(), names.end());
    const std::vector<std::wstring> expected = {L"bob:clock1", L"bob:clock1:alarm1", L"bob:main", L"common"};
    EXPECT_EQ(names, expected);
}

// A file that does not begin a list of clocks brings none: an alarm alone or
// a stray clock 3, or an empty clock 1, neither replaces nor removes any of the user's.
TEST_F(SettingsExport, AnImportWithoutClockOneKeepsEveryClockAndAlarm) {
    const wchar_t* mine = L"[bob:clock1]\r\nprefix=One\r\n[bob:clock1:alarm1]\r\ncomment=Mine\r\n"
                          L"[bob:clock2]\r\nprefix=Two\r\n[bob:clock3]\r\nprefix=Three\r\n";
    std::wstring in = dir.file(L"in.ini");
    for (const wchar_t* brought : {L"[default:clock1:alarm1]\r\ncomment=Theirs\r\n",
                                   L"[default:clock3]\r\nprefix=Theirs\r\n",
                                   L"[default:clock1]\r\n[default:clock2]\r\nprefix=Theirs\r\n"}) {
        WriteUserIni(mine);
        ASSERT_TRUE(testing_support::WriteBytes(
            in, store_test::Utf16File(std::wstring(L"[default:main]\r\ndescription=x\r\n") + brought)));
        ASSERT_TRUE(ImportSettings(in.c_str()));
        EXPECT_EQ(ReadIniText(user(), L"bob:clock1:alarm1", L"comment"), L"Mine");
        EXPECT_EQ(ReadIniText(user(), L"bob:clock2", L"prefix"), L"Two");
        EXPECT_EQ(ReadIniText(user(), L"bob:clock3", L"prefix"), L"Three");
        EXPECT_EQ(ReadIniText(user(), L"bob:clock1", L"prefix"), L"One");
    }
}

}  // namespace
