// The scene graph: the tree of nodes, transforms, 2D hit tests, and the
// sphere, planet, lamp and 2D nodes drawn into a bitmap and read back.
#include <gtest/gtest.h>

#include <GL/glu.h>

#include <cmath>
#include <vector>

#include "common/records/city_record.h"
#include "kartix/gl_2d.h"
#include "kartix/gl_extensions.h"
#include "kartix/gl_scene.h"
#include "kartix/gl_sphere.h"
#include "kartix/render_context.h"
#include "tests/kartix/gl_test_surface.h"

namespace {

int g_destroyed = 0;
std::vector<int> g_order;

class Probe : public CGLObject {
public:
    explicit Probe(int id) : id_(id) {}
    ~Probe() override {
        ++g_destroyed;
        g_order.push_back(id_);
    }
    void Init() override {
        g_order.push_back(100 + id_);
        CGLObject::Init();
    }

private:
    int id_;
};

struct Rgb {
    int r, g, b;
};

Rgb ReadRgb(int x, int y) {
    unsigned char p[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgb{p[0], p[1], p[2]};
}

int Brightness(const Rgb& c) { return c.r + c.g + c.b; }

}  // namespace

TEST(SceneTree, ChildrenAreOwnedOrderedAndDeletedLastFirst) {
    g_destroyed = 0;
    g_order.clear();
    {
        CGLObject root;
        root.AddChild(nullptr);
        EXPECT_EQ(root.GetChildCount(), 0);
        std::vector<Probe*> probes;
        for (int i = 0; i < 20; ++i) {  // past the first growth step of 16
            probes.push_back(new Probe(i));
            root.AddChild(probes.back());
        }
        EXPECT_EQ(root.GetChildCount(), 20);
        EXPECT_EQ(root.GetChild(0), probes[0]);
        EXPECT_EQ(root.GetChild(19), probes[19]);
        EXPECT_EQ(root.GetChild(20), nullptr);
        EXPECT_EQ(root.GetChild(-1), nullptr);
        EXPECT_EQ(probes[7]->parent(), &root);

        // Init walks the children in order.
        root.Init();
        ASSERT_EQ(g_order.size(), 20u);
        EXPECT_EQ(g_order.front(), 100);
        EXPECT_EQ(g_order.back(), 119);
        g_order.clear();

        // A detached child is the caller's again; the others close up.
        ASSERT_TRUE(root.DetachChild(probes[3]));
        EXPECT_FALSE(root.DetachChild(probes[3]));
        EXPECT_EQ(root.GetChildCount(), 19);
        EXPECT_EQ(root.GetChild(3), probes[4]);
        EXPECT_EQ(probes[3]->parent(), nullptr);
        delete probes[3];
        g_order.clear();

        // Nested: a group's children go with it.
        auto* group = new CGLGroup;
        group->AddChild(new Probe(50));
        root.AddChild(group);
        root.DeleteChildren();
        EXPECT_EQ(root.GetChildCount(), 0);
        EXPECT_EQ(root.GetChild(0), nullptr);
        ASSERT_EQ(g_order.size(), 20u);
        EXPECT_EQ(g_order[0], 50);   // the group (last) first, with its child
        EXPECT_EQ(g_order[1], 19);
        EXPECT_EQ(g_order.back(), 0);
        root.AddChild(new Probe(60));  // usable again after emptying
    }
    EXPECT_EQ(g_destroyed, 22);
}

TEST(SceneTree, TransformPointMatchesTheGlOrder) {
    CGLObject node;
    node.x = 1.0f;
    node.y = 2.0f;
    node.z = -3.0f;
    node.rotY = 90.0;
    Vector4 p{1.0, 0.0, 0.0, 1.0};
    node.TransformPoint(p, false, true);
    // Rotating +x by 90 degrees about Y gives -z.
    EXPECT_NEAR(p.x, 0.0, 1e-12);
    EXPECT_NEAR(p.z, -1.0, 1e-12);
    node.TransformPoint(p, true, false);
    EXPECT_NEAR(p.x, 1.0, 1e-12);
    EXPECT_NEAR(p.y, 2.0, 1e-12);
    EXPECT_NEAR(p.z, -4.0, 1e-12);
    EXPECT_FALSE(AngleMatters(1e-7));
    EXPECT_FALSE(AngleMatters(-1e-6));
    EXPECT_TRUE(AngleMatters(2e-6));
}

TEST(SceneTree, HitTestsOfButtonsAndImagesIncludeTheLowerLeftEdgeOnly) {
    C2DButton2 button;
    button.x = 6.0f;
    button.y = 38.0f;
    button.width = 32.0f;
    button.height = 32.0f;
    EXPECT_TRUE(HitTest2D(button, 6.0f, 38.0f));
    EXPECT_TRUE(HitTest2D(button, 37.9f, 69.9f));
    EXPECT_FALSE(HitTest2D(button, 38.0f, 50.0f));
    EXPECT_FALSE(HitTest2D(button, 20.0f, 70.0f));
    EXPECT_FALSE(HitTest2D(button, 5.9f, 50.0f));
    button.width = 0.0f;
    EXPECT_FALSE(HitTest2D(button, 6.0f, 38.0f));
    C2DImage image;
    image.x = 10.0f;
    image.width = 88.0f;
    image.height = 66.0f;
    EXPECT_TRUE(HitTest2D(image, 10.0f, 0.0f));
    EXPECT_FALSE(HitTest2D(image, 98.0f, 1.0f));
    button.SetState(7, 64, 0, 128, 256);
    EXPECT_EQ(button.texture, 7u);
    EXPECT_EQ(button.atlasX, 64);
    EXPECT_EQ(button.atlasHeight, 256);
}

class SceneRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(surface.ok());
        ASSERT_EQ(context.Create(surface.dc(), kBitmapPixelFormatFlags), 0u) << context.win32Error();
        ASSERT_TRUE(context.MakeCurrent(surface.dc()));
        detail.slices = 36;
        detail.stacks = 30;
        detail.layers = 4;
    }
    void TearDown() override {
        scene.DeleteChildren();
        context.Release();
    }
    // The camera 12 units back, looking at the origin.
    void StartFrame() {
        scene.Resize(kSide, kSide);
        scene.z = -12.0f;
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    }

    static constexpr int kSide = 64;
    GLTestSurface surface{kSide, kSide};
    RenderContext context;
    CScene scene;
    PerfState detail;
};

