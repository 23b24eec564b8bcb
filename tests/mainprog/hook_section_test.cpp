// hook.dll as the main program links it: ordinal-only exports and the shared
// section, seen through this process's copy.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "common/taskbar/hook_exports.h"
#include "hook/hook_shared.h"

namespace {

const IMAGE_SECTION_HEADER* FindSection(HMODULE module, const char* name) {
    auto* base = reinterpret_cast<const BYTE*>(module);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* s = IMAGE_FIRST_SECTION(nt);
    for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
        if (std::strncmp(reinterpret_cast<const char*>(s[i].Name), name, IMAGE_SIZEOF_SHORT_NAME) == 0) return &s[i];
    }
    return nullptr;
}

HookShared* Shared() {
    HMODULE module = GetModuleHandleW(L"hook.dll");
    if (!module) return nullptr;
    const IMAGE_SECTION_HEADER* s = FindSection(module, kHookSharedSectionName);
    if (!s) return nullptr;
    return reinterpret_cast<HookShared*>(reinterpret_cast<BYTE*>(module) + s->VirtualAddress);
}

TEST(HookLibrary, ExportsByOrdinalOnly) {
    HMODULE module = GetModuleHandleW(L"hook.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(GetProcAddress(module, "InstallHook"), nullptr);
    EXPECT_EQ(GetProcAddress(module, "SetSharedStrings"), nullptr);
    EXPECT_NE(GetProcAddress(module, MAKEINTRESOURCEA(7)), nullptr);
    EXPECT_NE(GetProcAddress(module, MAKEINTRESOURCEA(8)), nullptr);
    EXPECT_NE(GetProcAddress(module, MAKEINTRESOURCEA(9)), nullptr);
}

TEST(HookLibrary, SharedSectionIsSharedWritableAndHoldsTheRecord) {
    HMODULE module = GetModuleHandleW(L"hook.dll");
    ASSERT_NE(module, nullptr);
    const IMAGE_SECTION_HEADER* s = FindSection(module, kHookSharedSectionName);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->Characteristics & IMAGE_SCN_MEM_SHARED);
    EXPECT_TRUE(s->Characteristics & IMAGE_SCN_MEM_WRITE);
    EXPECT_GE(s->Misc.VirtualSize, kHookSharedBytes);
}

TEST(HookLibrary, SharedStringsAreBounded) {
    HookShared* shared = Shared();
    ASSERT_NE(shared, nullptr);
    std::string line(300, 'c');
    line[0] = '\xE9';  // each byte widened on its own
    SetSharedStrings(L"C:\\Program Files\\Tempovia\\", line.c_str());
    EXPECT_EQ(std::wcslen(shared->commandLine), kSharedCommandLineMax);
    EXPECT_EQ(shared->commandLine[0], static_cast<wchar_t>(0xE9));
    EXPECT_STREQ(shared->programFolder, L"C:\\Program Files\\Tempovia\\");
    SetSharedStrings(std::wstring(400, L'f').c_str(), nullptr);
    EXPECT_STREQ(shared->commandLine, L"");
    EXPECT_EQ(std::wcslen(shared->programFolder), kSharedFolderChars - 1);
    SetSharedStrings(nullptr, "/nh");
    EXPECT_STREQ(shared->commandLine, L"/nh");
    EXPECT_STREQ(shared->programFolder, L"");
}

TEST(HookLibrary, RemoveWithoutInstallOnlyClears) {
    HookShared* shared = Shared();
    ASSERT_NE(shared, nullptr);
    shared->mainWindow = reinterpret_cast<HWND>(0x1234);
    shared->module = reinterpret_cast<HINSTANCE>(0x5678);
    RemoveHook();
    EXPECT_EQ(shared->hook, nullptr);
    EXPECT_EQ(shared->mainWindow, nullptr);
    EXPECT_EQ(shared->module, nullptr);
    EXPECT_EQ(shared->clockWindow, nullptr);
    EXPECT_EQ(shared->stockProc, nullptr);
    EXPECT_EQ(shared->taskbar, nullptr);
}

}  // namespace
