// The globe view: the readout, the nearest cities, the fly-to plan, the
// label rows with local times, and a city picked under the window centre
// after the map has flown to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "common/records/protocol.h"
#include "common/settings/time_format.h"
#include "kartix/globe_view.h"
#include "kartix/map_exports.h"
#include "kartix/map_state.h"
#include "kartix/policy_flags.h"
#include "tests/kartix/gl_test_surface.h"
#include "tests/support/user_locale.h"

namespace {

std::string Readout(double lat, double lon) {
    char text[64];
    FormatLatLong(lat, lon, text, sizeof(text));
    return text;
}

CityRecord MakeCity(const wchar_t* name, double lat, double lon, ZoneRecord* zone) {
    CityRecord c{};
    wcsncpy(c.city, name, kCityNameChars - 1);
    wcsncpy(c.region, L"Land", kCityRegionChars - 1);
    c.latitude = lat;
    c.longitude = lon;
    c.zone = zone;
    const Vector4 p = LatLongToVector(lat, lon, 3.0 * kCityPositionScale);
    c.map.position[0] = p.x;
    c.map.position[1] = p.y;
    c.map.position[2] = p.z;
    c.map.position[3] = 1.0;
    return c;
}

ZoneRecord FixedZone(LONG bias) {
    ZoneRecord z{};
    z.Bias = bias;  // no daylight rule: wMonth 0
    z.id = 1;
    return z;
}

}  // namespace

TEST(GlobeReadout, DegreesAndMinutesWithHemispheres) {
    // At the pole the longitude says nothing; the latitude reads 90 degrees north.
    EXPECT_EQ(Readout(90.0, 0.0).substr(0, 11), "Lat 90\xB0" "00'N");
    EXPECT_EQ(Readout(-33.5, 151.25), "Lat 33\xB0" "30'S  Long 151\xB0" "15'E");
    // Just west of the date line: the far half of the globe reads west.
    EXPECT_EQ(Readout(10.0, 180.5), "Lat 10\xB0" "00'N  Long 179\xB0" "30'W");
    EXPECT_EQ(Readout(0.0, -45.25), "Lat  0\xB0" "00'N  Long  45\xB0" "15'W");
    // Past the pole the latitude folds back and the longitude turns half round.
    EXPECT_EQ(Readout(100.0, 10.0), "Lat 80\xB0" "00'N  Long 170\xB0" "00'W");
}

TEST(GlobeCities, NearestCityFlagsAndDistances) {
    CityRecord cities[3] = {MakeCity(L"A", 10.0, 20.0, nullptr), MakeCity(L"B", 10.001, 20.001, nullptr),
                            MakeCity(L"C", -40.0, 170.0, nullptr)};
    cities[2].map.withinRadius = 1;  // stale flags are cleared
    const Vector4 at = LatLongToVector(10.0, 20.0, 3.0);
    int list[8] = {};
    int n = -1;
    EXPECT_EQ(FindNearestCity(cities, 3, at, kMapLabelRadius, list, 8, &n), 0);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(list[0], 0);
    EXPECT_EQ(list[1], 1);
    EXPECT_EQ(cities[0].map.nearest, 1);
    EXPECT_EQ(cities[1].map.nearest, 0);
    EXPECT_EQ(cities[1].map.withinRadius, 1);
    EXPECT_EQ(cities[2].map.withinRadius, 0);
    EXPECT_EQ(cities[2].map.distance2, 0.0);  // a list search leaves distances alone

    // The list stops at its size; without a list the distances are stored.
    EXPECT_EQ(FindNearestCity(cities, 3, at, kMapLabelRadius, list, 1, &n), 0);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(FindNearestCity(cities, 3, at, kMapLabelRadius, nullptr, 0, &n), 0);
    EXPECT_EQ(n, 2);
    EXPECT_GT(cities[2].map.distance2, 1.0);
    EXPECT_LT(cities[0].map.distance2, 1e-6);

    // No cities at all: no nearest city, nothing within reach.
    EXPECT_EQ(FindNearestCity(nullptr, 0, at, kMapLabelRadius, list, 8, &n), -1);
    EXPECT_EQ(n, 0);
}

