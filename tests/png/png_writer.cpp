#include "tests/png/png_writer.h"

#include <zlib.h>

#include <stdexcept>

namespace png_test {

namespace {

void PutBig32(std::string& out, uint32_t v) {
    out += static_cast<char>(v >> 24);
    out += static_cast<char>(v >> 16);
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v);
}

// One scan line of samples, packed at the bit depth, behind filter byte 0.
void PutRow(std::string& out, const std::vector<uint16_t>& row, uint8_t bitDepth) {
    out += '\0';
    if (bitDepth == 16) {
        for (uint16_t s : row) {
            out += static_cast<char>(s >> 8);
            out += static_cast<char>(s);
        }
        return;
    }
    if (bitDepth == 8) {
        for (uint16_t s : row) out += static_cast<char>(s);
        return;
    }
    unsigned acc = 0, bits = 0;
    for (uint16_t s : row) {
        acc = (acc << bitDepth) | (s & ((1u << bitDepth) - 1));
        bits += bitDepth;
        if (bits == 8) {
            out += static_cast<char>(acc);
            acc = bits = 0;
        }
    }
    if (bits) out += static_cast<char>(acc << (8 - bits));
}

}  // namespace

int Channels(uint8_t colourType) {
    switch (colourType) {
    case kRgb: return 3;
    case kGreyAlpha: return 2;
    case kRgba: return 4;
    default: return 1;
    }
}

std::string Signature() { return std::string("\x89PNG\r\n\x1a\n", 8); }

std::string Chunk(const std::string& type, const std::string& data) {
    std::string out;
    PutBig32(out, static_cast<uint32_t>(data.size()));
    std::string body = type + data;
    out += body;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    PutBig32(out, static_cast<uint32_t>(crc));
    return out;
}

std::string IhdrData(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType, bool interlaced) {
    std::string d;
    PutBig32(d, width);
    PutBig32(d, height);
    d += static_cast<char>(bitDepth);
    d += static_cast<char>(colourType);
    d += '\0';
    d += '\0';
    d += static_cast<char>(interlaced ? 1 : 0);
    return d;
}

std::string ScanLines(const PngPicture& p) {
    const int channels = Channels(p.colourType);
    if (p.samples.size() != static_cast<size_t>(p.width) * p.height * channels)
        throw std::logic_error("sample count does not match the picture");
    struct Pass {
        uint32_t x0, y0, dx, dy;
    };
    static const Pass kWhole[] = {{0, 0, 1, 1}};
    static const Pass kAdam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                  {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    std::string out;
    const Pass* passes = p.interlaced ? kAdam7 : kWhole;
    size_t passCount = p.interlaced ? 7 : 1;
    for (size_t k = 0; k < passCount; ++k) {
        const Pass& pass = passes[k];
        if (pass.x0 >= p.width || pass.y0 >= p.height) continue;  // an empty pass has no rows
        for (uint32_t y = pass.y0; y < p.height; y += pass.dy) {
            std::vector<uint16_t> row;
            for (uint32_t x = pass.x0; x < p.width; x += pass.dx)
                for (int c = 0; c < channels; ++c)
                    row.push_back(p.samples[(static_cast<size_t>(y) * p.width + x) * channels + c]);
            PutRow(out, row, p.bitDepth);
        }
    }
    return out;
}

std::string Deflate(const std::string& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string out(size, '\0');
    if (compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                 static_cast<uLong>(raw.size())) != Z_OK)
        throw std::runtime_error("compress failed");
    out.resize(size);
    return out;
}

std::string MakePng(const PngPicture& p) {
    std::string file = Signature();
    file += Chunk("IHDR", IhdrData(p.width, p.height, p.bitDepth, p.colourType, p.interlaced));
    if (!p.palette.empty()) file += Chunk("PLTE", p.palette);
    if (!p.transparency.empty()) file += Chunk("tRNS", p.transparency);
    file += Chunk("IDAT", Deflate(ScanLines(p)));
    file += Chunk("IEND", "");
    return file;
}

size_t FindChunk(const std::string& file, const std::string& type) {
    size_t at = 8;
    while (at + 12 <= file.size()) {
        uint32_t length = (static_cast<uint8_t>(file[at]) << 24) | (static_cast<uint8_t>(file[at + 1]) << 16) |
                          (static_cast<uint8_t>(file[at + 2]) << 8) | static_cast<uint8_t>(file[at + 3]);
        if (file.compare(at + 4, 4, type) == 0) return at;
        at += 12 + static_cast<size_t>(length);
    }
    return std::string::npos;
}

}  // namespace png_test
