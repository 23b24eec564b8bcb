// Damaged, foreign and missing files fail cleanly: false, an empty buffer,
// no file left open and no memory kept.
#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include "common/graphics/image_limits.h"
#include "tests/png/png_test_util.h"

using namespace png_test;
using testing_support::TempDir;

namespace {

PngPicture Small(bool interlaced = false) {
    PngPicture p;
    p.width = 6;
    p.height = 5;
    p.colourType = kRgba;
    p.interlaced = interlaced;
    for (int i = 0; i < 6 * 5 * 4; ++i) p.samples.push_back(static_cast<uint16_t>(i * 3));
    return p;
}

// A file with the given IHDR and a small IDAT; the decoder must refuse the
// picture before it reaches the pixel data.
std::string WithHeader(uint32_t width, uint32_t height, uint8_t depth, uint8_t type) {
    return Signature() + Chunk("IHDR", IhdrData(width, height, depth, type, false)) +
           Chunk("IDAT", Deflate(std::string(64, '\0'))) + Chunk("IEND", "");
}

class PngBadInput : public ::testing::Test {
protected:
    // Loads into a buffer that held a picture, which must be gone afterwards.
    bool Load(const std::string& bytes) {
        EXPECT_TRUE(LoadBytes(dir, MakePng(Small()), buffer, L"good.png"));
        bool loaded = LoadBytes(dir, bytes, buffer);
        if (!loaded) {
            EXPECT_FALSE(buffer.IsValid());
            EXPECT_EQ(buffer.GetWidth(), 0);
            EXPECT_EQ(buffer.GetHeight(), 0);
            EXPECT_EQ(buffer.BlockSize(), 0u);
        }
        return loaded;
    }