TEST(GlobeFlyTo, ShortWayInEqualStepsAndExactTarget) {
    // Across the date line: 350 to 10 degrees is 20 degrees east, not 340 west.
    FlyToPlan plan = PlanFlyTo(40.0, 40.0, 350.0, 10.0);
    EXPECT_EQ(plan.steps, 16);  // int(20 * 150 / 180)
    EXPECT_DOUBLE_EQ(plan.longitudeStep, 20.0 / 16);
    EXPECT_DOUBLE_EQ(plan.tiltStep, 0.0);
    MapCamera camera;
    camera.tilt = 40.0;
    camera.longitude = 350.0;
    int taken = 0;
    double previous = camera.longitude;
    while (AdvanceFlyTo(plan, camera)) {
        ++taken;
        const double moved = NormalizeAngle(camera.longitude - previous);
        EXPECT_NEAR(moved, 1.25, 1e-9);
        previous = camera.longitude;
    }
    EXPECT_EQ(taken + 1, 16);
    EXPECT_EQ(camera.longitude, 10.0);
    EXPECT_EQ(camera.tilt, 40.0);
    EXPECT_FALSE(plan.running);

    // No way to go still takes two steps; negative angles are normalised.
    plan = PlanFlyTo(-10.0, 350.0, 0.0, 360.0);
    EXPECT_EQ(plan.steps, 2);
    EXPECT_EQ(plan.toTilt, 350.0);
    EXPECT_EQ(plan.toLongitude, 0.0);
}

TEST(GlobeLabels, LocalTimesAtAFixedMoment) {
    LocaleTimeFormat format{};
    wcscpy(format.separator, L":");
    format.is24Hour = true;
    SetLocaleTimeFormat(format);
    ZoneRecord plusOne = FixedZone(-60), minusFive = FixedZone(300);
    CityRecord cities[3] = {MakeCity(L"East", 0, 0, &plusOne), MakeCity(L"West", 0, 0, &minusFive),
                            MakeCity(L"Nowhere", 0, 0, nullptr)};
    const int list[3] = {0, 1, 2};
    SYSTEMTIME utc{2026, 1, 4, 15, 12, 34, 56, 0};
    LabelRow rows[kMaxLabelRows];
    ASSERT_EQ(BuildLabelRows(cities, list, 3, utc, rows), 3);
    EXPECT_STREQ(rows[0].name, "East");
    EXPECT_STREQ(rows[0].time, "13:34");
    EXPECT_STREQ(rows[1].time, "07:34");
    EXPECT_STREQ(rows[2].name, "Nowhere");
    EXPECT_STREQ(rows[2].time, "");  // no zone, no time

    // Across midnight the local day changes but only the time is shown.
    utc = SYSTEMTIME{2026, 1, 4, 15, 23, 30, 0, 0};
    ASSERT_EQ(BuildLabelRows(cities, list, 1, utc, rows), 1);
    EXPECT_STREQ(rows[0].time, "00:30");
}

TEST(GlobeLabels, RowsStopAt64AndAtTheTextArea) {
    ZoneRecord zone = FixedZone(0);
    std::vector<CityRecord> cities(200, MakeCity(L"X", 0, 0, &zone));
    std::vector<int> list(200);
    for (int i = 0; i < 200; ++i) list[i] = i;
    SYSTEMTIME utc{2026, 6, 1, 1, 0, 0, 0, 0};
    LabelRow rows[kMaxLabelRows];
    EXPECT_EQ(BuildLabelRows(cities.data(), list.data(), 200, utc, rows), kMaxLabelRows);

    // Long names fill the 4,096-byte area before 64 rows: each row stays bounded.
    std::wstring longName(79, L'N');
    for (CityRecord& c : cities) wcsncpy(c.city, longName.c_str(), kCityNameChars - 1);
    const int n = BuildLabelRows(cities.data(), list.data(), 200, utc, rows);
    EXPECT_LT(n, kMaxLabelRows);
    EXPECT_GT(n, 40);
    EXPECT_EQ(std::strlen(rows[0].name), 79u);
}

TEST(GlobeLabels, HigherRowsFirst) {
    CityRecord cities[2] = {};
    cities[0].map.projected[1] = 10.0;
    cities[1].map.projected[1] = 20.0;
    EXPECT_TRUE(CompareLabelRows(cities, 1, 0));
    EXPECT_FALSE(CompareLabelRows(cities, 0, 1));
}

namespace {

class GlobeWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(surface.ok());
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KartixGlobeTestHost";
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        ASSERT_NE(parent, nullptr);
        SetPolicyKeyOverride(HKEY_CURRENT_USER, L"Software\\TempoviaTests\\NoKartixPolicy");
        cities[0] = MakeCity(L"Alpha", 10.0, 20.0, nullptr);
        cities[1] = MakeCity(L"Beta", 10.001, 20.001, nullptr);
        cities[2] = MakeCity(L"Gamma", -40.0, 170.0, nullptr);
        for (CityRecord& c : cities) c.map = CityMapArea{};  // the plug-in places them itself
        MapAttach(GetModuleHandleW(nullptr));
        ASSERT_EQ(MapInit(cities, 3), 0u);
        SetMapSurfaceOverride(surface.dc(), kBitmapPixelFormatFlags);
        int status = -1;
        map = MapCreateWindow(parent, 0, 0, 200, 200, &status);
        ASSERT_NE(map, nullptr) << std::hex << status;
    }
    void TearDown() override {
        if (map) DestroyWindow(map);
        if (parent) DestroyWindow(parent);
        SetMapSurfaceOverride(nullptr, 0);
        MapFree();
        SetPolicyKeyOverride(nullptr, nullptr);
    }

    GLTestSurface surface{200, 200};
    HWND parent = nullptr;
    HWND map = nullptr;
    CityRecord cities[3] = {};
};

}  // namespace

