// The character entity references of HTML 4.01, in the order they are tried.
#pragma once

#include <cstddef>

struct HtmlEntityName {
    const wchar_t* name;  // with its semicolon
    wchar_t code;
};

extern const HtmlEntityName kHtmlEntityNames[];
extern const std::size_t kHtmlEntityNameCount;
