#include "kartix/gl_sphere.h"

#include <GL/glu.h>

#include <cmath>
#include <vector>

#include "common/records/city_record.h"
#include "kartix/gl_extensions.h"

namespace {

constexpr GLenum kTexture0 = 0x84C0;                  // GL_TEXTURE0_ARB
constexpr GLenum kTexture1 = 0x84C1;                  // GL_TEXTURE1_ARB
constexpr GLenum kLightModelColorControl = 0x81F8;    // GL_LIGHT_MODEL_COLOR_CONTROL
constexpr GLint kSingleColor = 0x81F9;                // GL_SINGLE_COLOR
constexpr GLint kSeparateSpecularColor = 0x81FA;      // GL_SEPARATE_SPECULAR_COLOR

class Quadric {
public:
    Quadric() : q_(gluNewQuadric()) {
        if (q_) gluQuadricDrawStyle(q_, GLU_FILL);
    }
    ~Quadric() {
        if (q_) gluDeleteQuadric(q_);
    }
    Quadric(const Quadric&) = delete;
    Quadric& operator=(const Quadric&) = delete;
    GLUquadric* get() const { return q_; }

private:
    GLUquadric* q_;
};

const PerfState& DefaultDetail() {
    static const PerfState detail;
    return detail;
}

bool Multitexture() {
    const GLExtensions& ext = GLExtensionFlags();
    return ext.multitexture && ext.activeTexture && ext.multiTexCoord2f;
}

}  // namespace

const PerfState& CSphere::detail() const { return detail_ ? *detail_ : DefaultDetail(); }

CSphere::~CSphere() { DeleteList(); }

bool CSphere::BeginList() {
    // Names from glGenLists never clash with the font's or another sphere's.
    if (listName == 0) listName = glGenLists(1);
    if (listName == 0) return false;
    glNewList(listName, GL_COMPILE);
    return true;
}

void CSphere::DeleteList() {
    if (listName != 0) glDeleteLists(listName, 1);
    listName = 0;
}

void CSphere::Compile() {
    if (!BeginList()) return;
    glPushMatrix();
    CompileChildren();
    Quadric quadric;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (quadric.get()) gluSphere(quadric.get(), radius, detail().slices, detail().stacks);
    glPopMatrix();
    glEndList();
}

void CSphere::Draw() {
    if (listName != 0) glCallList(listName);
}

CPlanet::~CPlanet() {
    DeleteTileNames(earthNames);
    DeleteTileNames(cloudNames);
}

void CPlanet::Compile() {
    if (!BeginList()) return;
    CompileChildren();
    DrawAtmosphere();
    glEndList();
}

void CPlanet::Draw() {
    if (listName != 0) {
        const bool separate = GLExtensionFlags().separateSpecularColor;
        if (separate) glLightModeli(kLightModelColorControl, kSeparateSpecularColor);
        glCallList(listName);
        if (separate) glLightModeli(kLightModelColorControl, kSingleColor);
    } else {
        DrawAtmosphere();
    }
    DrawCityPoints();
}

void CPlanet::DrawCityPoints() const {
    if (!cities_ || cityCount_ <= 0) return;
    static const GLfloat kCity[4] = {0.9f, 0.65f, 0.1f, 1.0f};
    static const GLfloat kNear[4] = {0.0f, 0.99f, 0.0f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, kCity);
    glPointSize(2.0f);
    bool anyWithin = false;
    glBegin(GL_POINTS);
    for (int i = 0; i < cityCount_; ++i) {
        const CityMapArea& m = cities_[i].map;
        if (m.withinRadius) {
            anyWithin = true;
            continue;
        }
        glVertex3d(m.position[0], m.position[1], m.position[2]);
    }
    glEnd();
    if (!anyWithin) return;
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, kNear);
    glBegin(GL_POINTS);
    for (int i = 0; i < cityCount_; ++i) {
        const CityMapArea& m = cities_[i].map;
        if (m.withinRadius) glVertex3d(m.position[0], m.position[1], m.position[2]);
    }
    glEnd();
}

GLenum CPlanet::SetEarthTiles(const TileSet* tiles) {
    tileWidth = tiles ? tiles->tiles[0].storedWidth : 0;
    tileHeight = tiles ? tiles->tiles[0].storedHeight : 0;
    return UploadTileSet(tiles, earthNames);
}

GLenum CPlanet::SetCloudTiles(const TileSet* tiles) {
    if (Multitexture() && tiles && tiles->tiles[0].HasPixels()) return UploadTileSet(tiles, cloudNames);
    DeleteTileNames(cloudNames);
    return 0;
}

