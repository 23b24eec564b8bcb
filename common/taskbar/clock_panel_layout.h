// Where the faces of a clock panel go, as plain arithmetic on their measured
// sizes: columns of faces on a horizontal taskbar, rows on a vertical one,
// balanced so that the first column is not crowded while the last is nearly
// empty, and spread so that every column (row) is as long as the longest.
#pragma once

#include <windows.h>

#include <vector>

// Layout flags: where the margin goes besides between the faces.
inline constexpr int kPanelMarginLeft = 1;     // leave it at the left
inline constexpr int kPanelMarginTop = 2;      // leave it at the top
inline constexpr int kPanelReserveRight = 4;   // keep it free at the right
inline constexpr int kPanelReserveBottom = 8;  // keep it free at the bottom

struct PanelLayoutInput {
    int maxWidth = 0;
    int maxHeight = 0;
    bool horizontal = true;  // the taskbar's shape: columns when true, rows when false
    int flags = 0;
    int margin = 0;
};

// The space each face may measure itself in.
SIZE PanelMeasureLimits(const PanelLayoutInput& in);

// The first face of each column (row) for faces of the given lengths along
// the stacking direction (heights on a horizontal taskbar, widths on a
// vertical one): filled in order and then balanced. Empty for no faces.
std::vector<int> PanelColumnStarts(const std::vector<int>& lengths, const PanelLayoutInput& in);

// The face rectangles, in face order, for the measured sizes.
std::vector<RECT> LayoutPanelFaces(const std::vector<SIZE>& sizes, const PanelLayoutInput& in);

// (0, 0) to the farthest right and bottom of the faces, with the margin kept
// free at the right (flag 4) and bottom (flag 8); empty without faces.
RECT MeasurePanelRect(const std::vector<RECT>& faces, int margin, int flags);

// The first face whose rectangle holds the point (left and top inclusive,
// right and bottom exclusive), -1 when none.
int HitTestPanelRects(const std::vector<RECT>& faces, int x, int y);
