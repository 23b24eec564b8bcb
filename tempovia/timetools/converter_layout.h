// Where the converter's columns go: faces and pickers in rows whose shape
// stays near 3:2, spread over the dialog's width.
#pragma once

#include <windows.h>

#include <vector>

struct ConverterColumnPlace {
    bool placed = false;
    RECT face{};       // the face's own size, centred in its column
    POINT datePicker{};
    POINT timePicker{};
};

struct ConverterLayout {
    SIZE client{0, 0};  // the dialog's client area
    int rows = 0;
    std::vector<ConverterColumnPlace> columns;
};

// faces: each column's face size; picker: the pickers' size.
ConverterLayout LayoutConverter(const std::vector<SIZE>& faces, SIZE picker);
