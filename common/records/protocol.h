// The window-message protocol between the programs of the suite: message
// numbers, WM_COPYDATA kinds, block sizes, names of shared objects and the
// service control codes. The programs are built separately, so every number
// here is a contract; the static_asserts keep them from drifting.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// --- Messages received by the main window (TempoviaClass), from WM_APP -------

// Quit: destroys the main window. Also the WM_COMMAND id that tells the
// taskbar clock to restore the stock clock, and the menu id of "Exit".
constexpr UINT MSG_QUIT = WM_APP + 9;
// Posted by the settings program after it saved; lParam 26 or 29 also reopens
// an open calendar. The time table gets it with lParam 30 or 32778.
constexpr UINT MSG_SETTINGS_CHANGED = WM_APP + 10;
// Sent by the taskbar clock once it is subclassed; lParam = the clock window,
// the reply is the main window's handle.
constexpr UINT MSG_TRAY_CLOCK_READY = WM_APP + 11;
constexpr UINT MSG_SHOW_LOG = WM_APP + 15;
// wParam = number of clocks (0 = the current count), passed on to the taskbar clock.
constexpr UINT MSG_CLOCK_COUNT = WM_APP + 16;
// The tray icon's callback: wParam = icon id, lParam = the mouse message.
constexpr UINT MSG_TRAY_ICON = WM_APP + 17;
// Sent by the settings program before it writes; answered after the state is saved.
constexpr UINT MSG_SAVE_STATE = WM_APP + 18;
// wParam 1: the location picker opened its map, 0: closed it.
constexpr UINT MSG_MAP_IN_USE = WM_APP + 19;
constexpr UINT MSG_SHOW_CALENDAR = WM_APP + 21;
constexpr UINT MSG_SHOW_TIME_CONVERTER = WM_APP + 22;
constexpr UINT MSG_PUSH_TO_TRAY = WM_APP + 23;
// wParam = status of the download step (0 or 200 = success), lParam = the record.
constexpr UINT MSG_RSS_DOWNLOADED = WM_APP + 28;
// Sent to the map dialog: lParam 1 when the cloud layer is on.
constexpr UINT MSG_CLOUDS_CHANGED = WM_APP + 29;
// Sent by the timer panel to a clock's window. wParam = clock number (index + 1).
constexpr UINT MSG_TIMER_PANEL_ANCHOR = WM_APP + 30;
constexpr UINT MSG_CLOCK_HOVER_TEST = WM_APP + 31;
// Reply to a COPYDATA_URL_IMPORT request: wParam = status, lParam 0.
constexpr UINT MSG_DOWNLOAD_REPLY = WM_APP + 32;
// A menu request over no clock, as the taskbar clock sends it (index -1); the
// main window does not handle it and answers 0.
constexpr UINT MSG_CLOCK_MOUSE_NONE = WM_APP + 99;
// MSG_CLOCK_MOUSE + i for clock index i = 0..29; wParam = a mouse code below.
constexpr UINT MSG_CLOCK_MOUSE = WM_APP + 100;
constexpr UINT MSG_CLOCK_MOUSE_LAST = MSG_CLOCK_MOUSE + 29;
// Map window and location picker: wParam = city index, lParam = the CityRecord
// (sent to the map to fly there, and by the map or picker to their opener).
constexpr UINT MSG_MAP_SELECT_CITY = WM_APP + 200;
constexpr UINT MSG_MAP_SHOW_PHOTO = WM_APP + 201;  // wParam city index, lParam the CityRecord
constexpr UINT MSG_CITY_PICKED = WM_APP + 202;     // lParam the chosen ZoneRecord
constexpr UINT MSG_MAP_CLOUDS = WM_APP + 203;      // lParam 1 clouds on, 0 off
// wParam = city index, lParam = the window to notify; reply 1 queued, 0 refused.
constexpr UINT MSG_PHOTO_REQUEST = WM_APP + 210;
constexpr UINT MSG_PHOTO_READY = WM_APP + 211;
constexpr UINT MSG_PHOTO_INDEX_READY = WM_APP + 212;

