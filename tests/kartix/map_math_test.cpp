// The map's vector and matrix math against hand-worked values.
#include <gtest/gtest.h>

#include <cmath>

#include "kartix/map_math.h"

namespace {

constexpr double kEps = 1e-12;

void ExpectVector(const Vector4& v, double x, double y, double z, double w) {
    EXPECT_NEAR(v.x, x, kEps);
    EXPECT_NEAR(v.y, y, kEps);
    EXPECT_NEAR(v.z, z, kEps);
    EXPECT_NEAR(v.w, w, kEps);
}

Matrix4 Numbered() {
    Matrix4 m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m.m[r][c] = r * 4 + c + 1;
    return m;
}

}  // namespace

TEST(MapMath, MultiplyIsRowTimesColumnInPlace) {
    Matrix4 a = Numbered();
    Matrix4 b;
    Matrix4Identity(b);
    b.m[0][1] = 2.0;  // column 1 gains twice column 0
    Matrix4Multiply(a, b);
    EXPECT_EQ(a.m[0][0], 1.0);
    EXPECT_EQ(a.m[0][1], 2.0 + 2.0 * 1.0);
    EXPECT_EQ(a.m[3][1], 14.0 + 2.0 * 13.0);
    EXPECT_EQ(a.m[2][3], 12.0);

    Matrix4 p = Numbered(), q = Numbered();
    Matrix4Multiply(p, q);
    // Row 0 of 1..16 times column 0: 1*1 + 2*5 + 3*9 + 4*13.
    EXPECT_EQ(p.m[0][0], 90.0);
    // Row 3 times column 3: 13*4 + 14*8 + 15*12 + 16*16.
    EXPECT_EQ(p.m[3][3], 600.0);
}

TEST(MapMath, RotationsTurnAxesCounterClockwise) {
    const double quarter = kMapPi / 2;
    Matrix4 m;
    Vector4 v;

    Matrix4Identity(m);
    Matrix4RotateX(m, quarter);
    Vector4Set(v, 0, 1, 0, 1);
    Matrix4TransformVector(v, m);
    ExpectVector(v, 0, 0, 1, 1);  // y turns into z

    Matrix4Identity(m);
    Matrix4RotateY(m, quarter);
    Vector4Set(v, 0, 0, 1, 1);
    Matrix4TransformVector(v, m);
    ExpectVector(v, 1, 0, 0, 1);  // z turns into x

    Matrix4Identity(m);
    Matrix4RotateZ(m, quarter);
    Vector4Set(v, 1, 0, 0, 1);
    Matrix4TransformVector(v, m);
    ExpectVector(v, 0, 1, 0, 1);  // x turns into y
}

TEST(MapMath, RotationsCompose_ThenTranslationAppliesToPointsOnly) {
    Matrix4 m;
    Matrix4Identity(m);
    Matrix4SetTranslation(m, 1, 2, 3);
    Matrix4RotateZ(m, kMapPi / 2);  // translation x rotation: rotate first, then move
    EXPECT_NEAR(m.m[0][3], 1.0, kEps);
    EXPECT_NEAR(m.m[1][3], 2.0, kEps);

    Vector4 points[2] = {{1, 0, 0, 7}, {0, 0, 1, 0}};
    Matrix4TransformPoints(points, 2, m);
    ExpectVector(points[0], 1, 3, 3, 7);  // w is left alone
    ExpectVector(points[1], 1, 2, 4, 0);  // transformed as a point even with w 0

    Vector4 direction{1, 0, 0, 0};
    Matrix4TransformVector(direction, m);
    ExpectVector(direction, 0, 1, 0, 0);  // w 0: no translation
    Matrix4TransformPoints(nullptr, 3, m);  // no points: nothing to do
}

TEST(MapMath, TransposeGivesOpenGLColumnOrderAndMayWorkInPlace) {
    Matrix4 m = Numbered(), t;
    Matrix4SetTranslation(m, 10, 20, 30);
    Matrix4Transpose(m, t);
    EXPECT_EQ(t.m[3][0], 10.0);
    EXPECT_EQ(t.m[3][1], 20.0);
    EXPECT_EQ(t.m[3][2], 30.0);
    EXPECT_EQ(t.m[0][1], 5.0);
    Matrix4Transpose(m, m);
    EXPECT_EQ(m.m[3][2], 30.0);
    EXPECT_EQ(m.m[1][0], 2.0);
}

TEST(MapMath, SphericalPositionsOfTheGlobe) {
    ExpectVector(SphericalToVector(0, 0, 3), 0, 0, 3, 1);
    ExpectVector(LatLongToVector(90, 0, 3), 0, 3, 0, 1);
    ExpectVector(LatLongToVector(0, 90, 2), 2, 0, 0, 1);
    ExpectVector(LatLongToVector(-90, 45, 1), 0, -1, 0, 1);
    const Vector4 v = LatLongToVector(45, 180, std::sqrt(2.0));
    ExpectVector(v, 0, 1, -1, 1);
}

TEST(MapMath, LatLongFromVectorCoversTheFarHalfAbove180) {
    const LatLong back = VectorToLatLongDegrees(Vector4{-1, 0, -1, 1});
    EXPECT_NEAR(back.longitude, 225.0, 1e-9);
    EXPECT_NEAR(back.latitude, 0.0, 1e-9);

    const LatLong r = VectorToLatLong(Vector4{-1, 0, -1, 1});
    EXPECT_NEAR(r.longitude, kMapPi + kMapPi / 4, 1e-12);

    const LatLong west = VectorToLatLongDegrees(LatLongToVector(30, -60, 3));
    EXPECT_NEAR(west.latitude, 30.0, 1e-9);
    EXPECT_NEAR(west.longitude, -60.0, 1e-9);

    const LatLong pole = VectorToLatLongDegrees(Vector4{0, 2, 0, 1});
    EXPECT_NEAR(pole.latitude, 90.0, 1e-9);
    EXPECT_EQ(pole.longitude, 0.0);  // no NaN at the pole or the centre
    const LatLong centre = VectorToLatLong(Vector4{0, 0, 0, 1});
    EXPECT_EQ(centre.latitude, 0.0);
    EXPECT_EQ(centre.longitude, 0.0);
}

TEST(MapMath, AnglesGetOneCorrectionOnly) {
    EXPECT_EQ(NormalizeAngle(725), 365);
    EXPECT_EQ(NormalizeAngle(360), 0);
    EXPECT_EQ(NormalizeAngle(-1), 359);
    EXPECT_EQ(NormalizeAngle(-400), -40);
    EXPECT_EQ(RotateAngle(359, 1), 0);
    EXPECT_EQ(RotateAngle(0, -1), 359);
    EXPECT_EQ(RotateAngle(40, 1), 41);
}
