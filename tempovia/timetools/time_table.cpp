// The time table's module state: the one window, the format and interval in
// force and where the window was last closed.
#include "tempovia/timetools/time_table.h"

#include "common/records/clock_table.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "tempovia/timetools/time_table_detail.h"

namespace {

struct TableModule {
    CTimeWindow* window = nullptr;
    int format = kTableFormatDefault;
    int interval = kTableIntervalDefault;
    bool haveRect = false;
    RECT rect{};
};

TableModule g_table;

void SystemToday(SYSTEMTIME* local) { GetLocalTime(local); }
TableTodayFn g_today = SystemToday;

std::wstring MainSection() { return UserPrefix() + L":main"; }

}  // namespace

namespace timetable_detail {

void ReadTableSettings() {
    const std::wstring section = MainSection();
    const std::wstring name = ReadIniText(UserIniPath().c_str(), section.c_str(), L"ttable_format", kMissingKey);
    const int format = TableFormatFromName(name.c_str());
    if (format >= 0) g_table.format = format;
    const int interval = ReadIniInt(UserIniPath().c_str(), section.c_str(), L"ttable_interval", 0);
    if (interval >= kTableIntervalMin && interval <= kTableIntervalMax) g_table.interval = interval;
}

void WriteTableSettings() {
    const std::wstring section = MainSection();
    WriteIniString(UserIniPath().c_str(), section.c_str(), L"ttable_format", TableFormatName(g_table.format));
    WriteIniInt(UserIniPath().c_str(), section.c_str(), L"ttable_interval", g_table.interval);
}

void SetTableFormat(int format) {
    if (format >= kTableFormatDefault && format <= kTableFormatClock) g_table.format = format;
}
void SetTableInterval(int interval) { g_table.interval = interval; }

void Today(SYSTEMTIME* local) {
    g_today(local);
    local->wHour = local->wMinute = local->wSecond = local->wMilliseconds = 0;
}

void Forget(CTimeWindow* window, const RECT* rect) {
    if (g_table.window == window) g_table.window = nullptr;
    if (rect) {
        g_table.rect = *rect;
        g_table.haveRect = true;
    }
}

}  // namespace timetable_detail

int TimeTableFormat() { return g_table.format; }
int TimeTableInterval() { return g_table.interval; }

CTimeWindow* TimeWindow() { return g_table.window; }

CTimeWindow* ShowTimeWindow(HWND owner) {
    if (!g_table.window) {
        auto object = CWindow::NewDeletedWithWindow<CTimeWindow>();
        if (g_table.haveRect) {
            object->SetPosition(g_table.rect.left, g_table.rect.top);
            object->SetSize(g_table.rect.right - g_table.rect.left, g_table.rect.bottom - g_table.rect.top);
        }
        const std::wstring title = Language().LoadUiString(kTableTitleId);
        if (!object->Create(owner, title.c_str(), WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX, 0))
            return nullptr;
        g_table.window = object.release();
        if (owner) {
            const LONG_PTR small = GetClassLongPtrW(owner, GCLP_HICONSM);
            const LONG_PTR large = GetClassLongPtrW(owner, GCLP_HICON);
            if (small) SendMessageW(g_table.window->Handle(), WM_SETICON, ICON_SMALL, small);
            if (large) SendMessageW(g_table.window->Handle(), WM_SETICON, ICON_BIG, large);
        }
        if (!g_table.haveRect) g_table.window->SizeColumns();
    }
    HWND window = g_table.window->Handle();
    if (!IsZoomed(window)) ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    BringWindowToTop(window);
    return g_table.window;
}

void OpenTimeTable(HWND owner) { ShowTimeWindow(owner); }

void RefreshTimeWindow(bool rebuild) {
    CTimeWindow* window = g_table.window;
    if (!window || !window->Handle()) return;
    // The copies follow the clock table, which a change of the computer's
    // zone rewrites; while a reload has no table yet they stay as they are.
    if (!rebuild && g_clocks) {
        const int columns = window->ClockCount();
        window->CollectClocks();
        rebuild = window->ClockCount() != columns;
    }
    if (rebuild) {
        window->DestroyControls();
        window->CollectClocks();
        window->CreateControls();
        window->Layout();
        window->Fill();
        InvalidateRect(window->Handle(), nullptr, TRUE);
    } else {
        window->Fill();
    }
}

void CloseTimeWindow() {
    if (g_table.window) g_table.window->Destroy();
}

TableTodayFn SetTableTodayFn(TableTodayFn fn) {
    TableTodayFn previous = g_today;
    g_today = fn ? fn : SystemToday;
    return previous;
}
