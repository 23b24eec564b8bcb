#include "velmora/http_head.h"

#include <cstdio>
#include <cstring>

namespace {

struct TemplateArg {
    bool isText;
    long number;
    const char* text;
};

void Append(std::string& out, const char* text, size_t length) {
    const size_t room = kHeadUrlBytes - 1 - out.size();
    out.append(text, length < room ? length : room);
}

}  // namespace

std::string ExpandUrlTemplate(const char* urlTemplate, const ProgramVersion& version) {
    const TemplateArg args[] = {
        {false, 0, nullptr}, {false, 0, nullptr}, {false, 0, nullptr}, {true, 0, "%20"},
        {false, 0, nullptr}, {false, 0, nullptr}, {false, 0, nullptr}, {false, version.major, nullptr},
        {false, version.minor, nullptr}, {false, version.build, nullptr},
    };
    constexpr size_t kArgs = sizeof(args) / sizeof(args[0]);
    size_t next = 0;
    std::string out;
    if (!urlTemplate) return out;
    const char* p = urlTemplate;
    while (*p && out.size() < kHeadUrlBytes - 1) {
        if (*p != '%') {
            Append(out, p++, 1);
            continue;
        }
        if (p[1] == '%') {
            Append(out, "%", 1);
            p += 2;
            continue;
        }
        // %[-0]*[width][l|h]type
        const char* q = p + 1;
        bool left = false, zero = false;
        for (; *q == '-' || *q == '0'; ++q) (*q == '-' ? left : zero) = true;
        int width = 0;
        for (; *q >= '0' && *q <= '9' && width < 100; ++q) width = width * 10 + (*q - '0');
        if (*q == 'l' || *q == 'h') ++q;
        const char type = *q;
        const bool numeric = type == 'd' || type == 'i' || type == 'u' || type == 'x' || type == 'X';
        if ((!numeric && type != 's') || next >= kArgs || width >= 100) {
            Append(out, p, 1);  // not a field this routine fills: keep the percent sign
            ++p;
            continue;
        }
        // A field of the other kind still takes its argument, so that the
        // fields behind it keep their places; it shows the argument's text.
        char field[160];
        const TemplateArg& a = args[next++];
        if (a.isText) {
            std::snprintf(field, sizeof(field), left ? "%-*s" : "%*s", width, a.text);
        } else {
            const char* fmt = type == 'x' ? (left ? "%-*lx" : zero ? "%0*lx" : "%*lx")
                            : type == 'X' ? (left ? "%-*lX" : zero ? "%0*lX" : "%*lX")
                            : (left ? "%-*ld" : zero ? "%0*ld" : "%*ld");
            std::snprintf(field, sizeof(field), fmt, width, a.number);
        }
        Append(out, field, std::strlen(field));
        p = q + 1;
    }
    return out;
}
