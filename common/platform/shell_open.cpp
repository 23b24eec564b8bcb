#include "common/platform/shell_open.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "common/platform/system_seam.h"

namespace {

constexpr size_t kMaxPathPart = 259;

bool PathExists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

bool ShellOpen(const wchar_t* commandLine) {
    if (!commandLine || !*commandLine) return false;

    // Only the program part is limited to a path's length; the arguments come
    // from the whole text.
    wchar_t part[kMaxPathPart + 1];
    size_t length = wcsnlen(commandLine, kMaxPathPart);
    wmemcpy(part, commandLine, length);
    part[length] = L'\0';

    while (!PathExists(part)) {
        wchar_t* blank = wcsrchr(part, L' ');
        if (!blank) return false;
        *blank = L'\0';
        length = static_cast<size_t>(blank - part);
    }

    wchar_t full[MAX_PATH];
    wchar_t* namePart = nullptr;
    DWORD n = GetFullPathNameW(part, MAX_PATH, full, &namePart);
    if (n == 0 || n >= MAX_PATH) return false;

    const wchar_t* arguments = commandLine + length;
    while (*arguments == L' ') ++arguments;

    std::wstring folder(full);
    size_t slash = folder.find_last_of(L"\\/");
    if (slash != std::wstring::npos) {
        // A drive root keeps its backslash ("C:\").
        folder.resize(slash == 2 && folder[1] == L':' ? slash + 1 : slash);
    } else {
        folder.clear();
    }

    HINSTANCE result = System().ShellExecuteOpen(nullptr, L"open", full, *arguments ? arguments : nullptr,
                                                 folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
