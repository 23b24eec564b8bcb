#include "common/time/split_fields.h"

namespace {
bool EndsLine(char c) { return c == '\0' || c == '\r' || c == '\n'; }
}  // namespace

int SplitFields(const char* line, const char** starts, int* lengths, int max) {
    if (!line || !starts || !lengths) return 0;
    int count = 0;
    const char* p = line;
    while (count < max && !EndsLine(*p)) {
        const char* start = p;
        while (!EndsLine(*p) && *p != '\t') ++p;
        starts[count] = start;
        lengths[count] = static_cast<int>(p - start);
        ++count;
        if (*p != '\t') break;
        ++p;
    }
    return count;
}
