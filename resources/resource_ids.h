/* Resource ids of the language resource libraries res_<lang>.dll, shared by
   every program and by the resource scripts. Plain #defines only: the
   resource compiler reads this file too. The code names every resource it
   loads from the library here, and the artefacts test checks each name by its
   prefix against the built res_en.dll: IDS_ string (a _FIRST/_LAST pair is a
   range), IDD_ dialog, IDI_ icon, IDB_ bitmap, IDR_ menu; IDC_ and IDM_ are
   control and command ids. */
#ifndef TEMPOVIA_RESOURCE_IDS_H
#define TEMPOVIA_RESOURCE_IDS_H

/* Version check and the rejection message of a library. */
#define IDS_RESOURCE_VERSION        139  /* "5.0" */
#define IDS_RESOURCE_REJECTED       140
#define IDS_ERROR_CAPTION           141

/* Texts of new records and of clock titles. */
#define IDS_NEW_ALARM               172
#define IDS_NEW_BACKGROUND          173

/* Names the settings tree shows for its option rows and a clock's pages,
   the default names of alarms and backgrounds that follow the language, the
   time converter's failure, the news window and notifier, the news page's
   arrow icons and the timer button's picture. */
#define IDS_TREE_BACKGROUNDS        211
#define IDS_TREE_ALARMS             212
#define IDS_TREE_FORMATS            213
#define IDS_TREE_DESKTOP            214
#define IDS_TREE_TIME_SYNC          215
#define IDS_TREE_GENERAL            216
#define IDS_TREE_TASKBAR            217
#define IDS_TREE_NEWS               243
#define IDS_TREE_INI                267
#define IDS_DEFAULT_ALARM_NAME      122  /* the name a new alarm gets */
#define IDS_DEFAULT_BACKGROUND_NAME 219  /* the name a new background gets */
#define IDS_DEFAULT_WORKING_HOURS   220  /* the shipped profile of the first clock */
#define IDS_CONVERTER_FAILED        154
#define IDS_CONVERTER_FAILED_CAPTION 155
#define IDS_NEWS_CAPTION            240
#define IDS_NEWS_REFRESH            241
#define IDS_NEWS_CHANNELS           242
#define IDS_NEWS_LINK_TITLE         244  /* the ">>>" link of an item's page */
#define IDS_NEWS_NO_CHANNEL         245
#define IDS_NEWS_NOT_LOADED         246
#define IDI_CHANNEL_UP              203
#define IDI_CHANNEL_DOWN            204
#define IDB_TIMER_BUTTON            209  /* monochrome */

/* The settings program's frame caption and the empty taskbar preview. */
#define IDS_SETTINGS_CAPTION        149
#define IDS_TRAY_PREVIEW_EMPTY      218

/* More texts of clock titles. */
#define IDS_WEEK_FORMAT             222
#define IDS_COUNTDOWN_TO            256

/* Plural forms of the time units: "default;ranges text;..." */
#define IDS_UNIT_SECONDS            257
#define IDS_UNIT_MINUTES            258
#define IDS_UNIT_HOURS              259
#define IDS_UNIT_DAYS               260
#define IDS_UNIT_WEEKS              261

/* Start-up and settings file messages. */
#define IDS_DATA_FILES_MISSING      263
#define IDS_EXPORT_FAILED           268  /* format: %s = file */
#define IDS_IMPORT_FAILED           269  /* format: %s = file */
#define IDS_ZONES_MISSING           270  /* format: %s = one line per clock */
#define IDS_LOCK_NOT_MADE           271  /* format: %s = error code */
#define IDS_LOCK_BUSY               272  /* format: %s = seconds */
#define IDS_EXIT_NOT_SAVED          279  /* format: %s = seconds */
#define IDS_LOCK_LEAD_RESTART       280
#define IDS_LOCK_LEAD_FILES         281
#define IDS_UNDO_FAILED             273  /* format: %s = backup file */
#define IDS_SAVE_FILE_BUSY          285  /* format: %s = settings file */
#define IDS_IMPORT_FILE_BUSY        286  /* format: %s = settings file */
#define IDS_EXPORT_FILE_BUSY        287  /* format: %s = settings file */

/* Alarm actions and the alarm log window. */
#define IDS_ALARM_CAPTION           145
#define IDS_LOG_COLUMN_WHEN         150
#define IDS_LOG_COLUMN_MESSAGE      151
#define IDS_LOG_TITLE               160
#define IDS_LOG_IN_DAYS             167  /* format: %d = days */
#define IDS_LOG_IN_HOURS            168  /* format: %d = hours */
#define IDS_LOG_IN_MINUTES          169  /* format: %d = minutes */
#define IDS_LOG_ALARM               170
#define IDS_LOG_PLURAL_ENDING       171  /* at most 3 characters */
#define IDS_LOG_DELETE              233
#define IDI_ALARM                   103
#define IDI_REMINDER                155
#define IDI_ALARM_LOG               158
#define IDD_SHUTDOWN_COUNTDOWN      156
#define IDD_STOP_PLAYING            159
#define IDD_HIBERNATE_COUNTDOWN     167
#define IDC_COUNTDOWN_TEXT          1146  /* holds the format: %d = seconds left */

