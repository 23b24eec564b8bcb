// The sides and component count of a JPEG file, read from its header without
// decoding the pixels.
#pragma once

bool ReadJpegHeader(const wchar_t* path, int& width, int& height, int& components);
