// Pointers a program hands to its own windows in a message's lParam.
//
// Any process may send or post a window the same message numbers with any
// lParam. A receiver that reads or writes through lParam takes it only while
// a sender of this program lends it for its send; any other value is no
// address of this process's and is refused.
#pragma once

#include <windows.h>

// SendMessageW with the pointer as lParam, lent while the send lasts.
LRESULT SendWithPointer(HWND window, UINT message, WPARAM wParam, const void* pointer);

// True when lParam is not null and a send of this process lends it now.
bool IsLentPointer(LPARAM lParam);

// lParam as a pointer to T when a send of this process lends it, else null.
template <typename T>
T* LentPointer(LPARAM lParam) {
    return IsLentPointer(lParam) ? reinterpret_cast<T*>(lParam) : nullptr;
}
