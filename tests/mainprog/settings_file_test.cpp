// tempovia.exe and settings.exe as processes against the user's settings file:
// starts that come together, a file saved without its byte-order mark, an
// export onto a shipped file and a zone table that lost zones.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/settings/ini_store.h"
#include "common/records/protocol.h"
#include "tests/mainprog/program_folder.h"

using namespace mainprog_test;

namespace {

constexpr DWORD kStartMs = 15000;

// The program folder with the settings program beside the main program.
class SuiteFolder : public testing_support::ProgramFolder {
public:
    SuiteFolder()
        : testing_support::ProgramFolder({L"tempovia.exe", L"settings.exe", L"hook.dll", L"res_en.dll",
                                          L"default.ini", L"timezones.txt", L"tz_changes.txt", L"cities.txt",
                                          L"tempovia_en.ini"},
                                         {}) {}
    HANDLE Main(const std::wstring& arguments) { return StartProgram(file(L"tempovia.exe"), arguments); }
    HANDLE Settings() { return StartProgram(file(L"settings.exe"), L""); }
    std::wstring ini() const { return file(L"tempovia.ini"); }
};

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr) << "a main program is already running";
        ASSERT_EQ(FindWindowW(kSettingsWindowClass, nullptr), nullptr) << "a settings program is already running";
    }
};

void ExitMain(SuiteFolder& folder, HANDLE running) {
    EXPECT_EQ(WaitExit(folder.Main(L"/exit"), kStartMs), 0u);
    EXPECT_EQ(WaitExit(running, kStartMs), 0u);
}

// Every shipped clock is the user's, with every key, and the file holds only
// whole lines of the sections the programs write.
void ExpectWholeSeededFile(const SuiteFolder& folder) {
    const std::wstring prefix = UserPrefix();
    const std::wstring defaults = folder.file(L"default.ini");
    const std::wstring ini = folder.ini();
    int clocks = 0;
    for (int n = 1; n <= 30; ++n) {
        const std::wstring shipped = L"default:clock" + std::to_wstring(n);
        const std::vector<std::wstring> keys = ReadIniKeyList(defaults.c_str(), shipped.c_str());
        if (keys.empty()) break;
        ++clocks;
        const std::wstring mine = prefix + L":clock" + std::to_wstring(n);
        for (const std::wstring& key : keys) {
            EXPECT_TRUE(IniKeyExists(ini.c_str(), mine.c_str(), key.c_str())) << "clock " << n;
        }
    }
    EXPECT_GT(clocks, 1);
    for (const std::string& line : ReadLines(ini)) {
        const bool header = !line.empty() && line.front() == '[' && line.back() == ']';
        EXPECT_TRUE(line.empty() || header || line.find('=') != std::string::npos) << line;
        if (!header) continue;
        const std::string name = line.substr(1, line.size() - 2);
        const bool known = name == "common" || name == "map" ||
                           name.rfind(std::string(prefix.begin(), prefix.end()) + ":", 0) == 0;
        EXPECT_TRUE(known) << line;
    }
}

// Waits until one of two processes ends: its exit code, and the other one.
DWORD FirstToEnd(HANDLE a, HANDLE b, HANDLE& other) {
    DWORD codeA = STILL_ACTIVE, codeB = STILL_ACTIVE;
    const DWORD start = GetTickCount();
    while (codeA == STILL_ACTIVE && codeB == STILL_ACTIVE && GetTickCount() - start < kStartMs) {
        codeA = WaitExit(a, 20);
        codeB = WaitExit(b, 0);
    }
    other = codeA == STILL_ACTIVE ? a : b;
    return codeA == STILL_ACTIVE ? codeB : codeA;
}

TEST_F(SettingsFile, TwoStartsTogetherLeaveOneInstanceAndEveryShippedClock) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        SuiteFolder folder;
        ASSERT_TRUE(folder.ok());
        HANDLE a = folder.Main(L"/nh");
        HANDLE b = folder.Main(L"/nh");
        HANDLE running = nullptr;
        EXPECT_EQ(FirstToEnd(a, b, running), 3u);
        ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
        EXPECT_EQ(WaitExit(running, 500), static_cast<DWORD>(STILL_ACTIVE));
        ExitMain(folder, running);
        ExpectWholeSeededFile(folder);
    }
}

