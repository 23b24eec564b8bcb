#include "tempovia/timetools/converter_layout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMargin = 10;
constexpr int kGap = 4;
constexpr int kNextRowStart = 5;
constexpr int kMinRowWidth = 350;
constexpr double kTargetRatio = 1.5;

}  // namespace

ConverterLayout LayoutConverter(const std::vector<SIZE>& faces, SIZE picker) {
    ConverterLayout layout;
    const int n = static_cast<int>(faces.size());
    layout.columns.resize(faces.size());
    if (n == 0) return layout;

    std::vector<int> widths(faces.size());
    int faceHeight = 0;
    int total = kMargin;
    for (int i = 0; i < n; ++i) {
        widths[i] = std::max<int>(faces[i].cx, picker.cx);
        faceHeight = std::max<int>(faceHeight, faces[i].cy);
        total += widths[i] + (i > 0 ? kGap : 0);
    }
    const int rowHeight = faceHeight + 2 * picker.cy + 8;
    const int rowPitch = faceHeight + 2 * picker.cy + 23;

    // Rows while the shape comes closer to 3:2 and a row keeps its width.
    auto ratioMiss = [&](int rows) {
        const double height = static_cast<double>((rows - 1) * rowPitch + rowHeight);
        return std::fabs(static_cast<double>(total) / rows / std::max(1.0, height) - kTargetRatio);
    };
    int rows = 1;
    while (rows < n && total / (rows + 1) >= kMinRowWidth && ratioMiss(rows + 1) < ratioMiss(rows)) ++rows;
    const int rowWidth = total / rows;

    // Columns fill rows; one that passes the row's end by less than a fifth
    // of its width still joins.
    std::vector<std::vector<int>> rowColumns(1);
    int x = kMargin;
    for (int i = 0; i < n; ++i) {
        const int end = x + widths[i];
        if (!rowColumns.back().empty() && end > rowWidth && (end - rowWidth) * 5 >= rowWidth) {
            rowColumns.emplace_back();
            x = kNextRowStart;
        }
        rowColumns.back().push_back(i);
        x += widths[i] + kGap;
    }
    auto contentWidth = [&](const std::vector<int>& row) {
        int w = 0;
        for (size_t j = 0; j < row.size(); ++j) w += widths[row[j]] + (j > 0 ? kGap : 0);
        return w;
    };
    if (rowColumns.size() > 1) {
        int widest = 0;
        for (const auto& row : rowColumns) widest = std::max(widest, contentWidth(row));
        if (contentWidth(rowColumns.back()) * 10 < widest * 4) {
            auto last = rowColumns.back();
            rowColumns.pop_back();
            rowColumns.back().insert(rowColumns.back().end(), last.begin(), last.end());
        }
    }

    int clientWidth = 0;
    for (const auto& row : rowColumns) clientWidth = std::max(clientWidth, contentWidth(row) + 2 * kMargin);
    layout.rows = static_cast<int>(rowColumns.size());
    layout.client.cx = clientWidth;
    layout.client.cy = kMargin + (layout.rows - 1) * rowPitch + faceHeight + 5 + 2 * picker.cy + 8 + kMargin;

    for (int r = 0; r < layout.rows; ++r) {
        const auto& row = rowColumns[r];
        const int count = static_cast<int>(row.size());
        int used = 0;
        for (int i : row) used += widths[i];
        const int spare = std::max(0, clientWidth - used);
        const int share = spare / count;
        int remainder = spare % count;
        const int top = kMargin + r * rowPitch;
        int left = 0;
        for (int i : row) {
            int slot = widths[i] + share;
            if (remainder > 0) {
                ++slot;
                --remainder;
            }
            const int centre = left + slot / 2;
            ConverterColumnPlace& place = layout.columns[i];
            place.placed = true;
            const int faceLeft = centre - faces[i].cx / 2;
            const int faceTop = top + (faceHeight - faces[i].cy) / 2;
            place.face = RECT{faceLeft, faceTop, faceLeft + faces[i].cx, faceTop + faces[i].cy};
            place.datePicker = POINT{centre - picker.cx / 2, top + faceHeight + 5};
            place.timePicker = POINT{place.datePicker.x, place.datePicker.y + picker.cy + 8};
            left += slot;
        }
    }
    return layout;
}