// Mouse codes of MSG_CLOCK_MOUSE: the numbers of the window messages they stand for.
constexpr WPARAM CLOCK_MOUSE_MENU = 123;      // WM_CONTEXTMENU; reply 1 when the About box came forward
constexpr WPARAM CLOCK_MOUSE_HOVER = 512;     // WM_MOUSEMOVE; lParam = the window showing the clock
constexpr WPARAM CLOCK_MOUSE_DOWN = 513;      // WM_LBUTTONDOWN
constexpr WPARAM CLOCK_MOUSE_UP = 514;        // WM_LBUTTONUP
constexpr WPARAM CLOCK_MOUSE_DBLCLK = 515;    // WM_LBUTTONDBLCLK

// --- Messages of the settings window (QX_SETTINGS) ----------------------------

// A second settings instance: wParam page code, lParam (M << 16) | N.
constexpr UINT SETTINGS_MSG_OPEN_PAGE = WM_USER + 2;
constexpr UINT SETTINGS_MSG_SELECT_PAGE = WM_USER + 3;
constexpr UINT SETTINGS_MSG_ON_DESKTOP = WM_USER + 5;  // wParam clock number, lParam 0/1
constexpr UINT SETTINGS_MSG_END_MODAL = WM_USER + 10;
// No program sends these two; the settings window answers WM_USER+4 with 0 and
// passes WM_USER+6 on to its main dialog.
constexpr UINT SETTINGS_MSG_RESERVED_4 = WM_USER + 4;
constexpr UINT SETTINGS_MSG_RESERVED_6 = WM_USER + 6;

// Page codes: wParam of SETTINGS_MSG_OPEN_PAGE and SETTINGS_MSG_SELECT_PAGE.
constexpr WPARAM SETTINGS_PAGE_NONE = 0;
constexpr WPARAM SETTINGS_PAGE_NEW_CLOCK = 1;
constexpr WPARAM SETTINGS_PAGE_DELETE_CLOCK = 2;
constexpr WPARAM SETTINGS_PAGE_CLOCK = 3;
constexpr WPARAM SETTINGS_PAGE_NEW_ALARM = 4;
constexpr WPARAM SETTINGS_PAGE_CLOCK_ZONE = 5;
constexpr WPARAM SETTINGS_PAGE_CLOCK_DESKTOP = 6;
constexpr WPARAM SETTINGS_PAGE_CLOCK_FORMATS = 7;
constexpr WPARAM SETTINGS_PAGE_ALARMS = 8;
constexpr WPARAM SETTINGS_PAGE_ALARM = 9;
constexpr WPARAM SETTINGS_PAGE_PROFILES = 10;
constexpr WPARAM SETTINGS_PAGE_PROFILE = 11;
constexpr WPARAM SETTINGS_PAGE_TASKBAR = 12;
constexpr WPARAM SETTINGS_PAGE_SYNC = 13;
constexpr WPARAM SETTINGS_PAGE_GENERAL = 14;
constexpr WPARAM SETTINGS_PAGE_NEWS = 15;
constexpr WPARAM SETTINGS_PAGE_NEW_COUNTDOWN = 16;
constexpr WPARAM SETTINGS_PAGE_NEW_STOPWATCH = 17;
constexpr UINT MSG_SYNC_STATE = WM_APP + 14;

// Between the main settings dialog and its pages (and the dialog itself).
// Dialog to page: wParam 0 loads the controls from the record, 1 validates and
// stores them; lParam points to a PageExchangeBlock.
constexpr UINT WM_PAGE_EXCHANGE = WM_USER + 50;
// Page to dialog (posted): the user edited the page; wParam bit 0 asks for the
// node's title to be refreshed.
constexpr UINT WM_PAGE_CHANGED = WM_USER + 51;
// Dialog to itself (posted): wParam the tree's id, lParam the tree item.
constexpr UINT WM_TREE_CHECK_CLICKED = WM_USER + 60;
constexpr UINT WM_TREE_RESTORE_CHECK = WM_USER + 61;
// Page to dialog (sent): lParam points to a ClockRecord pointer that receives
// the record of the selected node's clock (null when it has none).
constexpr UINT WM_GET_CLOCK_RECORD = WM_USER + 62;

// What WM_PAGE_EXCHANGE carries: the node's record, and the control that
// failed validation, which the page sets (left null when all is valid).
struct PageExchangeBlock {
    void* record;
    HWND failedControl;
};
static_assert(sizeof(PageExchangeBlock) == 16 && offsetof(PageExchangeBlock, record) == 0 &&
              offsetof(PageExchangeBlock, failedControl) == 8);