TEST_F(SettingsFile, MainAndSettingsProgramStartedTogetherOnAFirstRunDoNotTearTheFile) {
    {
        SuiteFolder folder;
        ASSERT_TRUE(folder.ok());
        HANDLE settings = folder.Settings();
        HANDLE main = folder.Main(L"/nh");
        ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
        HWND frame = nullptr;
        for (DWORD t = GetTickCount(); !frame && GetTickCount() - t < kStartMs; Sleep(20)) {
            frame = FindWindowW(kSettingsWindowClass, nullptr);
        }
        ASSERT_NE(frame, nullptr);
        PostMessageW(frame, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitExit(settings, kStartMs), 0u);
        ExitMain(folder, main);
        ExpectWholeSeededFile(folder);
    }
}

TEST_F(SettingsFile, TwoSettingsStartsTogetherLeaveOneSettingsProgram) {
    SuiteFolder folder;
    ASSERT_TRUE(folder.ok());
    HANDLE a = folder.Settings();
    HANDLE b = folder.Settings();
    HANDLE running = nullptr;
    // The later start handed over to the first and ended; the first runs on.
    EXPECT_EQ(FirstToEnd(a, b, running), 0u);
    EXPECT_EQ(WaitExit(running, 500), static_cast<DWORD>(STILL_ACTIVE));
    HWND frame = FindWindowW(kSettingsWindowClass, nullptr);
    ASSERT_NE(frame, nullptr);
    PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExit(running, kStartMs), 0u);
}

// UTF-16 little-endian text without a byte-order mark.
std::string BareUtf16(const std::wstring& text) {
    std::string bytes;
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}

TEST_F(SettingsFile, AFileSavedAsUtf16WithoutItsMarkKeepsTheUsersClocks) {
    SuiteFolder folder;
    ASSERT_TRUE(folder.ok());
    const std::wstring prefix = UserPrefix();
    ASSERT_TRUE(testing_support::WriteBytes(
        folder.ini(), BareUtf16(L"[" + prefix + L":clock1]\r\nenabled=1\r\nzone=Tokyo Standard Time\r\n"
                                L"location=Kept Town\r\non_desktop=1\r\n[" + prefix +
                                L":clock1:alarm1]\r\ncomment=Kept alarm\r\n")));
    HANDLE p = folder.Main(L"/nh");
    ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
    ExitMain(folder, p);
    const std::wstring ini = folder.ini();
    EXPECT_EQ(ReadIniText(ini.c_str(), (prefix + L":clock1").c_str(), L"location"), L"Kept Town");
    EXPECT_EQ(ReadIniText(ini.c_str(), (prefix + L":clock1:alarm1").c_str(), L"comment"), L"Kept alarm");
    // The user had a clock: nothing was seeded over it.
    EXPECT_TRUE(ReadIniKeyList(ini.c_str(), (prefix + L":clock2").c_str()).empty());
    // A UTF-8 mark, which Windows would read into `common`'s name, goes at the start.
    ASSERT_TRUE(testing_support::WriteBytes(ini, "\xEF\xBB\xBF[common]\r\nserver1=k\xC3\xB6ln.example\r\n"));
    p = folder.Main(L"/nh");
    ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
    ExitMain(folder, p);
    const std::string converted = "\xFF\xFE" + BareUtf16(L"[common]\r\nserver1=k\x00F6ln.example\r\n");
    EXPECT_EQ(testing_support::ReadBytes(ini).substr(0, converted.size()), converted);
}

TEST_F(SettingsFile, ExportOntoAShippedFileIsRefusedUnderEverySpelling) {
    SuiteFolder folder;
    ASSERT_TRUE(folder.ok());
    const std::string defaults = testing_support::ReadBytes(folder.file(L"default.ini"));
    const std::string zones = testing_support::ReadBytes(folder.file(L"timezones.txt"));
    for (const std::wstring& target : {folder.file(L"default.ini"), L"\\\\?\\" + folder.file(L"default.ini"),
                                       L"\\\\.\\" + folder.file(L"TIMEZONES.TXT")}) {
        HANDLE p = folder.Main(L"/export \"" + target + L"\" /nh");
        ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
        ExitMain(folder, p);
    }
    EXPECT_EQ(testing_support::ReadBytes(folder.file(L"default.ini")), defaults);
    EXPECT_EQ(testing_support::ReadBytes(folder.file(L"timezones.txt")), zones);
}

