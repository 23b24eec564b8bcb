// Writes PNG files for the loader tests, chunk by chunk, so that both sound
// files of every layout and damaged ones can be made exactly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace png_test {

inline constexpr uint8_t kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgba = 6;

struct PngPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 8;
    uint8_t colourType = kRgba;
    bool interlaced = false;
    // width x height x channels samples, top row first (palette: indices).
    std::vector<uint16_t> samples;
    std::string palette;       // PLTE data: red, green, blue a entry
    std::string transparency;  // tRNS data, written when not empty
};

int Channels(uint8_t colourType);

std::string Signature();
// Length, type, data and the CRC over type and data.
std::string Chunk(const std::string& type, const std::string& data);
std::string IhdrData(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType, bool interlaced);
// The filtered (filter type 0) scan lines of the picture, Adam7 passes when interlaced.
std::string ScanLines(const PngPicture& picture);
std::string Deflate(const std::string& raw);

// A whole file: signature, IHDR, PLTE, tRNS, one IDAT, IEND.
std::string MakePng(const PngPicture& picture);

// Byte offset of the first chunk of the given type in a file, or npos.
size_t FindChunk(const std::string& file, const std::string& type);

}  // namespace png_test
