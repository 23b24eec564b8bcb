// State of the alarm log window shared by its files (GUI thread only), and
// the INI forms of its placement and column widths.
#pragma once

#include <windows.h>

#include <string>

struct AlarmLogState {
    HWND window = nullptr;
    HWND list = nullptr;
    HWND button = nullptr;
    HICON icon = nullptr;  // the class icon, freed with the class
    bool registered = false;
    bool checkBegun = false;  // BeginAlarmCheck ran: the exit saves the log's keys
    int columnWidths[2] = {90, 360};
};

AlarmLogState& LogState();

// The INI file and section the log keeps its keys in: [<user>:main].
const std::wstring& LogIniFile();
std::wstring LogIniSection();

// `logwindowpos`: "%ld, %ld, %ld, %ld" (left, top, right, bottom). Read: true
// when the key parses as four numbers, whatever their values.
bool ReadLogWindowPos(RECT& rect);
bool WriteLogWindowPos(const RECT& rect);
// `logwindowcolumns`: the two widths separated by a blank. Read: 1 when the
// key parses as two widths, 0 when it is missing, -1 when it does not parse
// (then the widths are untouched).
int ReadLogColumns(int widths[2]);
bool WriteLogColumns(const int widths[2]);
