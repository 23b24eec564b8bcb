// The time table: for one chosen day a row every N minutes from local
// midnight with the time of every clock, each cell tinted by the clock's
// background profile in force then.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "common/records/clock_record.h"
#include "tempovia/timetools/time_table_rows.h"
#include "tempovia/window/window.h"
#include "resources/resource_ids.h"

inline constexpr int kTableIntervalComboId = 101;
inline constexpr int kTableFormatComboId = 102;
inline constexpr int kTableListId = 100;
inline constexpr int kTableDatePickerId = 103;

// UI strings of the window.
inline constexpr UINT kTableTitleId = IDS_TABLE_TITLE;
inline constexpr UINT kTableHourItemId = IDS_TABLE_ONE_HOUR;
inline constexpr UINT kTableMinutesId = IDS_TABLE_MINUTES;
inline constexpr UINT kTableIntervalLabelId = IDS_TABLE_INTERVAL;
inline constexpr UINT kTableDateLabelId = IDS_TABLE_DATE;
inline constexpr UINT kTableFormatLabelId = IDS_TABLE_FORMAT;
inline constexpr UINT kTableClockFormatId = IDS_TABLE_CLOCK_FORMAT;
inline constexpr UINT kTableLocalColumnId = IDS_TABLE_LOCAL_TIME;
inline constexpr UINT kFormatNameDefaultId = IDS_FORMAT_DEFAULT;
inline constexpr UINT kFormatName12Id = IDS_FORMAT_12_HOURS;
inline constexpr UINT kFormatName24Id = IDS_FORMAT_24_HOURS;

class CTimeWindow : public CWindow {
public:
    CTimeWindow();
    ~CTimeWindow() override;

    bool OnMessage(WindowMessage& message) override;

    void CollectClocks();
    void CreateControls();
    void DestroyControls();
    void Layout();
    void PrepareZones(const SYSTEMTIME& utc);
    void Fill();
    void SizeColumns();

    // What the tests read.
    HWND ListView() const { return list_; }
    HWND DatePicker() const { return datePicker_; }
    HWND IntervalCombo() const { return intervalCombo_; }
    HWND FormatCombo() const { return formatCombo_; }
    const SYSTEMTIME& ChosenDate() const { return date_; }
    int ClockCount() const { return clockCount_; }
    int RowCount() const { return static_cast<int>(colours_.size()); }
    COLORREF CellColour(int row, int clock) const;
    const ZoneRecord& WorkingZone(int clock) const { return zones_[clock]; }

private:
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw);
    void OnNotify(const NMHDR* header, WindowMessage& message);
    void OnCommand(WPARAM wParam);
    void OnDestroy();

    HWND list_ = nullptr;
    HWND intervalStatic_ = nullptr;
    HWND intervalCombo_ = nullptr;
    HWND dateStatic_ = nullptr;
    HWND datePicker_ = nullptr;
    HWND formatStatic_ = nullptr;
    HWND formatCombo_ = nullptr;
    SYSTEMTIME date_{};
    // Copies of the clocks shown, not pointers: a reload frees the clock
    // table before the table is rebuilt, and a message sent to another
    // program meanwhile can make the table fill again.
    std::vector<ClockRecord> clocks_;
    int clockCount_ = 0;
    int columnWidths_[kMaxClocks + 1] = {};
    std::vector<std::vector<COLORREF>> colours_;  // per row, one per clock
    ZoneRecord zones_[kMaxClocks] = {};
};

// Module state: the format and interval in force (read at construction,
// written when the window goes).
int TimeTableFormat();
int TimeTableInterval();

// Opens the table (or brings it forward); null when it cannot be created.
CTimeWindow* ShowTimeWindow(HWND owner);
// The same in the shape of the tray menu's link (TrayLinks::showTimeTable).
void OpenTimeTable(HWND owner);
// rebuild: the settings were reloaded (controls and clocks anew); else the
// time or the zone rules changed: the clocks are collected again (columns
// anew when their number changed) and the rows filled again.
void RefreshTimeWindow(bool rebuild);
CTimeWindow* TimeWindow();
void CloseTimeWindow();

// Where the table learns today's local date; tests pin it. Null restores
// the system's clock.
using TableTodayFn = void (*)(SYSTEMTIME* localDate);
TableTodayFn SetTableTodayFn(TableTodayFn fn);
