#include "common/platform/locale_text.h"

int GetLocaleText(LANGID language, LCTYPE type, WCHAR* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    buffer[0] = L'\0';
    int n = GetLocaleInfoW(MAKELCID(language, SORT_DEFAULT), type, buffer, size);
    // A failed call (buffer too small) may leave part of the text behind.
    if (n == 0) buffer[0] = L'\0';
    return n;
}
