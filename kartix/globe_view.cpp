// Picking, the nearest cities, the readout, the fly-to plan and the labels.
#include "kartix/globe_view.h"

#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/settings/time_format.h"
#include "common/zones/zone_time.h"
#include "kartix/gl_scene.h"
#include "kartix/map_scene.h"
#include "kartix/map_state.h"

namespace {

void ToColumnMajor(const Matrix4& m, GLdouble (&out)[16]) {
    Matrix4 t;
    Matrix4Transpose(m, t);
    std::memcpy(out, t.m, sizeof(out));
}

// Wide text into a bounded ANSI buffer; empty on failure.
void ToAnsiBounded(const wchar_t* text, char* out, int bytes) {
    out[0] = '\0';
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, out, bytes + 1, nullptr, nullptr);
    if (n <= 0) {
        // Too long for the room: cut it to what fits.
        const int cut = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
        if (cut <= 0) return;
        std::string whole(static_cast<size_t>(cut), '\0');
        WideCharToMultiByte(CP_ACP, 0, text, -1, whole.data(), cut, nullptr, nullptr);
        std::memcpy(out, whole.data(), static_cast<size_t>(bytes));
        out[bytes] = '\0';
    }
}

// The addresses are the build's: the photo service's is the one the photo
// cache downloads from.
const char* const kCreditTexts[kCreditLines] = {
    "Terrain imagery by NASA's Earth Observatory",
    "Clouds map by Xplanet project",
    "City database by www.geonames.org",
    "City photos by www.vistrel.example",
};
const wchar_t* const kCreditAddresses[kCreditLines] = {
    L"http://earthobservatory.nasa.gov/",
    L"http://xplanet.sourceforge.net/",
    L"http://www.geonames.org/",
    L"http://www.vistrel.example/",
};

}  // namespace

GlobeViewState& GlobeView() {
    static GlobeViewState state;
    return state;
}

bool PickGlobePoint(const CScene& scene, double radius, int x, int y, bool withRotation, Vector4& point) {
    Matrix4 model, projection;
    scene.TransformMatrix(model, true, withRotation);
    scene.PerspectiveMatrix(projection);
    GLdouble mv[16], pr[16];
    ToColumnMajor(model, mv);
    ToColumnMajor(projection, pr);
    const GLint viewport[4] = {0, 0, scene.width, scene.height};
    GLdouble p1[3], p2[3];
    if (gluUnProject(x, y, -1.0, mv, pr, viewport, &p1[0], &p1[1], &p1[2]) != GL_TRUE) return false;
    if (gluUnProject(x, y, 1.0, mv, pr, viewport, &p2[0], &p2[1], &p2[2]) != GL_TRUE) return false;
    double d[3] = {p2[0] - p1[0], p2[1] - p1[1], p2[2] - p1[2]};
    const double len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (!(len > 0.0)) return false;
    for (double& c : d) c /= len;
    // The planet sits at the origin of the frame the matrices lead to.
    const double t = -(d[0] * p1[0] + d[1] * p1[1] + d[2] * p1[2]);
    const double q[3] = {p1[0] + t * d[0], p1[1] + t * d[1], p1[2] + t * d[2]};
    const double e = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2]);
    if (e > radius) return false;
    const double back = std::sqrt(radius * radius - e * e);
    point = Vector4{q[0] - back * d[0], q[1] - back * d[1], q[2] - back * d[2], 1.0};
    return true;
}

int FindNearestCity(CityRecord* cities, int count, const Vector4& point, double radius, int* list, int max,
                    int* countOut) {
    int nearest = -1, within = 0, listed = 0;
    double best = 0.0;
    for (int i = 0; cities && i < count; ++i) {
        CityMapArea& a = cities[i].map;
        a.withinRadius = 0;
        a.nearest = 0;
        const double dx = a.position[0] - point.x, dy = a.position[1] - point.y, dz = a.position[2] - point.z;
        const double d = dx * dx + dy * dy + dz * dz;
        if (!list) a.distance2 = d;
        if (d <= radius * radius) {
            a.withinRadius = 1;
            if (list && listed < max) list[listed++] = i;
            ++within;
        }
        if (nearest < 0 || d < best) {
            nearest = i;
            best = d;
        }
    }
    if (nearest >= 0) cities[nearest].map.nearest = 1;
    if (countOut) *countOut = list ? listed : within;
    return nearest;
}

