// What the taskbar clock's tooltip shows right now: the moment it noted, the
// city photo with its caption and the text handed to the tooltip control.
#pragma once

#include <windows.h>

#include "common/graphics/bitmap.h"
#include "hook/photo_cache.h"
#include "hook/tooltip_text.h"

struct TooltipState {
    bool utcNoted = false;
    SYSTEMTIME notedUtc = {};
    CBitmap photo;
    wchar_t caption[kPhotoCaptionChars] = {};
    wchar_t text[kTooltipTextChars] = {};
};

TooltipState& TooltipNow();

// The noted UTC time, noted now when none is.
const SYSTEMTIME& NotedTooltipUtc();

// The tooltip shows every clock (rather than the clock under the pointer).
bool TooltipShowsAllClocks();

// The clock the one-clock tooltip describes: the face under the cursor, else
// the hovered clock; -1 when neither is a clock.
int TooltipClockIndex(HWND clockWindow);

// The one-clock text of that clock into the state's text buffer (empty when
// there is no clock); returns the buffer.
const wchar_t* ComposeClockTip(HWND clockWindow);
