#include "kartix/jpeg_texture.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <io.h>
#include <string>

#include "kartix/jpeg_codec.h"
#include "kartix/jpeg_header.h"

namespace {

int DecodeInto(CJpegTexture& t, const wchar_t* path, JpegDecodeJob& job) {
    t.Free(true);
    if (!path) return 0;
    FILE* file = _wfopen(path, L"rb");
    if (!file) return 0;
    const int64_t length = _filelengthi64(_fileno(file));
    job.fileBytes = length > 0 ? static_cast<uint64_t>(length) : 0;
    const bool ok = DecodeJpegFile(file, &job);
    fclose(file);
    if (!ok) return 0;
    t.pixels = job.pixels;
    t.imageWidth = job.imageWidth;
    t.imageHeight = job.imageHeight;
    t.storedWidth = job.storedWidth;
    t.storedHeight = job.storedHeight;
    t.components = job.components;
    return 1;
}

}  // namespace

int CJpegTexture::Load(const wchar_t* path, int maxWidth, int maxHeight) {
    JpegDecodeJob job{};
    job.maxWidth = maxWidth;
    job.maxHeight = maxHeight;
    return DecodeInto(*this, path, job);
}

int CJpegTexture::LoadWhole(const wchar_t* path, uint64_t memoryLimit, bool (*stopRequested)()) {
    JpegDecodeJob job{};
    job.stopRequested = stopRequested;
    job.memoryLimit = memoryLimit;
    return DecodeInto(*this, path, job);
}

bool CJpegTexture::Save(const wchar_t* path, int quality) const {
    if (!path || !pixels || components != 3 || imageWidth < 1 || imageHeight < 1) return false;
    // Written beside the target and moved over it only when complete: the
    // target may be the one copy of the earth texture in use.
    const std::wstring partial = std::wstring(path) + L".new";
    FILE* file = _wfopen(partial.c_str(), L"wb");
    if (!file) return false;
    JpegEncodeJob job{pixels, RowBytes(), imageWidth, imageHeight, quality};
    bool ok = EncodeJpegFile(file, &job);
    if (fclose(file) != 0) ok = false;
    if (ok) ok = MoveFileExW(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING) != 0;
    if (!ok) DeleteFileW(partial.c_str());
    return ok;
}

bool CJpegTexture::ReadHeader(const wchar_t* path, int& width, int& height, int& components) {
    return ReadJpegHeader(path, width, height, components);
}

void CJpegTexture::Free(bool clearSizes) {
    std::free(pixels);
    pixels = nullptr;
    if (clearSizes) {
        imageWidth = imageHeight = 0;
        storedWidth = storedHeight = 0;
        components = 0;
    }
}

namespace {

uint32_t AddConstantAlpha(uint32_t pixel, int components, void* context) {
    const uint32_t alpha = *static_cast<const uint8_t*>(context);
    // A grey pixel keeps its grey in all three colours rather than turning red.
    if (components == 1) pixel = pixel * 0x010101u;
    return (pixel & 0xFFFFFFu) | (alpha << 24);
}

}  // namespace

bool CJpegTexture::AddAlpha(uint8_t alpha) { return MakeAlphaFromLuminance(AddConstantAlpha, &alpha); }

bool CJpegTexture::MakeAlphaFromLuminance(AlphaRule rule, void* context) {
    if (!rule || !pixels || components >= 4 || components < 1 || storedWidth < 1 || storedHeight < 1) return false;
    const size_t count = static_cast<size_t>(storedWidth) * static_cast<size_t>(storedHeight);
    auto* wider = static_cast<uint8_t*>(std::realloc(pixels, count * 4));
    if (!wider) return false;
    pixels = wider;
    // Widened in place from the last pixel back, so that no pixel is
    // overwritten before it is read.
    for (size_t i = count; i-- > 0;) {
        const uint8_t* in = pixels + i * static_cast<size_t>(components);
        uint32_t packed = 0;
        for (int c = components - 1; c >= 0; --c) packed = (packed << 8) | in[c];
        const uint32_t out = rule(packed, components, context);
        uint8_t* target = pixels + i * 4;
        target[0] = static_cast<uint8_t>(out);
        target[1] = static_cast<uint8_t>(out >> 8);
        target[2] = static_cast<uint8_t>(out >> 16);
        target[3] = static_cast<uint8_t>(out >> 24);
    }
    components = 4;
    return true;
}
