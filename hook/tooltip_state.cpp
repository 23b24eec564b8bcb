#include "hook/tooltip_state.h"

#include "common/platform/text_bounds.h"
#include "common/zones/zone_time.h"
#include "common/taskbar/clock_panel.h"
#include "hook/panel_tray.h"
#include "hook/tooltip_window.h"
#include "hook/tray_state.h"

TooltipState& TooltipNow() {
    // Made on first use on the taskbar's thread, not while the library loads.
    static TooltipState state;
    return state;
}

void NoteTooltipTime() {
    TooltipState& s = TooltipNow();
    GetSystemTime(&s.notedUtc);
    s.utcNoted = true;
}

const SYSTEMTIME& NotedTooltipUtc() {
    if (!TooltipNow().utcNoted) NoteTooltipTime();
    return TooltipNow().notedUtc;
}

void DropPhoto() {
    TooltipState& s = TooltipNow();
    s.photo.Destroy();
    s.caption[0] = L'\0';
}

bool TooltipShowsAllClocks() { return TraySettings().tooltipkind != 0; }

int TooltipClockIndex(HWND clockWindow) {
    POINT cursor = {};
    if (clockWindow && GetCursorPos(&cursor) && ScreenToClient(clockWindow, &cursor)) {
        const int under = HitTestClock(cursor.x, cursor.y);
        if (TrayClock(under)) return under;
    }
    return TrayClock(g_tray.hoveredClock) ? g_tray.hoveredClock : -1;
}

const wchar_t* ComposeClockTip(HWND clockWindow) {
    TooltipState& s = TooltipNow();
    s.text[0] = L'\0';
    const int index = TooltipClockIndex(clockWindow);
    const ClockRecord* clock = TrayClock(index);
    if (!clock) return s.text;
    SYSTEMTIME local = clock->currentTime;
    if (local.wYear == 0) {
        SYSTEMTIME utc = {};
        GetSystemTime(&utc);
        if (!UtcToClockTime(utc, &local, *clock)) local = utc;
    }
    const CClock* face = TrayPanel().FindRecord(index);
    const BackgroundProfile* active = face ? face->GetActiveBackground() : nullptr;
    CopyBounded(s.text, ClockTooltipText(*clock, local, active, CurrentTooltipLocale()).c_str());
    return s.text;
}
