// The timer panel's button image, shared by the one panel for the whole run.
#include <cstdint>
#include <string>

#include "common/graphics/pixel_buffer.h"
#include "common/settings/ini_paths.h"
#include "common/records/clock_table.h"
#include "common/graphics/image_dib.h"
#include "tempovia/panels/timer_panel.h"

namespace panels {
namespace {

CDibSection g_image;
std::wstring g_folder;

std::wstring ImageFolder() {
    if (!g_folder.empty()) return g_folder;
    const size_t n = wcsnlen(g_settings.programFolder, std::size(g_settings.programFolder));
    if (n > 0) return std::wstring(g_settings.programFolder, n);
    return SettingsFolder();
}

// Half opaque at least, so that the whole panel catches the mouse.
uint32_t RaiseAlpha(uint32_t pixel) {
    const uint32_t a = pixel >> 24;
    return ((128 + a * 127 / 255) << 24) | (pixel & 0x00FFFFFF);
}

}  // namespace

void SetButtonImageFolder(const wchar_t* folder) {
    g_folder = folder ? folder : L"";
    if (!g_folder.empty() && g_folder.back() != L'\\') g_folder += L'\\';
}

bool LoadButtonImage() {
    if (g_image.IsValid()) return true;
    PixelBuffer picture;
    const std::wstring path = ImageFolder() + kButtonImageName;
    if (!LoadImageDib(picture, path.c_str())) return false;
    const int width = picture.GetWidth();
    const int height = picture.GetHeight() < 0 ? -picture.GetHeight() : picture.GetHeight();
    // Three columns and two rows of at least one pixel each.
    if (picture.GetBitCount() != 32 || width < 3 || height < 2) return false;
    if (!g_image.Create(width, height)) return false;
    auto* bits = static_cast<uint32_t*>(g_image.Bits());
    // Both pictures count their rows from the bottom.
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            bits[static_cast<size_t>(row) * width + x] = RaiseAlpha(picture.GetPixel(x, row));
        }
    }
    GdiFlush();
    return true;
}

const CDibSection& ButtonImage() { return g_image; }

SIZE ButtonCellSize() {
    if (!g_image.IsValid()) return SIZE{0, 0};
    return SIZE{g_image.Width() / 3, g_image.Height() / 2};
}

void FreeButtonImage() { g_image.Destroy(); }

}  // namespace panels