TEST_F(SceneRenderTest, ResizeSetsViewportAndPerspective) {
    scene.Resize(kSide, 32);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], kSide);
    EXPECT_EQ(viewport[3], 32);
    EXPECT_EQ(scene.width, kSide);
    EXPECT_EQ(scene.height, 32);
    // ProjectToScreen agrees with gluProject for a translated scene.
    scene.z = -12.0f;
    GLdouble model[16], projection[16];
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -12.0f);
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    GLdouble wx = 0, wy = 0, wz = 0;
    ASSERT_TRUE(gluProject(1.5, -0.75, 2.0, model, projection, viewport, &wx, &wy, &wz));
    const CScene::ScreenPoint p = scene.ProjectToScreen(Vector4{1.5, -0.75, 2.0, 1.0});
    EXPECT_NEAR(p.x, wx, 1e-3);
    EXPECT_NEAR(p.y, wy, 1e-3);
    EXPECT_NEAR((p.depth - 1.0) / 29.0, wz, 1e-3);  // depth in near..far
}

TEST_F(SceneRenderTest, TinyRotationsAreSkipped) {
    CGLObject node;
    node.rotX = 1e-7;
    node.rotY = -1e-7;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    node.ApplyTransform();
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], (i % 5 == 0) ? 1.0 : 0.0) << i;
    node.rotX = 90.0;
    glLoadIdentity();
    node.ApplyTransform();
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[6], 1.0, 1e-6);  // y turned into z
}

TEST_F(SceneRenderTest, ALitSphereIsBrightTowardsTheLamp) {
    auto* lamp = new CLamp(GL_LIGHT1);
    auto* sphere = new CSphere;
    scene.AddChild(lamp);
    scene.AddChild(sphere);
    sphere->radius = 3.0f;
    sphere->SetDetail(&detail);
    StartFrame();
    scene.Init();
    // The head light off, a white lamp to the right of the globe.
    glDisable(GL_LIGHT0);
    lamp->spotCutoff = 90;
    for (float& c : lamp->diffuse) c = 1.0f;
    lamp->Init();
    lamp->position[0] = 8.0;
    lamp->position[2] = 2.0;
    scene.Compile();
    ASSERT_NE(sphere->listName, 0u);
    scene.Draw();
    glFinish();
    // The globe fills most of the bitmap; the limb that faces the lamp is lit.
    const Rgb right = ReadRgb(kSide / 2 + 24, kSide / 2);
    const Rgb left = ReadRgb(kSide / 2 - 24, kSide / 2);
    const Rgb outside = ReadRgb(1, 1);
    EXPECT_GT(Brightness(right), Brightness(left) + 100) << right.r << " " << left.r;
    EXPECT_EQ(Brightness(outside), 0);
    GdiFlush();
    EXPECT_NE(surface.Pixel(kSide / 2 + 24, kSide / 2), 0u);  // reached the bitmap too

    // The lamp on the other side turns it round.
    lamp->position[0] = -8.0;
    scene.Draw();
    glFinish();
    EXPECT_GT(Brightness(ReadRgb(kSide / 2 - 24, kSide / 2)), Brightness(ReadRgb(kSide / 2 + 24, kSide / 2)) + 100);

    // A second compile keeps the one list name.
    const GLuint name = sphere->listName;
    scene.Compile();
    EXPECT_EQ(sphere->listName, name);
    EXPECT_TRUE(glIsList(name));
    scene.DeleteChildren();
    EXPECT_FALSE(glIsList(name));
}

