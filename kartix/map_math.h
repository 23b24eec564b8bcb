// Double-precision vectors and matrices for picking, projecting city positions
// and placing labels on the CPU with the transforms OpenGL applies when drawing.
#pragma once

inline constexpr double kMapPi = 3.141592653589793;

struct Vector4 {
    double x, y, z, w;
};

// Row-major (m[row][column]); points are column vectors (p' = M x p), so the
// translation sits in column 3.
struct Matrix4 {
    double m[4][4];
};

static_assert(sizeof(Vector4) == 32);
static_assert(sizeof(Matrix4) == 128);

void Vector4Set(Vector4& v, double x, double y, double z, double w);

void Matrix4Identity(Matrix4& a);
// a = a x b
void Matrix4Multiply(Matrix4& a, const Matrix4& b);
// a = a x R, angles in radians
void Matrix4RotateX(Matrix4& a, double radians);
void Matrix4RotateY(Matrix4& a, double radians);
void Matrix4RotateZ(Matrix4& a, double radians);
// Writes x, y, z into column 3 of rows 0..2; nothing else changes.
void Matrix4SetTranslation(Matrix4& a, double x, double y, double z);
// OpenGL expects column-major matrices: hand it the transpose.
void Matrix4Transpose(const Matrix4& source, Matrix4& target);
// v = M x v with all four components.
void Matrix4TransformVector(Vector4& v, const Matrix4& m);
// x, y, z of each point = upper 3 x 4 part of M applied to (x, y, z, 1); w kept.
void Matrix4TransformPoints(Vector4* points, int n, const Matrix4& m);

// (r cos(lat) sin(lon), r sin(lat), r cos(lat) cos(lon), 1), radians.
Vector4 SphericalToVector(double latitude, double longitude, double r);
// The same from degrees.
Vector4 LatLongToVector(double latitudeDeg, double longitudeDeg, double r);

struct LatLong {
    double latitude;
    double longitude;
};
// Longitudes come out in -pi/2 .. 3pi/2: the far half is pi minus the arcsine.
// The origin gives (0, 0).
LatLong VectorToLatLong(const Vector4& p);
LatLong VectorToLatLongDegrees(const Vector4& p);

// One correction only: -360 when the sum is 360 or more, +360 when below 0.
double RotateAngle(double angle, double step);
double NormalizeAngle(double angle);

inline double DegreesToRadians(double degrees) { return degrees * kMapPi / 180.0; }
inline double RadiansToDegrees(double radians) { return radians * 180.0 / kMapPi; }