static_assert(WM_PAGE_EXCHANGE == 1074 && WM_PAGE_CHANGED == 1075 && WM_TREE_CHECK_CLICKED == 1084 &&
              WM_TREE_RESTORE_CHECK == 1085 && WM_GET_CLOCK_RECORD == 1086);
// Every window and dialog that shows texts translates itself again.
constexpr UINT MSG_LANGUAGE_CHANGED = WM_APP + 20;

// --- Messages of the taskbar clock, from WM_USER ------------------------------

constexpr UINT MSG_TRAY_QUERY_SIZE = WM_USER + 100;
constexpr UINT MSG_TRAY_REDRAW = WM_USER + 101;
// Among the news windows (the same number as MSG_TRAY_QUERY_SIZE, other receivers).
constexpr UINT MSG_RSS_UPDATED = WM_USER + 100;

// --- WM_COPYDATA kinds (dwData) ----------------------------------------------

constexpr ULONG_PTR COPYDATA_SETTINGS = 0;       // exactly kGlobalSettingsBytes
constexpr ULONG_PTR COPYDATA_CLOCKS = 1;         // clocks x kClockRecordBytes
constexpr ULONG_PTR COPYDATA_CITIES = 2;         // cities x kCityRecordBytes
constexpr ULONG_PTR COPYDATA_ALARMS_BASE = 100;  // + clock index 0..29; alarms x kAlarmRecordBytes
constexpr ULONG_PTR COPYDATA_ALARMS_LAST = COPYDATA_ALARMS_BASE + 29;
constexpr ULONG_PTR COPYDATA_URL_IMPORT = 0x8020;  // wide URL text from the settings program

constexpr std::size_t kGlobalSettingsBytes = 1328;
constexpr std::size_t kClockRecordBytes = 5408;
constexpr std::size_t kCityRecordBytes = 440;
constexpr std::size_t kAlarmRecordBytes = 840;
constexpr std::size_t kHookSharedBytes = 1096;
// Characters of a URL import request that are used.
constexpr std::size_t kUrlImportMaxChars = 511;

// --- Window menu command ids that cross process boundaries ------------------

constexpr WORD CMD_QUIT_MENU = 105;  // menu "Exit": the same quit sequence as MSG_QUIT
constexpr WORD CMD_SETTINGS_MENU = 130;  // menu "Settings": the settings window reopens its dialog

// The service control codes 129 and 130 are in common/platform/sync_service_notify.h.

// --- Names --------------------------------------------------------------------

inline constexpr wchar_t kMainWindowClass[] = L"TempoviaClass";
inline constexpr wchar_t kSettingsWindowClass[] = L"QX_SETTINGS";
inline constexpr wchar_t kTaskbarClass[] = L"Shell_TrayWnd";
inline constexpr wchar_t kTrayNotifyClass[] = L"TrayNotifyWnd";
inline constexpr wchar_t kTrayClockClass[] = L"TrayClockWClass";
inline constexpr wchar_t kExitEventName[] = L"Local\\Tempovia_Exit_Event";
inline constexpr wchar_t kTimeEventName[] = L"Global\\Tempovia_Time_Event";
// Held by the running main program and the running settings program for their
// whole life: a second start sees it even before the first has a window.
inline constexpr wchar_t kMainInstanceMutexName[] = L"Local\\Tempovia_Main_Instance";
inline constexpr wchar_t kSettingsInstanceMutexName[] = L"Local\\Tempovia_Settings_Instance";
// Held by whichever program seeds, reads whole or rewrites tempovia.ini; one
// name for every session, since the time service writes the file from its own.
inline constexpr wchar_t kIniFileMutexName[] = L"Global\\Tempovia_Settings_File";
// Everyone's access on the exit event: EVENT_ALL_ACCESS.
constexpr DWORD kExitEventAccess = 0x1F0003;

// --- The numbers as they travel between separately built programs -----------

