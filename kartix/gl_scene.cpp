#include "kartix/gl_scene.h"

#include <GL/glu.h>

#include <cmath>

void CScene::Resize(int w, int h) {
    width = w;
    height = h;
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, static_cast<double>(w) / (h != 0 ? h : 1), nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void CScene::Init() {
    static const GLfloat kAmbient[4] = {0.25f, 0.25f, 0.25f, 1.0f};
    static const GLfloat kDiffuse[4] = {0.95f, 0.9f, 0.9f, 1.0f};
    static const GLfloat kSpecular[4] = {1.0f, 1.0f, 0.9f, 1.0f};
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glLightfv(GL_LIGHT0, GL_AMBIENT, kAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, kSpecular);
    glLighti(GL_LIGHT0, GL_SPOT_EXPONENT, 64);
    glLighti(GL_LIGHT0, GL_SPOT_CUTOFF, 90);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    InitChildren();
}

void CScene::Compile() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    CompileChildren();
}

void CScene::Draw() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    CGLObject::Draw();
}

void CScene::PerspectiveMatrix(Matrix4& m) const {
    // gluPerspective: f = cot(fov / 2); x scaled by f / aspect.
    const double aspect = static_cast<double>(width) / (height != 0 ? height : 1);
    const double f = 1.0 / std::tan(DegreesToRadians(fieldOfView) / 2.0);
    for (auto& row : m.m)
        for (double& v : row) v = 0.0;
    m.m[0][0] = f / aspect;
    m.m[1][1] = f;
    m.m[2][2] = (farPlane + nearPlane) / (nearPlane - farPlane);
    m.m[2][3] = 2.0 * farPlane * nearPlane / (nearPlane - farPlane);
    m.m[3][2] = -1.0;
}

CScene::ScreenPoint CScene::ProjectToScreen(const Vector4& point) const {
    Vector4 p{point.x + x, point.y + y, point.z + z, 1.0};
    Matrix4 projection;
    PerspectiveMatrix(projection);
    Matrix4TransformVector(p, projection);
    const double w = p.w != 0.0 ? p.w : 1.0;
    const double nx = p.x / w, ny = p.y / w, nz = p.z / w;
    return ScreenPoint{width / 2.0 * nx + width / 2.0, height / 2.0 * ny + height / 2.0,
                       (farPlane - nearPlane) / 2.0 * nz + (farPlane + nearPlane) / 2.0};
}

void CLamp::Init() {
    InitChildren();
    glLightfv(light, GL_AMBIENT, ambient);
    glLightfv(light, GL_DIFFUSE, diffuse);
    glLightfv(light, GL_SPECULAR, specular);
    glLighti(light, GL_SPOT_EXPONENT, spotExponent);
    glLighti(light, GL_SPOT_CUTOFF, spotCutoff);
    glEnable(light);
}

void CLamp::Draw() {
    CGLObject::Draw();
    const GLfloat where[4] = {static_cast<GLfloat>(position[0]), static_cast<GLfloat>(position[1]),
                              static_cast<GLfloat>(position[2]), 1.0f};
    glLightfv(light, GL_POSITION, where);
    const double length = std::sqrt(position[0] * position[0] + position[1] * position[1] + position[2] * position[2]);
    // A lamp at the centre has no direction; keep the default one then.
    if (length <= 0.0) return;
    const GLfloat direction[3] = {static_cast<GLfloat>(-position[0] / length),
                                  static_cast<GLfloat>(-position[1] / length),
                                  static_cast<GLfloat>(-position[2] / length)};
    glLightfv(light, GL_SPOT_DIRECTION, direction);
}