    TempDir dir;
    PixelBuffer buffer;
};

TEST_F(PngBadInput, MissingOrUnnamedFiles) {
    EXPECT_FALSE(LoadPngFile(buffer, dir.file(L"absent.png").c_str()));
    EXPECT_FALSE(LoadPngFile(buffer, dir.path().c_str()));  // a folder
    EXPECT_FALSE(LoadPngFile(buffer, L""));
    EXPECT_FALSE(LoadPngFile(buffer, nullptr));
    EXPECT_FALSE(buffer.IsValid());
}

TEST_F(PngBadInput, EmptyAndForeignFiles) {
    EXPECT_FALSE(Load(""));
    EXPECT_FALSE(Load("BM6 this is a bitmap, not a PNG"));
    EXPECT_FALSE(Load(std::string(4096, '\0')));
    EXPECT_FALSE(Load("\x89PNG"));
}

TEST_F(PngBadInput, EveryDamagedSignatureByte) {
    std::string good = MakePng(Small());
    for (size_t i = 0; i < 8; ++i) {
        std::string bad = good;
        bad[i] = static_cast<char>(bad[i] ^ 0x20);
        EXPECT_FALSE(Load(bad)) << "byte " << i;
    }
}

TEST_F(PngBadInput, EveryTruncation) {
    for (bool interlaced : {false, true}) {
        std::string good = MakePng(Small(interlaced));
        ASSERT_TRUE(Load(good));
        for (size_t length = 0; length < good.size(); ++length)
            EXPECT_FALSE(Load(good.substr(0, length))) << "cut at " << length << " of " << good.size();
    }
}

TEST_F(PngBadInput, CrcErrorsInCriticalChunks) {
    std::string good = MakePng(Small());
    for (const char* type : {"IHDR", "IDAT", "IEND"}) {
        std::string bad = good;
        size_t at = FindChunk(bad, type);
        ASSERT_NE(at, std::string::npos);
        size_t length = (static_cast<uint8_t>(bad[at + 2]) << 8) | static_cast<uint8_t>(bad[at + 3]);
        bad[at + 8 + length] = static_cast<char>(bad[at + 8 + length] ^ 1);  // first CRC byte
        EXPECT_FALSE(Load(bad)) << type;
    }
    // A damaged byte of pixel data no longer matches its CRC.
    std::string bad = good;
    size_t idat = FindChunk(bad, "IDAT");
    bad[idat + 10] = static_cast<char>(bad[idat + 10] ^ 0x40);
    EXPECT_FALSE(Load(bad));
}

TEST_F(PngBadInput, DamagedAncillaryChunkIsSkipped) {
    std::string good = MakePng(Small());
    size_t idat = FindChunk(good, "IDAT");
    std::string text = Chunk("tEXt", std::string("Comment\0hello", 13));
    text[text.size() - 1] = static_cast<char>(text[text.size() - 1] ^ 1);
    EXPECT_TRUE(Load(good.substr(0, idat) + text + good.substr(idat)));
}

TEST_F(PngBadInput, ImpossibleHeaders) {
    EXPECT_FALSE(Load(WithHeader(0, 5, 8, kRgba)));
    EXPECT_FALSE(Load(WithHeader(5, 0, 8, kRgba)));
    EXPECT_FALSE(Load(WithHeader(0x7FFFFFFF, 1, 8, kRgba)));
    EXPECT_FALSE(Load(WithHeader(1, 0x80000000u, 8, kGrey)));
    EXPECT_FALSE(Load(WithHeader(0xFFFFFFFFu, 0xFFFFFFFFu, 16, kRgba)));
    EXPECT_FALSE(Load(WithHeader(4, 4, 3, kGrey)));   // no such depth
    EXPECT_FALSE(Load(WithHeader(4, 4, 8, 5)));       // no such colour type
    EXPECT_FALSE(Load(WithHeader(4, 4, 16, kPalette)));
    EXPECT_FALSE(Load(WithHeader(4, 4, 8, kPalette)));  // no PLTE
}

TEST_F(PngBadInput, PicturesTooLargeForOneBlockAreRefusedBeforeDecoding) {
    // 100,000 x 100,000 passes the decoder's own limits but not one block.
    DWORD start = GetTickCount();
    EXPECT_FALSE(Load(WithHeader(100000, 100000, 8, kRgba)));
    EXPECT_FALSE(Load(WithHeader(1000000, 600, 8, kRgba)));
    EXPECT_LT(GetTickCount() - start, 5000u);
}

TEST_F(PngBadInput, PicturesBeyondTheLargestSideAreRefused) {
    // Small, sound files: one side alone decides.
    PngPicture line;
    line.colourType = kGrey;
    line.width = static_cast<uint32_t>(kMaxImageSide) + 1;
    line.height = 1;
    line.samples.assign(line.width, 0x80);
    EXPECT_FALSE(Load(MakePng(line)));
    PngPicture column = line;
    std::swap(column.width, column.height);
    EXPECT_FALSE(Load(MakePng(column)));
    line.width = static_cast<uint32_t>(kMaxImageSide);
    line.samples.resize(line.width);
    EXPECT_TRUE(Load(MakePng(line)));
    EXPECT_EQ(buffer.GetWidth(), kMaxImageSide);
    // A few bytes that claim 20000 x 20000.
    EXPECT_FALSE(Load(WithHeader(20000, 20000, 8, kRgba)));
}

TEST_F(PngBadInput, DamagedPixelData) {
    PngPicture p = Small();
    std::string head = Signature() + Chunk("IHDR", IhdrData(p.width, p.height, 8, kRgba, false));
    std::string lines = ScanLines(p);
    std::string deflated = Deflate(lines);
    // Not a zlib stream at all.
    EXPECT_FALSE(Load(head + Chunk("IDAT", std::string(40, '\x55')) + Chunk("IEND", "")));
    // Too few rows.
    EXPECT_FALSE(Load(head + Chunk("IDAT", Deflate(lines.substr(0, lines.size() / 2))) + Chunk("IEND", "")));
    // The stream cut short, then the end of the file.
    EXPECT_FALSE(Load(head + Chunk("IDAT", deflated.substr(0, deflated.size() / 2)) + Chunk("IEND", "")));
    // An unknown filter type on the first row.
    std::string badFilter = lines;
    badFilter[0] = '\x09';
    EXPECT_FALSE(Load(head + Chunk("IDAT", Deflate(badFilter)) + Chunk("IEND", "")));
    // No pixel data at all.
    EXPECT_FALSE(Load(head + Chunk("IEND", "")));
}

TEST_F(PngBadInput, FailuresKeepNoFilesOrMemory) {
    // A picture of 1 MB that fails only at its last bytes: the block and the
    // row table exist by then.
    PngPicture big;
    big.width = 512;
    big.height = 512;
    big.colourType = kRgba;
    big.samples.assign(512 * 512 * 4, 0x7F);
    std::string good = MakePng(big);
    std::string cut = good.substr(0, good.size() - 20);
    std::wstring path = dir.file(L"cut.png");
    ASSERT_TRUE(testing_support::WriteBytes(path, cut));
    ASSERT_FALSE(LoadPngFile(buffer, path.c_str()));

    DWORD handlesBefore = 0, handlesAfter = 0;
    PROCESS_MEMORY_COUNTERS_EX before = {}, after = {};
    before.cb = after.cb = sizeof before;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &handlesBefore));
    ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&before),
                                     sizeof before));
    for (int i = 0; i < 150; ++i) ASSERT_FALSE(LoadPngFile(buffer, path.c_str()));
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &handlesAfter));
    ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&after),
                                     sizeof after));
    EXPECT_EQ(handlesAfter, handlesBefore);
    // 150 lost blocks would be 150 MB.
    EXPECT_LT(after.PrivateUsage, before.PrivateUsage + 32u * 1024u * 1024u);
    // The file is closed: it can be deleted at once.
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

}  // namespace
