/* Resources of tempovia.exe itself (the language library's are in
   resources/resource_ids.h). The code names every resource it loads from the
   program file here, and the artefacts test checks each name by its prefix
   against the built tempovia.exe: IDS_ string, IDI_ icon, IDB_ bitmap,
   IDCUR_ cursor, IDV_ version. Plain #defines: the resource compiler reads this file too. */
#ifndef TEMPOVIA_PROGRAM_RESOURCE_IDS_H
#define TEMPOVIA_PROGRAM_RESOURCE_IDS_H

#include "common/mapdialog/map_dialog_resource_ids.h"

#define IDV_VERSION                 1    /* VS_VERSION_INFO: the HTTP user agent */
#define IDI_PROGRAM                 101  /* tray, main window, desktop clocks */
#define IDI_NEWS_WINDOW             107
#define IDB_NEWS_REFRESH            108  /* news window toolbar: download every channel */
#define IDB_NEWS_CHANNELS           109  /* news window toolbar: the channels page */
#define IDI_WINDOW_CLASS            32512  /* the number of IDI_APPLICATION */
#define IDCUR_CLOCK_HAND            106  /* over clickable desktop clocks */
#define IDS_ABOUT_FAILED_CAPTION    102
#define IDS_ABOUT_FAILED            103

#endif
