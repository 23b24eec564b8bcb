// hook.dll runs inside Explorer on users' machines: it answers the main
// program and nothing that only tests need. What the tests ask the taskbar
// clock goes through a test build of it (tests/mainprog/trayclock_probe).
#include <gtest/gtest.h>

#include <string>

#include "tests/support/program_folder.h"
#include "tests/support/test_support.h"

namespace {

// The text as a UTF-16 literal in the file's data.
bool HoldsWideText(const std::string& bytes, const wchar_t* text) {
    std::string wide;
    for (const wchar_t* c = text; *c; ++c) {
        wide += static_cast<char>(*c & 0xFF);
        wide += static_cast<char>((*c >> 8) & 0xFF);
    }
    return bytes.find(wide) != std::string::npos;
}

TEST(ShippedHook, TheTaskbarClockRegistersNoMessageForTests) {
    const std::string hook = testing_support::ReadBytes(testing_support::BinFolder() + L"hook.dll");
    ASSERT_FALSE(hook.empty());
    // The search sees the file's texts: the taskbar's class name is there.
    EXPECT_TRUE(HoldsWideText(hook, L"Shell_TrayWnd"));
    EXPECT_FALSE(HoldsWideText(hook, L"Tempovia.TrayClock.Inspect"));
    EXPECT_EQ(hook.find("InspectTrayClock"), std::string::npos);
}

}  // namespace
