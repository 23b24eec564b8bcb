// Decoding JPEG files into texture blocks, saving them back, alpha, box
// rescaling and cutting into tiles; bad files fail cleanly.
#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <string>

#include "common/graphics/image_limits.h"
#include "common/graphics/jpeg_bounds.h"
#include "kartix/gl_texture.h"
#include "kartix/jpeg_texture.h"
#include "tests/kartix/test_jpeg_writer.h"
#include "tests/support/test_support.h"

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

// Left half red, right half blue; top half brighter green.
uint32_t Quadrants(int x, int y, int w, int h) {
    const uint32_t red = x < w / 2 ? 0xE0 : 0x10;
    const uint32_t green = y < h / 2 ? 0xC0 : 0x20;
    const uint32_t blue = x < w / 2 ? 0x10 : 0xE0;
    return (red << 16) | (green << 8) | blue;
}

const uint8_t* PixelAt(const CJpegTexture& t, int x, int yFromBottom) {
    return t.pixels + static_cast<size_t>(yFromBottom) * t.RowBytes() + static_cast<size_t>(x) * t.components;
}

}  // namespace

TEST(JpegTexture, LoadsRgbBottomUpWithTheWidthRoundedToFour) {
    TempDir dir;
    const std::wstring path = dir.file(L"odd.jpg");
    ASSERT_TRUE(WriteTestJpeg(path, 37, 21, false, [](int x, int y) { return Quadrants(x, y, 37, 21); }));
    CJpegTexture t;
    ASSERT_EQ(t.Load(path.c_str(), 0, 0), 1);
    EXPECT_EQ(t.imageWidth, 37);
    EXPECT_EQ(t.imageHeight, 21);
    EXPECT_EQ(t.storedWidth, 40);
    EXPECT_EQ(t.storedHeight, 21);
    EXPECT_EQ(t.components, 3);
    // Row 0 is the bottom of the picture: dark green there, bright at the top.
    const uint8_t* bottomLeft = PixelAt(t, 2, 1);
    EXPECT_TRUE(Near(bottomLeft[0], 0xE0, 12));
    EXPECT_TRUE(Near(bottomLeft[1], 0x20, 12));
    const uint8_t* topRight = PixelAt(t, 34, 19);
    EXPECT_TRUE(Near(topRight[2], 0xE0, 12));
    EXPECT_TRUE(Near(topRight[1], 0xC0, 12));
    // The padding columns are zero, not left-over memory.
    EXPECT_EQ(PixelAt(t, 38, 5)[0], 0);
    EXPECT_EQ(PixelAt(t, 39, 5)[2], 0);

    int w = 0, h = 0, c = 0;
    EXPECT_TRUE(CJpegTexture::ReadHeader(path.c_str(), w, h, c));
    EXPECT_EQ(w, 37);
    EXPECT_EQ(h, 21);
    EXPECT_EQ(c, 3);
}

TEST(JpegTexture, MaximaGivePowerOfTwoBlocksAndRefuseLargerPictures) {
    TempDir dir;
    const std::wstring fits = dir.file(L"fits.jpg");
    const std::wstring wide = dir.file(L"wide.jpg");
    ASSERT_TRUE(WriteTestJpeg(fits, 100, 200, false, [](int, int y) { return y < 100 ? 0x00FF00u : 0xFF0000u; }));
    ASSERT_TRUE(WriteTestJpeg(wide, 129, 20, false, [](int, int) { return 0x808080u; }));
    CJpegTexture t;
    ASSERT_EQ(t.Load(fits.c_str(), 128, 256), 1);
    EXPECT_EQ(t.storedWidth, 128);
    EXPECT_EQ(t.storedHeight, 256);
    EXPECT_EQ(t.imageWidth, 100);
    EXPECT_EQ(t.imageHeight, 200);
    // The picture sits in the lower left corner, so that texture coordinates
    // from 0 to its share of the block show it.
    EXPECT_GT(PixelAt(t, 50, 0)[0], 0xE0);      // bottom row: red
    EXPECT_GT(PixelAt(t, 50, 199)[1], 0xE0);    // top row: green
    EXPECT_EQ(PixelAt(t, 50, 230)[1], 0);       // above the picture: padding
    EXPECT_EQ(PixelAt(t, 120, 10)[0], 0);       // right of it: padding

    EXPECT_EQ(t.Load(wide.c_str(), 128, 256), 0);
    EXPECT_FALSE(t.HasPixels());
    EXPECT_EQ(t.Load(wide.c_str(), 256, 256), 1);
    EXPECT_EQ(t.storedWidth, 256);
    EXPECT_EQ(t.storedHeight, 32);
}

