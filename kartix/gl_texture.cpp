#include "kartix/gl_texture.h"

#include "kartix/gl_extensions.h"
#include "kartix/jpeg_codec.h"
#include "kartix/map_exports.h"
#include "kartix/map_state.h"
#include "kartix/map_workers.h"

namespace {

constexpr GLenum kClampToEdge = 0x812F;          // GL_CLAMP_TO_EDGE
constexpr GLenum kCompressedRgb = 0x84ED;        // GL_COMPRESSED_RGB_ARB
constexpr GLenum kCompressedRgba = 0x84EE;       // GL_COMPRESSED_RGBA_ARB

GLenum PixelFormat(int components) {
    switch (components) {
    case 1: return GL_LUMINANCE;
    case 2: return GL_LUMINANCE_ALPHA;
    case 4: return GL_RGBA;
    default: return GL_RGB;
    }
}

GLint InternalFormat(int components) {
    const GLExtensions& ext = GLExtensionFlags();
    if (Map().settings.texCompression && ext.textureCompression) {
        if (components == 3) return static_cast<GLint>(kCompressedRgb);
        if (components == 4) return static_cast<GLint>(kCompressedRgba);
    }
    return components;
}

}  // namespace

int CGLTexture::Load(const wchar_t* path, int maxWidth, int maxHeight) {
    // A map larger than any texture is decoded whole and box-filtered down
    // here, within the memory the install step allows a map. Workers told to
    // stop (the plug-in is being freed) give up a decode of a large map part way.
    if (!LoadWhole(path, MapMemoryLimit() / 3, MapWorkersStopping) || !pixels) return kTextureLoadFailed;
    if (maxWidth <= 0 || maxHeight <= 0) return kTextureLoaded;
    const int w = FitSide(imageWidth, maxWidth);
    const int h = FitSide(imageHeight, maxHeight);
    if (w == imageWidth && h == imageHeight && storedWidth == w && storedHeight == h) return kTextureLoaded;
    // A picture that cannot be fitted (narrower than 8, say) is of no use to
    // OpenGL 1.x: report the failure rather than hand on odd sides.
    if (!RescaleTexture(w, h)) {
        Free(true);
        return kTextureLoadFailed;
    }
    return kTextureRescaled;
}

bool TileSet::AllLoaded() const {
    for (const CGLTexture& t : tiles)
        if (!t.HasPixels()) return false;
    return true;
}

void TileSet::FreeAll() {
    for (CGLTexture& t : tiles) t.Free(true);
}

void DeleteTileNames(GLuint (&names)[kTileCount]) {
    if (names[0] == 0) return;
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(kTileCount, names);
    for (GLuint& n : names) n = 0;
}

GLenum UploadTileSet(const TileSet* set, GLuint (&names)[kTileCount]) {
    const GLboolean wasEnabled = glIsEnabled(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_2D);
    auto restore = [wasEnabled]() {
        if (!wasEnabled) glDisable(GL_TEXTURE_2D);
    };
    if (!set) {
        DeleteTileNames(names);
        restore();
        return 0;
    }
    if (names[0] == 0) glGenTextures(kTileCount, names);
    const bool edgeClamp = GLExtensionFlags().edgeClamp;
    for (int i = 0; i < kTileCount; ++i) {
        const CGLTexture& tile = set->tiles[i];
        if (!tile.HasPixels()) continue;
        glBindTexture(GL_TEXTURE_2D, names[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        if (edgeClamp) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, kClampToEdge);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, kClampToEdge);
        }
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        for (int drained = 0; drained < 32 && glGetError() != GL_NO_ERROR; ++drained) {
        }
        const GLint border = (tile.storedWidth > 2 && tile.storedWidth % 4 == 2) ? 1 : 0;
        glTexImage2D(GL_TEXTURE_2D, 0, InternalFormat(tile.components), tile.storedWidth, tile.storedHeight, border,
                     PixelFormat(tile.components), GL_UNSIGNED_BYTE, tile.pixels);
        glFlush();
        const GLenum error = glGetError();
        if (error != GL_NO_ERROR) {
            DeleteTileNames(names);
            restore();
            return error;
        }
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    restore();
    return 0;
}
