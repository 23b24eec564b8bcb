// The optional OpenGL extensions the scene and the texture uploads consult.
// Process-wide: every probe overwrites them.
#pragma once

#include <windows.h>

#include <GL/gl.h>

using GlActiveTextureArbProc = void(APIENTRY*)(GLenum texture);
using GlMultiTexCoord2fArbProc = void(APIENTRY*)(GLenum target, GLfloat s, GLfloat t);

struct GLExtensions {
    bool separateSpecularColor = false;  // GL_EXT_separate_specular_color
    bool multitexture = false;           // GL_ARB_multitexture (with both entry points)
    bool textureCompression = false;     // GL_ARB_texture_compression
    bool edgeClamp = false;              // GL_EXT_texture_edge_clamp
    GlActiveTextureArbProc activeTexture = nullptr;
    GlMultiTexCoord2fArbProc multiTexCoord2f = nullptr;
};

GLExtensions& GLExtensionFlags();

// Needs a current context; without an extension string the flags stay as they are.
void ProbeGLExtensions();

// True when `name` appears in the space-separated list as a whole word.
bool ExtensionListed(const char* list, const char* name);
