// The scene root (its position and rotations are the camera) and the lamp.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include "kartix/gl_object.h"

class CScene : public CGLObject {
public:
    ~CScene() override = default;
    void Init() override;
    void Compile() override;
    void Draw() override;
    // Viewport, perspective projection and an identity model-view.
    virtual void Resize(int width, int height);

    struct ScreenPoint {
        double x, y, depth;
    };
    // The point after the scene's translation (no rotation) through the
    // perspective of the scene, in window pixels and depth.
    ScreenPoint ProjectToScreen(const Vector4& point) const;
    // The perspective matrix gluPerspective builds for the scene.
    void PerspectiveMatrix(Matrix4& m) const;

    int width = 1;
    int height = 1;
    double nearPlane = 1.0;
    double farPlane = 30.0;
    double fieldOfView = 30.0;  // degrees
};

class CLamp : public CGLObject {
public:
    explicit CLamp(GLenum lightName = GL_LIGHT1) : light(lightName) {}
    ~CLamp() override = default;
    void Init() override;
    // Places the light at the stored position, pointed at the origin.
    void Draw() override;

    GLenum light;
    int spotExponent = 16;
    int spotCutoff = 30;
    float ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float diffuse[4] = {0.3f, 1.0f, 0.9f, 1.0f};
    float specular[4] = {0.3f, 1.0f, 0.9f, 1.0f};
    double position[4] = {0.0, 0.0, 0.0, 0.0};
};
