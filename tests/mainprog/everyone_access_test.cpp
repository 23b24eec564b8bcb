#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>

#include "common/records/protocol.h"
#include "common/platform/security_utils.h"

namespace {

TEST(EveryoneAccess, OneEntryForTheWorldWithTheMask) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    DWORD status = 12345;
    ASSERT_TRUE(GrantEveryoneAccess(event, kExitEventAccess, &status));
    EXPECT_EQ(status, static_cast<DWORD>(ERROR_SUCCESS));

    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_EQ(GetSecurityInfo(event, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                              &sd),
              static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_NE(dacl, nullptr);
    EXPECT_EQ(dacl->AceCount, 1);
    void* ace = nullptr;
    ASSERT_TRUE(GetAce(dacl, 0, &ace));
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_EQ(allowed->Mask, 0x1F0003u);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    EXPECT_TRUE(EqualSid(everyone, &allowed->SidStart));
    FreeSid(everyone);
    LocalFree(sd);
    CloseHandle(event);
}

TEST(EveryoneAccess, NullOrInvalidHandleIsRefused) {
    DWORD status = 0;
    EXPECT_FALSE(GrantEveryoneAccess(nullptr, kExitEventAccess, &status));
    EXPECT_EQ(status, static_cast<DWORD>(ERROR_INVALID_HANDLE));
    status = 0;
    EXPECT_FALSE(GrantEveryoneAccess(INVALID_HANDLE_VALUE, kExitEventAccess, &status));
    EXPECT_EQ(status, static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(GrantEveryoneAccess(nullptr, kExitEventAccess, nullptr));
}

}  // namespace