TEST(JpegTexture, GreyFilesKeepOneComponent) {
    TempDir dir;
    const std::wstring path = dir.file(L"grey.jpg");
    ASSERT_TRUE(WriteTestJpeg(path, 16, 8, true, [](int x, int) { return x < 8 ? 0x000000u : 0xFFFFFFu; }));
    CJpegTexture t;
    ASSERT_EQ(t.Load(path.c_str(), 0, 0), 1);
    EXPECT_EQ(t.components, 1);
    EXPECT_LT(PixelAt(t, 1, 3)[0], 10);
    EXPECT_GT(PixelAt(t, 14, 3)[0], 245);
    // Widened, a grey pixel stays grey.
    ASSERT_TRUE(t.AddAlpha(200));
    EXPECT_EQ(t.components, 4);
    const uint8_t* p = PixelAt(t, 14, 3);
    EXPECT_EQ(p[0], p[1]);
    EXPECT_EQ(p[1], p[2]);
    EXPECT_EQ(p[3], 200);
    EXPECT_FALSE(t.AddAlpha(1));  // already four components
}

TEST(JpegTexture, BadFilesFailWithoutPixels) {
    TempDir dir;
    const std::wstring good = dir.file(L"good.jpg");
    ASSERT_TRUE(WriteTestJpeg(good, 64, 64, false, [](int x, int y) { return Quadrants(x, y, 64, 64); }));
    const std::string bytes = ReadBytes(good);
    ASSERT_GT(bytes.size(), 200u);

    CJpegTexture t;
    EXPECT_EQ(t.Load(dir.file(L"missing.jpg").c_str(), 0, 0), 0);
    EXPECT_EQ(t.Load(nullptr, 0, 0), 0);
    const std::wstring text = dir.file(L"text.jpg");
    ASSERT_TRUE(WriteBytes(text, "this is not a picture at all\r\n"));
    EXPECT_EQ(t.Load(text.c_str(), 0, 0), 0);
    EXPECT_FALSE(t.HasPixels());
    const std::wstring empty = dir.file(L"empty.jpg");
    ASSERT_TRUE(WriteBytes(empty, ""));
    EXPECT_EQ(t.Load(empty.c_str(), 0, 0), 0);
    // Cut inside the header: an error, reported as such.
    const std::wstring header = dir.file(L"header.jpg");
    ASSERT_TRUE(WriteBytes(header, bytes.substr(0, 40)));
    EXPECT_EQ(t.Load(header.c_str(), 0, 0), 0);
    EXPECT_FALSE(t.HasPixels());
    int w = 0, h = 0, c = 0;
    EXPECT_FALSE(CJpegTexture::ReadHeader(header.c_str(), w, h, c));
    // Cut inside the picture data, or garbage over the second half of the
    // scan: the library would fill the rest with grey and carry on with a
    // warning; that counts as a failure.
    const size_t scan = bytes.find("\xFF\xDA");
    ASSERT_NE(scan, std::string::npos);
    const size_t midScan = scan + (bytes.size() - scan) / 2;
    std::string broken = bytes;
    for (size_t i = midScan; i < bytes.size() - 2; ++i) broken[i] = static_cast<char>(0xFF);
    for (const std::string& damaged : {bytes.substr(0, midScan), broken}) {
        const std::wstring path = dir.file(L"damaged.jpg");
        ASSERT_TRUE(WriteBytes(path, damaged));
        EXPECT_EQ(t.Load(path.c_str(), 0, 0), 0);
        EXPECT_EQ(t.LoadWhole(path.c_str(), 64u << 20), 0);
        EXPECT_FALSE(t.HasPixels());
    }
    // The limit holds the pixels and the decoder's own memory, never less.
    EXPECT_EQ(t.LoadWhole(good.c_str(), 64u * 64 * 3 + kJpegDecoderMemory - 1), 0);
    EXPECT_EQ(t.LoadWhole(good.c_str(), 64u * 64 * 3 + kJpegDecoderMemory), 1);
    // Each scan walks the whole picture: a file of more scans than any
    // encoder writes is stopped at the first one past the limit.
    const std::wstring scans = dir.file(L"scans.jpg");
    for (int count : {kMaxJpegScans, kMaxJpegScans + 1}) {
        ASSERT_TRUE(WriteTestJpeg(scans, 64, 64, true, [](int x, int y) { return Quadrants(x, y, 64, 64); }, 95, true,
                                  false, count));
        EXPECT_EQ(t.LoadWhole(scans.c_str(), 64u << 20), count <= kMaxJpegScans ? 1 : 0) << count;
    }
    // A good file still loads afterwards.
    EXPECT_EQ(t.Load(good.c_str(), 0, 0), 1);
    // A sound picture wider than any texture the map takes.
    const std::wstring wide = dir.file(L"wide.jpg");
    ASSERT_TRUE(WriteTestJpeg(wide, static_cast<int>(kMaxImageSide) + 8, 8, false, [](int, int) { return 0x808080u; }));
    EXPECT_EQ(t.Load(wide.c_str(), 0, 0), 0);
    EXPECT_FALSE(t.HasPixels());
}

