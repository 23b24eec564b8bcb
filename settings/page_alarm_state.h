// What the alarm page's own files share: the page's state behind its window
// user data, and the steps its dialog procedure is made of.
#pragma once

#include <windows.h>

#include "common/records/alarm_record.h"
#include "common/records/clock_record.h"
#include "common/records/protocol.h"

struct AlarmPageState {
    UINT resource = 0;              // the page variant
    AlarmRecord* alarm = nullptr;   // the record of the last load
    HWND editors[6] = {};           // by schedule kind; null when not created
    bool editorsMade = false;       // the clock variant makes them at its first load
    int shownKind = -1;
};

void InitAlarmPage(HWND page, LPARAM resource);
void LoadAlarmPage(HWND page, AlarmRecord& alarm);
// Stores the page into `alarm`; every failing control is named in turn, so
// the block ends with the last one.
void StorePage(HWND page, AlarmRecord& alarm, PageExchangeBlock* block);
void RefillAlarmPageLists(HWND page);
void EnableAlarmPageForAction(HWND page, int action);
bool SelectReminder(HWND page, int minutes);
// Loads and shows the editor of a kind, hiding the others; a change is posted
// for the user's choice when that editor was not shown yet.
void ShowScheduleEditor(HWND page, int kind, bool byUser);
// A kind radio clicked: the type changes at once and the shown kind's values
// are carried into the others.
void SwitchScheduleKind(HWND page, int kind);
// Now in the clock's zone; the local time without a clock.
SYSTEMTIME AlarmPageNow(const ClockRecord* clock);
