#include "common/graphics/pixel_buffer.h"

#include <cstddef>
#include <cstring>
#include <utility>

#include "common/graphics/bitmap.h"

// A fixed record: header and masks, block size, pixels, scratch, stride, rows.
struct PixelBufferLayout {
    static_assert(sizeof(PixelBuffer) == 152);
    static_assert(offsetof(PixelBuffer, info_) == 0);
    static_assert(offsetof(PixelBuffer, blockSize_) == 124);
    static_assert(offsetof(PixelBuffer, pixels_) == 128);
    static_assert(offsetof(PixelBuffer, rowScratch_) == 136);
    static_assert(offsetof(PixelBuffer, stride_) == 144);
    static_assert(offsetof(PixelBuffer, rows_) == 148);
};

namespace {

constexpr DWORD kV4HeaderSize = sizeof(BITMAPV4HEADER);
constexpr DWORD kInfoHeaderSize = sizeof(BITMAPINFOHEADER);

DibInfoV4 EmptyInfo() {
    DibInfoV4 info;
    std::memset(&info, 0, sizeof info);
    info.masks[0] = kDibRedMask;
    info.masks[1] = kDibGreenMask;
    info.masks[2] = kDibBlueMask;
    info.masks[3] = kDibAlphaMask;
    return info;
}

}  // namespace

PixelBuffer::PixelBuffer() : info_(EmptyInfo()) {}

PixelBuffer::PixelBuffer(const CBitmap& bitmap, int startRow, int rowCount) : PixelBuffer() {
    LoadFromBitmap(bitmap, startRow, rowCount);
}

PixelBuffer::PixelBuffer(const CBitmap& bitmap) : PixelBuffer() { LoadFromBitmap(bitmap, 0, 0); }

PixelBuffer::~PixelBuffer() { Free(); }

void DestroyPixelBuffer(PixelBuffer* buffer) { delete buffer; }

PixelBuffer::PixelBuffer(PixelBuffer&& other) noexcept : PixelBuffer() { *this = std::move(other); }

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept {
    if (this != &other) {
        Free();
        info_ = other.info_;
        blockSize_ = std::exchange(other.blockSize_, 0);
        pixels_ = std::exchange(other.pixels_, nullptr);
        rowScratch_ = std::exchange(other.rowScratch_, nullptr);
        stride_ = std::exchange(other.stride_, 0);
        rows_ = std::exchange(other.rows_, 0);
    }
    return *this;
}

void PixelBuffer::Free() {
    if (pixels_) GlobalFree(pixels_);
    pixels_ = nullptr;
    rowScratch_ = nullptr;
    blockSize_ = 0;
    stride_ = 0;
    rows_ = 0;
}

bool PixelBuffer::IsArgb() const {
    return pixels_ != nullptr && info_.header.bV4BitCount == 32 && info_.header.bV4Width > 0 &&
           stride_ >= info_.header.bV4Width && rows_ > 0;
}

bool PixelBuffer::LoadFromBitmap(const CBitmap& bitmap, int startRow, int rowCount) {
    int width = bitmap.Width();
    int height = bitmap.Height() < 0 ? -bitmap.Height() : bitmap.Height();
    if (!bitmap.IsValid() || !bitmap.Handle() || width <= 0 || height <= 0 || startRow < 0 || startRow >= height) {
        Free();
        return false;
    }
    if (rowCount <= 0 || rowCount > height - startRow) rowCount = height - startRow;

    CBitmap::Deselected out(bitmap);
    info_ = MakeArgbDibInfo(width, height);
    // Rows are read as 32-bit BI_RGB: the same bytes (blue, green, red, then
    // alpha or padding) as the buffer's own BI_BITFIELDS header describes.
    // Asking with masks goes wrong under Wine 8, which takes the requested
    // masks only when the bitmap has the same depth and converts a 24-bit
    // section with whatever masks it holds.
    BITMAPINFO request = MakeRgb32Info(width, height);
    if (!GetDIBits(bitmap.Dc(), bitmap.Handle(), 0, static_cast<UINT>(height), nullptr, &request, DIB_RGB_COLORS)) {
        Free();
        return false;
    }
    uint64_t imageSize = request.bmiHeader.biSizeImage;
    if (imageSize == 0) imageSize = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4;
    uint64_t stride = imageSize / 4 / static_cast<uint64_t>(height);
    uint64_t needed = static_cast<uint64_t>(rowCount) * (stride + 2) * 4;
    if (stride < static_cast<uint64_t>(width) || needed > kMaxDibBytes) {
        Free();
        return false;
    }
    if (!pixels_ || blockSize_ != needed) {
        Free();
        pixels_ = static_cast<uint32_t*>(GlobalAlloc(GMEM_FIXED, static_cast<SIZE_T>(needed)));
        if (!pixels_) return false;
        blockSize_ = static_cast<uint32_t>(needed);
    }
    stride_ = static_cast<int32_t>(stride);

    // The query may have rewritten parts of the header; ask again with a clean one.
    request = MakeRgb32Info(width, height);
    int copied = GetDIBits(bitmap.Dc(), bitmap.Handle(), static_cast<UINT>(startRow), static_cast<UINT>(rowCount),
                           pixels_, &request, DIB_RGB_COLORS);
    if (copied <= 0) {
        Free();
        return false;
    }
    info_ = MakeArgbDibInfo(width, rowCount);
    rows_ = copied;
    info_.header.bV4SizeImage = blockSize_ - 8 * static_cast<uint32_t>(rowCount);
    rowScratch_ = reinterpret_cast<int32_t*>(pixels_ + static_cast<size_t>(rowCount) * stride_);
    return true;
}

