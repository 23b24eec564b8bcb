#include "common/graphics/image_dib.h"

#include <string>

#include "common/graphics/pixel_buffer.h"
#include "common/platform/file_paths.h"

namespace {

constexpr WORD kPngDibOrdinal = 10;

}  // namespace

PngDibExport FindPngDibExport() {
    HMODULE hook = GetModuleHandleW(L"hook.dll");
    if (!hook) {
        // A full path: a hook.dll found along the search path might be anyone's.
        std::wstring path = ProgramFolder();
        if (path.empty()) return nullptr;
        path += L"hook.dll";
        hook = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (!hook) return nullptr;
    }
    FARPROC proc = GetProcAddress(hook, MAKEINTRESOURCEA(kPngDibOrdinal));
    return reinterpret_cast<PngDibExport>(reinterpret_cast<void*>(proc));
}

bool LoadImageDib(PixelBuffer& buffer, const wchar_t* path) {
    return LoadImageDibWith(FindPngDibExport(), buffer, path);
}

bool LoadImageDibWith(PngDibExport load, PixelBuffer& buffer, const wchar_t* path) {
    buffer = PixelBuffer();
    if (!load) return false;
    BITMAPV4HEADER header = {};
    header.bV4Size = sizeof header;
    void* bits = nullptr;
    if (!load(path, &header, &bits) || !bits) return false;
    if (!buffer.Adopt(&header, bits)) {
        GlobalFree(bits);
        return false;
    }
    return true;
}
