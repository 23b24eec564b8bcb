#include "tempovia/news/crc32.h"

#include <array>
#include <cwchar>

namespace {

constexpr std::array<uint32_t, 256> MakeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kTable = MakeTable();

uint32_t Update(uint32_t register_, unsigned char byte) {
    return kTable[(register_ ^ byte) & 0xFF] ^ (register_ >> 8);
}

}  // namespace

uint32_t Crc32(uint32_t crc, const void* data, size_t size) {
    if (!data) return crc;
    const auto* bytes = static_cast<const unsigned char*>(data);
    uint32_t r = ~crc;
    for (size_t i = 0; i < size; ++i) r = Update(r, bytes[i]);
    return ~r;
}

uint32_t Crc32OfText(const wchar_t* text) {
    if (!text) return 0;
    // Byte order is fixed rather than taken from memory, so the names stay
    // the same whatever the machine.
    uint32_t r = 0xFFFFFFFFu;
    for (const wchar_t* p = text; *p; ++p) {
        const auto unit = static_cast<uint16_t>(*p);
        r = Update(r, static_cast<unsigned char>(unit & 0xFF));
        r = Update(r, static_cast<unsigned char>(unit >> 8));
    }
    return ~r;
}
