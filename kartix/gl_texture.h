// A map texture: a JPEG picture fitted to power-of-two sides for OpenGL, and
// the 4 x 2 tile sets of the globe with their upload.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include "kartix/jpeg_texture.h"

// CGLTexture::Load results.
inline constexpr int kTextureLoadFailed = 0;
inline constexpr int kTextureLoaded = 1;
inline constexpr int kTextureRescaled = 3;

class CGLTexture : public CJpegTexture {
public:
    // Decodes the whole picture, then with maxima (both above 0) fits it to
    // the largest power-of-two sides not above the picture's nor the maxima
    // (16 at least). 0 failed, 1 loaded unchanged, 3 loaded and rescaled.
    int Load(const wchar_t* path, int maxWidth, int maxHeight) override;
};

inline constexpr int kTileColumns = 4;
inline constexpr int kTileRows = 2;
inline constexpr int kTileCount = kTileColumns * kTileRows;

// Tile index = column + 4 x row; column 0 at the west edge, row 0 the
// southern half. The whole picture is tile 0 until it is cut.
struct TileSet {
    CGLTexture tiles[kTileCount];

    CGLTexture& image() { return tiles[0]; }
    // Every tile holds pixels.
    bool AllLoaded() const;
    void FreeAll();
};

// Uploads each tile that has pixels into its texture name (the eight names are
// generated when the first is 0). Without tiles the names are deleted. Returns
// the GL error of a failed upload, which also deletes the names, else 0.
// GL_TEXTURE_2D keeps its state.
GLenum UploadTileSet(const TileSet* tiles, GLuint (&names)[kTileCount]);
// Deletes the names when there are any and zeroes them.
void DeleteTileNames(GLuint (&names)[kTileCount]);
