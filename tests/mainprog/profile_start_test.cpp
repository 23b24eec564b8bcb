// tempovia.exe completing and seeding tempovia.ini at start: a file of ten
// thousand clock sections does not hold the start up and only the clocks the
// program can have are completed; a start killed while it seeds the shipped
// clocks leaves none of them lost for the next start.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/mainprog/program_folder.h"

using namespace mainprog_test;

namespace {

constexpr DWORD kStartMs = 15000;

std::vector<std::wstring> Keys(const std::wstring& file, const std::wstring& section) {
    std::vector<wchar_t> buf(8192);
    const DWORD n = GetPrivateProfileStringW(section.c_str(), nullptr, L"", buf.data(), 8192, file.c_str());
    std::vector<std::wstring> keys;
    for (DWORD i = 0; i < n && buf[i];) {
        keys.emplace_back(&buf[i]);
        i += static_cast<DWORD>(keys.back().size()) + 1;
    }
    return keys;
}

class ProfileStart : public OwnFolderTest {
protected:
    // Starts the program, waits for its window and closes it again.
    void RunOnce() {
        HANDLE p = folder_.Start(L"/nh");
        ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
        EXPECT_EQ(WaitExit(folder_.Start(L"/exit"), kStartMs), 0u);
        EXPECT_EQ(WaitExit(p, kStartMs), 0u);
    }
};

TEST_F(ProfileStart, TenThousandClockSectionsStartPromptlyAndOnlyThirtyAreCompleted) {
    const std::wstring prefix = UserPrefix();
    const std::string user(prefix.begin(), prefix.end());
    std::string text;
    for (int n = 1; n <= 10000; ++n) {
        text += "[" + user + ":clock" + std::to_string(n) + "]\r\nenabled=1\r\nprefix=Clock " + std::to_string(n) +
                "\r\n";
    }
    ASSERT_TRUE(testing_support::WriteBytes(ini_, text));
    HANDLE p = folder_.Start(L"/nh");
    // Key by key this took half a minute: each write rewrote the whole file.
    // The build stamp is the start-up's last write.
    ASSERT_NE(WaitForMainWindow(kStartMs), nullptr);
    EXPECT_TRUE(WaitForStartUpEnd(ini_, kStartMs));
    TerminateProcess(p, 9);
    WaitExit(p, kStartMs);

    const std::vector<std::wstring> first = Keys(ini_, UserPrefix() + L":clock1");
    const std::vector<std::wstring> thirtieth = Keys(ini_, UserPrefix() + L":clock30");
    EXPECT_GT(first.size(), 10u);
    EXPECT_EQ(thirtieth.size(), first.size());
    EXPECT_EQ(Keys(ini_, UserPrefix() + L":clock31"), (std::vector<std::wstring>{L"enabled", L"prefix"}));
    EXPECT_EQ(Keys(ini_, UserPrefix() + L":clock10000"), (std::vector<std::wstring>{L"enabled", L"prefix"}));
}

TEST_F(ProfileStart, AStartKilledWhileSeedingLosesNoShippedClock) {
    const std::wstring defaults = folder_.file(L"default.ini");
    int shipped = 0;
    while (!Keys(defaults, L"default:clock" + std::to_wstring(shipped + 1)).empty()) ++shipped;
    ASSERT_GT(shipped, 1);

    // Killed as soon as the first clock shows in the file.
    const std::wstring firstClock = UserPrefix() + L":clock1]";
    const std::string narrow(firstClock.begin(), firstClock.end());
    std::string wide;
    for (char c : narrow) wide += std::string{c, '\0'};
    HANDLE p = folder_.Start(L"/nh");
    bool seen = false;
    for (DWORD start = GetTickCount(); !seen && GetTickCount() - start < kStartMs;) {
        const std::string bytes = testing_support::ReadBytes(ini_);
        seen = bytes.find(narrow) != std::string::npos || bytes.find(wide) != std::string::npos;
    }
    TerminateProcess(p, 9);
    ASSERT_TRUE(seen);
    WaitExit(p, kStartMs);

    RunOnce();
    for (int n = 1; n <= shipped; ++n) {
        EXPECT_FALSE(Keys(ini_, UserPrefix() + L":clock" + std::to_wstring(n)).empty()) << n;
    }
    EXPECT_FALSE(Keys(ini_, UserPrefix() + L":clock1:alarm1").empty());
}

// The user's own lines of a section that gets its missing keys stay: a
// comment, a line without "=", and a second section of the same name.
TEST_F(ProfileStart, TheUsersOwnLinesInAClockSectionSurviveAStart) {
    const std::wstring prefix = UserPrefix();
    const std::string clock1 = "[" + std::string(prefix.begin(), prefix.end()) + ":clock1]\r\n";
    ASSERT_TRUE(testing_support::WriteBytes(
        ini_, clock1 + "; my office clock\r\nenabled=1\r\nnote without equals\r\n" + clock1 + "prefix=Office\r\n"));
    RunOnce();
    const std::vector<std::string> lines = ReadLines(ini_);
    for (const char* line : {"; my office clock", "note without equals", "prefix=Office"}) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    }
    EXPECT_GT(Keys(ini_, UserPrefix() + L":clock1").size(), 10u);
}

}  // namespace
