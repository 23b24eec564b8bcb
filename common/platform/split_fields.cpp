#include "common/platform/split_fields.h"

namespace {

bool EndsLine(char c) { return c == '\0' || c == '\r' || c == '\n'; }

// Calls store(index, start, length) for each field; returns the count.
template <class Store>
int Split(const char* line, int max, Store store) {
    int count = 0;
    const char* p = line;
    while (count < max && !EndsLine(*p)) {
        const char* start = p;
        while (!EndsLine(*p) && *p != '\t') ++p;
        store(count, start, static_cast<int>(p - start));
        ++count;
        if (*p != '\t') break;
        ++p;
    }
    return count;
}

}  // namespace

int SplitFields(const char* line, const char** starts, int* lengths, int max) {
    if (!line || !starts || !lengths) return 0;
    return Split(line, max, [&](int i, const char* start, int n) {
        starts[i] = start;
        lengths[i] = n;
    });
}

int SplitFields(const char* line, DataField* fields, int max) {
    if (!line || !fields) return 0;
    return Split(line, max, [&](int i, const char* start, int n) { fields[i] = DataField{start, n}; });
}