void FormatLatLong(double latitudeDeg, double longitudeDeg, char* text, size_t size) {
    const int m = (static_cast<int>(latitudeDeg * 60.0) % 21600 + 21600) % 21600;
    const int q = m / 5400;
    const int lonMinutes = static_cast<int>(longitudeDeg * 60.0) % 21600;
    int lat = m, lon = lonMinutes;
    if (q == 1 || q == 2) {
        lat = 10800 - m;
        lon = lonMinutes + 10800;
    } else if (q == 3) {
        lat = m - 21600;
    }
    lon = (lon + 21600) % 21600;
    if (lon > 10800) lon -= 21600;
    const int alat = std::abs(lat), alon = std::abs(lon);
    snprintf(text, size, "Lat %2d\xB0%2.2d'%c  Long %3d\xB0%2.2d'%c", alat / 60, alat % 60, lat < 0 ? 'S' : 'N',
             alon / 60, alon % 60, lon < 0 ? 'W' : 'E');
}

Vector4 ProjectGlobePoint(const CScene& scene, const Vector4& point) {
    Vector4 p = point;
    scene.TransformPoint(p, false, true);
    const CScene::ScreenPoint w = scene.ProjectToScreen(p);
    return Vector4{w.x, w.y, w.depth, 1.0};
}

void UpdateHoverPoint(HoverPoint& hover, const CScene& scene) {
    const Vector4& p = hover.point;
    const double r = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    const double h = std::sqrt(p.x * p.x + p.z * p.z);
    hover.latitude = r > 0.0 ? std::asin(std::clamp(p.y / r, -1.0, 1.0)) : 0.0;
    hover.longitude = h > 0.0 ? std::asin(std::clamp(p.x / h, -1.0, 1.0)) : 0.0;
    if (p.z < 0.0) hover.longitude = kMapPi - hover.longitude;
    hover.latitudeDeg = RadiansToDegrees(hover.latitude);
    hover.longitudeDeg = RadiansToDegrees(hover.longitude);
    hover.projected = ProjectGlobePoint(scene, p);
}

FlyToPlan PlanFlyTo(double fromTilt, double toTilt, double fromLongitude, double toLongitude) {
    FlyToPlan plan;
    fromTilt = NormalizeAngle(fromTilt);
    toTilt = NormalizeAngle(toTilt);
    fromLongitude = NormalizeAngle(fromLongitude);
    toLongitude = NormalizeAngle(toLongitude);
    auto shortWay = [](double d) { return d > 180.0 ? d - 360.0 : (d < -180.0 ? d + 360.0 : d); };
    const double dt = shortWay(toTilt - fromTilt);
    const double dl = shortWay(toLongitude - fromLongitude);
    plan.steps = std::max(2, static_cast<int>(std::sqrt(dt * dt + dl * dl) * 150.0 / 180.0));
    plan.tiltStep = dt / plan.steps;
    plan.longitudeStep = dl / plan.steps;
    plan.toTilt = toTilt;
    plan.toLongitude = toLongitude;
    plan.count = 0;
    plan.running = true;
    return plan;
}

bool AdvanceFlyTo(FlyToPlan& plan, MapCamera& camera) {
    if (!plan.running) return false;
    if (++plan.count >= plan.steps) {
        camera.tilt = plan.toTilt;
        camera.longitude = plan.toLongitude;
        plan.running = false;
        return false;
    }
    camera.tilt = RotateAngle(camera.tilt, plan.tiltStep);
    camera.longitude = RotateAngle(camera.longitude, plan.longitudeStep);
    return true;
}

bool CompareLabelRows(const CityRecord* cities, int a, int b) {
    return cities[a].map.projected[1] > cities[b].map.projected[1];
}

int BuildLabelRows(const CityRecord* cities, const int* list, int n, const SYSTEMTIME& utc, LabelRow* rows) {
    int used = 0, rowsOut = 0;
    for (int j = 0; j < n && j < kMaxLabelRows && kLabelTextBytes - used >= kLabelRowReserve; ++j) {
        const CityRecord& c = cities[list[j]];
        LabelRow& row = rows[rowsOut++];
        row.city = list[j];
        row.time[0] = '\0';
        SYSTEMTIME local{};
        if (c.zone && UtcToZoneTime(utc, &local, *c.zone)) {
            wchar_t wide[kLabelTimeBytes + 1] = {};
            const unsigned seconds = local.wHour * 3600u + local.wMinute * 60u + local.wSecond;
            FormatSeconds(wide, kLabelTimeBytes + 1, seconds, false);
            ToAnsiBounded(wide, row.time, kLabelTimeBytes);
        }
        wchar_t name[kCityNameChars] = {};
        wcsncpy(name, c.city, kCityNameChars - 1);
        ToAnsiBounded(name, row.name, kLabelNameBytes);
        used += static_cast<int>(std::strlen(row.time) + std::strlen(row.name) + 2);
    }
    return rowsOut;
}