TEST_F(SceneRenderTest, APlanetWithoutTexturesIsOnePaleShell) {
    auto* planet = new CPlanet;
    scene.AddChild(planet);
    planet->radius = 3.0f;
    planet->SetDetail(&detail);
    StartFrame();
    scene.Init();
    scene.Compile();
    scene.Draw();
    glFinish();
    const Rgb centre = ReadRgb(kSide / 2, kSide / 2);
    EXPECT_GT(centre.b, centre.r);  // the blue of the atmosphere, half transparent
    EXPECT_GT(centre.b, 0);
    EXPECT_LT(centre.b, 200);
    EXPECT_EQ(Brightness(ReadRgb(1, 1)), 0);
    EXPECT_FALSE(planet->HasEarth());
    EXPECT_EQ(planet->SetCloudTiles(nullptr), 0u);
    EXPECT_FALSE(planet->HasClouds());
}

namespace {

// Eight flat tiles of 16 x 16: the northern four (row 1) red, the southern
// green, with a distinct blue per column.
void FillTiles(TileSet& set, int components, bool clouds) {
    for (int i = 0; i < kTileCount; ++i) {
        CGLTexture& t = set.tiles[i];
        t.Free(true);
        t.imageWidth = t.storedWidth = 16;
        t.imageHeight = t.storedHeight = 16;
        t.components = components;
        t.pixels = static_cast<uint8_t*>(std::malloc(16 * 16 * components));
        for (int p = 0; p < 256; ++p) {
            uint8_t* px = t.pixels + p * components;
            if (clouds) {
                px[0] = px[1] = px[2] = 255;
                px[3] = 255;  // solid white cloud
            } else {
                px[0] = i >= 4 ? 220 : 20;
                px[1] = i >= 4 ? 20 : 220;
                px[2] = static_cast<uint8_t>(40 * (i % 4));
            }
        }
    }
}

}  // namespace

TEST_F(SceneRenderTest, TheTiledEarthShowsNorthAndSouthAndCloudsCoverIt) {
    auto* planet = new CPlanet;
    scene.AddChild(planet);
    planet->radius = 3.0f;
    planet->SetDetail(&detail);
    TileSet earth;
    FillTiles(earth, 3, false);
    ASSERT_EQ(planet->SetEarthTiles(&earth), 0u);
    EXPECT_TRUE(planet->HasEarth());
    EXPECT_EQ(planet->tileWidth, 16);
    for (GLuint name : planet->earthNames) EXPECT_TRUE(glIsTexture(name));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));  // left as it was
    StartFrame();
    scene.Init();
    scene.Compile();
    scene.Draw();
    glFinish();
    // Replace mode: the texture's own colours.
    const Rgb north = ReadRgb(kSide / 2, kSide / 2 + 8);
    const Rgb south = ReadRgb(kSide / 2, kSide / 2 - 8);
    EXPECT_GT(north.r, 150);
    EXPECT_LT(north.g, 80);
    EXPECT_GT(south.g, 150);
    EXPECT_LT(south.r, 80);

    // Clouds need the second texture unit.
    TileSet clouds;
    FillTiles(clouds, 4, true);
    ASSERT_EQ(planet->SetCloudTiles(&clouds), 0u);
    EXPECT_EQ(planet->HasClouds(), GLExtensionFlags().multitexture);
    if (planet->HasClouds()) {
        scene.Compile();
        scene.Draw();
        glFinish();
        const Rgb covered = ReadRgb(kSide / 2, kSide / 2 + 8);
        EXPECT_GT(covered.g, 200);
        EXPECT_GT(covered.b, 200);
    }
    // Clouds off: their names go, the earth is drawn alone again.
    const GLuint cloudName = planet->cloudNames[0];
    ASSERT_EQ(planet->SetCloudTiles(nullptr), 0u);
    EXPECT_FALSE(planet->HasClouds());
    if (cloudName) {
        EXPECT_FALSE(glIsTexture(cloudName));
    }
    scene.Compile();
    scene.Draw();
    glFinish();
    EXPECT_GT(ReadRgb(kSide / 2, kSide / 2 + 8).r, 150);

    // No tiles: the earth names go too.
    const GLuint earthName = planet->earthNames[0];
    EXPECT_EQ(planet->SetEarthTiles(nullptr), 0u);
    EXPECT_FALSE(planet->HasEarth());
    EXPECT_FALSE(glIsTexture(earthName));
    EXPECT_EQ(planet->tileWidth, 0);
}

