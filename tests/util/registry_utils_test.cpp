// Registry reads with defaults, against a private key under HKCU of the test
// prefix that each case creates and removes.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/platform/registry_utils.h"

namespace {

constexpr WCHAR kTestKey[] = L"Software\\Tempovia\\UtilTests";

class RegistryUtils : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
        ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, kTestKey, &key_), ERROR_SUCCESS);
    }
    void TearDown() override {
        if (key_) RegCloseKey(key_);
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    }
    void Set(const WCHAR* name, DWORD type, const void* data, DWORD bytes) {
        ASSERT_EQ(RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    }
    HKEY key_ = nullptr;
};

TEST_F(RegistryUtils, StringMissingValueGivesDefaultEmptyValueGivesEmpty) {
    Set(L"Empty", REG_SZ, L"", sizeof(WCHAR));
    Set(L"NoData", REG_SZ, nullptr, 0);
    Set(L"Display", REG_SZ, L"(UTC) Somewhere", sizeof(L"(UTC) Somewhere"));
    WCHAR buf[64];

    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, kTestKey, L"Missing", buf, 64, L"fallback"));
    EXPECT_STREQ(buf, L"fallback");
    EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, kTestKey, L"Empty", buf, 64, L"fallback"));
    EXPECT_STREQ(buf, L"");
    EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, kTestKey, L"NoData", buf, 64, L"fallback"));
    EXPECT_STREQ(buf, L"");
    EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, kTestKey, L"Display", buf, 64, L"fallback"));
    EXPECT_STREQ(buf, L"(UTC) Somewhere");
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, L"Software\\Tempovia\\NoSuchKey", L"Display", buf, 64, nullptr));
    EXPECT_STREQ(buf, L"");
}

TEST_F(RegistryUtils, StringThatDoesNotFitOrIsNotTextGivesDefault) {
    // Stored without its terminator: exactly four characters.
    Set(L"Bare", REG_SZ, L"abcd", 4 * sizeof(WCHAR));
    DWORD number = 7;
    Set(L"Number", REG_DWORD, &number, sizeof(number));
    WCHAR buf[8];

    EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, kTestKey, L"Bare", buf, 5, L"x"));
    EXPECT_STREQ(buf, L"abcd");
    // No room for the terminator: never an unterminated buffer.
    wmemset(buf, L'#', 8);
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, kTestKey, L"Bare", buf, 4, L"x"));
    EXPECT_STREQ(buf, L"x");
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, kTestKey, L"Bare", buf, 3, L"x"));
    EXPECT_STREQ(buf, L"x");
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, kTestKey, L"Number", buf, 8, L"dflt"));
    EXPECT_STREQ(buf, L"dflt");
    // A default longer than the buffer is cut, still terminated.
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, kTestKey, L"Missing", buf, 4, L"longer default"));
    EXPECT_STREQ(buf, L"lon");
}

TEST_F(RegistryUtils, DwordOnlyFromExactlyFourBytes) {
    DWORD one = 1;
    ULONGLONG wide = 1;
    WORD shortValue = 1;
    Set(L"Dword", REG_DWORD, &one, sizeof(one));
    Set(L"Qword", REG_QWORD, &wide, sizeof(wide));
    Set(L"Short", REG_BINARY, &shortValue, sizeof(shortValue));

    EXPECT_EQ(RegReadDword(HKEY_CURRENT_USER, kTestKey, L"Dword", 9), 1u);
    EXPECT_EQ(RegReadDword(HKEY_CURRENT_USER, kTestKey, L"Qword", 9), 9u);
    EXPECT_EQ(RegReadDword(HKEY_CURRENT_USER, kTestKey, L"Short", 9), 9u);
    EXPECT_EQ(RegReadDword(HKEY_CURRENT_USER, kTestKey, L"Missing", 9), 9u);
    EXPECT_EQ(RegReadDword(HKEY_CURRENT_USER, L"Software\\Tempovia\\NoSuchKey", L"Dword", 9), 9u);
}

}  // namespace
