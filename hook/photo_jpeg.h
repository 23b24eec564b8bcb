// A JPEG file decoded into memory the way the map's textures hold it: rows
// bottom-up (the first row in memory is the bottom of the picture), pixel
// bytes in file order (R, G, B), each row of the stored width, which is the
// picture's width rounded up to a multiple of 4 so that 3-byte rows stay
// DWORD-aligned for GDI.
#pragma once

#include <cstddef>
#include <cstdint>

class JpegImage {
public:
    JpegImage() = default;
    ~JpegImage() { Free(); }
    JpegImage(const JpegImage&) = delete;
    JpegImage& operator=(const JpegImage&) = delete;

    // Decodes the file; false (and empty) on any decoding error, on a file
    // that ends before its picture does, or when the picture is too large to
    // hold. The library's own messages are never shown. With a box (both
    // sides above 0) a picture larger than the box may come out at 1/2, 1/4
    // or 1/8 of its sides, never smaller than its fit into the box.
    bool Load(const wchar_t* path, int boxWidth = 0, int boxHeight = 0);
    void Free();

    bool IsEmpty() const { return pixels_ == nullptr; }
    uint8_t* Pixels() const { return pixels_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The picture's sides as the file gives them; a reduced decode rounds
    // its own sides up, so proportions are taken from these.
    int FileWidth() const { return fileWidth_; }
    int FileHeight() const { return fileHeight_; }
    int StoredWidth() const { return storedWidth_; }
    int Components() const { return components_; }
    size_t RowBytes() const { return static_cast<size_t>(storedWidth_) * static_cast<size_t>(components_); }

private:
    uint8_t* pixels_ = nullptr;  // malloc'd: the decoder fills it outside C++ object lifetimes
    int width_ = 0;
    int height_ = 0;
    int fileWidth_ = 0;
    int fileHeight_ = 0;
    int storedWidth_ = 0;
    int components_ = 0;
};

// The sides a width x height picture takes in a box: its own when it fits,
// else the largest with its proportions (each side at least 1).
void FitIntoBox(int width, int height, int boxWidth, int boxHeight, int& fitWidth, int& fitHeight);
