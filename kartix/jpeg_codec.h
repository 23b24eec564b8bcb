// The libjpeg side of the map textures: whole-file decoding into a block and
// encoding from one. Kept in plain C-style functions with plain locals, since
// the library's error exit jumps back with longjmp past anything in between.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

struct JpegDecodeJob {
    int maxWidth;   // below 1 (either): no maxima
    int maxHeight;
    // Without maxima: the most bytes the block and the library's own buffers
    // may take; 0 keeps the sides within kMaxImageSide instead.
    uint64_t memoryLimit;
    // The file's length: a picture whose claim its data cannot hold is refused.
    uint64_t fileBytes;
    // Asked on every row and scan the library works through: true cuts the
    // decode short as a failure. Null: never.
    bool (*stopRequested)();
    // Out: the block (malloc'd, rows bottom-up, the picture in its lower left
    // corner, the rest zero) and its sides.
    uint8_t* pixels;
    int imageWidth;
    int imageHeight;
    int storedWidth;
    int storedHeight;
    int components;
};

struct JpegEncodeJob {
    const uint8_t* pixels;  // rows bottom-up
    size_t rowBytes;
    int width;
    int height;
    int quality;
};

// False on any decoding error or warning (damaged data), a picture that does
// not fit the maxima or the memory, more scans than a picture needs, no memory, or a
// stop requested; nothing is left allocated then. Without maxima a four-component
// (CMYK or YCCK) picture comes out as RGB.
bool DecodeJpegFile(FILE* file, JpegDecodeJob* job);
// 3-component RGB, baseline, rows written from the top of the picture.
bool EncodeJpegFile(FILE* file, const JpegEncodeJob* job);

// Block side for a picture side: 16 doubled while below both the maximum and
// the picture side.
int PowerOfTwoBlockSide(int imageSide, int maximum);
// The power-of-two side a picture side is shrunk to for OpenGL: the block
// side, halved once when it has passed the picture side.
int FitSide(int imageSide, int maximum);