TEST_F(GlobeWindowTest, CreationPlacesTheCitiesOnTheGlobe) {
    const Vector4 p = LatLongToVector(-40.0, 170.0, 3.0 * kCityPositionScale);
    EXPECT_NEAR(cities[2].map.position[0], p.x, 1e-12);
    EXPECT_NEAR(cities[2].map.position[1], p.y, 1e-12);
    EXPECT_NEAR(cities[2].map.position[2], p.z, 1e-12);
    EXPECT_EQ(cities[2].map.position[3], 1.0);
}

TEST_F(GlobeWindowTest, FlyToACityThenPickItAtTheCentre) {
    MapState& s = Map();
    SendMessageW(map, MSG_MAP_SELECT_CITY, 0, 0);
    ASSERT_TRUE(FlyToRunning());
    // The hovered point is the city at once.
    EXPECT_NEAR(GlobeView().hover.latitudeDeg, 10.0, 1e-6);
    EXPECT_NEAR(GlobeView().hover.longitudeDeg, 20.0, 1e-6);
    // From tilt 40, longitude 0 to tilt 10, longitude 340: sqrt(30^2 + 20^2) * 150 / 180 = 30 steps.
    EXPECT_EQ(GlobeView().flyTo.steps, 30);
    int ticks = 0;
    while (FlyToRunning() && ticks < 100) {
        SendMessageW(map, WM_TIMER, kFlyToTimer, 0);
        ++ticks;
    }
    EXPECT_EQ(ticks, 30);
    EXPECT_DOUBLE_EQ(s.camera.tilt, 10.0);
    EXPECT_DOUBLE_EQ(s.camera.longitude, 340.0);
    // The hover went to the window centre, which now shows the city.
    EXPECT_NEAR(GlobeView().hover.latitudeDeg, 10.0, 0.5);
    EXPECT_NEAR(GlobeView().hover.longitudeDeg, 20.0, 0.5);
    int within = 0;
    EXPECT_TRUE(UpdateHover(s, 100, 100));
    EXPECT_EQ(HoveredNearestCity(s, within), 0);
    EXPECT_EQ(within, 2);
    EXPECT_EQ(cities[0].map.nearest, 1);
    // A corner misses the globe and keeps the previous point.
    EXPECT_FALSE(UpdateHover(s, 0, 0));
    EXPECT_NEAR(GlobeView().hover.latitudeDeg, 10.0, 0.5);
    // A key stops a fly-to at once.
    SendMessageW(map, MSG_MAP_SELECT_CITY, 2, 0);
    EXPECT_TRUE(FlyToRunning());
    SendMessageW(map, WM_KEYDOWN, VK_UP, 0);
    EXPECT_FALSE(FlyToRunning());
}

