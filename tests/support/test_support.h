// Shared fixtures of the test programs: private temporary folders and files.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

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
// Copies the files of the shipped skin data/skins/<name> into <skins>\<name>
// (made when missing); false when nothing was copied.
bool CopyShippedSkin(const std::wstring& name, const std::wstring& skins);

// What a window shows in its client area, read back from its DC after it
// has painted everything pending (children included).
class ShownPixels {
public:
    explicit ShownPixels(HWND window);
    // The colour at a client point; CLR_INVALID outside.
    COLORREF At(int x, int y) const;
    // How many pixels of the rectangle differ from the colour.
    int CountOther(const RECT& r, COLORREF colour) const;
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
};

}  // namespace testing_support