/* The main settings dialog, its two group pages and the clock type choice. */
#define IDD_PAGE_DETAIL             141  /* DLG_PageDetail */
#define IDD_PAGE_ALARMS             143  /* DLG_PageAlarms */
#define IDD_PAGE_BKGS               145  /* DLG_PageBkgs */
#define IDD_CLOCK_TYPE              207  /* DLG_ClockType */
#define IDC_ADD_NODE                1023
#define IDC_DELETE_NODE             1028
#define IDC_MOVE_UP                 1029
#define IDC_MOVE_DOWN               1030
#define IDC_PAGE_AREA               1086
#define IDC_SETTINGS_TREE           1087
#define IDC_APPLY                   1238
#define IDC_TYPE_CLOCK              1280
#define IDC_TYPE_COUNTDOWN          1281
#define IDC_TYPE_STOPWATCH          1282
#define IDC_GROUP_TEXT              1283
#define IDS_DELETE_QUESTION         124
#define IDS_DELETE_CAPTION          125

/* The main menu MENU_Main (menu 105) and its commands. The command ids are
   also the WM_COMMAND codes that other windows send to the main window. */
#define IDR_MAIN_MENU               105
#define IDM_MAIN                    IDR_MAIN_MENU
#define IDM_GROUP                   101
#define IDM_SHOW_ON_DESKTOP         102
#define IDM_ON_TOP                  103
#define IDM_EXIT                    105
#define IDM_SETTINGS                107
#define IDM_ABOUT                   108
#define IDM_DATE_TIME_PANEL         115
#define IDM_SET_SYSTEM_ZONE         401
#define IDM_ALARM_LOG               402
#define IDM_TIME_CONVERTER          407
#define IDM_CALENDAR                408
#define IDM_WORLD_MAP               410
#define IDM_CITY_WEB_PAGE           412
#define IDM_NEW_ALARM               414
#define IDM_MOVE_TO_TASKBAR         420
#define IDM_PAGE_ZONE               424
#define IDM_PAGE_SKIN               425
#define IDM_PAGE_FORMATS            426
#define IDM_PAGE_ALARMS             427
#define IDM_PAGE_PROFILES           428
#define IDM_PAGE_TASKBAR            429
#define IDM_PAGE_SYNC               430
#define IDM_PAGE_GENERAL            431
#define IDM_TIME_TABLE              432
#define IDM_NEWS_WINDOW             437
#define IDM_PAGE_NEWS               438
#define IDM_REFRESH_NEWS            439
#define IDM_TIMER_START_PAUSE       443
#define IDM_TIMER_STOP              445
#define IDM_TIMER_RESET             448
#define IDM_NEW_CLOCK               450
#define IDM_NEW_TIMER               451
#define IDM_NEW_STOPWATCH           453
#define IDM_PROFILE_FIRST           3000  /* + profile index, 0..11 */
#define IDM_ALARM_FIRST             4000  /* + alarm index, 0..19 */

/* The timer panel's button labels, the calendar and the about box. */
#define IDS_TIMER_PANEL_START       253
#define IDS_TIMER_PANEL_STOP        254
#define IDS_TIMER_PANEL_RESET       255
#define IDS_CALENDAR_CAPTION        158
#define IDD_ABOUT                   132  /* translated as DLG_About_132 */
#define IDD_CALENDAR                164
#define IDC_MONTH_CALENDAR          1159
#define IDC_ABOUT_LINK              1162
#define IDC_ABOUT_VERSION           1170  /* holds the format: %s = version */

/* The time converter and the time table. */
#define IDS_FORMAT_12_HOURS         146
#define IDS_FORMAT_24_HOURS         147
#define IDS_FORMAT_DEFAULT          148
#define IDS_CONVERTER_TITLE         159
#define IDD_TIME_CONVERTER          161  /* translated as DLG_TimeConverter */
#define IDS_TABLE_TITLE             223
#define IDS_TABLE_ONE_HOUR          224
#define IDS_TABLE_MINUTES           225
#define IDS_TABLE_INTERVAL          226
#define IDS_TABLE_DATE              227
#define IDS_TABLE_FORMAT            228
#define IDS_TABLE_CLOCK_FORMAT      229
#define IDS_TABLE_LOCAL_TIME        230

/* The time synchronisation page, the news page and the add-channel dialog of
   the settings program (their controls: settings/page_sync.h, page_news.h,
   page_news_add.h). */