bool PixelBuffer::WriteTo(const CBitmap& bitmap) const {
    if (!IsValid() || !bitmap.IsValid() || !bitmap.Handle() || rows_ <= 0) return false;
    // GDI reads rows padded to 4 bytes; a block that holds less (an unpadded
    // picture from the image loader) is refused rather than overrun.
    const BITMAPV4HEADER& h = info_.header;
    // Pictures of 8 bits or fewer would need a colour table, which the
    // header record does not carry: GDI would read past it.
    if (h.bV4Width <= 0 || h.bV4BitCount <= 8) return false;
    uint64_t rowBytes = (static_cast<uint64_t>(h.bV4Width) * h.bV4BitCount + 31) / 32 * 4;
    uint64_t available = blockSize_ >= 8ull * rows_ ? blockSize_ - 8ull * rows_ : 0;
    if (rowBytes * static_cast<uint64_t>(rows_) > available) return false;

    CBitmap::Deselected out(bitmap);
    int copied = SetDIBits(bitmap.Dc(), bitmap.Handle(), 0, static_cast<UINT>(rows_), pixels_, info_.AsBitmapInfo(),
                           DIB_RGB_COLORS);
    return copied > 0;
}

bool PixelBuffer::Adopt(const void* header, void* block) {
    if (!header || !block) return false;
    DWORD size = 0;
    std::memcpy(&size, header, sizeof size);
    if (size != kInfoHeaderSize && size != kV4HeaderSize) return false;
    DibInfoV4 info = EmptyInfo();
    std::memcpy(&info.header, header, size);
    info.header.bV4Size = kV4HeaderSize;
    SetArgbMasks(info);

    const BITMAPV4HEADER& h = info.header;
    int bytesPerPixel = h.bV4BitCount / 8;
    if (h.bV4Width <= 0 || h.bV4Height <= 0 || h.bV4Planes != 1 || h.bV4SizeImage == 0 ||
        (h.bV4BitCount != 8 && h.bV4BitCount != 24 && h.bV4BitCount != 32))
        return false;
    uint64_t rows = static_cast<uint64_t>(h.bV4Height);
    uint64_t stride = h.bV4SizeImage / rows / static_cast<uint64_t>(bytesPerPixel);
    uint64_t blockSize = h.bV4SizeImage + 8 * rows;
    if (stride < static_cast<uint64_t>(h.bV4Width) || blockSize > kMaxDibBytes) return false;
    // The block must really hold what the header promises.
    if (GlobalSize(block) < blockSize) return false;

    Free();
    info_ = info;
    pixels_ = static_cast<uint32_t*>(block);
    blockSize_ = static_cast<uint32_t>(blockSize);
    stride_ = static_cast<int32_t>(stride);
    rows_ = static_cast<int32_t>(rows);
    // Only 32-bit pictures are drawn into, and only they need the scratch.
    rowScratch_ = h.bV4SizeImage % 4 == 0
                      ? reinterpret_cast<int32_t*>(reinterpret_cast<uint8_t*>(block) + h.bV4SizeImage)
                      : nullptr;
    return true;
}

bool PixelBuffer::Detach(void* header, void** bits) {
    if (!IsValid()) return false;
    if (header) {
        DWORD size = 0;
        std::memcpy(&size, header, sizeof size);
        if (size == kV4HeaderSize) {
            std::memcpy(header, &info_.header, kV4HeaderSize);
        } else {
            // A 40-byte header must say 40, or GDI would read 108 bytes from it.
            std::memcpy(header, &info_.header, kInfoHeaderSize);
            std::memcpy(header, &kInfoHeaderSize, sizeof kInfoHeaderSize);
        }
    }
    if (bits) {
        *bits = pixels_;
        pixels_ = nullptr;
        rowScratch_ = nullptr;
        blockSize_ = 0;
    }
    return true;
}

uint32_t PixelBuffer::GetPixel(int column, int row) const {
    if (!IsArgb() || column < 0 || column >= GetWidth() || row < 0 || row >= rows_) return 0xFFFFFFFF;
    return Row(row)[column];
}

bool PixelBuffer::SetPixel(int column, int row, uint32_t value) {
    if (!IsArgb() || column < 0 || column >= GetWidth() || row < 0 || row >= rows_) return false;
    Row(row)[column] = value;
    return true;
}
