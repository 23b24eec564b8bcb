#include "kartix/map_math.h"

#include <algorithm>
#include <cmath>

void Vector4Set(Vector4& v, double x, double y, double z, double w) {
    v.x = x;
    v.y = y;
    v.z = z;
    v.w = w;
}

void Matrix4Identity(Matrix4& a) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) a.m[r][c] = r == c ? 1.0 : 0.0;
}

void Matrix4Multiply(Matrix4& a, const Matrix4& b) {
    Matrix4 product;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += a.m[r][k] * b.m[k][c];
            product.m[r][c] = sum;
        }
    a = product;
}

void Matrix4RotateX(Matrix4& a, double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    Matrix4 r;
    Matrix4Identity(r);
    r.m[1][1] = c;
    r.m[1][2] = -s;
    r.m[2][1] = s;
    r.m[2][2] = c;
    Matrix4Multiply(a, r);
}

void Matrix4RotateY(Matrix4& a, double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    Matrix4 r;
    Matrix4Identity(r);
    r.m[0][0] = c;
    r.m[0][2] = s;
    r.m[2][0] = -s;
    r.m[2][2] = c;
    Matrix4Multiply(a, r);
}

void Matrix4RotateZ(Matrix4& a, double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    Matrix4 r;
    Matrix4Identity(r);
    r.m[0][0] = c;
    r.m[0][1] = -s;
    r.m[1][0] = s;
    r.m[1][1] = c;
    Matrix4Multiply(a, r);
}

void Matrix4SetTranslation(Matrix4& a, double x, double y, double z) {
    a.m[0][3] = x;
    a.m[1][3] = y;
    a.m[2][3] = z;
}

void Matrix4Transpose(const Matrix4& source, Matrix4& target) {
    Matrix4 t;  // source and target may be the same matrix
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) t.m[c][r] = source.m[r][c];
    target = t;
}

void Matrix4TransformVector(Vector4& v, const Matrix4& m) {
    const double in[4] = {v.x, v.y, v.z, v.w};
    double out[4];
    for (int r = 0; r < 4; ++r)
        out[r] = m.m[r][0] * in[0] + m.m[r][1] * in[1] + m.m[r][2] * in[2] + m.m[r][3] * in[3];
    Vector4Set(v, out[0], out[1], out[2], out[3]);
}

void Matrix4TransformPoints(Vector4* points, int n, const Matrix4& m) {
    if (!points) return;
    for (int i = 0; i < n; ++i) {
        Vector4& p = points[i];
        const double x = p.x, y = p.y, z = p.z;
        p.x = m.m[0][0] * x + m.m[0][1] * y + m.m[0][2] * z + m.m[0][3];
        p.y = m.m[1][0] * x + m.m[1][1] * y + m.m[1][2] * z + m.m[1][3];
        p.z = m.m[2][0] * x + m.m[2][1] * y + m.m[2][2] * z + m.m[2][3];
    }
}

Vector4 SphericalToVector(double latitude, double longitude, double r) {
    const double c = std::cos(latitude);
    return Vector4{r * c * std::sin(longitude), r * std::sin(latitude), r * c * std::cos(longitude), 1.0};
}

Vector4 LatLongToVector(double latitudeDeg, double longitudeDeg, double r) {
    return SphericalToVector(DegreesToRadians(latitudeDeg), DegreesToRadians(longitudeDeg), r);
}

LatLong VectorToLatLong(const Vector4& p) {
    LatLong result{0.0, 0.0};
    const double length = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    // A zero vector (or a pole, for the longitude) would divide by zero: the
    // picked point is never the centre, but a bad record must not give NaN.
    if (length > 0.0) result.latitude = std::asin(std::clamp(p.y / length, -1.0, 1.0));
    const double ring = std::sqrt(p.x * p.x + p.z * p.z);
    if (ring > 0.0) {
        result.longitude = std::asin(std::clamp(p.x / ring, -1.0, 1.0));
        if (p.z < 0.0) result.longitude = kMapPi - result.longitude;
    }
    return result;
}

LatLong VectorToLatLongDegrees(const Vector4& p) {
    LatLong r = VectorToLatLong(p);
    return LatLong{RadiansToDegrees(r.latitude), RadiansToDegrees(r.longitude)};
}

double RotateAngle(double angle, double step) {
    double a = angle + step;
    if (a >= 360.0)
        a -= 360.0;
    else if (a < 0.0)
        a += 360.0;
    return a;
}

double NormalizeAngle(double angle) { return RotateAngle(angle, 0.0); }