const char* CreditLineText(int line) { return line >= 0 && line < kCreditLines ? kCreditTexts[line] : ""; }
const wchar_t* CreditLineAddress(int line) {
    return line >= 0 && line < kCreditLines ? kCreditAddresses[line] : L"";
}

int CreditLineAt(const MapState& s, int x, int y) {
    const int step = s.font.Height() + 2;
    int lineY = 4;
    for (int i = 0; i < kCreditLines; ++i, lineY += step) {
        const int w = s.font.TextWidth(kCreditTexts[i], -1);
        if (x >= 4 && x < 4 + w && y >= lineY && y < lineY + step) return i;
    }
    return -1;
}

double FitCameraLimbDepth(const CScene& scene) {
    double previousX = 0.0;
    Vector4 last = SphericalToVector(0.0, DegreesToRadians(90.0), kPlanetRadius);
    for (int a = 90; a >= 1; --a) {
        const Vector4 p = SphericalToVector(0.0, DegreesToRadians(a), kPlanetRadius);
        const double wx = scene.ProjectToScreen(p).x;
        last = p;
        if (a < 90 && !(wx > previousX)) break;
        previousX = wx;
    }
    return last.z + scene.z;
}

void DrawCityLabels(MapState& s, int* list, int n) {
    GlobeViewState& v = GlobeView();
    const CScene& scene = SceneGraph().root;
    if (n <= 0 || !s.cities) return;
    Vector4 h = v.hover.point;
    scene.TransformPoint(h, true, true);
    if (h.z < v.limbDepth) return;
    const Vector4 hw = ProjectGlobePoint(scene, v.hover.point);
    for (int i = 0; i < n; ++i) {
        CityMapArea& a = s.cities[list[i]].map;
        const Vector4 w = ProjectGlobePoint(scene, Vector4{a.position[0], a.position[1], a.position[2], 1.0});
        a.projected[0] = w.x;
        a.projected[1] = w.y;
        a.projected[2] = w.z;
        a.projected[3] = 1.0;
    }
    const CityRecord* cities = s.cities;
    std::stable_sort(list, list + n, [cities](int a, int b) { return CompareLabelRows(cities, a, b); });
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    static LabelRow rows[kMaxLabelRows];
    const int count = BuildLabelRows(s.cities, list, n, utc, rows);
    int column = 0, rowWidth = 0;
    const int blank = s.font.TextWidth(" ", 1);
    for (int j = 0; j < count; ++j) column = std::max(column, s.font.TextWidth(rows[j].name, -1) + blank);
    for (int j = 0; j < count; ++j) rowWidth = std::max(rowWidth, column + s.font.TextWidth(rows[j].time, -1));
    int r = 0;
    for (int j = 0; j < count; ++j)
        if (s.cities[rows[j].city].map.nearest) r = j;
    const double fh = s.font.Height();
    const double e = fh + 2.0;
    const double bx = hw.x + 7.0;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4d(0.0, 0.0, 0.0, 0.15);
    const double by = hw.y + r * e + fh / 2.0 - count * e;
    glRectd(bx, by, bx + rowWidth + 4, by + count * e);
    for (int j = 0; j < count; ++j) {
        const double yj = hw.y + (r - j) * e;
        if (yj >= s.clientHeight) break;
        if (j == r) {
            const CityMapArea& a = s.cities[rows[j].city].map;
            glPointSize(3.5f);
            glColor3d(0.0, 0.99, 0.0);
            glBegin(GL_POINTS);
            glVertex2d(a.projected[0], a.projected[1]);
            glEnd();
            glColor4d(0.0, 0.9, 0.9, 0.17);
            glRectd(bx, yj - fh / 2.0 - 2.0, bx + rowWidth + 4, yj - fh / 2.0 - 2.0 + e);
            glColor3d(1.0, 1.0, 0.0);
        } else {
            glColor3d(0.75, 0.75, 0.0);
        }
        const float ty = static_cast<float>(yj - fh / 3.0);
        s.font.DrawTextA(static_cast<float>(hw.x + 9.0), ty, 0.0f, rows[j].name, -1);
        s.font.DrawTextA(static_cast<float>(hw.x + 9.0 + column), ty, 0.0f, rows[j].time, -1);
    }
    glDisable(GL_BLEND);
}