TEST(JpegTexture, SaveWritesTheTopRowFirstAndOnlyRgb) {
    TempDir dir;
    const std::wstring source = dir.file(L"source.jpg");
    ASSERT_TRUE(WriteTestJpeg(source, 30, 18, false, [](int x, int y) { return Quadrants(x, y, 30, 18); }));
    CJpegTexture t;
    ASSERT_EQ(t.Load(source.c_str(), 0, 0), 1);
    ASSERT_EQ(t.storedWidth, 32);
    const std::wstring copy = dir.file(L"copy.jpg");
    ASSERT_TRUE(t.Save(copy.c_str(), 90));
    EXPECT_EQ(GetFileAttributesW((copy + L".new").c_str()), INVALID_FILE_ATTRIBUTES);
    CJpegTexture back;
    ASSERT_EQ(back.Load(copy.c_str(), 0, 0), 1);
    EXPECT_EQ(back.imageWidth, 30);  // the picture, not the padded block
    EXPECT_EQ(back.imageHeight, 18);
    EXPECT_TRUE(Near(PixelAt(back, 3, 16)[1], 0xC0, 16));  // top stays on top
    EXPECT_TRUE(Near(PixelAt(back, 3, 1)[1], 0x20, 16));

    EXPECT_FALSE(t.Save(dir.file(L"no\\such\\folder.jpg").c_str(), 90));
    ASSERT_TRUE(t.AddAlpha(255));
    EXPECT_FALSE(t.Save(dir.file(L"rgba.jpg").c_str(), 90));
    CJpegTexture empty;
    EXPECT_FALSE(empty.Save(dir.file(L"empty.jpg").c_str(), 90));
}

