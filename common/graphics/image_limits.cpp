#include "common/graphics/image_limits.h"

#include <windows.h>

#include <cstring>

namespace {

constexpr size_t kFileHeaderBytes = 14;  // BITMAPFILEHEADER
constexpr uint32_t kCoreHeaderBytes = 12;  // BITMAPCOREHEADER: 16-bit sides

int64_t Little(const unsigned char* p, int bytes) {
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
    return static_cast<int64_t>(value);
}

}  // namespace

bool BitmapFileSidesAllowed(const wchar_t* path, ImageSidesRule allowed) {
    if (!path || !*path) return false;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    unsigned char head[kFileHeaderBytes + 12] = {};
    DWORD read = 0;
    const bool ok = ReadFile(file, head, sizeof head, &read, nullptr) && read == sizeof head;
    CloseHandle(file);
    if (!ok || head[0] != 'B' || head[1] != 'M') return false;
    const unsigned char* info = head + kFileHeaderBytes;
    const uint32_t infoBytes = static_cast<uint32_t>(Little(info, 4));
    if (infoBytes == kCoreHeaderBytes) return allowed(Little(info + 4, 2), Little(info + 6, 2));
    const int64_t width = static_cast<int32_t>(Little(info + 4, 4));
    const int64_t height = static_cast<int32_t>(Little(info + 8, 4));
    return allowed(width, height < 0 ? -height : height);
}
