// Textured rectangles of the 2D layers: the overlay buttons and the photos of
// the strip. x and y are the lower left corner in the parent's pixels.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include "kartix/gl_object.h"

class C2DButton : public CGLObject {
public:
    ~C2DButton() override = default;
    // The alternate texture while hovered (when there is one).
    void Draw() override;

    GLuint texture = 0;
    GLuint alternateTexture = 0;
    int atlasWidth = 8;
    int atlasHeight = 8;
    int key = 0;
    bool hover = false;
    float width = 20.0f;
    float height = 20.0f;
    int atlasX = 0;
    int atlasY = 0;
};

// A button cut from an atlas whose lower half holds the hovered looks and the
// upper half, the same rectangles half the atlas higher, the idle ones.
class C2DButton2 : public C2DButton {
public:
    ~C2DButton2() override = default;
    void Draw() override;
    void SetState(GLuint name, int x, int y, int atlasW, int atlasH);
};

class C2DImage : public CGLObject {
public:
    ~C2DImage() override = default;
    // The picture in the lower left corner of its texture.
    void Draw() override;
    void SetTexture(GLuint name, int textureW, int textureH);

    GLuint texture = 0;
    int textureWidth = 8;
    int textureHeight = 8;
    float width = 20.0f;
    float height = 20.0f;
    int photoNumber = 0;
};

// (x, y) in [node x, node x + width) x [node y, node y + height).
bool HitTest2D(const C2DButton& node, float x, float y);
bool HitTest2D(const C2DImage& node, float x, float y);

// One textured quad, facing +z; nothing for an empty rectangle or texture.
void DrawTexturedQuad(GLuint texture, float x, float y, float z, float width, float height, int textureW,
                      int textureH, float u0, float v0, float du, float dv);
