// A clock whose skin has a face picture stands with per-pixel alpha: its
// surface is see-through around the dial unless the clock is opaque.
#include "tests/desktop/desktop_fixture.h"

#include <cstdint>
#include <string>

namespace desktop_test {
namespace {

using Analogue = DesktopTest;

constexpr int kFace = 64;
constexpr int kStrip = 24;  // three hand bands of 8 rows

// A 24-bit picture: magenta (the key) around a white dial, dark hands below.
std::string DialBitmap() {
    const int width = kFace;
    const int height = kFace + kStrip;
    const int stride = (width * 3 + 3) & ~3;
    const uint32_t imageBytes = static_cast<uint32_t>(stride * height);
    std::string bytes;
    auto put16 = [&](uint16_t v) { bytes.append(reinterpret_cast<const char*>(&v), 2); };
    auto put32 = [&](uint32_t v) { bytes.append(reinterpret_cast<const char*>(&v), 4); };
    bytes += "BM";
    put32(14 + 40 + imageBytes);
    put32(0);
    put32(14 + 40);
    put32(40);
    put32(static_cast<uint32_t>(width));
    put32(static_cast<uint32_t>(height));
    put16(1);
    put16(24);
    put32(0);
    put32(imageBytes);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (int row = height - 1; row >= 0; --row) {  // bottom-up
        std::string line;
        for (int x = 0; x < width; ++x) {
            uint8_t r = 255, g = 0, b = 255;
            if (row < kFace) {
                const int dx = x - kFace / 2, dy = row - kFace / 2;
                if (dx * dx + dy * dy < (kFace / 2 - 2) * (kFace / 2 - 2)) r = g = b = 255;
            } else {
                const int band = (row - kFace) % 8;
                if (band >= 3 && band <= 4 && x >= kFace / 2 && x < kFace - 6) r = g = b = 20;
            }
            line.push_back(static_cast<char>(b));
            line.push_back(static_cast<char>(g));
            line.push_back(static_cast<char>(r));
        }
        line.resize(static_cast<size_t>(stride), '\0');
        bytes += line;
    }
    return bytes;
}

void CountAlpha(const CDibSection& s, int& clear, int& solid) {
    clear = solid = 0;
    const auto* bits = static_cast<const uint32_t*>(s.Bits());
    for (int i = 0; i < s.Width() * s.Height(); ++i) {
        const uint32_t a = bits[i] >> 24;
        if (a == 0) ++clear;
        if (a == 255) ++solid;
    }
}

TEST_F(Analogue, TheDialKeepsItsOwnAlpha) {
    const std::wstring folder = dir_.file(L"skins");
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\Dial").c_str(), nullptr);
    ASSERT_TRUE(testing_support::WriteBytes(folder + L"\\Dial\\clkface.bmp", DialBitmap()));
    InitClock(0, L"");
    InitClock(1, L"");
    CopyBounded(clocks_[0].skin, L"Dial");
    CopyBounded(clocks_[1].skin, L"Dial");
    clocks_[0].transparent = 1;
    ASSERT_TRUE(Create(2));

    desktop::CClockWnd* seeThrough = Window(0);
    ASSERT_NE(seeThrough, nullptr);
    EXPECT_FALSE(seeThrough->IsDigital());
    EXPECT_TRUE(seeThrough->PerPixelAlpha());
    EXPECT_EQ(seeThrough->ColorKey(), kNoColorKey);
    seeThrough->Paint(nullptr);
    int clear = 0, solid = 0;
    CountAlpha(seeThrough->Surface(), clear, solid);
    EXPECT_GT(clear, 0);  // around the dial
    EXPECT_GT(solid, 0);  // the dial
    EXPECT_EQ(clocks_[0].transparent, 1);  // the option is put back

    desktop::CClockWnd* opaque = Window(1);
    opaque->Paint(nullptr);
    EXPECT_EQ(clocks_[1].transparent, 0);
    CountAlpha(opaque->Surface(), clear, solid);
    EXPECT_EQ(clear, 0);

    // The analogue face's minimum is a small dial, not its full size.
    MINMAXINFO info{};
    SendMessageW(opaque->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 32);
    EXPECT_EQ(info.ptMinTrackSize.y, 32);
}

}  // namespace
}  // namespace desktop_test
