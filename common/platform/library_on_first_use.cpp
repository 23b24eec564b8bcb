#include "common/platform/library_on_first_use.h"

const LibraryOnFirstUse& Shell32Library() {
    static const LibraryOnFirstUse library(L"shell32.dll");
    return library;
}
