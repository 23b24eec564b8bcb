// Helpers of the skin tests: a private program folder with a skins folder,
// small skins written into it, and the shipped skins copied from data/.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "common/settings/ini_paths.h"
#include "tests/faces/faces_fixtures.h"
#include "tests/support/test_support.h"

namespace skins_test {

using PixelFn = std::function<COLORREF(int x, int y)>;

// A 24-bit bottom-up BMP; pixel(x, y) counts y from the top.
inline std::string BmpBytes(int width, int height, const PixelFn& pixel) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const uint32_t image = static_cast<uint32_t>(rowBytes * height);
    std::string out;
    auto put16 = [&](uint16_t v) { out.append(reinterpret_cast<const char*>(&v), 2); };
    auto put32 = [&](uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); };
    out += "BM";
    put32(14 + 40 + image);
    put32(0);
    put32(14 + 40);
    put32(40);
    put32(static_cast<uint32_t>(width));
    put32(static_cast<uint32_t>(height));
    put16(1);
    put16(24);
    put32(0);
    put32(image);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            COLORREF c = pixel(x, y);
            row += static_cast<char>(GetBValue(c));
            row += static_cast<char>(GetGValue(c));
            row += static_cast<char>(GetRValue(c));
        }
        row.resize(static_cast<size_t>(rowBytes), '\0');
        out += row;
    }
    return out;
}

// A program folder whose skins folder the skins load from while it lives.
class SkinFolder {
public:
    SkinFolder() {
        SetSettingsFolder(dir_.path());
        CreateDirectoryW(dir_.file(L"skins").c_str(), nullptr);
    }
    ~SkinFolder() { ResetSettingsFolder(); }
    SkinFolder(const SkinFolder&) = delete;
    SkinFolder& operator=(const SkinFolder&) = delete;

    // skins\<name>\, made when missing; no trailing backslash.
    std::wstring Skin(const std::wstring& name) const {
        std::wstring folder = dir_.file(L"skins") + L"\\" + name;
        CreateDirectoryW(folder.c_str(), nullptr);
        return folder;
    }
    bool Write(const std::wstring& skin, const std::wstring& file, const std::string& bytes) const {
        return testing_support::WriteBytes(Skin(skin) + L"\\" + file, bytes);
    }
    bool WriteBmp(const std::wstring& skin, const std::wstring& file, int width, int height,
                  const PixelFn& pixel) const {
        return Write(skin, file, BmpBytes(width, height, pixel));
    }
    // The shipped skin of that name, copied file by file from data/skins.
    bool CopyShipped(const std::wstring& name) const {
        return testing_support::CopyShippedSkin(name, dir_.file(L"skins"));
    }
    const testing_support::TempDir& dir() const { return dir_; }

private:
    testing_support::TempDir dir_;
};

// Colours of the shipped skins (data/tools/gen_skins.py).
inline constexpr COLORREF kSlate = RGB(30, 42, 51);
inline constexpr COLORREF kMint = RGB(120, 230, 200);
inline constexpr COLORREF kUnlit = RGB(40, 56, 66);
inline constexpr COLORREF kAround = RGB(232, 238, 242);
inline constexpr COLORREF kDial = RGB(250, 246, 235);
inline constexpr COLORREF kHourHand = RGB(34, 48, 78);
inline constexpr COLORREF kMinuteHand = RGB(52, 70, 108);
inline constexpr COLORREF kSecondsHand = RGB(206, 48, 40);

// A surface pixel (y from the top) as COLORREF.
inline COLORREF ColourAt(const CDibSection& dib, int x, int y) {
    uint32_t p = faces_test::PixelAt(dib, x, y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// Colours within a small distance, for pixels that went through blending.
inline bool Near(COLORREF a, COLORREF b, int tolerance = 24) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace skins_test
