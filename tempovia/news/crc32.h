// CRC-32 as zlib computes it (reflected polynomial 0xEDB88320, all ones in,
// complemented out). It names the news cache files, so its values are part of
// what is stored on disk and must never change.
#pragma once

#include <cstddef>
#include <cstdint>

// Continues crc (0 to start) over size bytes; a null data pointer adds nothing.
uint32_t Crc32(uint32_t crc, const void* data, size_t size);

// Over the text's UTF-16 code units as little-endian bytes, no terminator;
// a null text counts as empty.
uint32_t Crc32OfText(const wchar_t* text);