TEST_F(SceneRenderTest, CityPointsTakeTheColourOfTheirLabelFlag) {
    auto* planet = new CPlanet;
    scene.AddChild(planet);
    planet->radius = 3.0f;
    planet->SetDetail(&detail);
    CityRecord cities[2] = {};
    // Straight towards the camera, and a little above.
    cities[0].map.position[2] = 3.01;
    cities[0].map.position[3] = 1.0;
    cities[1].map.position[1] = 0.9;
    cities[1].map.position[2] = 2.9;
    cities[1].map.position[3] = 1.0;
    cities[1].map.withinRadius = 1;
    planet->SetCities(cities, 2);
    StartFrame();
    scene.Init();
    scene.Compile();
    scene.Draw();
    glFinish();
    // Both points lie on the globe's face and change it from the bare shell.
    const CScene::ScreenPoint p0 = scene.ProjectToScreen(Vector4{0.0, 0.0, 3.01, 1.0});
    const CScene::ScreenPoint p1 = scene.ProjectToScreen(Vector4{0.0, 0.9, 2.9, 1.0});
    const Rgb c0 = ReadRgb(static_cast<int>(p0.x), static_cast<int>(p0.y));
    const Rgb c1 = ReadRgb(static_cast<int>(p1.x), static_cast<int>(p1.y));
    EXPECT_GT(c0.r, c0.b);  // orange
    EXPECT_GT(c1.g, c1.r);  // green for the city within the radius
}

TEST_F(SceneRenderTest, ButtonsDrawTheirAtlasCellAndNothingWithoutATexture) {
    // 2 x 2 atlas: lower half (hovered looks) red, upper half (idle) blue.
    const uint8_t atlas[4 * 4] = {255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 255, 255, 0, 0, 255, 255};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, atlas);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kSide, 0, kSide, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);

    CGLGroup group;
    group.x = 10.0f;
    auto* button = new C2DButton2;
    button->SetState(name, 0, 0, 2, 2);
    button->width = 2.0f;  // the whole width of the atlas, half its height
    button->height = 1.0f;
    group.AddChild(button);
    button->x = 0.0f;
    button->y = 0.0f;
    // Stretch: scale the group up so the cell covers many pixels.
    glScalef(1.0f, 1.0f, 1.0f);
    button->width = 2.0f;
    group.Draw();
    glFinish();
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[12], 0.0);  // the group's move stayed inside it

    // Draw a large idle button: the upper (blue) half.
    glClear(GL_COLOR_BUFFER_BIT);
    C2DButton2 big;
    big.SetState(name, 0, 0, 2, 2);
    big.width = 2.0f;
    big.height = 1.0f;
    glLoadIdentity();
    glScalef(16.0f, 16.0f, 1.0f);
    big.Draw();
    glFinish();
    Rgb idle = ReadRgb(8, 8);
    EXPECT_GT(idle.b, 150);
    EXPECT_LT(idle.r, 100);
    big.hover = true;
    glClear(GL_COLOR_BUFFER_BIT);
    big.Draw();
    glFinish();
    Rgb hovered = ReadRgb(8, 8);
    EXPECT_GT(hovered.r, 150);
    EXPECT_LT(hovered.b, 100);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    // No texture, or an empty rectangle: nothing.
    glClear(GL_COLOR_BUFFER_BIT);
    big.texture = 0;
    big.Draw();
    C2DImage image;
    image.SetTexture(name, 2, 2);
    image.width = 0.0f;
    image.Draw();
    glFinish();
    EXPECT_EQ(Brightness(ReadRgb(8, 8)), 0);
    // An image shows its texture from the lower left corner.
    image.width = 2.0f;
    image.height = 1.0f;
    image.Draw();
    glFinish();
    EXPECT_GT(ReadRgb(8, 8).r, 150);
    glDeleteTextures(1, &name);
}
