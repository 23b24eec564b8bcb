// The interactive globe: the hovered point and its readout, picking a globe
// point under the cursor, the cities near it with their local times, the
// fly-to animation and the credit lines at the lower left.
#pragma once

#include <windows.h>

#include <cstddef>

#include "common/records/city_record.h"
#include "kartix/map_math.h"

class CScene;
struct MapCamera;
struct MapState;

// Cities within this distance of the hovered point (planet radius 3) get labels.
inline constexpr double kMapLabelRadius = 0.02;
inline constexpr int kMaxLabelCities = 200;
inline constexpr int kMaxLabelRows = 64;
inline constexpr int kLabelTextBytes = 4096;
inline constexpr int kLabelRowReserve = 64;
inline constexpr int kLabelTimeBytes = 64;
inline constexpr int kLabelNameBytes = 80;
// City points float a little above the ground so that the globe does not hide them.
inline constexpr double kCityPositionScale = 1.0001;

struct HoverPoint {
    Vector4 point{0.0, 0.0, 0.0, 1.0};  // in the globe's own frame
    double latitude = 0.0;               // radians
    double longitude = 0.0;
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    int cursorX = 0;  // y counted upward
    int cursorY = 0;
    Vector4 projected{0.0, 0.0, 0.0, 1.0};  // window x, y, depth
};

// The point where the ray through window (x, y) first meets the sphere of the
// given radius at the origin; withRotation puts it in the globe's frame, else
// in the camera's. The scene's size, perspective and transform are used.
bool PickGlobePoint(const CScene& scene, double radius, int x, int y, bool withRotation, Vector4& point);

// Clears both flags of every city, marks those within radius and the nearest;
// without a list stores each squared distance in the city's map area. The
// list takes at most max indices; countOut gets the number within the radius.
int FindNearestCity(CityRecord* cities, int count, const Vector4& point, double radius, int* list, int max,
                    int* countOut);

// "Lat 12°34'N  Long 123°45'E" in the ANSI code page (0xB0 degree sign).
void FormatLatLong(double latitudeDeg, double longitudeDeg, char* text, size_t size);

// Latitude and longitude of the point in both units, and its window projection
// after the scene's rotation and translation.
void UpdateHoverPoint(HoverPoint& hover, const CScene& scene);

// The window position of a globe point after the scene's rotation and translation.
Vector4 ProjectGlobePoint(const CScene& scene, const Vector4& point);

struct FlyToPlan {
    bool running = false;
    int steps = 0;
    int count = 0;
    double tiltStep = 0.0;
    double longitudeStep = 0.0;
    double toTilt = 0.0;
    double toLongitude = 0.0;
};

// Equal steps along the short way (each angle at most 180 degrees), at least 2.
FlyToPlan PlanFlyTo(double fromTilt, double toTilt, double fromLongitude, double toLongitude);
// One step on the camera; false (and the exact target set) once the last is taken.
bool AdvanceFlyTo(FlyToPlan& plan, MapCamera& camera);

// One label row: the city, its local time and its name, in ANSI.
struct LabelRow {
    int city;
    char time[kLabelTimeBytes + 1];
    char name[kLabelNameBytes + 1];
};

// Higher window y first.
bool CompareLabelRows(const CityRecord* cities, int a, int b);
// Rows for the first listed cities (list already in display order) at the
// given UTC moment, bounded by the row count and the text area. Returns the rows.
int BuildLabelRows(const CityRecord* cities, const int* list, int n, const SYSTEMTIME& utc, LabelRow* rows);

// The four credit lines and the addresses their clicks open.
inline constexpr int kCreditLines = 4;
const char* CreditLineText(int line);
const wchar_t* CreditLineAddress(int line);
// The line whose text box holds (x, y upward), or -1; step = font height + 2.
int CreditLineAt(const MapState& s, int x, int y);

// The view's working state (one map window at a time).
struct GlobeViewState {
    HoverPoint hover;
    FlyToPlan flyTo;
    double limbDepth = 0.0;
    double dragTilt = 0.0;
    double dragLongitude = 0.0;
    double dragLatitudeDeg = 0.0;
    double dragLongitudeDeg = 0.0;
    bool dragGrabbed = false;  // the drag origin above holds a point of this drag
    int labelList[kMaxLabelCities] = {};
    int labelCount = 0;
};
GlobeViewState& GlobeView();

double FitCameraLimbDepth(const CScene& scene);
// The 2D frame layers; the orthographic projection is in place.
void DrawCityLabels(MapState& s, int* list, int n);

// ---- what the map window does with the view (globe_view_control.cpp) ----
// At window creation: each city's point on the globe.
void BuildCityPositions(MapState& s);
// Before the scene of a frame: the label list and the lamp position.
void PrepareGlobeFrame(MapState& s);
// After every change of size or distance.
void FitCamera(MapState& s);
// Stores the cursor (y upward); true when it lies on the globe.
bool UpdateHover(MapState& s, int x, int y);
// Remembers the drag origin (tilt, longitude and the grabbed point); off
// the globe nothing is grabbed until the drag reaches it.
void BeginDrag(MapState& s);
// Turns the globe so that the grabbed point follows the cursor.
void DragGlobe(MapState& s);
// Nearest city to the hovered point, -1 for none; withinRadius counts the
// cities within the label radius. No result list: distances stored.
int HoveredNearestCity(MapState& s, int& withinRadius);
void FlyToHovered(MapState& s);
// MSG_MAP_SELECT_CITY: fly to the city and ask for its photos.
void SelectMapCity(MapState& s, int city);
// Timer 2: one step; false once the fly-to is over.
bool StepFlyTo(MapState& s);
void StopFlyTo(MapState& s);
bool FlyToRunning();
void OpenCreditLine(MapState& s, int line);

// The 2D layers of a frame above the globe: labels, credits, readout,
// information and status lines; the orthographic projection is in place
// (globe_view_texts.cpp).
void DrawGlobeTexts(MapState& s);
