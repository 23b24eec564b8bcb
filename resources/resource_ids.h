/* Resource ids of the language resource libraries res_<lang>.dll, shared by
   every program and by the resource scripts. Plain #defines only: the
   resource compiler reads this file too. */
#ifndef TEMPOVIA_RESOURCE_IDS_H
#define TEMPOVIA_RESOURCE_IDS_H

/* Version check and the rejection message of a library. */
#define IDS_RESOURCE_VERSION        139  /* "5.0" */
#define IDS_RESOURCE_REJECTED       140
#define IDS_ERROR_CAPTION           141

/* Texts of new records and of clock titles. */
#define IDS_NEW_ALARM               172
#define IDS_NEW_BACKGROUND          173
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

#endif
