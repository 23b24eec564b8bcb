// The taskbar clock inside Explorer: the hook procedure hands it the stock
// clock window to take over.
#pragma once

#include <windows.h>

// Takes over the stock clock window (called on the taskbar's thread).
void SubclassTrayClock(HWND clockWindow);
