// Shared fixtures of the test programs: private temporary folders and files.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace testing_support {

// A fresh folder under the prefix's temporary folder, removed with its files
// when the object goes. Paths end without a backslash.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& path() const { return path_; }
    // path() + "\" + name
    std::wstring file(std::wstring_view name) const;

private:
    std::wstring path_;
};

// Writes bytes exactly as given (no newline translation).
bool WriteBytes(const std::wstring& path, std::string_view bytes);
std::string ReadBytes(const std::wstring& path);

// The repository's folder as a Windows path (Wine's Z: drive).
std::wstring SourcePath(std::wstring_view relative);

}  // namespace testing_support
