// A private program folder with its own tempovia.ini and default.ini, and a
// fixed user, for the settings store tests.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/settings/ini_paths.h"
#include "tests/support/test_support.h"

namespace store_test {

// UTF-16 little-endian with a byte-order mark, as the programs keep their files.
inline std::string Utf16File(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetSettingsFolder(dir.path());
        SetUserNameOverride(L"Bob");
    }
    void TearDown() override {
        SetUserNameOverride(nullptr);
        ResetSettingsFolder();
    }

    void WriteUserIni(const std::wstring& text) {
        ASSERT_TRUE(testing_support::WriteBytes(UserIniPath(), Utf16File(text)));
    }
    void WriteDefaultIni(const std::wstring& text) {
        ASSERT_TRUE(testing_support::WriteBytes(DefaultIniPath(), Utf16File(text)));
    }
    const wchar_t* user() const { return UserIniPath().c_str(); }
    const wchar_t* defaults() const { return DefaultIniPath().c_str(); }

    testing_support::TempDir dir;
};

}  // namespace store_test