TEST(JpegTexture, RescaleAveragesBoxesAndShrinksTheBlock) {
    CJpegTexture t;
    // 6 x 2 grey block: values 0, 10, 20, ... per row.
    t.pixels = static_cast<uint8_t*>(std::malloc(8 * 2));
    t.imageWidth = 6;
    t.storedWidth = 8;
    t.imageHeight = t.storedHeight = 2;
    t.components = 1;
    for (int r = 0; r < 2; ++r)
        for (int x = 0; x < 8; ++x) t.pixels[r * 8 + x] = static_cast<uint8_t>(x < 6 ? x * 10 + r * 100 : 255);
    ASSERT_TRUE(t.RescaleTexture(3, 1));
    EXPECT_EQ(t.storedWidth, 3);
    EXPECT_EQ(t.imageWidth, 3);
    EXPECT_EQ(t.storedHeight, 1);
    // Pairs averaged (5, 25, 45 and 105, 125, 145), then the rows: the padding
    // (255) never enters.
    EXPECT_EQ(t.pixels[0], 55);
    EXPECT_EQ(t.pixels[1], 75);
    EXPECT_EQ(t.pixels[2], 95);
    EXPECT_FALSE(t.RescaleTexture(4, 1));  // never larger than the picture
    EXPECT_FALSE(t.RescaleTexture(0, 1));

    TempDir dir;
    const std::wstring path = dir.file(L"odd.jpg");
    ASSERT_TRUE(WriteTestJpeg(path, 100, 60, false, [](int x, int y) { return Quadrants(x, y, 100, 60); }));
    CJpegTexture odd;
    ASSERT_EQ(odd.Load(path.c_str(), 0, 0), 1);
    ASSERT_TRUE(odd.ShrinkToPowerOfTwo());
    EXPECT_EQ(odd.storedWidth, 64);
    EXPECT_EQ(odd.storedHeight, 32);
    EXPECT_TRUE(Near(PixelAt(odd, 5, 2)[0], 0xE0, 16));
    EXPECT_TRUE(Near(PixelAt(odd, 60, 30)[2], 0xE0, 16));
    EXPECT_TRUE(odd.ShrinkToPowerOfTwo());  // already there
}

TEST(JpegTexture, SplittingCutsHalvesAndTiles) {
    CJpegTexture tiles[8];
    CJpegTexture& t = tiles[0];
    // 8 x 4, one component: value = column + 16 x row.
    t.pixels = static_cast<uint8_t*>(std::malloc(32));
    t.imageWidth = t.storedWidth = 8;
    t.imageHeight = t.storedHeight = 4;
    t.components = 1;
    for (int r = 0; r < 4; ++r)
        for (int x = 0; x < 8; ++x) t.pixels[r * 8 + x] = static_cast<uint8_t>(x + 16 * r);
    tiles[5].pixels = static_cast<uint8_t*>(std::malloc(4));  // freed by the cut
    tiles[5].storedWidth = 2;
    ASSERT_TRUE(SplitTexture(tiles, 4, 2));
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(tiles[i].HasPixels()) << i;
        EXPECT_EQ(tiles[i].storedWidth, 2);
        EXPECT_EQ(tiles[i].storedHeight, 2);
        EXPECT_EQ(tiles[i].imageWidth, 2);
        const int column = i % 4, row = i / 4;
        // Lower left pixel of each tile.
        EXPECT_EQ(tiles[i].pixels[0], column * 2 + 16 * row * 2) << i;
        EXPECT_EQ(tiles[i].pixels[3], column * 2 + 1 + 16 * (row * 2 + 1)) << i;
    }

    CJpegTexture a, b;
    EXPECT_FALSE(SplitTextureHalf(a, b, true));  // nothing to cut
    EXPECT_FALSE(SplitTexture(tiles, 3, 2));     // not a power of two
    CJpegTexture none[8];
    EXPECT_FALSE(SplitTexture(none, 4, 2));
    // Too small to cut four ways: everything is freed.
    CJpegTexture small[8];
    small[0].pixels = static_cast<uint8_t*>(std::malloc(2));
    small[0].imageWidth = small[0].storedWidth = 2;
    small[0].imageHeight = small[0].storedHeight = 1;
    small[0].components = 1;
    EXPECT_FALSE(SplitTexture(small, 4, 2));
    for (const auto& tile : small) EXPECT_FALSE(tile.HasPixels());
}

