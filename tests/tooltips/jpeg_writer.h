// Small JPEG files for the photo tests, written with libjpeg.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tooltips_test {

// Pixels top row first, 0x00RRGGBB each.
struct TestPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// Four solid quadrants (top-left, top-right, bottom-left, bottom-right).
TestPicture Quadrants(int width, int height, uint32_t tl, uint32_t tr, uint32_t bl, uint32_t br);

// The JPEG bytes of a picture: colour (4:4:4, quality 100) or greyscale.
std::string EncodeJpeg(const TestPicture& picture, bool greyscale = false);

}  // namespace tooltips_test