TEST_F(GlobeWindowTest, DragFollowsTheGrabbedPointUprightAndUpsideDown) {
    MapState& s = Map();
    for (double tilt : {20.0, 180.0}) {
        s.camera.tilt = tilt;
        s.camera.longitude = 0.0;
        SendMessageW(map, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
        ASSERT_TRUE(UpdateHover(s, 100, 99));
        const double lon0 = GlobeView().hover.longitudeDeg;
        SendMessageW(map, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(110, 100));
        EXPECT_TRUE(s.dragging);
        EXPECT_NE(s.camera.longitude, 0.0);
        // The point under the cursor is still the one grabbed.
        ASSERT_TRUE(UpdateHover(s, 110, 99));
        EXPECT_NEAR(GlobeView().hover.longitudeDeg, lon0, 0.5) << tilt;
        SendMessageW(map, WM_LBUTTONUP, 0, MAKELPARAM(110, 100));
        StopFlyTo(s);
    }
}

TEST_F(GlobeWindowTest, ADragFromBesideTheGlobeGrabsWhereItReachesTheGlobe) {
    MapState& s = Map();
    // An earlier drag on the globe leaves its origin behind.
    SendMessageW(map, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    SendMessageW(map, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(140, 120));
    SendMessageW(map, WM_LBUTTONUP, 0, MAKELPARAM(140, 120));
    s.camera.tilt = 20.0;
    s.camera.longitude = 0.0;
    // Pressed in the upper right corner, beside the globe, then onto it.
    SendMessageW(map, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(195, 5));
    SendMessageW(map, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 100));
    EXPECT_TRUE(s.dragging);
    EXPECT_EQ(s.camera.tilt, 20.0);
    EXPECT_EQ(s.camera.longitude, 0.0);
    ASSERT_TRUE(UpdateHover(s, 100, 99));
    const double lon0 = GlobeView().hover.longitudeDeg;
    SendMessageW(map, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(110, 100));
    EXPECT_NE(s.camera.longitude, 0.0);
    ASSERT_TRUE(UpdateHover(s, 110, 99));
    EXPECT_NEAR(GlobeView().hover.longitudeDeg, lon0, 0.5);
    SendMessageW(map, WM_LBUTTONUP, 0, MAKELPARAM(110, 100));
    EXPECT_FALSE(FlyToRunning());
}

TEST_F(GlobeWindowTest, LabelTimesAreWrittenInTheUsersLocale) {
    MapState& s = Map();
    DestroyWindow(map);
    testing_support::TwelveHourLocale twelve;
    ASSERT_TRUE(twelve.ok());
    // Whatever this program held before, a new map writes times as the user reads them.
    SetLocaleTimeFormat(LocaleTimeFormat{L":", true, L"", L""});
    int status = -1;
    map = MapCreateWindow(parent, 0, 0, 200, 200, &status);
    ASSERT_NE(map, nullptr) << std::hex << status;
    ZoneRecord utc = FixedZone(0);
    cities[0].zone = &utc;
    SendMessageW(map, MSG_MAP_SELECT_CITY, 0, 0);  // Alpha is hovered
    StopFlyTo(s);
    s.camera.tilt = 10.0;
    s.camera.longitude = 340.0;  // and faces the viewer at the centre
    InvalidateRect(map, nullptr, FALSE);
    SendMessageW(map, WM_PAINT, 0, 0);
    GdiFlush();
    // The time is the last text of the nearest (yellow) row: its right edge
    // lies past where a 24-hour time would end.
    int right = -1;
    for (int y = 0; y < 200; ++y)
        for (int x = 100; x < 200; ++x) {
            const uint32_t p = surface.Pixel(x, y);
            if ((p >> 16) > 200 && ((p >> 8) & 0xFF) > 200 && (p & 0xFF) < 60) right = std::max(right, x);
        }
    const int column = s.font.TextWidth("Alpha", -1) + s.font.TextWidth(" ", 1);
    const int clock24 = s.font.TextWidth("00:00", -1);
    ASSERT_GT(right, 100 + 9 + column);
    EXPECT_GT(right, 100 + 9 + column + clock24 + 4);
    cities[0].zone = nullptr;
}

TEST_F(GlobeWindowTest, CreditLinesAtTheLowerLeft) {
    MapState& s = Map();
    const int h = s.font.Height();
    EXPECT_EQ(CreditLineAt(s, 5, 5), 0);
    EXPECT_EQ(CreditLineAt(s, 5, 4 + (h + 2) * 3 + 1), 3);
    EXPECT_EQ(CreditLineAt(s, 3, 5), -1);
    EXPECT_EQ(CreditLineAt(s, 5, 4 + (h + 2) * 4), -1);
    EXPECT_EQ(CreditLineAt(s, 199, 5), -1);
    EXPECT_STREQ(CreditLineText(1), "Clouds map by Xplanet project");
}

TEST_F(GlobeWindowTest, LabelsOnlyForAHoveredPointOnTheNearSide) {
    MapState& s = Map();
    ASSERT_TRUE(s.context.MakeCurrent(s.dc));
    s.camera.tilt = 10.0;
    s.camera.longitude = 340.0;  // Alpha faces the viewer
    FitCamera(s);
    // Gamma lies on the far side: no labels, nothing projected.
    GlobeView().hover.point = Vector4{cities[2].map.position[0], cities[2].map.position[1],
                                      cities[2].map.position[2], 1.0};
    int farList[1] = {2};
    cities[2].map.projected[0] = -1.0;
    DrawCityLabels(s, farList, 1);
    EXPECT_EQ(cities[2].map.projected[0], -1.0);
    // Alpha and Beta at the centre: both projected there, the higher one first.
    GlobeView().hover.point = Vector4{cities[0].map.position[0], cities[0].map.position[1],
                                      cities[0].map.position[2], 1.0};
    int nearList[2] = {0, 1};
    DrawCityLabels(s, nearList, 2);
    EXPECT_NEAR(cities[0].map.projected[0], 100.0, 1.0);
    EXPECT_NEAR(cities[0].map.projected[1], 100.0, 1.0);
    EXPECT_GE(cities[nearList[0]].map.projected[1], cities[nearList[1]].map.projected[1]);
    // A small window's lower left is all credit lines.
    EXPECT_EQ(CreditLineAt(s, 30, 19), 1);
}