void CPlanet::DrawAtmosphere() {
    const PerfState& d = detail();
    Quadric quadric;
    glPushMatrix();
    glPolygonMode(GL_FRONT, GL_FILL);
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glRotated(-90.0, 1.0, 0.0, 0.0);
    // The shells only show their layering over the texture; before it is
    // loaded one pale shell stands for the globe.
    const int n = HasEarth() && d.layers > 0 ? d.layers : 1;
    for (int i = 0; i < n && quadric.get(); ++i) {
        const GLfloat colour[4] = {0.5f, 0.7f, 0.95f, static_cast<GLfloat>(0.52 - 0.5 / n * i)};
        glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, colour);
        const double scale = 0.025 / (static_cast<double>(n) * n) * (i + 1.0) * (i + 1.0) + 1.0;
        gluSphere(quadric.get(), scale * radius, d.slices, d.stacks);
    }
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glClear(GL_DEPTH_BUFFER_BIT);
    glPopMatrix();
    if (HasEarth()) {
        static const GLfloat kAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
        static const GLfloat kDiffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
        static const GLfloat kSpecular[4] = {0.25f, 0.25f, 0.25f, 1.0f};
        glMaterialfv(GL_FRONT, GL_AMBIENT, kAmbient);
        glMaterialfv(GL_FRONT, GL_DIFFUSE, kDiffuse);
        glMaterialf(GL_FRONT, GL_SHININESS, 120.0f);
        glMaterialfv(GL_FRONT, GL_SPECULAR, kSpecular);
        DrawTiledSphere();
    }
    static const GLfloat kNoSpecular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glMaterialf(GL_FRONT, GL_SHININESS, 0.0f);
    glMaterialfv(GL_FRONT, GL_SPECULAR, kNoSpecular);
}

void CPlanet::BindTile(int tile) const {
    glBindTexture(GL_TEXTURE_2D, earthNames[tile]);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    if (cloudNames[0] == 0 || !Multitexture()) return;
    const GLExtensions& ext = GLExtensionFlags();
    ext.activeTexture(kTexture1);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, cloudNames[tile]);
    // The clouds cover the earth by their alpha.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    ext.activeTexture(kTexture0);
}

void CPlanet::TexCoord(float u, float v) const {
    if (Multitexture()) {
        const GLExtensions& ext = GLExtensionFlags();
        ext.multiTexCoord2f(kTexture0, u, v);
        ext.multiTexCoord2f(kTexture1, u, v);
    } else {
        glTexCoord2f(u, v);
    }
}

void CPlanet::DrawTiledSphere() {
    const PerfState& d = detail();
    const int q = d.slices / 4 > 0 ? d.slices / 4 : 1;
    const int n = d.stacks / 2 > 0 ? d.stacks / 2 : 1;
    const int slices = 4 * q;  // four whole quarters close the sphere
    std::vector<double> cosA(slices + 1), sinA(slices + 1), cosB(n + 1), sinB(n + 1);
    for (int j = 0; j <= slices; ++j) {
        const double a = 2.0 * kMapPi * j / slices - kMapPi / 2.0;
        cosA[j] = std::cos(a);
        sinA[j] = std::sin(a);
    }
    for (int i = 0; i <= n; ++i) {
        const double b = i * kMapPi / (2.0 * n);
        cosB[i] = std::cos(b);
        sinB[i] = std::sin(b);
    }
    const double r = radius;
    auto vertex = [&](int j, int ring, double ySign, float u, float v) {
        const double nx = cosB[ring] * cosA[j], ny = ySign * sinB[ring], nz = cosB[ring] * sinA[j];
        TexCoord(u, v);
        glNormal3d(nx, ny, nz);
        glVertex3d(r * nx, r * ny, r * nz);
    };
    glEnable(GL_TEXTURE_2D);
    for (int half = 1; half >= 0; --half) {
        const bool north = half == 1;
        for (int k = 0; k < 4; ++k) {
            BindTile((3 - k) + kTileColumns * half);
            for (int i = 1; i <= n; ++i) {
                glBegin(GL_QUAD_STRIP);
                for (int s = 0; s <= q; ++s) {
                    const int j = k * q + s;
                    const float u = 1.0f - static_cast<float>(s) / q;
                    // Both halves wind counter-clockwise seen from outside.
                    if (north) {
                        vertex(j, i - 1, 1.0, u, static_cast<float>(i - 1) / n);
                        vertex(j, i, 1.0, u, static_cast<float>(i) / n);
                    } else {
                        vertex(j, i, -1.0, u, 1.0f - static_cast<float>(i) / n);
                        vertex(j, i - 1, -1.0, u, 1.0f - static_cast<float>(i - 1) / n);
                    }
                }
                glEnd();
            }
        }
    }
    if (Multitexture()) {
        const GLExtensions& ext = GLExtensionFlags();
        ext.activeTexture(kTexture1);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glDisable(GL_ALPHA_TEST);
        ext.activeTexture(kTexture0);
    }
    glDisable(GL_TEXTURE_2D);
}
