#include "common/taskbar/clock_panel_layout.h"

#include <algorithm>

namespace {

// The stacking direction ("along") is down a column on a horizontal taskbar
// and across a row on a vertical one; the other direction is "across".
struct Axes {
    int alongStart;   // where the first face of a column (row) begins
    int alongLimit;   // where the last one must end
    int acrossStart;  // where the first column (row) begins
};

Axes AxesFor(const PanelLayoutInput& in) {
    const int left = (in.flags & kPanelMarginLeft) ? in.margin : 0;
    const int top = (in.flags & kPanelMarginTop) ? in.margin : 0;
    const int right = (in.flags & kPanelReserveRight) ? in.margin : 0;
    const int bottom = (in.flags & kPanelReserveBottom) ? in.margin : 0;
    if (in.horizontal) return Axes{top, in.maxHeight - bottom, left};
    return Axes{left, in.maxWidth - right, top};
}

// The end of column c: its faces stacked from the start with the margin
// between them.
long long ColumnEnd(const std::vector<int>& lengths, const std::vector<int>& starts, std::size_t c, int start,
                    int margin) {
    const int first = starts[c];
    const int last = c + 1 < starts.size() ? starts[c + 1] : static_cast<int>(lengths.size());
    long long end = start;
    for (int i = first; i < last; ++i) end += lengths[i] + (i > first ? margin : 0);
    return end;
}

int ColumnSize(const std::vector<int>& starts, std::size_t c, std::size_t faces) {
    const int last = c + 1 < starts.size() ? starts[c + 1] : static_cast<int>(faces);
    return last - starts[c];
}

}  // namespace

SIZE PanelMeasureLimits(const PanelLayoutInput& in) {
    const int left = (in.flags & kPanelMarginLeft) ? in.margin : 0;
    const int top = (in.flags & kPanelMarginTop) ? in.margin : 0;
    return SIZE{in.maxWidth - left, in.maxHeight - top};
}

std::vector<int> PanelColumnStarts(const std::vector<int>& lengths, const PanelLayoutInput& in) {
    std::vector<int> starts;
    if (lengths.empty()) return starts;
    const Axes axes = AxesFor(in);
    const long long limit = axes.alongLimit;

    // Fill: a face that would run past the limit opens the next column,
    // unless it would leave its column empty.
    starts.push_back(0);
    long long end = axes.alongStart;
    int inColumn = 0;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        const long long next = end + (inColumn > 0 ? in.margin : 0) + lengths[i];
        if (inColumn > 0 && next > limit) {
            starts.push_back(static_cast<int>(i));
            end = axes.alongStart + static_cast<long long>(lengths[i]);
            inColumn = 1;
        } else {
            end = next;
            ++inColumn;
        }
    }

    // Balance: every column hands its last face on to the next one, as long
    // as each receiving column still fits and the first column stays at least
    // as long as the last.
    const std::size_t columns = starts.size();
    while (columns > 1 && ColumnSize(starts, 0, lengths.size()) > 1) {
        std::vector<int> trial = starts;
        bool fits = true;
        for (std::size_t c = columns - 1; c >= 1; --c) {
            --trial[c];
            if (ColumnEnd(lengths, trial, c, axes.alongStart, in.margin) > limit) {
                fits = false;
                break;
            }
        }
        if (!fits) break;
        if (ColumnEnd(lengths, trial, 0, axes.alongStart, in.margin) <
            ColumnEnd(lengths, trial, columns - 1, axes.alongStart, in.margin)) {
            break;
        }
        starts = trial;
    }
    return starts;
}

std::vector<RECT> LayoutPanelFaces(const std::vector<SIZE>& sizes, const PanelLayoutInput& in) {
    std::vector<RECT> rects(sizes.size(), RECT{0, 0, 0, 0});
    if (sizes.empty()) return rects;
    const Axes axes = AxesFor(in);
    std::vector<int> along(sizes.size());
    std::vector<int> across(sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        along[i] = std::max<int>(0, in.horizontal ? sizes[i].cy : sizes[i].cx);
        across[i] = std::max<int>(0, in.horizontal ? sizes[i].cx : sizes[i].cy);
    }
    const std::vector<int> starts = PanelColumnStarts(along, in);
    const std::size_t columns = starts.size();

    long long longest = axes.alongStart;
    for (std::size_t c = 0; c < columns; ++c) {
        longest = std::max(longest, ColumnEnd(along, starts, c, axes.alongStart, in.margin));
    }

    long long columnStart = axes.acrossStart;
    for (std::size_t c = 0; c < columns; ++c) {
        const int first = starts[c];
        const int count = ColumnSize(starts, c, sizes.size());
        int width = 0;
        for (int i = first; i < first + count; ++i) width = std::max(width, across[i]);
        // The free space at the column's end goes evenly to its faces; the
        // last one ends exactly where the longest column does.
        const long long free = longest - ColumnEnd(along, starts, c, axes.alongStart, in.margin);
        const long long share = count > 0 ? free / count : 0;
        long long at = axes.alongStart;
        for (int i = first; i < first + count; ++i) {
            const long long end = (i == first + count - 1) ? longest : at + along[i] + share;
            const int a0 = static_cast<int>(at);
            const int a1 = static_cast<int>(end);
            const int c0 = static_cast<int>(columnStart);
            const int c1 = static_cast<int>(columnStart + width);
            rects[i] = in.horizontal ? RECT{c0, a0, c1, a1} : RECT{a0, c0, a1, c1};
            at = end + in.margin;
        }
        columnStart += width + in.margin;
    }
    return rects;
}

RECT MeasurePanelRect(const std::vector<RECT>& faces, int margin, int flags) {
    RECT panel = {0, 0, 0, 0};
    if (faces.empty()) return panel;
    for (const RECT& r : faces) {
        panel.right = std::max(panel.right, r.right);
        panel.bottom = std::max(panel.bottom, r.bottom);
    }
    if (flags & kPanelReserveRight) panel.right += margin;
    if (flags & kPanelReserveBottom) panel.bottom += margin;
    return panel;
}

int HitTestPanelRects(const std::vector<RECT>& faces, int x, int y) {
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const RECT& r = faces[i];
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return static_cast<int>(i);
    }
    return -1;
}
