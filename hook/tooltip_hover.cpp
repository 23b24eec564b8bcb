// Which clock the tooltip shows, its photo and its text.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "common/records/protocol.h"
#include "common/zones/city_list.h"
#include "common/records/clock_table.h"
#include "common/platform/text_bounds.h"
#include "hook/hook_shared.h"
#include "hook/photo_load.h"
#include "hook/tooltip_state.h"
#include "hook/tooltip_window.h"
#include "hook/tray_clock.h"
#include "hook/tray_state.h"

namespace {

constexpr DWORD kPhotoRequestTimeoutMs = 10000;

// The main program queues the request and answers at once; a hung one must
// not freeze the taskbar.
void RequestPhotos(int city, HWND clockWindow) {
    HWND main = g_hookShared.mainWindow;
    if (!main) return;
    DWORD_PTR reply = 0;
    SendMessageTimeoutW(main, MSG_PHOTO_REQUEST, static_cast<WPARAM>(city), reinterpret_cast<LPARAM>(clockWindow),
                        SMTO_ABORTIFHUNG | SMTO_NORMAL, kPhotoRequestTimeoutMs, &reply);
}

// The caption that the city's index gives photo `number`.
void CaptionOf(const CityRecord& city, int number, wchar_t* caption) {
    caption[0] = L'\0';
    std::vector<PhotoIndexEntry> entries;
    if (ReadPhotoEntries(city.region, city.city, entries) != 1) return;
    for (const PhotoIndexEntry& e : entries) {
        if (e.number == number) {
            CopyBounded(caption, kPhotoCaptionChars, e.caption.c_str());
            return;
        }
    }
}

bool LoadPhotoOf(int city, int photoNumber) {
    TooltipState& s = TooltipNow();
    const CityRecord& record = g_cities.cities[city];
    if (photoNumber > 0) {
        if (!LoadCityPhoto(city, photoNumber, s.photo)) return false;
        CaptionOf(record, photoNumber, s.caption);
        return true;
    }
    const int number = ReadPhotoIndex(record.region, record.city, s.caption);
    return number > 0 && LoadCityPhoto(city, number, s.photo);
}

void HandOver(NMTTDISPINFOW* info, const wchar_t* text) {
    if (!info) return;
    info->hinst = nullptr;
    info->lpszText = const_cast<wchar_t*>(text);
}

}  // namespace

void HoverClock(HWND clockWindow, int index, int photoNumber, bool request) {
    const GlobalSettings& settings = TraySettings();
    const ClockRecord* clock = TrayClock(index);
    if (!settings.tooltips || !clock) return;
    g_tray.hoveredClock = index;
    ParkTooltip();
    TTTOOLINFOW tool = ClockToolInfo(clockWindow);
    if (g_tray.tooltip) SendMessageW(g_tray.tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));

    const bool oneClock = !TooltipShowsAllClocks();
    const bool exiting = (settings.runFlags & kRunFlagExiting) != 0;
    const bool photos = settings.vistrel != 0;
    int city = -1;
    if (oneClock && !exiting && photos) {
        city = FindCity(clock->location);
        // A negative city would ask for a whole country's photos.
        if (request && city >= 0) RequestPhotos(city, clockWindow);
    }
    const bool photoWanted = oneClock && !exiting && photos && city >= 0 && city < g_cities.count && g_cities.cities;
    if (!photoWanted || !LoadPhotoOf(city, photoNumber)) DropPhoto();

    if (!g_tray.tooltip) return;
    RECT r = {};
    if (PlaceTooltip(clockWindow, &r)) {
        SendMessageW(g_tray.tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(r.left, r.top));
    }
    SendMessageW(g_tray.tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void ShowArrivedPhoto(HWND clockWindow, int city, int photoNumber) {
    if (city < 0 || city >= g_cities.count || photoNumber < 1) return;
    const ClockRecord* clock = TrayClock(g_tray.hoveredClock);
    if (!clock || FindCity(clock->location) != city) return;
    HoverClock(clockWindow, g_tray.hoveredClock, photoNumber, false);
}

void GetClockTooltipText(HWND clockWindow, NMTTDISPINFOW* info) {
    if (g_tray.tooltip) {
        SetWindowPos(g_tray.tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    HandOver(info, ComposeClockTip(clockWindow));
}

void GetAllClocksTooltipText(HWND clockWindow, NMTTDISPINFOW* info) {
    RECT r = {};
    if (g_tray.tooltip) {
        UINT flags = SWP_NOACTIVATE;
        if (!PlaceTooltip(clockWindow, &r) || IsRectEmpty(&r)) flags |= SWP_NOMOVE | SWP_NOSIZE;
        SetWindowPos(g_tray.tooltip, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
    }
    TooltipState& s = TooltipNow();
    CopyBounded(s.text,
                AllClocksTooltipText(g_clocks, TrayClockCount(), NotedTooltipUtc(), CurrentTooltipLocale()).c_str());
    HandOver(info, s.text);
}
