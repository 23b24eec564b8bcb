// The programs start without loading the libraries that only a button or a
// download needs: they are bound on first use, not imported.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/program_folder.h"
#include "tests/support/test_support.h"

namespace {

// The names of the DLLs a program file imports at load time, upper-cased.
std::vector<std::string> ImportedDlls(const std::string& image) {
    std::vector<std::string> names;
    auto at = [&](size_t offset, size_t size) { return offset + size <= image.size() ? image.data() + offset : nullptr; };
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0, sizeof(IMAGE_DOS_HEADER)));
    if (!dos) return names;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS64)));
    if (!nt) return names;
    const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
        at(dos->e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader,
           nt->FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER)));
    if (!sections) return names;
    auto fileOffset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return image.size();
    };
    const DWORD table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (size_t d = fileOffset(table);; d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(d, sizeof(IMAGE_IMPORT_DESCRIPTOR)));
        if (!entry || entry->Name == 0) break;
        const char* name = at(fileOffset(entry->Name), 1);
        if (!name) break;
        std::string upper(name, strnlen(name, image.data() + image.size() - name));
        for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        names.push_back(upper);
    }
    return names;
}

TEST(StartImports, SettingsProgramLoadsTheShellAndTheCommonDialogsOnlyWhenUsed) {
    const std::vector<std::string> dlls =
        ImportedDlls(testing_support::ReadBytes(testing_support::BinFolder() + L"settings.exe"));
    ASSERT_FALSE(dlls.empty());
    EXPECT_NE(std::find(dlls.begin(), dlls.end(), "USER32.DLL"), dlls.end());
    EXPECT_EQ(std::find(dlls.begin(), dlls.end(), "SHELL32.DLL"), dlls.end());
    EXPECT_EQ(std::find(dlls.begin(), dlls.end(), "COMDLG32.DLL"), dlls.end());
}

TEST(StartImports, MainProgramLoadsWinInetOnlyWhenItDownloads) {
    const std::vector<std::string> dlls =
        ImportedDlls(testing_support::ReadBytes(testing_support::BinFolder() + L"tempovia.exe"));
    ASSERT_NE(std::find(dlls.begin(), dlls.end(), "USER32.DLL"), dlls.end());
    EXPECT_EQ(std::find(dlls.begin(), dlls.end(), "WININET.DLL"), dlls.end());
}

}  // namespace