#define IDD_PAGE_TIME               196  /* DLG_PageTime */
#define IDD_PAGE_NEWS               201  /* DLG_PageNews */
#define IDD_ADD_CHANNEL             202  /* DLG_AddChannel */
#define IDS_SYNC_LAST_RESULT        126
#define IDS_SYNC_LAST_TIME          127
#define IDS_SYNC_RESULT_SEND_FAILED 129
#define IDS_SYNC_RESULT_BAD_SERVER  130
#define IDS_SYNC_RESULT_NO_NETWORK  131
#define IDS_SYNC_RESULT_STOPPED     132
#define IDS_SYNC_RESULT_IN_PROGRESS 133
#define IDS_SYNC_RESULT_NO_TIME     134
#define IDS_SYNC_RESULT_NO_REPLY    135
#define IDS_SYNC_RESULT_OK          136
#define IDS_SYNC_RESULT_FILE_BUSY   137
#define IDS_SYNC_NO_TIME_KNOWN      142
#define IDS_SYNC_DATE_TIME_JOIN     143
#define IDS_SYNC_TYPE_DAILY         206
#define IDS_SYNC_TYPE_HOURLY        207
#define IDS_SYNC_TYPE_QUARTER       208
#define IDS_SYNC_TYPE_ON_REQUEST    209
#define IDS_SYNC_TYPE_AFTER_START   210
#define IDS_SYNC_SERVICE_MISSING    249
#define IDS_SYNC_RESULT_SET_FAILED  250

/* The alarm page, its timer variants and the six schedule editors. */
#define IDD_PAGE_ALARM              144  /* DLG_PageAlarm */
#define IDD_PAGE_ALARM_AT           211  /* DLG_PageAlarm_At */
#define IDD_PAGE_ALARM_DOWN         212  /* DLG_PageAlarm_Down */
#define IDD_PAGE_ALARM_UP           213  /* DLG_PageAlarm_Up */
#define IDD_SCHEDULE_ONCE           147  /* DLG_Once */
#define IDD_SCHEDULE_DAILY          148  /* DLG_Daily */
#define IDD_SCHEDULE_WEEKLY         149  /* DLG_Weekly */
#define IDD_SCHEDULE_MONTHLY        150  /* DLG_Monthly */
#define IDD_SCHEDULE_YEARLY         151  /* DLG_Yearly */
#define IDD_SCHEDULE_CRON           152  /* DLG_Cron */
#define IDS_ALARM_ACTION_FIRST      182  /* 182..190: actions 0..8 */
#define IDS_ALARM_ACTION_LAST       190
#define IDS_ORDINAL_FIRST           191  /* 191..195: first .. last */
#define IDS_ORDINAL_LAST            195
#define IDS_REMINDER_DAYS           197  /* format: %d = days, given twice */
#define IDS_REMINDER_HOURS          198  /* format: %d = hours, given twice */
#define IDS_REMINDER_MINUTES        199  /* format: %d = minutes, given twice */


/* Program-wide option pages and the background profile page of the settings
   program (controls are numbered in settings/option_page_ids.h). */
#define IDD_PAGE_GENERAL            137  /* DLG_PageGeneral */
#define IDD_PAGE_INI                217  /* DLG_PageIni */
#define IDD_PAGE_TASKBAR            199  /* DLG_PageTaskbar */
#define IDD_PAGE_BKG                146  /* DLG_PageBkg */
#define IDD_PAGE_BKG_AT             214  /* DLG_PageBkg_At */
#define IDD_PAGE_BKG_DOWN           215  /* DLG_PageBkg_Down */
#define IDD_PAGE_BKG_UP             216  /* DLG_PageBkg_Up */
#define IDS_SYSTEM_LANGUAGE         196

/* The clock, desktop and formats pages of the settings program (controls are
   numbered in settings/page_clock_tables.h). */
#define IDD_PAGE_CLOCK              166  /* DLG_PageClock */
#define IDD_PAGE_COUNTDOWN          208  /* DLG_PageCountdown */
#define IDD_PAGE_STOPWATCH          209  /* DLG_PageTimer */
#define IDD_PAGE_FORMATS            197  /* DLG_PageFormats */
#define IDD_PAGE_DESKTOP            198  /* DLG_PageDesktop */
#define IDD_PAGE_TIMER_FORMATS      210  /* DLG_PageTimerFormats */
#define IDS_CLICK_CALENDAR          200  /* click actions: item data 0..5 */
#define IDS_CLICK_OPEN              201
#define IDS_CLICK_SETTINGS          202
#define IDS_CLICK_CONVERTER         203
#define IDS_CLICK_DATE_TIME         204
#define IDS_CLICK_COPY              205
#define IDS_CLICK_TIME_TABLE        231  /* item data 6 */
#define IDS_CLICK_START_STOP        262  /* item data 7, timers only */
#define IDS_DATE_FORMAT_NONE        221

/* The world map dialog and the location picker (controls: common/mapdialog/map_dialog.h). */
#define IDS_MAP_COLUMN_NAME         161
#define IDS_MAP_COLUMN_OFFSET       162
#define IDS_MAP_COLUMN_ZONE         163
#define IDS_MAP_COLUMN_COUNTRY      164
#define IDS_MAP_PHOTO_LINK          165
#define IDS_MAP_CITY_LIST_LINK      166
#define IDS_MAP_CAPTION             174
#define IDS_MAP_SEARCH              175
#define IDS_MAP_COUNTRY             176
#define IDS_MAP_SHOW_CITIES         177
#define IDS_MAP_SHOW_ZONES          178
#define IDS_MAP_SHOW_ON_MAP         179
#define IDS_MAP_OK                  180
#define IDS_MAP_CANCEL              181

#endif
