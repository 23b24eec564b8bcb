// The sides and component count of a JPEG file, read from its header without
// decoding the pixels.
#pragma once

// With fileHoldsPicture: whether the file is long enough for the data of the
// picture it claims (a few hundred bytes may claim gigabytes).
bool ReadJpegHeader(const wchar_t* path, int& width, int& height, int& components,
                    bool* fileHoldsPicture = nullptr);