static_assert(WM_APP == 0x8000 && WM_USER == 0x400);
static_assert(MSG_QUIT == 32777 && MSG_SETTINGS_CHANGED == 32778 && MSG_TRAY_CLOCK_READY == 32779);
static_assert(MSG_SHOW_LOG == 32783 && MSG_CLOCK_COUNT == 32784 && MSG_TRAY_ICON == 32785);
static_assert(MSG_SAVE_STATE == 32786 && MSG_MAP_IN_USE == 32787 && MSG_SHOW_CALENDAR == 32789);
static_assert(MSG_SHOW_TIME_CONVERTER == 32790 && MSG_PUSH_TO_TRAY == 32791);
static_assert(MSG_RSS_DOWNLOADED == 32796 && MSG_CLOUDS_CHANGED == 32797);
static_assert(MSG_TIMER_PANEL_ANCHOR == 32798 && MSG_CLOCK_HOVER_TEST == 32799 && MSG_DOWNLOAD_REPLY == 32800);
static_assert(MSG_CLOCK_MOUSE_NONE == 32867 && MSG_CLOCK_MOUSE == 32868 && MSG_CLOCK_MOUSE_LAST == 32897);
static_assert(MSG_MAP_SELECT_CITY == 32968 && MSG_MAP_SHOW_PHOTO == 32969 && MSG_CITY_PICKED == 32970 &&
              MSG_MAP_CLOUDS == 32971 && MSG_PHOTO_REQUEST == 32978);
static_assert(SETTINGS_MSG_OPEN_PAGE == 1026 && SETTINGS_MSG_SELECT_PAGE == 1027 && SETTINGS_MSG_END_MODAL == 1034);
static_assert(MSG_SYNC_STATE == 32782 && MSG_LANGUAGE_CHANGED == 32788 && MSG_RSS_UPDATED == 1124);
static_assert(MSG_PHOTO_READY == 32979 && MSG_PHOTO_INDEX_READY == 32980);
static_assert(CLOCK_MOUSE_MENU == WM_CONTEXTMENU && CLOCK_MOUSE_HOVER == WM_MOUSEMOVE);
static_assert(CLOCK_MOUSE_DOWN == WM_LBUTTONDOWN && CLOCK_MOUSE_UP == WM_LBUTTONUP &&
              CLOCK_MOUSE_DBLCLK == WM_LBUTTONDBLCLK);
static_assert(SETTINGS_MSG_ON_DESKTOP == 1029 && MSG_TRAY_QUERY_SIZE == 1124 && MSG_TRAY_REDRAW == 1125);
static_assert(SETTINGS_MSG_RESERVED_4 == 1028 && SETTINGS_MSG_RESERVED_6 == 1030);
static_assert(SETTINGS_PAGE_NEW_CLOCK == 1 && SETTINGS_PAGE_DELETE_CLOCK == 2 && SETTINGS_PAGE_CLOCK == 3 &&
              SETTINGS_PAGE_NEW_ALARM == 4 && SETTINGS_PAGE_CLOCK_ZONE == 5 && SETTINGS_PAGE_CLOCK_DESKTOP == 6);
static_assert(SETTINGS_PAGE_CLOCK_FORMATS == 7 && SETTINGS_PAGE_ALARMS == 8 && SETTINGS_PAGE_ALARM == 9 &&
              SETTINGS_PAGE_PROFILES == 10 && SETTINGS_PAGE_PROFILE == 11 && SETTINGS_PAGE_TASKBAR == 12);
static_assert(SETTINGS_PAGE_SYNC == 13 && SETTINGS_PAGE_GENERAL == 14 && SETTINGS_PAGE_NEWS == 15 &&
              SETTINGS_PAGE_NEW_COUNTDOWN == 16 && SETTINGS_PAGE_NEW_STOPWATCH == 17);
static_assert(CMD_QUIT_MENU == 105 && CMD_SETTINGS_MENU == 130);
static_assert(COPYDATA_SETTINGS == 0 && COPYDATA_CLOCKS == 1 && COPYDATA_CITIES == 2);
static_assert(COPYDATA_ALARMS_BASE == 100 && COPYDATA_ALARMS_LAST == 129 && COPYDATA_URL_IMPORT == 0x8020);
static_assert(kGlobalSettingsBytes == 1328 && kClockRecordBytes == 5408);
static_assert(kCityRecordBytes == 440 && kAlarmRecordBytes == 840 && kHookSharedBytes == 1096);
static_assert(kExitEventAccess == (EVENT_ALL_ACCESS & 0x1F0003) && kExitEventAccess == 0x1F0003);
