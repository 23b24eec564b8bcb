// Rows of the alarm log: their columns and icons, adding, selecting and
// deleting them.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/settings/localisation.h"
#include "common/alarms/alarm_actions.h"
#include "common/alarms/alarm_log.h"
#include "common/alarms/alarm_log_state.h"
#include "common/alarms/alarm_templates.h"
#include "common/platform/one_number_format.h"
#include "common/platform/text_bounds.h"

namespace {

constexpr int kMinutesPerHour = 60;
constexpr int kMinutesPerDay = 1440;
constexpr int kAlarmImage = 0;
constexpr int kReminderImage = 1;
// A plural ending is a few letters ("s", "en"); more is a mistranslation.
constexpr int kPluralEndingChars = 4;

HIMAGELIST RowIcons() {
    const int cx = GetSystemMetrics(SM_CXSMICON);
    const int cy = GetSystemMetrics(SM_CYSMICON);
    HIMAGELIST icons = ImageList_Create(cx, cy, ILC_MASK | ILC_COLOR32, 2, 0);
    if (!icons) return nullptr;
    HMODULE resources = Language().resourceModule();
    for (int id : {kAlarmIconId, kReminderIconId}) {
        HICON icon = resources ? static_cast<HICON>(LoadImageW(resources, MAKEINTRESOURCEW(id), IMAGE_ICON, cx, cy, 0))
                               : nullptr;
        if (icon) {
            ImageList_AddIcon(icons, icon);
            DestroyIcon(icon);
        }
    }
    return icons;
}

void InsertColumn(int column, UINT titleId, int width) {
    std::wstring title = Language().LoadUiString(titleId);
    LVCOLUMNW lvc = {};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    lvc.pszText = title.data();
    lvc.cx = width;
    lvc.iSubItem = column;
    SendMessageW(LogState().list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&lvc));
}

}  // namespace

void SetupAlarmLogColumns() {
    AlarmLogState& log = LogState();
    if (!log.list) return;
    if (ReadLogColumns(log.columnWidths) >= 0) {
        RECT client;
        GetClientRect(log.window, &client);
        const int rest = client.right - log.columnWidths[0] - 2 * GetSystemMetrics(SM_CXEDGE) -
                         GetSystemMetrics(SM_CXVSCROLL);
        if (rest > 0) log.columnWidths[1] = rest;
    }
    // The list view owns its small image list and frees it with itself.
    HIMAGELIST previous = reinterpret_cast<HIMAGELIST>(
        SendMessageW(log.list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(RowIcons())));
    if (previous) ImageList_Destroy(previous);
    InsertColumn(0, kLogColumnWhenStringId, log.columnWidths[0]);
    InsertColumn(1, kLogColumnMessageStringId, log.columnWidths[1]);
}

std::wstring AlarmLogRowLabel(const AlarmRecord& alarm, const SYSTEMTIME& due, bool isReminder) {
    wchar_t label[kLogTextChars] = {};
    if (isReminder && alarm.reminder > 0) {
        const int minutes = alarm.reminder;
        int n = minutes;
        UINT format = kLogMinutesStringId;
        if (minutes >= kMinutesPerDay) {
            n = minutes / kMinutesPerDay;
            format = kLogDaysStringId;
        } else if (minutes >= kMinutesPerHour) {
            n = minutes / kMinutesPerHour;
            format = kLogHoursStringId;
        }
        const std::wstring text = Language().LoadUiString(format);
        size_t length = FormatOneNumber(text.c_str(), n, label, kLogTextChars);
        wchar_t ending[kPluralEndingChars];
        if (n > 1 && Language().LoadUiString(kLogPluralEndingStringId, ending, kPluralEndingChars) > 0) {
            CopyBounded(label + length, kLogTextChars - length, ending);
        }
    } else if (!isReminder && due.wYear != 0) {
        Language().LoadUiString(kLogAlarmStringId, label, static_cast<int>(kLogTextChars));
    }
    return label;
}

bool AddAlarmLogRow(ClockRecord* clock, const AlarmRecord& alarm, const SYSTEMTIME& due, bool isReminder) {
    AlarmLogState& log = LogState();
    if (!AlarmLogWindow() || !log.list) return false;

    std::wstring label = AlarmLogRowLabel(alarm, due, isReminder);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = 0;
    item.pszText = label.data();
    item.iImage = isReminder ? kReminderImage : kAlarmImage;
    const int row = static_cast<int>(SendMessageW(log.list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return false;

    // The record's text may fill its field without a terminator.
    wchar_t text[kAlarmTextChars + 1];
    CopyBounded(text, alarm.text);
    wchar_t message[kLogTextChars];
    ExpandMessageTokens(text, message, kLogTextChars, clock, &alarm, due);
    LVITEMW sub = {};
    sub.iSubItem = 1;
    sub.pszText = message;
    SendMessageW(log.list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));

    SelectAlarmLogRow(row);
    if (log.button) EnableWindow(log.button, TRUE);
    ShowWindow(log.window, SW_SHOW);
    SetForegroundWindow(log.window);
    SetWindowPos(log.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetFocus(log.list);
    return true;
}

void SelectAlarmLogRow(int index) {
    HWND list = LogState().list;
    if (index < 0 || !list) return;
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
    SendMessageW(list, LVM_SETSELECTIONMARK, 0, index);

    // Scroll the row to the middle of the list.
    RECT row = {}, top = {}, client = {};
    row.left = top.left = LVIR_BOUNDS;
    const int topIndex = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    if (!SendMessageW(list, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&row)) ||
        !SendMessageW(list, LVM_GETITEMRECT, topIndex, reinterpret_cast<LPARAM>(&top)) ||
        !GetClientRect(list, &client)) {
        return;
    }
    SendMessageW(list, LVM_SCROLL, 0, row.top - (client.bottom - client.top) / 2 - top.top);
}

void DeleteAlarmLogRow() {
    AlarmLogState& log = LogState();
    if (!log.list) return;
    const int count = static_cast<int>(SendMessageW(log.list, LVM_GETITEMCOUNT, 0, 0));
    int selected = static_cast<int>(SendMessageW(log.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (selected < 0) selected = 0;
    if (count > 0) SendMessageW(log.list, LVM_DELETEITEM, selected, 0);
    if (log.button) EnableWindow(log.button, count > 1);
    if (count < 2) {
        if (log.window) ShowWindow(log.window, SW_HIDE);
    } else {
        SelectAlarmLogRow(selected < count - 1 ? selected : selected - 1);
    }
    SetFocus(log.list);
}