// An import from the command line keeps the settings from before it beside
// them, and a file that brings no clock takes none of the user's.
TEST_F(SettingsFile, ACommandLineImportWithoutClocksKeepsEveryClockAndABackup) {
    SuiteFolder folder;
    ASSERT_TRUE(folder.ok());
    const std::wstring ini = folder.ini();
    const std::wstring clock2 = UserPrefix() + L":clock2";
    ASSERT_TRUE(WritePrivateProfileStringW(clock2.c_str(), L"prefix", L"Mine", ini.c_str()));
    HANDLE p = folder.Main(L"/nh");
    ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
    ExitMain(folder, p);
    const std::vector<std::wstring> clocks = ReadIniKeyList(ini.c_str(), clock2.c_str());
    ASSERT_GT(clocks.size(), 5u);
    const std::string before = testing_support::ReadBytes(ini);

    const std::wstring in = folder.file(L"common only.ini");
    ASSERT_TRUE(testing_support::WriteBytes(in, "[default:main]\r\ndescription=x\r\n[common]\r\nsynctype=3\r\n"));
    p = folder.Main(L"/import \"" + in + L"\" /nh");
    ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
    ExitMain(folder, p);
    EXPECT_EQ(ReadIniInt(ini.c_str(), L"common", L"synctype", 0), 3);
    EXPECT_EQ(ReadIniText(ini.c_str(), clock2.c_str(), L"prefix"), L"Mine");
    EXPECT_EQ(ReadIniKeyList(ini.c_str(), clock2.c_str()), clocks);
    EXPECT_FALSE(ReadIniKeyList(ini.c_str(), (UserPrefix() + L":clock1:alarm1").c_str()).empty());
    EXPECT_EQ(testing_support::ReadBytes(ini + L".bak"), before);
    // A file that is not an export is refused and leaves that backup as it was.
    ASSERT_TRUE(testing_support::WriteBytes(in, "garbage"));
    p = folder.Main(L"/import \"" + in + L"\" /nh");
    ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
    ExitMain(folder, p);
    EXPECT_EQ(testing_support::ReadBytes(ini + L".bak"), before);
}

TEST_F(SettingsFile, ClocksWhoseZoneTheTruncatedTableLacksAreNamed) {
    SuiteFolder folder;
    ASSERT_TRUE(folder.ok());
    // The first zones only: Tokyo is far behind them.
    std::string zones;
    int lines = 0;
    for (const std::string& line : ReadLines(folder.file(L"timezones.txt"))) {
        if (++lines > 24) break;
        zones += line + "\r\n";
    }
    ASSERT_TRUE(testing_support::WriteBytes(folder.file(L"timezones.txt"), zones));
    const std::wstring prefix = UserPrefix();
    const std::wstring ini = folder.ini();
    WritePrivateProfileStringW((prefix + L":clock1").c_str(), L"zone", L"Tokyo Standard Time", ini.c_str());
    WritePrivateProfileStringW((prefix + L":clock1").c_str(), L"prefix", L"Lost Clock", ini.c_str());
    WritePrivateProfileStringW((prefix + L":clock1").c_str(), L"on_desktop", L"1", ini.c_str());

    HANDLE p = folder.Main(L"/nh");
    const std::wstring caption = LibraryString(folder.file(L"res_en.dll"), 141);
    HWND box = WaitForDialog(caption.c_str(), kStartMs);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxText(box).find(L"Lost Clock (Tokyo Standard Time)"), std::wstring::npos)
        << std::string(MessageBoxText(box).begin(), MessageBoxText(box).end());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
    ExitMain(folder, p);
    // The key it was saved with is still there for a mended table.
    EXPECT_EQ(ReadIniText(ini.c_str(), (prefix + L":clock1").c_str(), L"zone"), L"Tokyo Standard Time");
}

}  // namespace
