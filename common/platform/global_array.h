// Record arrays in global memory (GlobalAlloc), as the tables the programs
// hand across modules keep them.
#pragma once

#include <windows.h>

// Resizes `array` (null: allocates) to n zero-filled records and answers the
// new address; the records kept keep their values, the added ones are zero.
// Null when n is not above 0 or memory is short: the array given then stays
// as it was and the caller still owns it.
template <class T>
T* ResizeGlobalArray(T* array, int n) {
    if (n <= 0) return nullptr;
    SIZE_T bytes = static_cast<SIZE_T>(n) * sizeof(T);
    if (!array) return static_cast<T*>(GlobalAlloc(GPTR, bytes));
    SIZE_T old = GlobalSize(array);
    auto* grown = static_cast<T*>(GlobalReAlloc(array, bytes, GMEM_MOVEABLE | GMEM_ZEROINIT));
    // Not every heap zeroes what a reallocation adds; the records must start empty.
    if (grown && bytes > old) ZeroMemory(reinterpret_cast<BYTE*>(grown) + old, bytes - old);
    return grown;
}
