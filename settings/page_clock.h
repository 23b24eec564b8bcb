// The pages that edit one clock: the clock page (and its countdown and
// stopwatch variants), the desktop page and the formats page (and its timer
// variant). They fill and read the clock's record through WM_PAGE_EXCHANGE;
// the main dialog writes it.
#pragma once

#include <windows.h>

struct ClockRecord;

INT_PTR CALLBACK ClockPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DesktopPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK FormatsPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Hands the three procedures to the main dialog for their six page indexes.
void InstallClockPages();

// Posts WM_PAGE_CHANGED to the page's dialog unless a page is being loaded.
void NotifyPageEdited(HWND page, WPARAM titleChanged);

// The clock page's halves, for the page and its browse button.
void LoadClockPage(HWND page, ClockRecord& record);
// Fills the record from the controls; the control that holds a bad value, or
// null when all is valid.
HWND StoreClockPage(HWND page, ClockRecord& record);
// Refills the click actions in the language in force, keeping the choice.
void RefreshActionList(HWND page, const ClockRecord& record);
// The url and its browse button follow the chosen action.
void OnActionChanged(HWND page);
// Enables the controls that follow a timer's set-date choice.
void ApplyTimerEnabling(HWND page, const ClockRecord& record);
// Checks and enables the daylight box for the location text; nothing happens
// when the text names neither a city nor a zone.
void UpdateDaylightCheck(HWND page);
// Location text -> zone: the city label or zone display name it names.
// Stores the location (empty for a zone name) and copies the zone; a text that
// names neither gives "Local System Time". Returns true when it matched.
bool ResolveLocation(const wchar_t* text, wchar_t* location, size_t locationChars, struct ZoneRecord* zone);

// Desktop and formats pages: fill the controls / store them into a record.
void LoadDesktopPage(HWND page, const ClockRecord& record);
void StoreDesktopPage(HWND page, ClockRecord& record);
void LoadFormatsPage(HWND page, const ClockRecord& record);
void StoreFormatsPage(HWND page, ClockRecord& record);
