// Character references in feed titles, which many feeds escape twice.
#pragma once

#include <string>

// Decodes numeric (&#65; &#x42;) and named HTML 4.01 references in place;
// anything not recognised is left as it stands.
void DecodeHtmlEntities(std::wstring& text);
