// What a JPEG decode may take, judged from the header before decompression
// starts. A file only claims its sides: a few hundred bytes may claim a
// picture of gigabytes, a progressive file holds every coefficient of its
// picture while it is decoded, and each of its scans walks the whole picture.
#pragma once

#include <cstdint>

struct jpeg_decompress_struct;

// What the library may hold besides the pixels and a multi-scan picture's
// coefficients.
inline constexpr uint64_t kJpegDecoderMemory = 24ull * 1024 * 1024;
// No camera or map maker writes more than a few dozen scans.
inline constexpr int kMaxJpegScans = 300;

// The bytes of every coefficient block the header claims (after
// jpeg_read_header).
uint64_t JpegCoefficientBytes(const jpeg_decompress_struct& info);
// What the library keeps of them at once: all of them for a progressive or
// otherwise multi-scan file, none for a single scan.
uint64_t JpegHeldCoefficientBytes(jpeg_decompress_struct& info);
// True when a file of fileBytes can hold data for that many coefficient
// bytes: beyond the decoder's own memory, at least one file byte per KB of
// them. A camera's photo holds one for every 5 to 50 bytes of coefficients.
bool JpegFileCanHold(uint64_t coefficientBytes, uint64_t fileBytes);
// From here on the decode ends through the library's error exit once the file
// passes kMaxJpegScans scans, or once stopRequested (when given) answers true
// (call after jpeg_create_decompress). The library reports its progress row by
// row, and scan by scan while it reads a progressive file whole, so a stop cuts
// even a very large picture.
void LimitJpegScans(jpeg_decompress_struct& info, bool (*stopRequested)() = nullptr);
