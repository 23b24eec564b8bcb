// Command ids of the main menu. They are also the WM_COMMAND codes that the
// desktop clocks, the timer panel and the taskbar clock send to the main window.
#pragma once

#include <windows.h>

#include "resources/resource_ids.h"

inline constexpr UINT kMainMenuId = IDM_MAIN;
inline constexpr wchar_t kMainMenuSection[] = L"MENU_Main";

inline constexpr WORD kCmdGroup = IDM_GROUP;
inline constexpr WORD kCmdShowOnDesktop = IDM_SHOW_ON_DESKTOP;
inline constexpr WORD kCmdOnTop = IDM_ON_TOP;
inline constexpr WORD kCmdExit = IDM_EXIT;
inline constexpr WORD kCmdSettings = IDM_SETTINGS;
inline constexpr WORD kCmdAbout = IDM_ABOUT;
inline constexpr WORD kCmdDateTimePanel = IDM_DATE_TIME_PANEL;
inline constexpr WORD kCmdSetSystemZone = IDM_SET_SYSTEM_ZONE;
inline constexpr WORD kCmdAlarmLog = IDM_ALARM_LOG;
inline constexpr WORD kCmdTimeConverter = IDM_TIME_CONVERTER;
inline constexpr WORD kCmdCalendar = IDM_CALENDAR;
inline constexpr WORD kCmdWorldMap = IDM_WORLD_MAP;
inline constexpr WORD kCmdCityWebPage = IDM_CITY_WEB_PAGE;
inline constexpr WORD kCmdNewAlarm = IDM_NEW_ALARM;
inline constexpr WORD kCmdMoveToTaskbar = IDM_MOVE_TO_TASKBAR;
inline constexpr WORD kCmdPageZone = IDM_PAGE_ZONE;
inline constexpr WORD kCmdPageSkin = IDM_PAGE_SKIN;
inline constexpr WORD kCmdPageFormats = IDM_PAGE_FORMATS;
inline constexpr WORD kCmdPageAlarms = IDM_PAGE_ALARMS;
inline constexpr WORD kCmdPageProfiles = IDM_PAGE_PROFILES;
inline constexpr WORD kCmdPageTaskbar = IDM_PAGE_TASKBAR;
inline constexpr WORD kCmdPageSync = IDM_PAGE_SYNC;
inline constexpr WORD kCmdPageGeneral = IDM_PAGE_GENERAL;
inline constexpr WORD kCmdTimeTable = IDM_TIME_TABLE;
inline constexpr WORD kCmdNewsWindow = IDM_NEWS_WINDOW;
inline constexpr WORD kCmdPageNews = IDM_PAGE_NEWS;
inline constexpr WORD kCmdRefreshNews = IDM_REFRESH_NEWS;
inline constexpr WORD kCmdTimerStartPause = IDM_TIMER_START_PAUSE;
inline constexpr WORD kCmdTimerStop = IDM_TIMER_STOP;
inline constexpr WORD kCmdTimerReset = IDM_TIMER_RESET;
inline constexpr WORD kCmdNewClock = IDM_NEW_CLOCK;
inline constexpr WORD kCmdNewTimer = IDM_NEW_TIMER;
inline constexpr WORD kCmdNewStopwatch = IDM_NEW_STOPWATCH;
inline constexpr WORD kCmdProfileFirst = IDM_PROFILE_FIRST;
inline constexpr WORD kCmdAlarmFirst = IDM_ALARM_FIRST;

// Entries of the per-clock submenus.
inline constexpr int kMenuAlarmsMax = 20;
inline constexpr int kMenuProfilesMax = 12;

static_assert(kCmdGroup == 101 && kCmdShowOnDesktop == 102 && kCmdOnTop == 103 && kCmdExit == 105);
static_assert(kCmdSettings == 107 && kCmdAbout == 108 && kCmdDateTimePanel == 115);
static_assert(kCmdSetSystemZone == 401 && kCmdAlarmLog == 402 && kCmdTimeConverter == 407 && kCmdCalendar == 408);
static_assert(kCmdWorldMap == 410 && kCmdCityWebPage == 412 && kCmdNewAlarm == 414 && kCmdMoveToTaskbar == 420);
static_assert(kCmdPageZone == 424 && kCmdPageSkin == 425 && kCmdPageFormats == 426 && kCmdPageAlarms == 427);
static_assert(kCmdPageProfiles == 428 && kCmdPageTaskbar == 429 && kCmdPageSync == 430 && kCmdPageGeneral == 431);
static_assert(kCmdTimeTable == 432 && kCmdNewsWindow == 437 && kCmdPageNews == 438 && kCmdRefreshNews == 439);
static_assert(kCmdTimerStartPause == 443 && kCmdTimerStop == 445 && kCmdTimerReset == 448);
static_assert(kCmdNewClock == 450 && kCmdNewTimer == 451 && kCmdNewStopwatch == 453);
static_assert(kCmdProfileFirst == 3000 && kCmdAlarmFirst == 4000);
static_assert(kMainMenuId == 105);