TEST(GLTextureLoad, FitsToPowerOfTwoWithinTheMaxima) {
    TempDir dir;
    const std::wstring path = dir.file(L"map.jpg");
    ASSERT_TRUE(WriteTestJpeg(path, 300, 150, false, [](int x, int y) { return Quadrants(x, y, 300, 150); }));
    CGLTexture t;
    EXPECT_EQ(t.Load(path.c_str(), 0, 0), kTextureLoaded);
    EXPECT_EQ(t.storedWidth, 300);
    EXPECT_EQ(t.Load(path.c_str(), 1024, 1024), kTextureRescaled);
    EXPECT_EQ(t.storedWidth, 256);
    EXPECT_EQ(t.storedHeight, 128);
    EXPECT_EQ(t.Load(path.c_str(), 64, 16), kTextureRescaled);
    EXPECT_EQ(t.storedWidth, 64);
    EXPECT_EQ(t.storedHeight, 16);

    const std::wstring exact = dir.file(L"exact.jpg");
    ASSERT_TRUE(WriteTestJpeg(exact, 64, 32, false, [](int, int) { return 0x336699u; }));
    EXPECT_EQ(t.Load(exact.c_str(), 2048, 2048), kTextureLoaded);
    EXPECT_EQ(t.storedWidth, 64);
    // A picture narrower than the smallest side cannot be fitted.
    const std::wstring tiny = dir.file(L"tiny.jpg");
    ASSERT_TRUE(WriteTestJpeg(tiny, 5, 5, false, [](int, int) { return 0x336699u; }));
    EXPECT_EQ(t.Load(tiny.c_str(), 2048, 2048), kTextureLoadFailed);
    EXPECT_FALSE(t.HasPixels());
    EXPECT_EQ(t.Load(dir.file(L"none.jpg").c_str(), 64, 64), kTextureLoadFailed);
}

namespace {

SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof(counters));
    return counters.PrivateUsage;
}

}  // namespace

TEST(JpegTexture, RepeatedBadLoadsLeaveNoMemoryBehind) {
    TempDir dir;
    const std::wstring good = dir.file(L"good.jpg");
    ASSERT_TRUE(WriteTestJpeg(good, 512, 512, false, [](int x, int y) { return Quadrants(x, y, 512, 512); }));
    const std::string bytes = ReadBytes(good);
    // Scan data replaced by a marker the decoder rejects part-way through,
    // after the block is allocated.
    std::string bogus = bytes;
    const size_t at = bytes.size() / 2;
    bogus[at] = static_cast<char>(0xFF);
    bogus[at + 1] = static_cast<char>(0xC8);  // a start-of-frame in the middle of the scan
    const std::wstring bad = dir.file(L"bad.jpg");
    ASSERT_TRUE(WriteBytes(bad, bogus));
    const std::wstring cut = dir.file(L"cut.jpg");
    ASSERT_TRUE(WriteBytes(cut, bytes.substr(0, 300)));
    CGLTexture t;
    EXPECT_EQ(t.Load(bad.c_str(), 0, 0), 0);
    EXPECT_FALSE(t.HasPixels());
    for (int i = 0; i < 5; ++i) EXPECT_EQ(t.Load(bad.c_str(), 256, 256), 0);  // warm up the heap
    const SIZE_T before = PrivateBytes();
    for (int i = 0; i < 60; ++i) {
        EXPECT_EQ(t.Load(bad.c_str(), 256, 256), 0);
        EXPECT_EQ(t.Load(cut.c_str(), 0, 0), 0);
        CJpegTexture wide;
        EXPECT_EQ(wide.Load(good.c_str(), 128, 128), 0);  // too large for the block
    }
    t.Free(true);
    const SIZE_T after = PrivateBytes();
    // 60 leaked blocks would be at least 45 MB.
    EXPECT_LT(after, before + 8 * 1024 * 1024) << before << " -> " << after;
}
