#include "kartix/gl_2d.h"

void DrawTexturedQuad(GLuint texture, float x, float y, float z, float width, float height, int textureW,
                      int textureH, float u0, float v0, float du, float dv) {
    if (texture == 0 || width * height <= 0.0f || textureW * textureH <= 0) return;
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(u0, v0);
    glVertex3f(x, y, z);
    glTexCoord2f(u0 + du, v0);
    glVertex3f(x + width, y, z);
    glTexCoord2f(u0 + du, v0 + dv);
    glVertex3f(x + width, y + height, z);
    glTexCoord2f(u0, v0 + dv);
    glVertex3f(x, y + height, z);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void C2DButton::Draw() {
    const GLuint name = (hover && alternateTexture != 0) ? alternateTexture : texture;
    if (atlasWidth == 0 || atlasHeight == 0) return;
    const float aw = static_cast<float>(atlasWidth), ah = static_cast<float>(atlasHeight);
    DrawTexturedQuad(name, x, y, z, width, height, atlasWidth, atlasHeight, x / aw, y / ah, width / aw, height / ah);
}

void C2DButton2::Draw() {
    if (atlasWidth == 0 || atlasHeight == 0) return;
    const float aw = static_cast<float>(atlasWidth), ah = static_cast<float>(atlasHeight);
    const int offset = hover ? 0 : atlasHeight / 2;
    DrawTexturedQuad(texture, x, y, z, width, height, atlasWidth, atlasHeight, atlasX / aw, (atlasY + offset) / ah,
                     width / aw, height / ah);
}

void C2DButton2::SetState(GLuint name, int ax, int ay, int atlasW, int atlasH) {
    texture = name;
    atlasX = ax;
    atlasY = ay;
    atlasWidth = atlasW;
    atlasHeight = atlasH;
}

void C2DImage::Draw() {
    if (textureWidth == 0 || textureHeight == 0) return;
    DrawTexturedQuad(texture, x, y, z, width, height, textureWidth, textureHeight, 0.0f, 0.0f,
                     width / static_cast<float>(textureWidth), height / static_cast<float>(textureHeight));
}

void C2DImage::SetTexture(GLuint name, int textureW, int textureH) {
    texture = name;
    textureWidth = textureW;
    textureHeight = textureH;
}

namespace {

bool Inside(float nx, float ny, float w, float h, float px, float py) {
    return px >= nx && px < nx + w && py >= ny && py < ny + h;
}

}  // namespace

bool HitTest2D(const C2DButton& node, float px, float py) {
    return Inside(node.x, node.y, node.width, node.height, px, py);
}

bool HitTest2D(const C2DImage& node, float px, float py) {
    return Inside(node.x, node.y, node.width, node.height, px, py);
}
