#include "kartix/gl_extensions.h"

#include <cstring>

GLExtensions& GLExtensionFlags() {
    static GLExtensions flags;
    return flags;
}

bool ExtensionListed(const char* list, const char* name) {
    if (!list || !name || !*name) return false;
    const size_t n = std::strlen(name);
    // A plain substring search would take GL_ARB_multitexture_foo for the real
    // one; names in the list are separated by blanks.
    for (const char* p = std::strstr(list, name); p; p = std::strstr(p + 1, name)) {
        const bool startOk = p == list || p[-1] == ' ';
        const bool endOk = p[n] == '\0' || p[n] == ' ';
        if (startOk && endOk) return true;
    }
    return false;
}

void ProbeGLExtensions() {
    // Asked for as the driver expects, though the list below is the core one.
    (void)wglGetProcAddress("wglGetExtensionsStringARB");
    const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!list) return;
    GLExtensions& f = GLExtensionFlags();
    f.separateSpecularColor = ExtensionListed(list, "GL_EXT_separate_specular_color");
    f.textureCompression = ExtensionListed(list, "GL_ARB_texture_compression");
    f.edgeClamp = ExtensionListed(list, "GL_EXT_texture_edge_clamp");
    f.multitexture = ExtensionListed(list, "GL_ARB_multitexture");
    f.activeTexture = nullptr;
    f.multiTexCoord2f = nullptr;
    if (f.multitexture) {
        f.activeTexture = reinterpret_cast<GlActiveTextureArbProc>(
            reinterpret_cast<void*>(wglGetProcAddress("glActiveTextureARB")));
        f.multiTexCoord2f = reinterpret_cast<GlMultiTexCoord2fArbProc>(
            reinterpret_cast<void*>(wglGetProcAddress("glMultiTexCoord2fARB")));
        // Without the entry points the extension is of no use.
        if (!f.activeTexture || !f.multiTexCoord2f) f.multitexture = false;
    }
}
